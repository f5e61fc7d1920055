// The maintenance dialog on a real data file: its controls as they open, the
// counters and the password it stores, the password asked before it opens, and
// backup and restore driven through its buttons, file dialogs and messages.
#include "DialogFixture.h"
#include "FileDialogAnswers.h"
#include "MaintenanceTexts.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "Zlogin.h"
#include "Zzlsjk.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QtEndian>
#include <QtTest>

using namespace kvl;
using namespace kvl::dialogtest;

class TestMaintenanceDialog : public QObject
{
    Q_OBJECT
    AppFolder m_app;

    void setPassword(const QString &pass)
    {
        Statement st(current(), QStringLiteral("UPDATE PH SET pass=?"));
        st.bind(1, Value(pass));
        st.exec();
        LoginPassword = pass;
    }
    QString storedPassword() { return textOf(current(), QStringLiteral("SELECT pass FROM PH")); }

private slots:
    void init() { m_app.setUp(); }
    void cleanup() { m_app.tearDown(); }

    void opensWithEveryControlInItsState()
    {
        TFMzlsjk d;
        QCOMPARE(d.windowTitle(), QStringLiteral("数据库维护"));
        const std::pair<const char *, const char *> groups[] = {
            {"GroupBox1", " 数据备份、恢复、导入及重建 "},
            {"GroupBox2", " 数据整理（为了安全，整理之前请备份您的数据库）"},
            {"GroupBox5", " 系统参数 "}};
        for (const auto &[name, title] : groups)
            QCOMPARE(d.findChild<QGroupBox *>(QString::fromUtf8(name))->title(), QString::fromUtf8(title));
        const std::pair<const char *, const char *> buttons[] = {
            {"Bbf", " 数据备份(&B)"}, {"Bhf", " 数据恢复(&R)"}, {"Bsj", " 数据导入(&U)"}, {"xtchj", "系统重建(&J)"},
            {"SpeedButton1", "整理数据库(&Z)"}, {"BSave", "确定(&Yes)"}, {"RzBitBtn1", "取消(&Esc)"}};
        for (const auto &[name, caption] : buttons)
            QCOMPARE(d.findChild<QPushButton *>(QString::fromUtf8(name))->text(), QString::fromUtf8(caption));
        QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("RadioButton1"))->isChecked());
        QCOMPARE(d.RadioButton2->text(), QStringLiteral("优化数据库，并清除所有已经结帐的单据"));
        QCOMPARE(d.RadioButton3->text(), QStringLiteral("优化数据库，并清除某段日期内已经结帐的单据"));
        QVERIFY(!d.findChild<QLabel *>(QStringLiteral("Lrq"))->isEnabled());
        QVERIFY(!d.findChild<QDateEdit *>(QStringLiteral("rq"))->isEnabled());
        QCOMPARE(d.rq->date(), QDate::currentDate());
        for (const char *name : {"dh_ysk", "dh_yfk", "dh_sk"})
            QCOMPARE(d.findChild<QLineEdit *>(QString::fromUtf8(name))->maxLength(), 9);
        QCOMPARE(d.Label1->text(), QStringLiteral("出货（应收款）单"));
        QCOMPARE(d.Label2->text(), QStringLiteral("进货（应付款）单"));
        QCOMPARE(d.Label3->text(), QStringLiteral("结算单"));
        QCOMPARE(d.findChild<QCheckBox *>(QStringLiteral("xtdl"))->text(), QStringLiteral("系统登时要求录入系统密码"));
        QCOMPARE(d.Lkl->text(), QStringLiteral("录入系统密码"));
        QCOMPARE(d.Lkl2->text(), QStringLiteral("再录一次"));
        QCOMPARE(d.kl->echoMode(), QLineEdit::Password);
        QCOMPARE(d.kl2->echoMode(), QLineEdit::Password);
        // No password in the file: the switch is off and the edits with it.
        QVERIFY(!d.xtdl->isChecked());
        QVERIFY(!d.kl->isEnabled() && !d.kl2->isEnabled() && !d.Lkl->isEnabled() && !d.Lkl2->isEnabled());
        QCOMPARE(d.SaveDialog1.title, QStringLiteral("数据备份到哪个文件"));
        QCOMPARE(d.SaveDialog1.filter, QStringLiteral("备份文件(*.kvl)|*.kvl"));
        QCOMPARE(d.SaveDialog1.defaultExt, QStringLiteral("kvl"));
        QCOMPARE(d.SaveDialog1.initialDir, AppDir);
        QCOMPARE(d.OpenDialog1.title, QStringLiteral("数据从哪个文件中恢复"));
        QCOMPARE(d.OpenDialog1.initialDir, AppDir);
    }

    void dateFollowsTheThirdOption()
    {
        TFMzlsjk d;
        d.RadioButton3->setChecked(true);
        QVERIFY(d.Lrq->isEnabled() && d.rq->isEnabled());
        d.RadioButton1->setChecked(true);
        QVERIFY(!d.Lrq->isEnabled() && !d.rq->isEnabled());
        d.RadioButton2->setChecked(true);
        QVERIFY(!d.rq->isEnabled());
    }

    void countersShownAndStored_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<QString>("typed"); // empty: left as shown
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint64>("storedAfter");
        for (const char *c : {"dh_ysk", "dh_yfk", "dh_sk"}) {
            const QString col = QString::fromUtf8(c);
            QTest::addRow("%s 41 kept", c) << col << qint64(41) << QString() << QStringLiteral("42") << qint64(41);
            QTest::addRow("%s typed 100", c) << col << qint64(41) << QStringLiteral("100") << QStringLiteral("42") << qint64(99);
            QTest::addRow("%s fresh", c) << col << qint64(0) << QString() << QStringLiteral("1") << qint64(0);
            QTest::addRow("%s nine digits", c) << col << qint64(7) << QStringLiteral("999999999") << QStringLiteral("8")
                                               << qint64(999999998);
        }
    }

    void countersShownAndStored()
    {
        QFETCH(QString, column);
        QFETCH(qint64, stored);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(qint64, storedAfter);
        current().exec(QStringLiteral("UPDATE PH SET %1=%2").arg(column).arg(stored));
        const qint64 others[] = {scalar(current(), QStringLiteral("SELECT dh_ysk FROM PH")),
                                 scalar(current(), QStringLiteral("SELECT dh_yfk FROM PH")),
                                 scalar(current(), QStringLiteral("SELECT dh_sk FROM PH"))};
        {
            TFMzlsjk d;
            auto *edit = d.findChild<QLineEdit *>(column);
            QCOMPARE(edit->text(), shown);
            if (!typed.isEmpty()) {
                edit->selectAll();
                QTest::keyClicks(edit, typed);
                QCOMPARE(edit->text(), typed);
            }
            MessageRecorder messages;
            d.BSaveClick();
            QCOMPARE(messages.texts(), QStringList());
            QCOMPARE(d.result(), int(mrOk));
        }
        QCOMPARE(scalar(current(), QStringLiteral("SELECT %1 FROM PH").arg(column)), storedAfter);
        const QStringList cols = {QStringLiteral("dh_ysk"), QStringLiteral("dh_yfk"), QStringLiteral("dh_sk")};
        for (int i = 0; i < 3; ++i)
            if (cols[i] != column)
                QCOMPARE(scalar(current(), QStringLiteral("SELECT %1 FROM PH").arg(cols[i])), others[i]);
        // The next document of that kind takes the number shown.
        TFMzlsjk again;
        QCOMPARE(again.findChild<QLineEdit *>(column)->text(), QString::number(storedAfter + 1));
    }

    void counterEditsTakeDigitsOnly()
    {
        TFMzlsjk d;
        d.dh_ysk->clear();
        QTest::keyClicks(d.dh_ysk, QStringLiteral("12a-3.4 1234567890"));
        QCOMPARE(d.dh_ysk->text(), QStringLiteral("123412345"));
    }

    void uncheckingThePasswordSwitchClearsAndStoresNoPassword()
    {
        setPassword(QStringLiteral("kvl2004"));
        ModalHandlers h;
        h.enqueue(typePassword(QStringLiteral("kvl2004")));
        TFMzlsjk d;
        QVERIFY(d.xtdl->isChecked());
        QCOMPARE(d.kl->text(), QStringLiteral("kvl2004"));
        QCOMPARE(d.kl2->text(), QStringLiteral("kvl2004"));
        QVERIFY(d.kl->isEnabled() && d.Lkl2->isEnabled());
        d.xtdl->click();
        QVERIFY(d.kl->text().isEmpty() && d.kl2->text().isEmpty());
        QVERIFY(!d.kl->isEnabled() && !d.kl2->isEnabled() && !d.Lkl->isEnabled() && !d.Lkl2->isEnabled());
        d.BSaveClick();
        QCOMPARE(d.result(), int(mrOk));
        QCOMPARE(storedPassword(), QString());
        QCOMPARE(LoginPassword, QString());
        d.xtdl->click();
        QVERIFY(d.kl->isEnabled() && d.kl2->isEnabled() && d.Lkl->isEnabled() && d.Lkl2->isEnabled());
    }

    void passwordRefusalsAndAcceptance_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::addColumn<QString>("stored");
        const QString missing = MaintenanceTexts::passwordMissing(), differ = MaintenanceTexts::passwordsDiffer();
        QTest::newRow("nothing typed") << QString() << QString() << missing << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("   ") << missing << QString();
        QTest::newRow("second differs") << QStringLiteral("abc") << QStringLiteral("abd") << differ << QString();
        QTest::newRow("second empty") << QStringLiteral("abc") << QString() << differ << QString();
        QTest::newRow("letter case counts") << QStringLiteral("abc") << QStringLiteral("ABC") << differ << QString();
        QTest::newRow("blanks around are dropped") << QStringLiteral(" 口令9 ") << QStringLiteral("口令9  ") << QString()
                                                   << QStringLiteral("口令9");
    }

    void passwordRefusalsAndAcceptance()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        current().exec(QStringLiteral("UPDATE PH SET dh_ysk=5"));
        TFMzlsjk d;
        d.xtdl->click();
        d.kl->setText(first);
        d.kl2->setText(second);
        d.dh_ysk->setText(QStringLiteral("77"));
        MessageRecorder messages;
        d.BSaveClick();
        QCOMPARE(storedPassword(), stored);
        if (message.isEmpty()) {
            QCOMPARE(messages.texts(), QStringList());
            QCOMPARE(d.result(), int(mrOk));
            QCOMPARE(LoginPassword, stored);
            QCOMPARE(scalar(current(), QStringLiteral("SELECT dh_ysk FROM PH")), qint64(76));
        } else {
            QCOMPARE(messages.texts(), QStringList{message});
            QCOMPARE(messages.transcript().first().kind, MessageKind::Warning);
            QCOMPARE(d.result(), 0);
            QCOMPARE(LoginPassword, QString());
            // A refusal saves nothing, the counters neither.
            QCOMPARE(scalar(current(), QStringLiteral("SELECT dh_ysk FROM PH")), qint64(5));
        }
    }

    void passwordAskedBeforeTheDialogOpens()
    {
        setPassword(QStringLiteral("mima"));
        ModalHandlers h;
        QString caption;
        QString shownPassword;
        h.enqueue(typePassword(QStringLiteral("  mima "), &caption));
        h.enqueue([&](QDialog &d) {
            shownPassword = d.findChild<QLineEdit *>(QStringLiteral("kl"))->text();
            d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
        });
        OpenMaintenanceDialog(nullptr);
        QCOMPARE(h.shown(), (QStringList{QStringLiteral("FmLogin"), QStringLiteral("FMzlsjk")}));
        QCOMPARE(caption, TFmLogin::maintenanceCaption());
        QCOMPARE(shownPassword, QStringLiteral("mima"));
        QCOMPARE(h.leftOpen(), 0);
        QVERIFY(FMzlsjk == nullptr); // closed and forgotten, so the side bar can open it again
    }

    void cancellingThePasswordEndsTheProgram()
    {
        setPassword(QStringLiteral("mima"));
        ModalHandlers h;
        h.enqueue(cancelLogin());
        QVERIFY(CreateMaintenanceDialog(nullptr) == nullptr);
        QCOMPARE(h.shown(), QStringList{QStringLiteral("FmLogin")});
        QVERIFY(FMzlsjk == nullptr);
        h.enqueue(cancelLogin());
        OpenMaintenanceDialog(nullptr);
        QCOMPARE(h.shown().size(), 2);
        QVERIFY(FMzlsjk == nullptr);
        // No password: no question, the dialog itself comes, and only once at a time.
        setPassword(QString());
        h.enqueue([](QDialog &d) {
            QVERIFY(CreateMaintenanceDialog(nullptr) == nullptr);
            d.reject();
        });
        OpenMaintenanceDialog(nullptr);
        QCOMPARE(h.shown().last(), QStringLiteral("FMzlsjk"));
        QCOMPARE(h.shown().size(), 3);
    }

    void backupThenRestoreReproducesTheDataFile()
    {
        ProgressLog progress;
        const QString backup = m_app.path(QStringLiteral("20261211.kvl"));
        TFMzlsjk d;
        QByteArray atBackup;
        {
            FileDialogAnswers files;
            files.choose(backup);
            MessageRecorder messages;
            d.BbfClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::backupDone()});
            QCOMPARE(messages.transcript().first().kind, MessageKind::Warning);
            const FileDialogRequest &asked = files.requests().first();
            QCOMPARE(asked.mode, FileDialogRequest::Mode::Save);
            QCOMPARE(asked.fileName, QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".kvl"));
            QCOMPARE(asked.initialDir, AppDir);
            QCOMPARE(asked.title, MaintenanceTexts::backupDialogTitle());
        }
        QCOMPARE(progress.texts, QStringList{MaintenanceTexts::backupProgress()});
        QVERIFY(!progress.isProgressShown());
        QVERIFY(DbConnected && DataModKvl);
        const QByteArray backupBytes = fileBytes(backup);
        QCOMPARE(QByteArray(backupBytes.mid(4, 2)).toHex(), QByteArray("789c"));
        atBackup = m_app.closedBytes();

        const qint64 partners = scalar(current(), QStringLiteral("SELECT count(*) FROM 往来单位"));
        current().exec(QStringLiteral("DELETE FROM jzmx; DELETE FROM kcmx; UPDATE PH SET UserName='改过的名称'"));
        progress.texts.clear();
        {
            FileDialogAnswers files;
            files.choose(backup);
            MessageRecorder messages;
            d.BhfClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::restoreDone()});
            QCOMPARE(files.requests().first().title, MaintenanceTexts::restoreDialogTitle());
            QCOMPARE(files.requests().first().filter, MaintenanceTexts::backupFilter());
        }
        QCOMPARE(progress.texts, QStringList{MaintenanceTexts::restoreProgress()});
        QCOMPARE(CompanyName, QStringLiteral("杭州测试商行"));
        QCOMPARE(scalar(current(), QStringLiteral("SELECT count(*) FROM 往来单位")), partners);
        QCOMPARE(m_app.closedBytes(), atBackup);
        QVERIFY(QDir(AppDir).entryList({QStringLiteral("~*"), QStringLiteral("*-journal")}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void theRestoredFilesPasswordIsAskedAtOnce()
    {
        setPassword(QStringLiteral("旧口令"));
        const QString backup = m_app.path(QStringLiteral("with-password.kvl"));
        ModalHandlers h;
        h.enqueue(typePassword(QStringLiteral("旧口令")));
        TFMzlsjk d;
        {
            FileDialogAnswers files;
            files.choose(backup);
            MessageRecorder messages;
            h.enqueue(typePassword(QStringLiteral("旧口令"))); // asked again after the backup
            d.BbfClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::backupDone()});
        }
        d.xtdl->click();
        d.BSaveClick(); // no password from now on
        QCOMPARE(storedPassword(), QString());
        {
            FileDialogAnswers files;
            files.choose(backup);
            MessageRecorder messages;
            QString caption;
            h.enqueue(typePassword(QStringLiteral("旧口令"), &caption));
            d.BhfClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::restoreDone()});
            QCOMPARE(caption, TFmLogin::maintenanceCaption());
        }
        QCOMPARE(h.shown().count(QStringLiteral("FmLogin")), 3);
        QCOMPARE(h.pending(), 0);
        QCOMPARE(LoginPassword, QStringLiteral("旧口令"));
        QVERIFY(d.xtdl->isChecked());
        QCOMPARE(d.kl->text(), QStringLiteral("旧口令"));
    }

    void theDataFileItselfIsRefusedInAnyLetterCase_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("name");
        for (bool backup : {true, false}) {
            const char *op = backup ? "backup" : "restore";
            QTest::addRow("%s KVL.DTA", op) << backup << QStringLiteral("KVL.DTA");
            QTest::addRow("%s kvl.dta", op) << backup << QStringLiteral("kvl.dta");
            QTest::addRow("%s Kvl.Dta with blanks", op) << backup << QStringLiteral("  Kvl.Dta ");
        }
    }

    void theDataFileItselfIsRefusedInAnyLetterCase()
    {
        QFETCH(bool, backup);
        QFETCH(QString, name);
        const QByteArray before = m_app.closedBytes();
        ProgressLog progress;
        TFMzlsjk d;
        {
            FileDialogAnswers files;
            files.choose(AppDir + name.trimmed());
            MessageRecorder messages;
            if (backup)
                d.BbfClick();
            else
                d.BhfClick();
            QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::sameNameAsDataFile()});
        }
        QVERIFY(progress.texts.isEmpty());
        QVERIFY(DataModKvl && DbConnected);
        QCOMPARE(m_app.closedBytes(), before);
    }

    void aBadBackupLeavesTheDataFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray length(4, '\0');
        qToLittleEndian<qint32>(100000, length.data());
        QTest::newRow("garbage") << QByteArray("not a backup of anything at all, just words");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("length only") << length;
        QByteArray notData = length + qCompress(QByteArray(100000, 'x')).mid(4);
        QTest::newRow("a zlib stream of something else") << notData;
    }

    void aBadBackupLeavesTheDataFileAsItWas()
    {
        QFETCH(QByteArray, content);
        const QString bad = m_app.path(QStringLiteral("bad%1.kvl").arg(QTest::currentDataTag()));
        writeBytes(bad, content);
        const QByteArray before = m_app.closedBytes();
        TFMzlsjk d;
        FileDialogAnswers files;
        files.choose(bad);
        MessageRecorder messages;
        d.BhfClick();
        QCOMPARE(messages.texts(), QStringList{MaintenanceTexts::restoreFailed()});
        QVERIFY(DataModKvl && DbConnected);
        QCOMPARE(m_app.closedBytes(), before);
    }

    void cancellingTheFileDialogDoesNothing()
    {
        const QByteArray before = m_app.closedBytes();
        ProgressLog progress;
        TFMzlsjk d;
        FileDialogAnswers files;
        files.cancel().cancel();
        MessageRecorder messages;
        d.BbfClick();
        d.BhfClick();
        QVERIFY(messages.texts().isEmpty());
        QVERIFY(progress.texts.isEmpty());
        QCOMPARE(m_app.closedBytes(), before);
    }
};

QTEST_MAIN(TestMaintenanceDialog)
#include "test_maintenance_dialog.moc"
