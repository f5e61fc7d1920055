// The data module on real data files: creation and its one failure message,
// the program-wide values from PH, field lists, lookups, master/detail, the
// joined list's write-through and the lines standing in edit state.
#include "Connection.h"
#include "MessageRecorder.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

class TestDataModule : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_n = 0;

    // A fresh folder holding a small sample data file; AppDir points at it.
    QString freshAppDir(bool sample = true)
    {
        const QString dir = m_dir.filePath(QString::number(++m_n)) + QLatin1Char('/');
        QDir().mkpath(dir);
        Schema::createDataFile(dir + "KVL.DTA", QStringLiteral("示例商贸"));
        if (sample) {
            Connection c;
            c.connect(dir + "KVL.DTA", Schema::databasePassword());
            SampleData::write(c, SampleData::small());
        }
        AppDir = dir;
        return dir;
    }

    QStringList visibleCaptions(const Dataset &d)
    {
        QStringList r;
        for (const FieldDef &f : d.fields())
            if (f.visible)
                r << f.caption();
        return r;
    }

private slots:
    void creationReadsPh()
    {
        const QString dir = freshAppDir();
        {
            Connection c;
            c.connect(dir + "KVL.DTA", Schema::databasePassword());
            c.exec("UPDATE PH SET pass='abc', JPEG=X'FFD8FF'");
        }
        MessageRecorder rec;
        TDataModKvl dm;
        QVERIFY(DbConnected);
        QVERIFY(rec.transcript().isEmpty());
        QCOMPARE(CompanyName, QStringLiteral("示例商贸"));
        QCOMPARE(LoginPassword, QStringLiteral("abc"));
        QCOMPARE(BackgroundPicture, QByteArray("\xFF\xD8\xFF"));
        QCOMPARE(Bbh36, QStringLiteral("3.6"));
        for (Dataset *d : {&dm.DataDm_dw, &dm.DataDm_spdw, &dm.DataDm_spcd, &dm.DataDm_splb, &dm.DataDm_zg, &dm.DataKcsp})
            QVERIFY(d->isActive());
        QVERIFY(!dm.DataSfk.isActive());
        QCOMPARE(dm.DataDm_dw.recordCount(), 12);
        QCOMPARE(DataSfkBaseSql, dm.DataSfk.sql());
        QCOMPARE(dm.reportLink("RmSfk_kcmx"), &dm.DataSfk_kcmx);
        QCOMPARE(dm.reportLink("RmNothing"), nullptr);
    }

    void emptyPasswordAndPicture()
    {
        freshAppDir(false);
        TDataModKvl dm;
        QVERIFY(DbConnected);
        QVERIFY(LoginPassword.isEmpty());
        QVERIFY(BackgroundPicture.isEmpty());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("damaged file") << "damaged";
        QTest::newRow("file of another password") << "password";
        QTest::newRow("file held by another opener") << "held";
    }
    void failures()
    {
        QFETCH(QString, damage);
        const QString dir = freshAppDir(false);
        Connection holder;
        if (damage == "damaged") {
            QFile f(dir + "KVL.DTA");
            f.open(QIODevice::ReadWrite);
            f.seek(0);
            f.write(QByteArray(100, 'x'));
        } else if (damage == "password") {
            QFile::remove(dir + "KVL.DTA");
            Connection::createDataFile(dir + "KVL.DTA", "another");
        } else {
            holder.connect(dir + "KVL.DTA", Schema::databasePassword());
        }
        MessageRecorder rec;
        TDataModKvl dm;
        QVERIFY(!DbConnected);
        QCOMPARE(rec.texts(), QStringList{QString::fromUtf8(TDataModKvl::kConnectFailed)});
        QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
    }

    void fieldLists()
    {
        freshAppDir();
        TDataModKvl dm;
        dm.DataSfk.open();
        QStringList names;
        for (const FieldDef &f : dm.DataSfk.fields())
            names << f.name;
        QCOMPARE(names.mid(0, 14), QString("id 制单日期 类别 单号 dw_id xszg_id 应收款金额（出货） 结帐、应付款金额（进货） 应收款余额 员工姓名 备注 结帐 单位名称 结帐单号").split(' '));
        QCOMPARE(dm.DataSfk.field("应收款金额（出货）").caption(), QStringLiteral("出货（应收款）金额"));
        QCOMPARE(dm.DataSfk.field("结帐、应付款金额（进货）").caption(), QStringLiteral("结帐、进货（应付款）金额"));
        QVERIFY(dm.DataSfk.field("应收款余额").readOnly);
        QCOMPARE(dm.DataSfk.field("制单日期").type, ValueType::DateTime);

        dm.DataSfk_jz.open();
        QCOMPARE(dm.DataSfk_jz.field("结帐、应付款金额（进货）").caption(), QStringLiteral("进货（应付款）金额"));
        QCOMPARE(dm.DataSfk_jz.field("制单日期").displayFormat, QStringLiteral("yyyy-mm-dd"));

        dm.DataTJ_sp.setSql(DataTJSpBaseSql + " where sfk.id < 5");
        dm.DataTJ_sp.open();
        QCOMPARE(dm.DataTJ_sp.field("sfk.备注").size, 60);
        QCOMPARE(dm.DataTJ_sp.field("sl").caption(), QStringLiteral("数量"));
        QCOMPARE(dm.DataTJ_sp.field("备注").size, 20);
        QCOMPARE(dm.DataTJ_sp.field("进货（应付款）金额").type, ValueType::Money);

        dm.DataSfk.first();
        dm.DataSfk_kcmx.open();
        dm.DataSfk_jzmx.open();
        QCOMPARE(visibleCaptions(dm.DataSfk_kcmx), QString("商品名称 商品类别 商品产地 计量单位 数量 单价 金额 备注").split(' '));
        QCOMPARE(visibleCaptions(dm.DataSfk_jzmx),
                 QString("制单日期 类别 单号 出货（应收款）金额 进货（应付款）金额 本次结帐金额").split(' '));
        QCOMPARE(dm.DataDm_splb.fields().at(0).name, QStringLiteral("拼音简码"));
    }

    void detailsFollowTheDocumentList()
    {
        freshAppDir();
        TDataModKvl dm;
        dm.DataSfk.setSql(DataSfkBaseSql + " order by sfk.id");
        dm.DataSfk.open();
        dm.DataSfk_kcmx.open();
        dm.DataSfk_jzmx.open();
        Connection &c = dm.ConKVL;
        auto count = [&](const QString &sql, qint64 id) {
            Statement st(c, sql);
            st.bind(1, Value::integer(id));
            st.next();
            return int(st.int64(0));
        };
        for (dm.DataSfk.first(); !dm.DataSfk.eof(); dm.DataSfk.next()) {
            const qint64 id = dm.DataSfk.value("id").toInt();
            QCOMPARE(dm.DataSfk_kcmx.recordCount(), count("SELECT count(*) FROM kcmx WHERE sf_id=?", id));
            QCOMPARE(dm.DataSfk_jzmx.recordCount(), count("SELECT count(*) FROM jzmx WHERE sf_id=?", id));
        }
    }

    void joinedListRereadsAfterPost()
    {
        freshAppDir();
        TDataModKvl dm;
        dm.DataSfk.open();
        // A settled shipment: move it to another partner and check the joined columns.
        Statement st(dm.ConKVL, "SELECT sfid_mx, (SELECT 单号 FROM sfk WHERE id=jzmx.sf_id) FROM jzmx LIMIT 1");
        QVERIFY(st.next());
        const qint64 id = st.int64(0);
        const QString settlement = st.text(1);
        QVERIFY(dm.DataSfk.locate("id", Value::integer(id)));
        const qint64 other = dm.DataSfk.value("dw_id").toInt() % 12 + 1;
        dm.DataSfk.edit();
        dm.DataSfk.setValue("dw_id", Value::integer(other));
        dm.DataSfk.setValue("备注", Value(QStringLiteral("改过")));
        dm.DataSfk.post();
        Statement name(dm.ConKVL, "SELECT 单位名称 FROM 往来单位 WHERE id=?");
        name.bind(1, Value::integer(other));
        QVERIFY(name.next());
        QCOMPARE(dm.DataSfk.value("单位名称").toString(), name.text(0));
        QCOMPARE(dm.DataSfk.value("结帐单号").toString(), settlement);
        QCOMPARE(dm.DataSfk.value("应收款余额").moneyUnits(), 0);
        Statement stored(dm.ConKVL, "SELECT dw_id, 备注 FROM sfk WHERE id=?");
        stored.bind(1, Value::integer(id));
        QVERIFY(stored.next());
        QCOMPARE(stored.int64(0), other);
        QCOMPARE(stored.text(1), QStringLiteral("改过"));
    }

    void linesOfANewDocumentStandInEditState()
    {
        freshAppDir();
        TDataModKvl dm;
        dm.DataKcmx.setSql("select * from kcmx where id=0 and id<0");
        dm.DataKcmx.open();
        QCOMPARE(dm.DataKcmx.state(), Dataset::State::Insert);
        QCOMPARE(dm.DataKcmx.recordCount(), 1);
        QVERIFY(dm.DataKcmx.batchMode());
        dm.DataKcmx.cancel();
        dm.DataKcmx.close();
        // With lines: edit state on the first line.
        dm.DataKcmx.setSql("select *  from kcmx where sf_id=1");
        dm.DataKcmx.open();
        QCOMPARE(dm.DataKcmx.state(), Dataset::State::Edit);
        QCOMPARE(dm.DataKcmx.recNo(), 1);
    }

    void goodsNameCutToFifteenCharacters()
    {
        freshAppDir();
        TDataModKvl dm;
        const QString twenty = QString("一二三四五六七八九十").repeated(2);
        dm.DataKcsp.first();
        dm.DataKcsp.edit();
        dm.DataKcsp.setValue("商品名称", Value(twenty));
        dm.DataKcsp.post();
        const qint64 goods = dm.DataKcsp.value("id").toInt();
        dm.DataKcmx.setSql(QString("select *  from kcmx where kcsp_id=%1").arg(goods));
        dm.DataKcmx.open();
        if (dm.DataKcmx.value("kcsp_id").isNull())
            dm.DataKcmx.setValue("kcsp_id", Value::integer(goods));
        QCOMPARE(dm.DataKcmx.value("kcsp_spmc").toString(), twenty.left(15));
    }
};

QTEST_MAIN(TestDataModule)
#include "test_datamodule.moc"
