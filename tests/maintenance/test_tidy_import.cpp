// Tidy, rebuild and import through the maintenance dialog on real data files:
// what each purge removes and keeps, what a rebuild keeps, an import that keeps
// every id and reference, and every refusal leaving the file as it was.
#include "DialogFixture.h"
#include "FileDialogAnswers.h"
#include "MaintenanceTexts.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "TestDataFiles.h"
#include "Zzlsjk.h"

#include <QDateEdit>
#include <QRadioButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::dialogtest;

namespace {

QString idList(const QList<qint64> &ids)
{
    QStringList s;
    for (qint64 id : ids)
        s << QString::number(id);
    return s.join(QLatin1Char(','));
}

} // namespace

class TestTidyImport : public QObject
{
    Q_OBJECT
    AppFolder m_app;

    // Clicks 整理数据库 with `option` chosen and the question answered Yes.
    QStringList tidy(QRadioButton *TFMzlsjk::*option, const QDate &day = QDate())
    {
        TFMzlsjk d;
        (d.*option)->setChecked(true);
        if (day.isValid())
            d.rq->setDate(day);
        MessageRecorder messages;
        messages.queueAnswer(QMessageBox::Yes);
        d.SpeedButton1Click();
        return messages.texts();
    }

    QList<qint64> column(const char *sql) { return ids(current(), QString::fromUtf8(sql)); }

    // An older data file: the small sample of another seed, its own company and password.
    QString olderFile(const QString &name = QStringLiteral("OLD.DTA"))
    {
        static int n = 0;
        const QString path = m_app.path(QStringLiteral("%1-%2").arg(++n).arg(name));
        makeDataFile(path, QStringLiteral("老版本商行"), false, 4711);
        execOn(path, QStringLiteral("UPDATE PH SET pass='jiu', dh_ysk=dh_ysk+7;"
                                    "INSERT INTO GridColSelect(Fname, UserID, TitleCaption, ColWidth, ColIndex) VALUES('往来单位', 0, '单位名称', 80, 1);"
                                    "INSERT INTO report(Name, Template) VALUES('老模板', X'00')"));
        return path;
    }

    QByteArray digestOf(const QString &path)
    {
        Connection c;
        c.connect(path, Schema::databasePassword());
        return businessDigest(c);
    }

    void rebuildThroughDialog(const QString &password = QString())
    {
        ModalHandlers h;
        if (!password.isEmpty())
            h.enqueue(typePassword(password)).enqueue(typePassword(password));
        TFMzlsjk d;
        MessageRecorder messages;
        messages.queueAnswer(QMessageBox::Yes);
        d.xtchjClick();
        QCOMPARE(messages.texts().last(), MaintenanceTexts::rebuildDone());
    }

private slots:
    void init() { m_app.setUp(); }
    void cleanup() { m_app.tearDown(); }

    void onlyCompactingKeepsTheContent()
    {
        const QByteArray before = businessDigest(current());
        ProgressLog progress;
        QCOMPARE(tidy(&TFMzlsjk::RadioButton1), (QStringList{MaintenanceTexts::tidyQuestion(), MaintenanceTexts::tidyDone()}));
        QCOMPARE(progress.texts, QStringList{MaintenanceTexts::tidyProgress()});
        QVERIFY(!progress.isProgressShown());
        QVERIFY(DataModKvl && DbConnected);
        QCOMPARE(businessDigest(current()), before);
    }

    void aFailedCompactionSaysSoAndKeepsTheFile()
    {
        const QByteArray before = m_app.closedBytes();
        QStringList texts;
        {
            // Writes past 16 KB fail as on a full disk: the compacted copy cannot be written.
            testdata::FileSizeLimit full(16 * 1024);
            texts = tidy(&TFMzlsjk::RadioButton1);
        }
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts.last().startsWith(QStringLiteral("数据库打开冲突。")) && texts.last().size() > 8, qPrintable(texts.last()));
        QVERIFY(DataModKvl && DbConnected);
        QCOMPARE(m_app.closedBytes(), before);
        QVERIFY(QDir(AppDir).entryList({QStringLiteral("~*"), QStringLiteral("*-journal")}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void purgingEverythingSettled()
    {
        // A mark left on an open document must not make it go with the settled ones.
        const qint64 open = scalar(current(), QStringLiteral(
            "SELECT min(id) FROM sfk WHERE 类别<>'结帐' AND id NOT IN (SELECT sfid_mx FROM jzmx)"));
        current().exec(QStringLiteral("UPDATE sfk SET 结帐=1 WHERE id=%1").arg(open));
        const QList<qint64> settled = column("SELECT sfid_mx FROM jzmx");
        QVERIFY(!settled.isEmpty());
        const QList<qint64> keptDocs = column("SELECT id FROM sfk WHERE 类别<>'结帐' AND id NOT IN (SELECT sfid_mx FROM jzmx) ORDER BY id");
        const QList<qint64> keptLines = column("SELECT id FROM kcmx WHERE sf_id NOT IN (SELECT sfid_mx FROM jzmx) ORDER BY id");
        QVERIFY(keptDocs.contains(open));

        QCOMPARE(tidy(&TFMzlsjk::RadioButton2).last(), MaintenanceTexts::tidyDone());
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM sfk WHERE 类别='结帐'")), qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM jzmx")), qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM sfk WHERE id IN (%1)").arg(idList(settled))), qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id IN (%1)").arg(idList(settled))), qint64(0));
        QCOMPARE(column("SELECT id FROM sfk ORDER BY id"), keptDocs);
        QCOMPARE(column("SELECT id FROM kcmx ORDER BY id"), keptLines);
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM sfk WHERE 结帐<>0")), qint64(0));
    }

    void purgingWhatWasSettledUpToADay()
    {
        // The day of a settlement in the middle, given a time of day (as an
        // imported older file may carry), so it also shows that the whole of the
        // chosen day counts.
        const QList<qint64> settlements = column("SELECT id FROM sfk WHERE 类别='结帐' ORDER BY 制单日期, id");
        QVERIFY(settlements.size() >= 4);
        current().exec(QStringLiteral("UPDATE sfk SET 制单日期=substr(制单日期,1,10)||' 14:00:00' WHERE id=%1")
                           .arg(settlements[settlements.size() / 2]));
        const QString middle = textOf(current(), QStringLiteral("SELECT 制单日期 FROM sfk WHERE id=%1").arg(settlements[settlements.size() / 2]));
        QVERIFY(!middle.endsWith(QStringLiteral("00:00:00")));
        const QDate day = QDate::fromString(middle.left(10), QStringLiteral("yyyy-MM-dd"));
        const QString upTo = QStringLiteral("SELECT id FROM sfk WHERE 类别='结帐' AND substr(制单日期,1,10)<='%1'").arg(middle.left(10));
        const QList<qint64> gone = ids(current(), upTo);
        const QList<qint64> goneDocs = ids(current(), QStringLiteral("SELECT sfid_mx FROM jzmx WHERE sf_id IN (%1)").arg(upTo));
        const QList<qint64> laterLinks = ids(current(), QStringLiteral("SELECT id FROM jzmx WHERE sf_id NOT IN (%1) ORDER BY id").arg(upTo));
        const QList<qint64> keptDocs = ids(current(), QStringLiteral(
            "SELECT id FROM sfk WHERE id NOT IN (%1) AND id NOT IN (SELECT sfid_mx FROM jzmx WHERE sf_id IN (%1)) ORDER BY id").arg(upTo));
        QVERIFY(!gone.isEmpty() && !goneDocs.isEmpty() && !laterLinks.isEmpty());
        current().exec(QStringLiteral("UPDATE sfk SET 结帐=1 WHERE id=%1").arg(keptDocs.last()));

        QCOMPARE(tidy(&TFMzlsjk::RadioButton3, day).last(), MaintenanceTexts::tidyDone());
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM sfk WHERE id IN (%1)").arg(idList(gone + goneDocs))), qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id IN (%1)").arg(idList(goneDocs))), qint64(0));
        QCOMPARE(column("SELECT id FROM sfk ORDER BY id"), keptDocs);
        // Later settlements keep their links, and no link names a document that is gone.
        QCOMPARE(column("SELECT id FROM jzmx ORDER BY id"), laterLinks);
        QCOMPARE(scalar(current(), QStringLiteral(
                     "SELECT count(*) FROM jzmx WHERE sf_id NOT IN (SELECT id FROM sfk) OR sfid_mx NOT IN (SELECT id FROM sfk)")),
                 qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id NOT IN (SELECT id FROM sfk)")), qint64(0));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM sfk WHERE 结帐<>0")), qint64(0));
    }

    void answeringNoChangesNothing_data()
    {
        QTest::addColumn<bool>("rebuild");
        QTest::newRow("tidy") << false;
        QTest::newRow("rebuild") << true;
    }

    void answeringNoChangesNothing()
    {
        QFETCH(bool, rebuild);
        const QByteArray before = m_app.closedBytes();
        ProgressLog progress;
        {
            TFMzlsjk d;
            d.RadioButton2->setChecked(true);
            MessageRecorder messages;
            messages.queueAnswer(QMessageBox::No);
            if (rebuild)
                d.xtchjClick();
            else
                d.SpeedButton1Click();
            QCOMPARE(messages.texts().size(), 1);
            QCOMPARE(messages.transcript().first().kind, MessageKind::Question);
        }
        QVERIFY(progress.texts.isEmpty());
        QCOMPARE(m_app.closedBytes(), before);
    }

    void aFailingPurgeChangesNothingAndStillCompacts()
    {
        current().exec(QStringLiteral(
            "CREATE TRIGGER refuse_purge BEFORE DELETE ON kcmx BEGIN SELECT RAISE(ABORT, '{B}明细被保护，不能删除{E}'); END"));
        const QByteArray before = businessDigest(current());
        const QStringList texts = tidy(&TFMzlsjk::RadioButton2);
        QCOMPARE(texts, (QStringList{MaintenanceTexts::tidyQuestion(), QStringLiteral("明细被保护，不能删除"), MaintenanceTexts::tidyDone()}));
        QCOMPARE(businessDigest(current()), before);
    }

    void rebuildKeepsPasswordCompanyPictureAndTemplates()
    {
        current().exec(QStringLiteral(
            "UPDATE PH SET pass='重建口令', JPEG=X'FFD8FFE000104A464946', dh_ysk=41;"
            "INSERT INTO report(Name, Template) VALUES('01_出货单', X'7B7D'), ('02_进货单', X'7B2274223A317D');"
            "INSERT INTO GridColSelect(Fname, UserID, TitleCaption, ColWidth, ColIndex) VALUES('办理业务', 0, '单号', 90, 2)"));
        LoginPassword = QStringLiteral("重建口令");
        const QString reports = QStringLiteral("SELECT group_concat(Id || Name || hex(Template), ';') FROM (SELECT * FROM report ORDER BY Id)");
        const QString templatesBefore = textOf(current(), reports);
        ProgressLog progress;
        rebuildThroughDialog(QStringLiteral("重建口令"));
        QCOMPARE(progress.texts, QStringList{MaintenanceTexts::rebuildProgress()});
        for (const char *table : {"jzmx", "kcmx", "sfk", "公司员工", "计量单位", "商品产地", "商品类别", "商品资料", "往来单位", "GridColSelect"})
            QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromUtf8(table))), qint64(0));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT dw||zg||sp||sfk||dh_ysk||dh_yfk||dh_sk FROM PH")), QStringLiteral("0000000"));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT pass FROM PH")), QStringLiteral("重建口令"));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT UserName FROM PH")), QStringLiteral("杭州测试商行"));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT hex(JPEG) FROM PH")), QStringLiteral("FFD8FFE000104A464946"));
        QCOMPARE(textOf(current(), reports), templatesBefore);
        QVERIFY(!templatesBefore.isEmpty());
    }

    void aFailingRebuildEmptiesNothing()
    {
        current().exec(QStringLiteral(
            "CREATE TRIGGER keep_staff BEFORE DELETE ON 公司员工 BEGIN SELECT RAISE(ABORT, '{B}员工不能删除{E}'); END"));
        const QByteArray before = businessDigest(current());
        TFMzlsjk d;
        MessageRecorder messages;
        messages.queueAnswer(QMessageBox::Yes);
        d.xtchjClick();
        QCOMPARE(messages.texts(), (QStringList{MaintenanceTexts::rebuildQuestion().replace(QLatin1Char('\r'), QLatin1Char('\n')),
                                                QStringLiteral("员工不能删除")}));
        QCOMPARE(businessDigest(current()), before);
        QVERIFY(DataModKvl && DbConnected);
    }

    void importAfterRebuildKeepsEveryIdAndReference()
    {
        const QString older = olderFile();
        const QByteArray olderDigest = digestOf(older);
        current().exec(QStringLiteral("INSERT INTO report(Name, Template) VALUES('01_出货单', X'7B7D')"));
        rebuildThroughDialog();
        current().exec(QStringLiteral(
            "INSERT INTO GridColSelect(Fname, UserID, TitleCaption, ColWidth, ColIndex) VALUES('办理业务', 0, '单号', 90, 2)"));

        ProgressLog progress;
        ModalHandlers h;
        QString caption;
        h.enqueue(typePassword(QStringLiteral("jiu"), &caption));
        TFMzlsjk d;
        {
            FileDialogAnswers files;
            files.choose(older);
            MessageRecorder messages;
            d.BsjClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::importDone()});
            const FileDialogRequest &asked = files.requests().first();
            QCOMPARE(asked.title, MaintenanceTexts::importDialogTitle());
            QCOMPARE(asked.filter, MaintenanceTexts::importFilter());
            QCOMPARE(asked.mode, FileDialogRequest::Mode::Open);
        }
        QCOMPARE(progress.texts, (QStringList{MaintenanceTexts::importProgress(), MaintenanceTexts::importDocumentsProgress(),
                                              MaintenanceTexts::importLinesProgress(), MaintenanceTexts::importSettlementsProgress()}));
        QCOMPARE(h.shown(), QStringList{QStringLiteral("FmLogin")}); // the older file's password, asked at once
        QCOMPARE(LoginPassword, QStringLiteral("jiu"));
        QCOMPARE(CompanyName, QStringLiteral("老版本商行"));
        QCOMPARE(businessDigest(current()), olderDigest);
        // The current file's templates and layouts stay; the older file's are not taken.
        QCOMPARE(textOf(current(), QStringLiteral("SELECT group_concat(Name) FROM report")), QStringLiteral("01_出货单"));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT group_concat(Fname) FROM GridColSelect")), QStringLiteral("办理业务"));
        QCOMPARE(textOf(current(), QStringLiteral("SELECT hex(JPEG) FROM PH")), QString());
        // The dialog shows the older file's next numbers.
        Connection c;
        delete DataModKvl;
        c.connect(older, Schema::databasePassword());
        QCOMPARE(d.dh_ysk->text(), QString::number(scalar(c, QStringLiteral("SELECT dh_ysk FROM PH")) + 1));
        c.disconnect();
        new TDataModKvl;
        // The older file is released again and unchanged.
        QCOMPARE(digestOf(older), olderDigest);
    }

    void importRefusedUnlessEveryCounterIsZero_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("value");
        for (const char *c : {"dw", "zg", "sp", "sfk", "dh_ysk", "dh_yfk", "dh_sk"})
            QTest::newRow(c) << QString::fromUtf8(c) << QStringLiteral("1");
        QTest::newRow("dh_sk NULL") << QStringLiteral("dh_sk") << QStringLiteral("NULL");
    }

    void importRefusedUnlessEveryCounterIsZero()
    {
        QFETCH(QString, counter);
        QFETCH(QString, value);
        rebuildThroughDialog();
        current().exec(QStringLiteral("UPDATE PH SET %1=%2").arg(counter, value));
        const QByteArray before = m_app.closedBytes();
        TFMzlsjk d;
        FileDialogAnswers files;
        files.choose(olderFile());
        MessageRecorder messages;
        d.BsjClick();
        QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::importNeedsEmptyFile()});
        QCOMPARE(files.requests().size(), 0);
        QCOMPARE(m_app.closedBytes(), before);
    }

    void aBadOlderFileChangesNothing_data()
    {
        QTest::addColumn<QString>("damage");  // SQL run on the older file, or a kind of file
        QTest::addColumn<QString>("message");
        const QString cannot = MaintenanceTexts::importCannotConnect(), failed = MaintenanceTexts::importFailed();
        QTest::newRow("not a data file") << QStringLiteral("text") << cannot;
        QTest::newRow("another password") << QStringLiteral("password") << cannot;
        QTest::newRow("the current data file") << QStringLiteral("current") << cannot;
        QTest::newRow("lacks jzmx") << QStringLiteral("DROP TABLE jzmx") << failed;
        QTest::newRow("lacks 往来单位.邮政编码") << QStringLiteral("ALTER TABLE 往来单位 RENAME COLUMN 邮政编码 TO 邮编") << failed;
        QTest::newRow("lacks PH.pass") << QStringLiteral("ALTER TABLE PH RENAME COLUMN pass TO 口令") << failed;
        QTest::newRow("a value too wide") << QStringLiteral(
            "DROP TRIGGER link3_ins; CREATE TABLE k2 AS SELECT * FROM kcmx; DROP TABLE kcmx;"
            "CREATE TABLE kcmx(id INTEGER PRIMARY KEY, sf_id, kcsp_id, sl, dj, je, 备注);"
            "INSERT INTO kcmx SELECT * FROM k2; UPDATE kcmx SET 备注='这一行的备注远远超过了二十个字符的宽度限制啊啊啊' WHERE id=(SELECT max(id) FROM kcmx)")
                                          << failed;
    }

    void aBadOlderFileChangesNothing()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        rebuildThroughDialog();
        QString older = olderFile(QStringLiteral("BAD.DTA"));
        if (damage == QLatin1String("text")) {
            QFile::remove(older);
            writeBytes(older, "一个普通的文本文件，不是数据库。");
        } else if (damage == QLatin1String("password")) {
            QFile::remove(older);
            Connection::createDataFile(older, QStringLiteral("另一个口令"));
        } else if (damage == QLatin1String("current")) {
            older = AppDir + QStringLiteral("KVL.DTA"); // held by the data module
        } else {
            execOn(older, damage);
        }
        const QByteArray before = m_app.closedBytes();
        ProgressLog progress;
        TFMzlsjk d;
        {
            FileDialogAnswers files;
            files.choose(older);
            MessageRecorder messages;
            d.BsjClick();
            QCOMPARE(messages.texts(), QStringList{message});
        }
        QVERIFY(DataModKvl && DbConnected);
        QCOMPARE(m_app.closedBytes(), before);
        QCOMPARE(textOf(current(), QStringLiteral("SELECT dw||zg||sp||sfk||dh_ysk||dh_yfk||dh_sk FROM PH")), QStringLiteral("0000000"));
        QVERIFY(!progress.isProgressShown());

        // Nothing is held: the import can be tried again, and a cancelled dialog imports nothing.
        {
            FileDialogAnswers files;
            files.cancel();
            MessageRecorder messages;
            d.BsjClick();
            QVERIFY(messages.texts().isEmpty());
        }
        QCOMPARE(m_app.closedBytes(), before);
        const QString good = olderFile(QStringLiteral("GOOD.DTA"));
        ModalHandlers h;
        h.enqueue(typePassword(QStringLiteral("jiu")));
        FileDialogAnswers files;
        files.choose(good);
        MessageRecorder messages;
        d.BsjClick();
        QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::importDone()});
        QCOMPARE(businessDigest(current()), digestOf(good));
    }

    void importedCountersGoOnAfterTheLargestIds()
    {
        const QString older = olderFile();
        execOn(older, QStringLiteral("UPDATE PH SET dw=2, sfk=0"));
        rebuildThroughDialog();
        ModalHandlers h;
        h.enqueue(typePassword(QStringLiteral("jiu")));
        TFMzlsjk d;
        FileDialogAnswers files;
        files.choose(older);
        MessageRecorder messages;
        d.BsjClick();
        QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::importDone()});
        QCOMPARE(scalar(current(), QStringLiteral("SELECT dw FROM PH")), scalar(current(), QStringLiteral("SELECT max(id) FROM 往来单位")));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT sfk FROM PH")), scalar(current(), QStringLiteral("SELECT max(id) FROM sfk")));
    }
};

QTEST_MAIN(TestTidyImport)
#include "test_tidy_import.moc"
