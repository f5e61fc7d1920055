// A data file for the statistics tests: the small sample (or a shape given),
// optionally a handful of documents with known texts, NULLs and special
// characters added by plain SQL, and the data module on it; helpers that read
// the data file with plain SQL and a dataset's rows as the grid shows them.
#pragma once

#include "Connection.h"
#include "Dataset.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

namespace kvl::test {

using Params = QList<std::pair<QString, Value>>;

// The known rows, all in June 2020, beside the sample (dated in the last year).
// Partner 9001 "测试(甲)商行" (code KX-01), partner 9002 with NULL code and name;
// staff 9001 "测试员"; goods 9001 "测试[特]货" (五金, 广东), goods 9002 all NULL.
// Documents 100001..100006 (shipments and purchases), 100007 settles 100006.
inline const char *kKnownRows =
    "INSERT INTO 往来单位(id, 单位编号, 单位名称) VALUES (9001, 'KX-01', '测试(甲)商行'), (9002, NULL, NULL);"
    "INSERT INTO 公司员工(id, 员工编号, 员工姓名) VALUES (9001, 'Y9001', '测试员');"
    "INSERT INTO 商品资料(id, 商品编号, 商品名称, 商品类别, 商品产地, 计量单位) VALUES"
    " (9001, 'SPX01', '测试[特]货', '五金', '广东', '个'), (9002, NULL, NULL, NULL, NULL, NULL);"
    "INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, xszg_id, 应收款金额（出货）, 结帐、应付款金额（进货）, 备注) VALUES"
    " (100001, '2020-06-01 10:00:00', '出货', 'KX00000001', 9001, 9001, 1000000, 0, 'O''Neil 订货'),"
    " (100002, '2020-06-02 10:00:00', '进货', 'KX00000002', 9001, NULL, 0, 200000, '[急]送货'),"
    " (100003, '2020-06-03 10:00:00', '出货', NULL, 9002, 9001, 30000, 0, NULL),"
    " (100004, '2020-06-04 10:00:00', '出货', 'KX00000004', NULL, NULL, 40000, 0, '折扣50%'),"
    " (100005, '2020-06-05 10:00:00', '进货', 'KX_0000005', 9001, 9001, 0, 50000, 'a_b'),"
    " (100006, '2020-06-06 10:00:00', '出货', 'KXX0000006', 9001, 9001, 60000, 0, 'axb'),"
    " (100007, '2020-06-07 10:00:00', '结帐', '结X0000001', 9001, 9001, 0, -60000, '');"
    "INSERT INTO jzmx(sf_id, sfid_mx) VALUES (100007, 100006);"
    "INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je, 备注) VALUES"
    " (100001, 9001, 20000, 250000, 500000, ''), (100001, 9002, 10000, 500000, 500000, NULL),"
    " (100002, 9001, 10000, 200000, 200000, ''), (100003, 1, 10000, 30000, 30000, ''),"
    " (100004, NULL, 10000, 40000, 40000, ''), (100005, 9002, 10000, 50000, 50000, ''),"
    " (100006, 9001, 10000, 60000, 60000, '');";

class StatisticsData
{
public:
    explicit StatisticsData(const SampleData::Shape &shape = SampleData::small(), bool knownRows = true)
    {
        AppDir = m_dir.path() + u'/';
        Schema::createDataFile(AppDir + "KVL.DTA", QStringLiteral("示例商贸"));
        {
            Connection c;
            c.connect(AppDir + "KVL.DTA", Schema::databasePassword());
            SampleData::write(c, shape);
        }
        m_dm = std::make_unique<TDataModKvl>();
        if (knownRows)
            exec(QString::fromUtf8(kKnownRows));
    }

    TDataModKvl &dm() { return *m_dm; }
    Connection &conn() { return m_dm->ConKVL; }
    void exec(const QString &sql) { conn().exec(sql); }

    // Every row of a plain statement, each as its column values.
    std::vector<std::vector<Value>> rows(const QString &sql, const Params &params = {})
    {
        Statement st(conn(), sql);
        for (const auto &[name, value] : params)
            if (st.hasParameter(name))
                st.bind(name, value);
        std::vector<std::vector<Value>> out;
        while (st.next()) {
            std::vector<Value> r;
            for (int c = 0; c < st.columnCount(); ++c)
                r.push_back(st.value(c));
            out.push_back(r);
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDataModKvl> m_dm;
};

// The values of one field down the rows in the dataset's current order.
inline std::vector<Value> columnOf(const Dataset &ds, const QString &field)
{
    const int f = ds.fieldIndex(field);
    std::vector<Value> out;
    for (int i = 0; i < ds.recordCount(); ++i)
        out.push_back(ds.valueAt(i, f));
    return out;
}

inline qint64 sumOf(const Dataset &ds, const QString &field)
{
    qint64 s = 0;
    for (const Value &v : columnOf(ds, field))
        s += v.isNull() ? 0 : v.moneyUnits();
    return s;
}

inline QList<qint64> idsOf(const Dataset &ds)
{
    QList<qint64> out;
    for (const Value &v : columnOf(ds, QStringLiteral("id")))
        out << v.toInt();
    return out;
}

// Every visible field of every row of `shown` equals the same field of `ref`, row by row.
inline void compareRows(const Dataset &shown, const Dataset &ref)
{
    QCOMPARE(shown.recordCount(), ref.recordCount());
    for (const FieldDef &f : shown.fields()) {
        if (!f.visible)
            continue;
        const int a = shown.fieldIndex(f.name), b = ref.fieldIndex(f.name);
        QVERIFY2(b >= 0, qPrintable(f.name));
        for (int i = 0; i < shown.recordCount(); ++i)
            if (shown.valueAt(i, a) != ref.valueAt(i, b))
                QFAIL(qPrintable(QStringLiteral("row %1, %2: %3 / %4")
                                     .arg(i)
                                     .arg(f.name, shown.valueAt(i, a).toString(), ref.valueAt(i, b).toString())));
    }
}

// A statement read through the data module's QueAll, which presents its columns
// with the types and names the shared datasets give them.
inline Dataset &openedQuery(TDataModKvl &dm, const QString &text, const Params &params)
{
    Dataset &all = dm.query(text);
    for (const auto &[name, value] : params)
        all.setParam(name, value);
    all.open();
    return all;
}

inline QDate day(const char *iso) { return QDate::fromString(QString::fromUtf8(iso), Qt::ISODate); }

} // namespace kvl::test
