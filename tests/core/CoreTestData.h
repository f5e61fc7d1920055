// A data file in a temporary folder that serves as AppDir, with the PH values a test needs.
#pragma once

#include "Connection.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"

#include <QFile>
#include <QTemporaryDir>

namespace kvl {

class CoreTestData
{
public:
    CoreTestData() { AppDir = folder(); }

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString dataFile() const { return folder() + QStringLiteral("KVL.DTA"); }

    // A fresh data file; `password` goes into PH.pass, `sample` adds the small sample business.
    void create(const QString &company = QStringLiteral("测试商贸公司"), const QString &password = {},
                bool sample = false)
    {
        Schema::createDataFile(dataFile(), company);
        Connection c;
        c.connect(dataFile(), Schema::databasePassword());
        if (sample)
            SampleData::write(c, SampleData::small());
        Statement st(c, QStringLiteral("UPDATE PH SET pass=:p"));
        st.bind(QStringLiteral("p"), Value(password));
        st.exec();
    }

    // Runs one statement with one bound value on the closed data file.
    void update(const QString &sql, const Value &value)
    {
        Connection c;
        c.connect(dataFile(), Schema::databasePassword());
        Statement st(c, sql);
        st.bind(1, value);
        st.exec();
    }

    // A file of that name that is no data file.
    void createDamaged()
    {
        QFile f(dataFile());
        f.open(QIODevice::WriteOnly);
        f.write("this is not a data file, only its name is right");
    }

private:
    QTemporaryDir m_dir;
};

} // namespace kvl
