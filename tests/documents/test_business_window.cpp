// The business window offscreen on the small sample: the partner picked through
// the real partner list, the four list conditions against plain SQL, footer and
// colours, command enabling, deletion through the window, the editors opened
// for new and existing documents, the reload after the settlement editor, the
// two partner reports, export and the side bar's opening steps.
#include "ButtonEdit.h"
#include "DataGrid.h"
#include "DocumentsFixture.h"
#include "DocumentsWindows.h"
#include "FileDialogAnswers.h"
#include "MasterListWindow.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ReportPreview.h"
#include "ReportTemplates.h"
#include "ReportVariables.h"
#include "WorkingWindows.h"
#include "yw.h"
#include "yw_jch.h"
#include "yw_jz.h"

#include <QAction>
#include <QCheckBox>
#include <QCollator>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const char *kOpen = "sfk.类别<>'结帐' AND sfk.id NOT IN (SELECT sfid_mx FROM jzmx WHERE sfid_mx IS NOT NULL)";

// The window as the side bar leaves it, in a panel of its own, over the sample.
struct Business
{
    Business()
    {
        ReportTemplates::store(data.conn());
        panel.resize(1000, 700);
        w = new TFMyw(&panel);
        w->setAttribute(Qt::WA_DeleteOnClose);
        WorkingWindows::placeIn(w, &panel);
        w->openWithDefaults(QDate::currentDate());
    }

    // Picks `id` in the real partner list, as 选定 does.
    void choose(qint64 id)
    {
        ModalHandlers h;
        h.enqueue([id](QDialog &d) {
            auto &picker = static_cast<MasterListWindow &>(d);
            QVERIFY(picker.dataset()->locate(QStringLiteral("id"), Value::integer(id)));
            picker.BSelectClick();
        });
        w->dwButtonClick();
        QCOMPARE(h.unexpected(), 0);
    }

    QList<qint64> listedIds()
    {
        QList<qint64> ids;
        const Dataset &s = data.dm().DataSfk;
        const int f = s.fieldIndex(QStringLiteral("id"));
        for (int i = 0; i < s.recordCount(); ++i)
            ids << s.valueAt(i, f).toInt();
        return ids;
    }
    QList<qint64> ids(const QString &sql)
    {
        QList<qint64> out;
        Statement st(data.conn(), sql);
        while (st.next())
            out << st.int64(0);
        return out;
    }
    bool locate(qint64 id) { return data.dm().DataSfk.locate(QStringLiteral("id"), Value::integer(id)); }

    // The partner with the most settlements: it has open, settled and settling documents.
    qint64 busyPartner()
    {
        return data.scalar("SELECT dw_id FROM sfk WHERE 类别='结帐' GROUP BY dw_id ORDER BY count(*) DESC, dw_id LIMIT 1");
    }

    DocumentsData data;
    QWidget panel;
    TFMyw *w;
};

QToolButton *button(TFMyw &w, const char *name)
{
    return w.findChild<QToolButton *>(QString::fromLatin1(name));
}
QAction *item(TFMyw &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

class TestBusinessWindow : public QObject
{
    Q_OBJECT

private slots:
    // Enter in dw opens the picker on the first partner in code order whose name starts
    // with the typed text; choosing fills dw and dwid and lists the partner's open documents.
    void enterOpensPickerOnTypedName()
    {
        Business b;
        const QString name = b.data.text("SELECT 单位名称 FROM 往来单位 WHERE 暂停=0 ORDER BY 单位编号 LIMIT 1 OFFSET 5");
        const QString prefix = name.left(2);
        const qint64 expected = b.data.scalar(QStringLiteral("SELECT id FROM 往来单位 WHERE 暂停=0 AND substr(单位名称,1,2)='%1' "
                                                             "ORDER BY 单位编号 LIMIT 1").arg(prefix));
        b.w->dw->setText(prefix);
        ModalHandlers h;
        qint64 positioned = -1;
        QString caption;
        h.enqueue([&](QDialog &d) {
            auto &picker = static_cast<MasterListWindow &>(d);
            positioned = picker.dataset()->value(QStringLiteral("id")).toInt();
            caption = d.windowTitle();
            picker.BSelectClick();
        });
        QTest::keyClick(b.w->dw, Qt::Key_Return);
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(caption, QStringLiteral("选择往来单位"));
        QCOMPARE(positioned, expected);
        QCOMPARE(b.w->dwid->text(), QString::number(expected));
        QCOMPARE(b.w->dw->text(), b.data.text(QStringLiteral("SELECT 单位名称 FROM 往来单位 WHERE id=%1").arg(expected)));
        QCOMPARE(b.w->partnerId(), expected);
        QCOMPARE(b.listedIds(), b.ids(QStringLiteral("SELECT id FROM sfk WHERE dw_id=%1 AND %2 ORDER BY id").arg(expected).arg(kOpen)));
    }

    // Letters of the typed prefix are compared as typed, for the name and then the code.
    void pickerPrefixKeepsLetterCase()
    {
        Business b;
        b.data.conn().exec(QStringLiteral("INSERT INTO 往来单位(id, 单位编号, 单位名称, 暂停) VALUES "
                                          "(9801, '0000a', 'abc小写商行', 0), (9802, '0000b', 'Abc大写商行', 0), "
                                          "(9803, '0000c', 'q小写', 0), (9804, 'Qx1', '另一家', 0)"));
        for (const auto &[typed, expected] : {std::pair{"Abc", 9802}, std::pair{"abc", 9801}, std::pair{"Qx", 9804}}) {
            b.w->dw->setText(QString::fromLatin1(typed));
            ModalHandlers h;
            qint64 positioned = -1;
            h.enqueue([&](QDialog &d) {
                auto &picker = static_cast<MasterListWindow &>(d);
                positioned = picker.dataset()->value(QStringLiteral("id")).toInt();
                picker.BreturnClick();
            });
            QTest::keyClick(b.w->dw, Qt::Key_Return);
            QCOMPARE(positioned, qint64(expected));
        }
    }

    // Leaving the picker with 返回 changes neither the partner nor the list.
    void pickerLeftWithoutChoice()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        const QList<qint64> before = b.listedIds();
        const QString name = b.w->dw->text();
        ModalHandlers h;
        h.enqueue([](QDialog &d) { static_cast<MasterListWindow &>(d).BreturnClick(); });
        int opened = 0;
        connect(&b.data.dm().DataSfk, &Dataset::opened, b.w, [&] { ++opened; });
        b.w->SpeedButton1->click();
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(opened, 0);
        QCOMPARE(b.w->dw->text(), name);
        QCOMPARE(b.w->partnerId(), partner);
        QCOMPARE(b.listedIds(), before);
    }

    // The four conditions, the date as a bound midnight, the footer, the last row current.
    void listConditions_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("fromDate");
        QTest::newRow("open only") << false << false;
        QTest::newRow("every document") << true << false;
        QTest::newRow("open, from a date") << false << true;
        QTest::newRow("every document, from a date") << true << true;
    }
    void listConditions()
    {
        QFETCH(bool, all);
        QFETCH(bool, fromDate);
        Business b;
        const qint64 partner = b.busyPartner();
        // Two open documents on either side of midnight of the start day.
        const QList<qint64> open = b.ids(QStringLiteral("SELECT id FROM sfk WHERE dw_id=%1 AND %2 ORDER BY id").arg(partner).arg(kOpen));
        QVERIFY(open.size() >= 2);
        const QDate day = QDate::fromString(b.data.text(QStringLiteral("SELECT substr(min(制单日期),1,10) FROM sfk WHERE dw_id=%1").arg(partner)),
                                            Qt::ISODate).addDays(20);
        b.data.conn().exec(QStringLiteral("UPDATE sfk SET 制单日期='%1 00:00:00' WHERE id=%2").arg(day.toString(Qt::ISODate)).arg(open[0]));
        b.data.conn().exec(QStringLiteral("UPDATE sfk SET 制单日期='%1 23:59:59' WHERE id=%2")
                               .arg(day.addDays(-1).toString(Qt::ISODate)).arg(open[1]));

        b.choose(partner);
        b.w->CheckJZ->setChecked(all);
        b.w->qshrq->setDate(day);
        b.w->setStartDateApplies(fromDate);
        if (all)
            b.w->CheckJZClick();

        QString where = QStringLiteral("dw_id=%1").arg(partner);
        if (!all)
            where += QStringLiteral(" AND ") + QString::fromUtf8(kOpen);
        if (fromDate)
            where += QStringLiteral(" AND 制单日期>='%1 00:00:00'").arg(day.toString(Qt::ISODate));
        const QList<qint64> expected = b.ids("SELECT id FROM sfk WHERE " + where + " ORDER BY id");
        QVERIFY(!expected.isEmpty());
        QCOMPARE(b.listedIds(), expected);
        QCOMPARE(b.listedIds().contains(open[0]), true);
        QCOMPARE(b.listedIds().contains(open[1]), !fromDate);
        const Dataset &s = b.data.dm().DataSfk;
        QCOMPARE(s.currentIndex(), s.recordCount() - 1);

        // Footer: count and sums of the listed rows; settled rows and settlements add no balance.
        const DataGrid &g = *b.w->Grid;
        Statement st(b.data.conn(), "SELECT count(*), total(应收款金额（出货）), total(结帐、应付款金额（进货）),"
                                    " total(CASE WHEN " + QString::fromUtf8(kOpen) + " THEN 应收款金额（出货）-结帐、应付款金额（进货） ELSE 0 END)"
                                    " FROM sfk WHERE " + where);
        QVERIFY(st.next());
        auto sum = [&](const char *field) {
            qint64 units = -1;
            g.footerSum(0, g.columnOfField(QString::fromUtf8(field)), &units);
            return units;
        };
        QCOMPARE(g.footerText(0, 0), QStringLiteral("合计"));
        QCOMPARE(g.footerText(0, 1).toLongLong(), st.int64(0));
        QCOMPARE(sum("应收款金额（出货）"), qint64(st.value(1).toDouble()));
        QCOMPARE(sum("结帐、应付款金额（进货）"), qint64(st.value(2).toDouble()));
        QCOMPARE(sum("应收款余额"), qint64(st.value(3).toDouble()));

        // Unticking the start date lists every date again.
        if (fromDate) {
            b.w->setStartDateApplies(false);
            QVERIFY(b.listedIds().contains(open[1]));
        }
    }

    // Settled documents and settlements on peach; settlements brown, purchases green.
    void rowColours()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        const QColor none, peach(255, 198, 140), brown(174, 87, 0), green(0, 128, 0);
        const QString p = QString::number(partner);
        struct Case { QString sql; QColor background, text; };
        const Case cases[] = {
            {"SELECT id FROM sfk WHERE 类别='出货' AND dw_id=" + p + " AND " + kOpen, none, none},
            {"SELECT id FROM sfk WHERE 类别='进货' AND dw_id=" + p + " AND " + kOpen, none, green},
            {"SELECT id FROM sfk WHERE 类别='出货' AND dw_id=" + p + " AND id IN (SELECT sfid_mx FROM jzmx)", peach, none},
            {"SELECT id FROM sfk WHERE 类别='结帐' AND dw_id=" + p, peach, brown},
        };
        int checked = 0;
        for (const Case &c : cases) {
            const QList<qint64> found = b.ids(c.sql);
            if (found.isEmpty())
                continue;
            const int row = int(b.listedIds().indexOf(found.first()));
            QVERIFY2(row >= 0, qPrintable(c.sql));
            const RowColours rc = b.w->Grid->rowColourHook()(row);
            QCOMPARE(rc.background, c.background);
            QCOMPARE(rc.text, c.text);
            ++checked;
        }
        QVERIFY(checked >= 3);
    }

    // The detail grid shows goods lines, or for a settlement the documents it settled.
    void detailFollowsTheDocument()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        const qint64 settlement = b.data.scalar(QStringLiteral("SELECT min(id) FROM sfk WHERE 类别='结帐' AND dw_id=%1").arg(partner));
        const qint64 shipment = b.data.scalar(QStringLiteral("SELECT min(sf_id) FROM kcmx JOIN sfk ON sfk.id=kcmx.sf_id WHERE dw_id=%1").arg(partner));
        QVERIFY(b.locate(settlement));
        QCOMPARE(b.w->DBGridEh1->dataset(), &b.data.dm().DataSfk_jzmx);
        QCOMPARE(b.w->DBGridEh1->model()->rowCount(),
                 int(b.data.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement))));
        QVERIFY(b.locate(shipment));
        QCOMPARE(b.w->DBGridEh1->dataset(), &b.data.dm().DataSfk_kcmx);
        QCOMPARE(b.w->DBGridEh1->model()->rowCount(),
                 int(b.data.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(shipment))));
    }

    // No partner: only 表格 and 返回; an empty list adds 添加; rows enable the rest. The menu follows.
    void commandEnabling()
    {
        Business b;
        auto expect = [&](bool add, bool rows) {
            QCOMPARE(button(*b.w, "Badd")->isEnabled(), add);
            QCOMPARE(item(*b.w, "NBadd")->isEnabled(), add);
            for (const char *n : {"Bedit", "Bcut", "Bprint", "Bsaveto"})
                QVERIFY2(button(*b.w, n)->isEnabled() == rows, n);
            for (const char *n : {"NBedit", "NBcut", "NBprint", "NBsaveto", "PMjz"})
                QVERIFY2(item(*b.w, n)->isEnabled() == rows, n);
            for (const char *n : {"NBzselcol", "NBReturn", "PMysk", "PMyfk"})
                QVERIFY2(item(*b.w, n)->isEnabled(), n);
        };
        expect(false, false);
        QVERIFY(!b.data.dm().DataSfk.isActive());
        b.w->CheckJZClick();
        expect(false, false);

        b.choose(b.busyPartner());
        expect(true, true);
        b.w->qshrq->setDate(QDate::currentDate().addYears(5));
        b.w->setStartDateApplies(true);
        QVERIFY(b.data.dm().DataSfk.isActive());
        QCOMPARE(b.data.dm().DataSfk.recordCount(), 0);
        expect(true, false);
        b.w->setStartDateApplies(false);
        expect(true, true);
    }

    // A list the engine refuses to read is reported; no document command stays enabled.
    void failedLoadIsReported()
    {
        Business b;
        b.choose(b.busyPartner());
        b.data.conn().exec(QStringLiteral("ALTER TABLE jzmx RENAME TO jzmx_old"));
        MessageRecorder rec;
        b.w->CheckJZ->click();
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(!b.data.dm().DataSfk.isActive());
        for (const char *n : {"Badd", "Bedit", "Bcut", "Bprint", "Bsaveto"})
            QVERIFY2(!button(*b.w, n)->isEnabled(), n);
        b.data.conn().exec(QStringLiteral("ALTER TABLE jzmx_old RENAME TO jzmx"));
        b.w->CheckJZ->click();
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(button(*b.w, "Bedit")->isEnabled());
    }

    void deletingSettledDocumentRefused()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        const qint64 settled = b.data.scalar(QStringLiteral("SELECT min(sfid_mx) FROM jzmx JOIN sfk ON sfk.id=jzmx.sfid_mx WHERE dw_id=%1").arg(partner));
        const qint64 documents = b.data.scalar("SELECT count(*) FROM sfk");
        QVERIFY(b.locate(settled));
        MessageRecorder rec;
        button(*b.w, "Bcut")->click();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("此单已经结帐，不能删除！")});
        QCOMPARE(b.data.scalar("SELECT count(*) FROM sfk"), documents);
        QVERIFY(b.locate(settled));
    }

    // Deleting a settlement from a list sorted by 单号 descending: its links go, the
    // order stays, the last row is current, and its documents are open again.
    void deletingSettlementKeepsSortAndReopensDocuments()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        DataGrid &g = *b.w->Grid;
        const int numberColumn = g.columnOfField(QStringLiteral("单号"));
        g.clickTitle(g.sectionOfColumn(numberColumn));
        g.clickTitle(g.sectionOfColumn(numberColumn));
        Dataset &s = b.data.dm().DataSfk;
        QCOMPARE(s.sortText().simplified(), QStringLiteral("单号 DESC"));

        const qint64 settlement = b.data.scalar(QStringLiteral("SELECT sf_id FROM jzmx JOIN sfk ON sfk.id=jzmx.sf_id WHERE dw_id=%1 "
                                                               "GROUP BY sf_id ORDER BY count(*) DESC LIMIT 1").arg(partner));
        const QList<qint64> settledDocs = b.ids(QStringLiteral("SELECT sfid_mx FROM jzmx WHERE sf_id=%1").arg(settlement));
        QVERIFY(!settledDocs.isEmpty());
        const QString number = b.data.text(QStringLiteral("SELECT 单号 FROM sfk WHERE id=%1").arg(settlement));
        QVERIFY(b.locate(settlement));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        item(*b.w, "NBcut")->trigger();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("删除结帐单：") + number + QStringLiteral("\n\n记录删除后不能恢复，删除吗？")});
        QCOMPARE(b.data.scalar(QStringLiteral("SELECT count(*) FROM sfk WHERE id=%1").arg(settlement)), qint64(0));
        QCOMPARE(b.data.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement)), qint64(0));
        QCOMPARE(s.sortText().simplified(), QStringLiteral("单号 DESC"));
        QCOMPARE(s.currentIndex(), s.recordCount() - 1);
        // In the collation the list sorts by.
        const QCollator chinese{QLocale(QLocale::Chinese, QLocale::China)};
        const int f = s.fieldIndex(QStringLiteral("单号"));
        for (int i = 1; i < s.recordCount(); ++i)
            QVERIFY(chinese.compare(s.valueAt(i - 1, f).toString(), s.valueAt(i, f).toString()) >= 0);

        b.w->CheckJZ->click();
        const QList<qint64> listed = b.listedIds();
        for (qint64 id : settledDocs)
            QVERIFY(listed.contains(id));
        for (qint64 id : settledDocs) {
            QVERIFY(b.locate(id));
            QVERIFY(s.value(QStringLiteral("结帐单号")).isNull());
        }
    }

    // A settlement whose row cannot go keeps its links: its documents stay settled.
    void failedDeleteKeepsTheLinks()
    {
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        const qint64 settlement = b.data.scalar(QStringLiteral("SELECT min(id) FROM sfk WHERE 类别='结帐' AND dw_id=%1").arg(partner));
        const qint64 links = b.data.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement));
        QVERIFY(links > 0);
        b.data.conn().exec(QStringLiteral("CREATE TRIGGER keep_sfk BEFORE DELETE ON sfk BEGIN SELECT RAISE(ABORT, '被锁定'); END"));
        QVERIFY(b.locate(settlement));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        b.w->BcutClick();
        QCOMPARE(rec.texts().size(), 2);
        QCOMPARE(b.data.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement)), links);
        QVERIFY(b.locate(settlement));
        QVERIFY(button(*b.w, "Bcut")->isEnabled());
    }

    // The shortcuts reach the commands from the grid: Ctrl+E edits, Ctrl+Del asks.
    void shortcuts()
    {
        Business b;
        b.panel.show();
        b.panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b.panel));
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        const qint64 shipment = b.data.scalar(QStringLiteral("SELECT min(id) FROM sfk WHERE 类别='出货' AND dw_id=%1 AND %2").arg(partner).arg(kOpen));
        QVERIFY(b.locate(shipment));
        b.w->Grid->setFocus();
        ModalHandlers h;
        QString title;
        h.enqueue([&](QDialog &d) {
            title = d.windowTitle();
            d.done(mrAbort);
        });
        QTest::keyClick(b.w->Grid, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(title, QStringLiteral("修改出货（应收款）"));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::No);
        QTest::keyClick(b.w->Grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(rec.texts()[0].startsWith(QStringLiteral("删除出货单：")));
        QVERIFY(b.locate(shipment));
    }

    // Each command opens its editor with its title; the settled document only to be
    // looked at. Given up, the list and the counters are as before.
    void editorsOpened_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("document"); // SQL for the document to stand on, or empty
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("settled");
        const QString open = QString::fromUtf8(kOpen);
        QTest::newRow("new shipment") << "PMysk" << "" << "录入出货（应收款）" << false;
        QTest::newRow("new purchase") << "PMyfk" << "" << "录入进货（应付款）" << false;
        QTest::newRow("new settlement") << "PMjz" << "" << "结帐录入" << false;
        QTest::newRow("open shipment") << "NBedit" << "SELECT min(id) FROM sfk WHERE 类别='出货' AND dw_id=%1 AND " + open
                                       << "修改出货（应收款）" << false;
        QTest::newRow("settled purchase")
            << "NBedit" << "SELECT min(sfid_mx) FROM jzmx JOIN sfk ON sfk.id=sfid_mx WHERE 类别='进货' AND dw_id=%1"
            << "修改进货（应付款）" << true;
        QTest::newRow("settlement") << "NBedit" << "SELECT min(id) FROM sfk WHERE 类别='结帐' AND dw_id=%1"
                                    << "修改结帐" << false;
    }
    void editorsOpened()
    {
        QFETCH(QString, command);
        QFETCH(QString, document);
        QFETCH(QString, title);
        QFETCH(bool, settled);
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        if (!document.isEmpty()) {
            const qint64 id = b.data.scalar(document.arg(partner));
            QVERIFY(id > 0);
            QVERIFY(b.locate(id));
        }
        const Dataset &s = b.data.dm().DataSfk;
        const QList<qint64> before = b.listedIds();
        const QString counters = b.data.text("SELECT sfk||','||dh_ysk||','||dh_yfk||','||dh_sk FROM PH");
        const qint64 current = s.value(QStringLiteral("id")).toInt();

        ModalHandlers h;
        QString shownTitle;
        bool shownSettled = false;
        int width = 0;
        Dataset::State state = Dataset::State::Inactive;
        const qint64 documents = b.data.scalar("SELECT count(*) FROM sfk");
        const QString remark = b.data.text(QStringLiteral("SELECT 备注 FROM sfk WHERE id=%1").arg(current));
        h.enqueue([&](QDialog &d) {
            shownTitle = d.windowTitle();
            width = d.width();
            state = s.state();
            if (auto *jch = qobject_cast<TFMyw_jch *>(&d))
                shownSettled = jch->isSettled();
            // Typed, never saved: closing must not write it.
            b.data.dm().DataSfk.setValue(QStringLiteral("备注"), Value(QStringLiteral("未保存的改动")));
            // The bare close code, past the editor's own questions: whatever it leaves
            // in editing, the window must not write.
            d.QDialog::done(mrAbort);
        });
        item(*b.w, command.toLatin1().constData())->trigger();
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownSettled, settled);
        QCOMPARE(width, 720);
        QCOMPARE(state, document.isEmpty() ? Dataset::State::Insert : Dataset::State::Edit);
        QCOMPARE(s.state(), Dataset::State::Browse);
        QCOMPARE(b.listedIds(), before);
        QCOMPARE(b.data.text("SELECT sfk||','||dh_ysk||','||dh_yfk||','||dh_sk FROM PH"), counters);
        QCOMPARE(b.data.scalar("SELECT count(*) FROM sfk"), documents);
        QCOMPARE(b.data.text(QStringLiteral("SELECT 备注 FROM sfk WHERE id=%1").arg(current)), remark);
        QCOMPARE(s.value(QStringLiteral("id")).toInt(), current);
        QVERIFY(s.value(QStringLiteral("备注")).toString() != QStringLiteral("未保存的改动"));
    }

    // After the settlement editor the list is read again unless it was left with 取消 or
    // Esc; editing returns to the settlement, a new one ends on the last row.
    void settlementEditorReload_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("reloaded");
        for (bool isNew : {false, true}) {
            const char *what = isNew ? "new" : "edit";
            QTest::addRow("%s, 取消 (Abort)", what) << isNew << int(mrAbort) << false;
            QTest::addRow("%s, 保存 (Yes)", what) << isNew << int(mrYes) << true;
            QTest::addRow("%s, 打印 (OK)", what) << isNew << int(mrOk) << true;
            QTest::addRow("%s, close box (Cancel)", what) << isNew << int(mrCancel) << true;
        }
    }
    void settlementEditorReload()
    {
        QFETCH(bool, isNew);
        QFETCH(int, code);
        QFETCH(bool, reloaded);
        Business b;
        const qint64 partner = b.busyPartner();
        b.choose(partner);
        b.w->CheckJZ->click();
        const qint64 settlement = b.data.scalar(QStringLiteral("SELECT max(id) FROM sfk WHERE 类别='结帐' AND dw_id=%1").arg(partner));
        const qint64 other = b.data.scalar(QStringLiteral("SELECT min(id) FROM sfk WHERE dw_id=%1").arg(partner));
        QVERIFY(settlement != other);
        Dataset &s = b.data.dm().DataSfk;
        if (!isNew)
            QVERIFY(b.locate(settlement));
        else
            s.first();

        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            // What a save would have changed behind the list.
            b.data.conn().exec(QStringLiteral("UPDATE sfk SET 备注='已改' WHERE id=%1").arg(other));
            // The code the editor closes with once its save or leave routine agreed.
            d.QDialog::done(code);
        });
        item(*b.w, isNew ? "PMjz" : "NBedit")->trigger();
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(s.state(), Dataset::State::Browse);
        if (isNew)
            QCOMPARE(s.currentIndex(), reloaded ? s.recordCount() - 1 : 0);
        else
            QCOMPARE(s.value(QStringLiteral("id")).toInt(), settlement);
        const qint64 at = s.value(QStringLiteral("id")).toInt();
        QVERIFY(b.locate(other));
        QCOMPARE(s.value(QStringLiteral("备注")).toString() == QStringLiteral("已改"), reloaded);
        QVERIFY(b.locate(at));
    }

    // The two partner reports, with the start date shown whether or not it applies.
    void reports_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("name");
        QTest::newRow("N5") << "N5" << "往来单位业务明细表";
        QTest::newRow("N27") << "N27" << "往来单位商品明细表";
    }
    void reports()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, name);
        Business b;
        b.choose(b.busyPartner());
        const QDate start(2021, 3, 1);
        b.w->qshrq->setDate(start);
        const QList<qint64> before = b.listedIds();
        ModalHandlers h;
        QString shown;
        h.enqueue([&](QDialog &d) {
            shown = qobject_cast<ReportPreview *>(&d)->reportTemplate().name;
            d.accept();
        });
        item(*b.w, menuItem.toLatin1().constData())->trigger();
        QCOMPARE(shown, name);
        QCOMPARE(CurrentReportName, name);
        QCOMPARE(ReportVars.value(QStringLiteral("起始日期")), ReportDayCount(start));
        QCOMPARE(b.listedIds(), before);
    }

    void exportSuggestsTheWindowsName()
    {
        Business b;
        b.choose(b.busyPartner());
        FileDialogAnswers files;
        files.cancel();
        item(*b.w, "NBsaveto")->trigger();
        QCOMPARE(files.requests().size(), 1);
        QVERIFY(files.requests()[0].fileName.startsWith(QStringLiteral("办理业务")));
    }

    // Side-bar item 0: the start date preset but not applied; 返回 closes the window and
    // the datasets it used.
    void sideBarOpensAndReturnCloses()
    {
        DocumentsData data;
        RegisterDocumentsWindows();
        QWidget panel;
        panel.resize(900, 600);
        panel.show();
        WorkingWindows::dispatch(0, &panel);
        auto *w = qobject_cast<TFMyw *>(WorkingWindows::window(0));
        QVERIFY(w);
        QCOMPARE(w->qshrq->date(), QDate(QDate::currentDate().year(), 1, 1));
        QVERIFY(!w->startDateApplies());
        QVERIFY(!data.dm().DataSfk.isActive());
        QVERIFY(!button(*w, "Badd")->isEnabled());
        WorkingWindows::dispatch(0, &panel);
        QCOMPARE(WorkingWindows::window(0), w);

        data.dm().DataKcsp.open();
        QTest::keyClick(w->dw, Qt::Key_Escape);
        QVERIFY(!WorkingWindows::window(0));
        QVERIFY(!data.dm().DataKcsp.isActive());
        QVERIFY(!data.dm().DataSfk.isActive());
        WorkingWindows::remove(0);
    }
};

QTEST_MAIN(TestBusinessWindow)
#include "test_business_window.moc"
