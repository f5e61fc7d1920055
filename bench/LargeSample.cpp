// Writes the large sample once for a benchmark run.
#include "LargeSample.h"

#include "Connection.h"
#include "SampleData.h"
#include "Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace kvl::bench {

QString largeSample(const QString &path)
{
    if (!path.isEmpty() && QFileInfo::exists(path))
        return path;
    static QTemporaryDir dir;
    const QString target = path.isEmpty() ? dir.filePath(QStringLiteral("KVL.DTA")) : path;
    const double ms = elapsedMs([&] {
        Schema::createDataFile(target, QStringLiteral("示例商贸有限公司"));
        Connection c;
        c.connect(target, Schema::databasePassword());
        SampleData::write(c, SampleData::large());
    });
    std::printf("large sample written to %s in %.0f ms (%lld bytes)\n", qPrintable(target), ms,
                static_cast<long long>(QFileInfo(target).size()));
    return target;
}

double elapsedMs(const std::function<void()> &fn)
{
    QElapsedTimer t;
    t.start();
    fn();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace kvl::bench
