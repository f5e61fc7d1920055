// kvl-mkdata DIR [--company NAME] [--sample small|large]: writes DIR/KVL.DTA with the
// report templates. kvl-mkdata DIR --add-templates: gives an existing DIR/KVL.DTA the
// templates when its table report is empty.
#include "Connection.h"
#include "ReportTemplates.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

using namespace kvl;

static int usage()
{
    fputs("usage: kvl-mkdata DIR [--company NAME] [--sample small|large]\n"
          "       kvl-mkdata DIR --add-templates\n", stderr);
    return 2;
}

// A data file made before the templates were part of every fresh file.
static int addTemplates(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        fprintf(stderr, "kvl-mkdata: %s does not exist\n", qPrintable(path));
        return 1;
    }
    try {
        Connection conn;
        conn.connect(path, Schema::databasePassword());
        Statement count(conn, QStringLiteral("SELECT count(*) FROM report"));
        if (count.next() && count.int64(0) > 0) {
            printf("%s already holds report templates; left as it is\n", qPrintable(path));
            return 0;
        }
        ReportTemplates::store(conn);
    } catch (const DbError &e) {
        fprintf(stderr, "kvl-mkdata: %s\n", qPrintable(e.message()));
        return 1;
    }
    printf("report templates stored into %s\n", qPrintable(path));
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString dir, company = QStringLiteral("本公司"), sample;
    bool templatesOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--add-templates"))
            templatesOnly = true;
        else if (args[i] == QLatin1String("--company") && i + 1 < args.size())
            company = args[++i];
        else if (args[i] == QLatin1String("--sample") && i + 1 < args.size())
            sample = args[++i];
        else if (args[i].startsWith(QLatin1String("--")) || !dir.isEmpty())
            return usage();
        else
            dir = args[i];
    }
    if (dir.isEmpty() || (!sample.isEmpty() && sample != QLatin1String("small") && sample != QLatin1String("large")))
        return usage();
    if (templatesOnly)
        return sample.isEmpty() ? addTemplates(QDir(dir).filePath(QStringLiteral("KVL.DTA"))) : usage();
    if (!QDir().mkpath(dir)) {
        fprintf(stderr, "kvl-mkdata: cannot create folder %s\n", qPrintable(dir));
        return 1;
    }
    const QString path = QDir(dir).filePath(QStringLiteral("KVL.DTA"));
    if (QFileInfo::exists(path)) {
        fprintf(stderr, "kvl-mkdata: %s already exists; it is left as it is\n", qPrintable(path));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    try {
        Schema::createDataFile(path, company);
        Connection conn;
        conn.connect(path, Schema::databasePassword());
        ReportTemplates::store(conn);
        if (!sample.isEmpty())
            SampleData::write(conn, sample == QLatin1String("large") ? SampleData::large() : SampleData::small());
    } catch (const DbError &e) {
        fprintf(stderr, "kvl-mkdata: %s\n", qPrintable(e.message()));
        QFile::remove(path);
        return 1;
    }
    printf("%s written in %.1f s\n", qPrintable(path), t.elapsed() / 1000.0);
    return 0;
}
