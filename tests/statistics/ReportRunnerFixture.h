// A data file of the small sample with the eighteen templates, the data module over
// it, and the shared datasets loaded the way the printing windows load them.
#pragma once

#include "BaseQueries.h"
#include "Connection.h"
#include "ProgramValues.h"
#include "ReportTemplates.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace kvl::test {

class ReportRunnerFixture
{
public:
    // `prepare` runs on the fresh file before the module connects.
    explicit ReportRunnerFixture(const std::function<void(Connection &)> &prepare = {})
    {
        AppDir = m_dir.path() + QLatin1Char('/');
        Schema::createDataFile(AppDir + QStringLiteral("KVL.DTA"), QStringLiteral("宏达商贸有限公司"));
        {
            Connection c;
            c.connect(AppDir + QStringLiteral("KVL.DTA"), Schema::databasePassword());
            SampleData::write(c, SampleData::small());
            ReportTemplates::store(c);
            if (prepare)
                prepare(c);
        }
        m_module = std::make_unique<TDataModKvl>();
        CurrentReportName.clear();
    }

    TDataModKvl &dm() { return *m_module; }
    QString dataFile() const { return AppDir + QStringLiteral("KVL.DTA"); }

    qint64 scalar(const QString &sql)
    {
        Statement st(dm().ConKVL, sql);
        return st.next() ? st.int64(0) : -1;
    }
    QByteArray storedTemplate(const QString &name)
    {
        Statement st(dm().ConKVL, QStringLiteral("SELECT Template FROM report WHERE Name=?"));
        st.bind(1, Value(name));
        return st.next() ? st.value(0).toBytes() : QByteArray();
    }

    // The unsettled statistics: every open shipment and purchase, by id.
    Dataset &openUnsettled()
    {
        Dataset &d = dm().DataTJ_ysk;
        d.close();
        d.setSql(DataTJYskBaseSql + QStringLiteral(" where (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐' order by sfk.id"));
        d.open();
        return d;
    }

    // The goods statistics: every line of shipments and purchases, by document.
    Dataset &openGoodsLines()
    {
        Dataset &d = dm().DataTJ_sp;
        d.close();
        d.setSql(DataTJSpBaseSql + QStringLiteral(" where sfk.类别<>'结帐' order by sfk.id"));
        d.open();
        return d;
    }

    // The business window with "显示已结帐单据" ticked: every document of one partner.
    Dataset &openPartnerDocuments(qint64 partner)
    {
        Dataset &d = dm().DataSfk;
        d.close();
        d.setSql(DataSfkBaseSql + QStringLiteral(" where (sfk.dw_id=:Vdw_id) order by sfk.id"));
        d.setParam(QStringLiteral("Vdw_id"), Value::integer(partner));
        d.open();
        return d;
    }

    // The partner whose documents include the most goods lines and a settlement.
    qint64 busiestPartner()
    {
        return scalar(QStringLiteral("SELECT s.dw_id FROM sfk s JOIN kcmx k ON k.sf_id=s.id "
                                     "WHERE s.dw_id IN (SELECT dw_id FROM sfk WHERE 类别='结帐') "
                                     "GROUP BY s.dw_id ORDER BY count(*) DESC, s.dw_id LIMIT 1"));
    }

    // The shipment or purchase editor after saving: the header current in DataSfk,
    // its lines in DataKcmx.
    Dataset &openDocumentLines(const QString &kind)
    {
        const qint64 id = scalar(QStringLiteral("SELECT s.id FROM sfk s JOIN kcmx k ON k.sf_id=s.id WHERE s.类别='%1' "
                                                "GROUP BY s.id ORDER BY count(*) DESC, s.id LIMIT 1").arg(kind));
        Dataset &sfk = openPartnerDocuments(scalar(QStringLiteral("SELECT dw_id FROM sfk WHERE id=%1").arg(id)));
        sfk.locate(QStringLiteral("id"), Value::integer(id));
        Dataset &lines = dm().DataKcmx;
        lines.close();
        lines.setSql(DataKcmxBaseSql + QStringLiteral(" where kcmx.sf_id= :sfkid"));
        lines.setParam(QStringLiteral("sfkid"), Value::integer(id));
        lines.open();
        lines.first();
        return lines;
    }

    // The settlement editor after saving: the settlement current in DataSfk, its
    // candidates in DataSfk_jz and its links in DataJzmx.
    Dataset &openSettlementLinks()
    {
        const qint64 id = scalar(QStringLiteral("SELECT sf_id FROM jzmx GROUP BY sf_id ORDER BY count(*) DESC, sf_id LIMIT 1"));
        const qint64 partner = scalar(QStringLiteral("SELECT dw_id FROM sfk WHERE id=%1").arg(id));
        Dataset &sfk = openPartnerDocuments(partner);
        sfk.locate(QStringLiteral("id"), Value::integer(id));
        Dataset &cand = dm().DataSfk_jz;
        cand.close();
        cand.setSql(DataSfkJzBaseSql
                    + QStringLiteral(" WHERE (((sfk_1.单号) Is Null) AND ((sfk.dw_id)=:Vdw_id) AND ((sfk.类别)<>'结帐')) "
                                     " UNION ")
                    + DataSfkJzBaseSql
                    + QStringLiteral(" WHERE  (((sfk.id) In (SELECT sfid_mx FROM jzmx AS jzmx_1 WHERE "
                                     "(((jzmx_1.sf_id)=:Vsfkid))))) ORDER BY sfk.id"));
        cand.setParam(QStringLiteral("Vsfkid"), Value::integer(id));
        cand.setParam(QStringLiteral("Vdw_id"), Value::integer(partner));
        cand.open();
        Dataset &links = dm().DataJzmx;
        links.close();
        links.setSql(QStringLiteral("select * from jzmx where jzmx.sf_id= :sfkid"));
        links.setParam(QStringLiteral("sfkid"), Value::integer(id));
        links.open();
        links.first();
        return links;
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDataModKvl> m_module;
};

} // namespace kvl::test
