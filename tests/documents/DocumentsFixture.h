// A data file with the small sample and the data module on it, standing as the
// business window leaves it before an editor opens: one partner's document list
// loaded, the goods list open for the line lookups. Helpers start new documents
// as the 添加 commands do, type lines, and read the data file with plain SQL.
#pragma once

#include "Connection.h"
#include "Dataset.h"
#include "DocumentNumber.h"
#include "DocumentStart.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace kvl::test {

class DocumentsData
{
public:
    DocumentsData()
    {
        AppDir = m_dir.path() + u'/';
        Schema::createDataFile(AppDir + "KVL.DTA", QStringLiteral("示例商贸"));
        {
            Connection c;
            c.connect(AppDir + "KVL.DTA", Schema::databasePassword());
            SampleData::write(c, SampleData::small());
        }
        m_dm = std::make_unique<TDataModKvl>();
        dm().DataKcsp.close();
        dm().DataKcsp.setSql(QStringLiteral("select * from 商品资料 order by id"));
        dm().DataKcsp.open();
        openPartner(partner);
    }

    TDataModKvl &dm() { return *m_dm; }
    Connection &conn() { return m_dm->ConKVL; }

    void openPartner(qint64 id)
    {
        Dataset &s = dm().DataSfk;
        s.close();
        s.setSql(DataSfkBaseSql + QStringLiteral(" where sfk.dw_id=:Vdw_id order by sfk.id"));
        s.setParam(QStringLiteral("Vdw_id"), Value::integer(id));
        s.open();
    }

    // As 添加 › 出货 or 进货 does, and as 修改 opens the current document.
    void startNew(DocumentKind kind) { StartNewDocument(kind, partner); }
    void startEdit(qint64 id)
    {
        QVERIFY(dm().DataSfk.locate(QStringLiteral("id"), Value::integer(id)));
        StartEditDocument(partner);
    }

    // Types one line into the line being edited, then starts the next one.
    void typeLine(qint64 goodsId, qint64 sl, qint64 dj, qint64 je, bool next = true)
    {
        Dataset &l = dm().DataKcmx;
        if (l.state() == Dataset::State::Browse)
            l.append();
        if (goodsId)
            l.setValue(QStringLiteral("kcsp_id"), Value::integer(goodsId));
        if (sl >= 0)
            l.setValue(QStringLiteral("sl"), Value::money(sl));
        if (dj >= 0)
            l.setValue(QStringLiteral("dj"), Value::money(dj));
        if (je >= 0)
            l.setValue(QStringLiteral("je"), Value::money(je));
        l.post();
        if (next)
            l.append();
    }

    qint64 scalar(const QString &sql)
    {
        Statement st(conn(), sql);
        return st.next() && !st.isNull(0) ? st.int64(0) : -1;
    }
    QString text(const QString &sql)
    {
        Statement st(conn(), sql);
        return st.next() ? st.value(0).toString() : QString();
    }

    qint64 partner = 1;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDataModKvl> m_dm;
};

} // namespace kvl::test
