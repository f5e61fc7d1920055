// A data file with the small sample in a temporary folder, opened by the data
// module as the program opens it, for the grid tests.
#pragma once

#include "Connection.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "datakvl.h"

#include <QTemporaryDir>

#include <memory>

namespace kvl::test {

struct GridTestFile
{
    QTemporaryDir dir;
    std::unique_ptr<TDataModKvl> dm;

    GridTestFile()
    {
        AppDir = dir.path() + QLatin1Char('/');
        Schema::createDataFile(AppDir + QStringLiteral("KVL.DTA"), QStringLiteral("公司"));
        {
            Connection c;
            c.connect(AppDir + QStringLiteral("KVL.DTA"), Schema::databasePassword());
            SampleData::write(c, SampleData::small());
        }
        dm = std::make_unique<TDataModKvl>();
    }

    // The program ends and starts again on the same file.
    void restart()
    {
        dm.reset();
        dm = std::make_unique<TDataModKvl>();
    }

    // Every document of the file, in id order.
    Dataset &openDocuments()
    {
        Dataset &ds = dm->DataSfk;
        ds.close();
        ds.setSql(DataSfkBaseSql + QStringLiteral(" order by sfk.id"));
        ds.open();
        return ds;
    }
};

// The document list's columns as the business window defines them.
inline const QStringList &documentColumns()
{
    static const QStringList c = {QStringLiteral("制单日期"),        QStringLiteral("类别"),
                                  QStringLiteral("单号"),            QStringLiteral("应收款金额（出货）"),
                                  QStringLiteral("结帐、应付款金额（进货）"), QStringLiteral("应收款余额"),
                                  QStringLiteral("员工姓名"),        QStringLiteral("备注"),
                                  QStringLiteral("结帐单号")};
    return c;
}

} // namespace kvl::test
