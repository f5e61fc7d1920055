// The settlement editor and its picker of open documents, offscreen on a real
// data file: picking and removing documents, the net amount, what the save
// writes, the close codes and questions, and the picker's own layout.
#include "ButtonEdit.h"
#include "DataGrid.h"
#include "DataGridDelegate.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DocumentsFixture.h"
#include "EditButton.h"
#include "FileDialogAnswers.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "PurchaseRows.h"
#include "ReportPreview.h"
#include "ReportTemplates.h"
#include "yw_jz.h"
#include "yw_jz_sfkd.h"
#include "../platform/widgets/TypeText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr qint64 U = 10000;
constexpr qint64 kPartner = 9001;

// Partner 9001: shipment CH00000003 (500), purchases JH00000007 (120) and JH00000009 (30), all open.
const char *kPartnerRows =
    "INSERT INTO 往来单位(id, 单位编号, 单位名称) VALUES (9001, 'JZ-01', '结帐测试商行');"
    "INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, 应收款金额（出货）, 结帐、应付款金额（进货）, 结帐) VALUES"
    " (900001, '2026-01-01 00:00:00', '出货', 'CH00000003', 9001, 5000000, 0, 0),"
    " (900002, '2026-01-02 00:00:00', '进货', 'JH00000007', 9001, 0, 1200000, 0),"
    " (900003, '2026-01-03 00:00:00', '进货', 'JH00000009', 9001, 0, 300000, 0);";

class JzData : public DocumentsData
{
public:
    JzData()
    {
        conn().exec(QString::fromUtf8(kPartnerRows));
        conn().exec(QStringLiteral("INSERT INTO 公司员工(id, 员工编号, 员工姓名, 暂停) VALUES (9901, 'JZY', '结帐员', 0)"));
        if (scalar(QStringLiteral("SELECT count(*) FROM report")) == 0)
            ReportTemplates::store(conn());
        partner = kPartner;
        openPartner(kPartner);
    }

    // Settlement 900010 (结00000001, staff 9901) of the shipment and the first purchase.
    void settleByHand(const QList<qint64> &documents = {900001, 900002})
    {
        conn().exec(QStringLiteral("INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, xszg_id, 应收款金额（出货）, "
                                   "结帐、应付款金额（进货）, 结帐) VALUES (900010, '2026-02-01 00:00:00', '结帐', "
                                   "'结00000001', 9001, 9901, 0, 3800000, 0)"));
        for (qint64 id : documents)
            conn().exec(QStringLiteral("INSERT INTO jzmx(sf_id, sfid_mx) VALUES (900010, %1)").arg(id));
        openPartner(kPartner);
    }

    qint64 ph(const char *counter) { return scalar(QStringLiteral("SELECT %1 FROM PH").arg(QLatin1String(counter))); }
    qint64 settlements() { return scalar(QStringLiteral("SELECT count(*) FROM sfk WHERE 类别='结帐' AND dw_id=9001")); }
    qint64 newestSettlement() { return scalar(QStringLiteral("SELECT max(id) FROM sfk WHERE 类别='结帐' AND dw_id=9001")); }
    QList<qint64> linksOf(qint64 settlement)
    {
        QList<qint64> r;
        Statement st(conn(), QStringLiteral("SELECT sfid_mx FROM jzmx WHERE sf_id=%1 ORDER BY sfid_mx").arg(settlement));
        while (st.next())
            r << st.int64(0);
        return r;
    }

    void saveLayoutRow(const QString &key, const QString &caption, qint64 width, qint64 index)
    {
        Dataset &q = dm().query(QStringLiteral(
            "INSERT INTO GridColSelect (Fname,UserID,TitleCaption,ColWidth,ColIndex) VALUES (:a,1,:b,:c,:d)"));
        q.setParam(QStringLiteral("a"), Value(key));
        q.setParam(QStringLiteral("b"), Value(caption));
        q.setParam(QStringLiteral("c"), Value::integer(width));
        q.setParam(QStringLiteral("d"), Value::integer(index));
        q.execSql();
    }
    QStringList layoutCaptions(const QString &key)
    {
        Dataset &q = dm().query(QStringLiteral("select TitleCaption from GridColSelect where Fname=:k order by ColIndex"));
        q.setParam(QStringLiteral("k"), Value(key));
        q.open();
        QStringList r;
        for (q.first(); !q.eof(); q.next())
            r << q.value(QStringLiteral("TitleCaption")).toString();
        q.close();
        return r;
    }
};

QStringList shownTitles(const DataGrid &g)
{
    QStringList r;
    for (int c : g.visibleColumns())
        r << g.columnTitle(c);
    return r;
}

QStringList rowsOf(Dataset &ds, const QString &field)
{
    QStringList r;
    for (int i = 0; i < ds.recordCount(); ++i)
        r << ds.valueAt(i, ds.fieldIndex(field)).toString();
    return r;
}

// The business window's editor of a new settlement, or of its current one.
struct Editor
{
    Editor(JzData &d, qint64 existing = 0)
    {
        if (existing) {
            d.startEdit(existing);
            ed = std::make_unique<TFMyw_jz>(false, kPartner);
            ed->setStaffName(d.dm().DataSfk.value("员工姓名").toString());
        } else {
            d.startNew(DocumentKind::Settlement);
            ed = std::make_unique<TFMyw_jz>(true, kPartner);
        }
        ed->show();
    }
    TFMyw_jz *operator->() const { return ed.get(); }
    TFMyw_jz &operator*() const { return *ed; }
    std::unique_ptr<TFMyw_jz> ed;
};

// The next picker offers what `offered` receives and chooses the document numbered `number`
// (none: 返回).
void pickIn(ModalHandlers &h, const QString &number, QStringList *offered = nullptr)
{
    h.enqueue([number, offered](QDialog &dlg) {
        auto *p = qobject_cast<TFMyw_jz_sfkd *>(&dlg);
        QVERIFY(p);
        if (offered)
            *offered = rowsOf(p->dataset(), "单号");
        if (number.isEmpty()) {
            p->BReturn->click();
            return;
        }
        QVERIFY(p->dataset().locate("单号", Value(number)));
        p->BSelect->click();
    });
}

// The links as the grid lists them, the empty row left for the next choice included.
QStringList linkNumbers(JzData &d)
{
    return rowsOf(d.dm().DataJzmx, "sfk_dh");
}

qint64 footerAmount(const TFMyw_jz &ed)
{
    qint64 units = 0;
    return ed.Grid->footerSum(0, ed.Grid->columnOfField("sfk_je_jy"), &units) ? units : -1;
}

} // namespace

class TestJzEditor : public QObject
{
    Q_OBJECT

private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    // The picker's tool bar, context menu and colours as a clerk meets them.
    void pickerAsShown()
    {
        JzData d;
        d.startNew(DocumentKind::Settlement);
        Dataset &c = d.dm().DataSfk_jz;
        c.setFiltered(true);
        QWidget owner;
        TFMyw_jz_sfkd p(&owner);
        p.prepare();
        QCOMPARE(p.windowTitle(), QStringLiteral("选择未结帐单据"));
        QVERIFY(p.windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(p.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(shownTitles(*p.Grid), (QStringList{"制单日期", "类别", "单号", "出货（应收款）金额", "进货（应付款）金额",
                                                    "应收款余额", "员工姓名", "备注"}));
        QVERIFY(p.Grid->isReadOnly());
        QVERIFY(p.Grid->multiSortMarking());
        QCOMPARE(rowsOf(c, "单号"), (QStringList{"CH00000003", "JH00000007", "JH00000009"}));
        QCOMPARE(p.Grid->rowColourHook()(0).text, QColor());
        QCOMPARE(p.Grid->rowColourHook()(1).text, kPurchaseTextColour);

        const QList<std::tuple<const char *, QString, QString, QKeySequence>> items = {
            {"BSelect", "选定", "选定当前的记录 Enter", QKeySequence(Qt::Key_Return)},
            {"Bsaveto", "导出", "将表格中的数据导出为其它文件 Ctrl+S", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"Bzselcol", "表格", "表格设定 Ctrl+G", QKeySequence(Qt::CTRL | Qt::Key_G)},
            {"BReturn", "返回", "Esc", QKeySequence(Qt::Key_Escape)}};
        for (const auto &[name, caption, hint, key] : items) {
            auto *b = p.findChild<QToolButton *>(QString::fromLatin1(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), caption);
            QCOMPARE(b->toolTip(), hint);
            QAction *item = p.findChild<QAction *>("N" + QString::fromLatin1(name));
            QVERIFY2(item && p.PopupMenu1->actions().contains(item), name);
            QCOMPARE(item->text(), caption);
            QCOMPARE(item->shortcut(), key);
        }

        // Sorting by a title click orders the candidates, several columns at once.
        p.Grid->clickTitle(p.Grid->sectionOfColumn(p.Grid->columnOfField("单号")));
        p.Grid->clickTitle(p.Grid->sectionOfColumn(p.Grid->columnOfField("单号")));
        QCOMPARE(rowsOf(c, "单号"), (QStringList{"JH00000009", "JH00000007", "CH00000003"}));
        c.setFiltered(false);
    }

    // The ways out of the picker: only 选定, Enter and a double click choose; the
    // chosen document stays current.
    void pickerEndings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::newRow("选定") << "select" << int(mrOk);
        QTest::newRow("Enter") << "enter" << int(mrOk);
        QTest::newRow("double click") << "double" << int(mrOk);
        QTest::newRow("返回") << "return" << int(mrAbort);
        QTest::newRow("Esc") << "esc" << int(mrAbort);
        QTest::newRow("close box") << "close" << int(mrNone);
    }
    void pickerEndings()
    {
        QFETCH(QString, how);
        QFETCH(int, code);
        JzData d;
        d.startNew(DocumentKind::Settlement);
        Dataset &c = d.dm().DataSfk_jz;
        c.setFiltered(true);
        QWidget owner;
        TFMyw_jz_sfkd p(&owner);
        p.prepare();
        ModalHandlers h;
        h.enqueue([&](QDialog &) {
            p.Grid->clickTitle(p.Grid->sectionOfColumn(p.Grid->columnOfField("单号")));
            QVERIFY(!c.sortText().isEmpty());
            QVERIFY(c.locate("单号", Value(QStringLiteral("JH00000007"))));
            if (how == "select")
                p.BSelect->click();
            else if (how == "enter")
                QTest::keyClick(p.Grid, Qt::Key_Return);
            else if (how == "double")
                QTest::mouseDClick(p.Grid->viewport(), Qt::LeftButton, {},
                                   p.Grid->visualRect(p.Grid->currentIndex()).center());
            else if (how == "return")
                p.BReturn->click();
            else if (how == "close")
                p.close();
            else
                QTest::keyClick(p.Grid, Qt::Key_Escape);
        });
        MessageRecorder rec;
        QCOMPARE(ModalRunner::exec(p), code);
        QCOMPARE(p.chosen(), code == mrOk);
        QCOMPARE(h.leftOpen(), 0);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(c.value("单号").toString(), QStringLiteral("JH00000007"));
        QCOMPARE(c.sortText(), QString()); // the next picker opens unsorted, as its marks show
        c.setFiltered(false);
    }

    // 选定 with nothing left to offer closes with the warning and no choice.
    void pickerWithoutCandidates()
    {
        JzData d;
        d.conn().exec(QStringLiteral("INSERT INTO jzmx(sf_id, sfid_mx) VALUES (900001, 900001), (900001, 900002), "
                                     "(900001, 900003)"));
        d.startNew(DocumentKind::Settlement);
        QCOMPARE(d.dm().DataSfk_jz.recordCount(), 0);
        QWidget owner;
        TFMyw_jz_sfkd p(&owner);
        p.prepare();
        ModalHandlers h;
        h.enqueue([&](QDialog &) { p.BSelect->click(); });
        MessageRecorder rec;
        QCOMPARE(ModalRunner::exec(p), int(mrAbort));
        QVERIFY(!p.chosen());
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("没有未结帐单据！")});
        QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
    }

    // The picker keeps its layout under its own key: the business window's layout
    // does not reach it, and its own changes do not reach the business window.
    void pickerLayoutOfItsOwn()
    {
        JzData d;
        d.saveLayoutRow(QStringLiteral("办理业务"), QStringLiteral("备注"), 90, 0);
        d.saveLayoutRow(QStringLiteral("选择未结帐单据"), QStringLiteral("单号"), 120, 0);
        d.saveLayoutRow(QStringLiteral("选择未结帐单据"), QStringLiteral("应收款余额"), 130, 1);
        d.startNew(DocumentKind::Settlement);
        d.dm().DataSfk_jz.setFiltered(true);
        QWidget owner;
        owner.setGeometry(100, 100, 900, 700);
        TFMyw_jz_sfkd p(&owner);
        p.prepare();
        QCOMPARE(shownTitles(*p.Grid), (QStringList{"单号", "应收款余额"}));
        // 45 + 250 is below the least width.
        QCOMPARE(p.width(), 350);
        QCOMPARE(p.height(), p.screen()->geometry().height() - 60);
        QCOMPARE(p.geometry().center().x(), owner.geometry().center().x());

        FileDialogAnswers answers;
        answers.cancel();
        p.Bsaveto->click();
        QCOMPARE(answers.requests().size(), 1);
        QCOMPARE(answers.requests().first().fileName, QStringLiteral("选择未结帐单据"));

        ModalHandlers h;
        h.enqueue([](QDialog &dlg) {
            QCOMPARE(dlg.objectName(), QStringLiteral("TFMGridColSelect"));
            // Back to the default layout, which is kept as no rows at all.
            dlg.findChild<QAbstractButton *>(QStringLiteral("SpeedButton1"))->click();
            dlg.findChild<QAbstractButton *>(QStringLiteral("RzBitBtn1"))->click();
        });
        p.Bzselcol->click();
        QCOMPARE(h.leftOpen(), 0);
        QCOMPARE(shownTitles(*p.Grid).size(), 8);
        QCOMPARE(d.layoutCaptions(QStringLiteral("选择未结帐单据")), QStringList());
        QCOMPARE(d.layoutCaptions(QStringLiteral("办理业务")), QStringList{QStringLiteral("备注")});
        d.dm().DataSfk_jz.setFiltered(false);
    }

    // A settlement of the shipment and a purchase, or of purchases only: picked by N1
    // and by Enter in the grid, saved with 保存, which closes with OK.
    void newSettlement_data()
    {
        QTest::addColumn<QStringList>("picked");
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<bool>("byEllipsis");
        QTest::newRow("shipment 500, purchase 120") << QStringList{"CH00000003", "JH00000007"} << 380 * U << false;
        QTest::newRow("purchases only") << QStringList{"JH00000007", "JH00000009"} << -150 * U << true;
    }
    void newSettlement()
    {
        QFETCH(QStringList, picked);
        QFETCH(qint64, amount);
        QFETCH(bool, byEllipsis);
        JzData d;
        const qint64 sfk = d.ph("sfk"), sk = d.ph("dh_sk"), ysk = d.ph("dh_ysk"), yfk = d.ph("dh_yfk");
        Editor ed(d);
        QCOMPARE(ed->windowTitle(), QStringLiteral("结帐录入"));
        QCOMPARE(ed->Formname->text(), QStringLiteral("结帐"));
        QCOMPARE(ed->Formname->palette().color(QPalette::WindowText), QColor(0xFF, 0x80, 0x00));
        QCOMPARE(ed->dh->text(), ProposedNumber("结", sk));
        QCOMPARE(ed->date(), QDate::currentDate());
        QCOMPARE(ed->Grid->toolTip(), QStringLiteral("添加、删除单据，请在表格中单击鼠标右键。"));
        QCOMPARE(ed->N1->text(), QStringLiteral("添加新的单据"));
        QCOMPARE(ed->N2->text(), QStringLiteral("删除当前的单据"));
        QCOMPARE(shownTitles(*ed->Grid), (QStringList{"制单日期", "类别", "单号", "出货（应收款）金额", "进货（应付款）金额",
                                                      "本次结帐金额"}));

        MessageRecorder rec;
        ModalHandlers h;
        pickIn(h, picked[0]);
        pickIn(h, picked[1]);
        ed->N1->trigger();
        if (byEllipsis) {
            const QRect cell = ed->Grid->visualRect(ed->Grid->currentIndex());
            QCOMPARE(ed->Grid->currentColumn(), 0);
            QTest::mouseClick(ed->Grid->viewport(), Qt::LeftButton, {}, DataGridDelegate::buttonRect(cell).center());
        } else {
            QTest::keyClick(ed->Grid, Qt::Key_Return);
        }
        QCOMPARE(h.pending(), 0);
        QCOMPARE(linkNumbers(d), (picked + QStringList{QString()}));
        QCOMPARE(footerAmount(*ed), amount);
        QCOMPARE(ed->netAmount(), amount);
        QCOMPARE(ed->Grid->footerText(0, 0), QStringLiteral("合计"));
        QCOMPARE(ed->Grid->rowColourHook()(1).text, kPurchaseTextColour);
        QCOMPARE(ed->Grid->rowColourHook()(0).text, picked[0].startsWith("JH") ? kPurchaseTextColour : QColor());

        ed->Bsave->click();
        QCOMPARE(rec.texts(), QStringList());
        QVERIFY(!ed->isVisible());
        QCOMPARE(ed->result(), int(mrOk));

        const qint64 id = sfk + 1;
        QCOMPARE(d.ph("sfk"), id);
        QCOMPARE(d.ph("dh_sk"), sk + 1);
        QCOMPARE(d.ph("dh_ysk"), ysk);
        QCOMPARE(d.ph("dh_yfk"), yfk);
        const QString row = QStringLiteral("SELECT %1 FROM sfk WHERE id=%2");
        QCOMPARE(d.text(row.arg("类别").arg(id)), QStringLiteral("结帐"));
        QCOMPARE(d.text(row.arg("单号").arg(id)), ProposedNumber("结", sk));
        QCOMPARE(d.text(row.arg("制单日期").arg(id)), QDate::currentDate().toString("yyyy-MM-dd 00:00:00"));
        QCOMPARE(d.scalar(row.arg("dw_id").arg(id)), kPartner);
        QCOMPARE(d.scalar(row.arg("应收款金额（出货）").arg(id)), qint64(0));
        QCOMPARE(d.scalar(row.arg("结帐、应付款金额（进货）").arg(id)), amount);
        QCOMPARE(d.scalar(row.arg("xszg_id").arg(id)), qint64(-1)); // null: nobody chosen
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(id)), qint64(2));

        // In the business window's list both are settled now, with nothing left open.
        d.openPartner(kPartner);
        Dataset &list = d.dm().DataSfk;
        for (const QString &number : picked) {
            QVERIFY(list.locate("单号", Value(number)));
            QCOMPARE(list.value("结帐单号").toString(), ProposedNumber("结", sk));
            QCOMPARE(list.value("应收款余额").moneyUnits(), qint64(0));
        }
    }

    // A picked document is not offered again until N2 takes it out.
    void pickedDocumentsLeaveThePicker()
    {
        JzData d;
        Editor ed(d);
        MessageRecorder rec;
        ModalHandlers h;
        QStringList first, second, third;
        pickIn(h, "CH00000003", &first);
        pickIn(h, "", &second);
        ed->N1->trigger();
        ed->N1->trigger();
        QCOMPARE(first, (QStringList{"CH00000003", "JH00000007", "JH00000009"}));
        QCOMPARE(second, (QStringList{"JH00000007", "JH00000009"}));
        QCOMPARE(linkNumbers(d), (QStringList{"CH00000003", QString()}));

        // N2 on the empty row asks about the link the cursor then stands on.
        rec.queueAnswer(QMessageBox::No);
        ed->N2->trigger();
        QCOMPARE(linkNumbers(d), QStringList{"CH00000003"});
        rec.queueAnswer(QMessageBox::Yes);
        ed->N2->trigger();
        QCOMPARE(rec.texts(), (QStringList{"删除此记录吗?", "删除此记录吗?"}));
        QCOMPARE(linkNumbers(d), QStringList());
        QCOMPARE(footerAmount(*ed), qint64(0));
        pickIn(h, "", &third);
        ed->N1->trigger();
        QCOMPARE(third, first);
        QCOMPARE(h.pending(), 0);
    }

    // Editing a settlement: one document taken out. Saving, or Yes to the question when
    // cancelling, deletes its link; No keeps the settlement as it was stored.
    void editRemovingADocument_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("saved");
        QTest::newRow("保存") << "save" << int(mrOk) << true;
        QTest::newRow("取消, Yes to saving") << "cancel" << int(mrAbort) << true;
        QTest::newRow("close box, No to saving") << "close" << int(mrCancel) << false;
    }
    void editRemovingADocument()
    {
        QFETCH(QString, how);
        QFETCH(int, code);
        QFETCH(bool, saved);
        JzData d;
        d.settleByHand();
        const qint64 sfk = d.ph("sfk"), sk = d.ph("dh_sk");
        Editor ed(d, 900010);
        QCOMPARE(ed->windowTitle(), QStringLiteral("修改结帐"));
        QCOMPARE(ed->dh->text(), QStringLiteral("结00000001"));
        QCOMPARE(ed->date(), QDate(2026, 2, 1));
        QCOMPARE(ed->staffName(), QStringLiteral("结帐员"));
        QCOMPARE(linkNumbers(d), (QStringList{"CH00000003", "JH00000007"}));
        QCOMPARE(footerAmount(*ed), 380 * U);

        MessageRecorder rec;
        QVERIFY(d.dm().DataJzmx.locate("sfid_mx", Value::integer(900002)));
        rec.queueAnswer(QMessageBox::Yes);
        ed->N2->trigger();
        QCOMPARE(linkNumbers(d), QStringList{"CH00000003"});
        QCOMPARE(footerAmount(*ed), 500 * U);
        ModalHandlers h;
        QStringList offered;
        pickIn(h, "", &offered);
        ed->N1->trigger();
        QCOMPARE(offered, (QStringList{"JH00000007", "JH00000009"}));

        if (how == "save") {
            ed->Bsave->click();
        } else if (how == "cancel") {
            rec.queueAnswer(QMessageBox::Yes);
            ed->RzBitBtn2->click();
        } else {
            rec.queueAnswer(QMessageBox::No);
            ed->close();
        }
        QVERIFY(!ed->isVisible());
        QCOMPARE(ed->result(), code);
        QStringList asked{"删除此记录吗?"};
        if (how != "save")
            asked << "当前数据已经更改，保存吗？";
        QCOMPARE(rec.texts(), asked);
        QCOMPARE(d.linksOf(900010), saved ? (QList<qint64>{900001}) : (QList<qint64>{900001, 900002}));
        QCOMPARE(d.scalar("SELECT 结帐、应付款金额（进货） FROM sfk WHERE id=900010"), saved ? 500 * U : 380 * U);
        QCOMPARE(d.scalar("SELECT xszg_id FROM sfk WHERE id=900010"), qint64(9901));
        QCOMPARE(d.ph("sfk"), sfk);
        QCOMPARE(d.ph("dh_sk"), sk);
        if (how != "save")
            QVERIFY(!d.dm().DataJzmx.isActive()); // leaving drops the links' batch
    }

    // Nothing left to settle: the picker does not open, saving is refused, and the
    // new settlement is given up only when the clerk says so.
    void nothingToSettle()
    {
        JzData d;
        d.settleByHand({900001, 900002, 900003});
        const qint64 sfk = d.ph("sfk"), sk = d.ph("dh_sk");
        Editor ed(d);
        MessageRecorder rec;
        ModalHandlers h;
        ed->N1->trigger();
        QTest::keyClick(ed->Grid, Qt::Key_Return);
        QCOMPARE(h.shown(), QStringList());
        QCOMPARE(rec.texts(), (QStringList{"没有未结帐单据！", "没有未结帐单据！"}));

        rec.clear();
        ed->Bsave->click();
        ed->Bprint->click();
        QCOMPARE(rec.texts(), (QStringList{"请添加未结帐单据！", "请添加未结帐单据！"}));
        QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
        QCOMPARE(h.shown(), QStringList()); // no print after a refusal
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->Grid->currentColumn(), 0);

        rec.clear();
        rec.queueAnswer(QMessageBox::No);
        ed->close();
        QVERIFY(ed->isVisible());
        rec.queueAnswer(QMessageBox::Yes);
        ed->RzBitBtn2->click();
        QCOMPARE(rec.texts(), (QStringList{"正在添加记录，确定放弃吗？", "正在添加记录，确定放弃吗？"}));
        QVERIFY(!ed->isVisible());
        QCOMPARE(ed->result(), int(mrAbort));
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Browse);
        QCOMPARE(d.ph("sfk"), sfk);
        QCOMPARE(d.ph("dh_sk"), sk);
        QCOMPARE(d.settlements(), qint64(1));
    }

    // The staff member chosen is stored and shows again when the settlement is edited;
    // a staff box cleared by hand clears it.
    void staffMemberStored()
    {
        JzData d;
        qint64 id = 0;
        {
            Editor ed(d);
            ModalHandlers h;
            pickIn(h, "CH00000003");
            h.enqueue([](QDialog &dlg) {
                QCOMPARE(dlg.windowTitle(), QStringLiteral("选择公司员工"));
                Dataset &staff = DataModKvl->DataDm_zg;
                QVERIFY(staff.locate("员工姓名", Value(QStringLiteral("结帐员"))));
                dlg.findChild<QToolButton *>(QStringLiteral("BSelect"))->click();
            });
            ed->N1->trigger();
            ed->yw->button()->trigger();
            QCOMPARE(h.pending(), 0);
            QCOMPARE(ed->staffName(), QStringLiteral("结帐员"));
            ed->Bsave->click();
            QCOMPARE(ed->result(), int(mrOk));
            id = d.newestSettlement();
            QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), qint64(9901));
        }
        const QString other = d.text("SELECT 员工姓名 FROM 公司员工 WHERE id=1");
        {
            // Another staff member and nothing else changed: still a change to store.
            d.openPartner(kPartner);
            Editor ed(d, id);
            QCOMPARE(ed->staffName(), QStringLiteral("结帐员"));
            ModalHandlers h;
            h.enqueue([](QDialog &dlg) {
                QVERIFY(DataModKvl->DataDm_zg.locate("id", Value::integer(1)));
                dlg.findChild<QToolButton *>(QStringLiteral("BSelect"))->click();
            });
            ed->yw->button()->trigger();
            ed->Bsave->click();
            QCOMPARE(ed->result(), int(mrOk));
            QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), qint64(1));
        }
        d.openPartner(kPartner);
        Editor ed(d, id);
        QCOMPARE(ed->staffName(), other);
        ed->yw->selectAll();
        QTest::keyClick(ed->yw, Qt::Key_Delete);
        ed->Bsave->click();
        QCOMPARE(ed->result(), int(mrOk));
        QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), qint64(-1));
        QCOMPARE(d.linksOf(id), QList<qint64>{900001});
    }

    // Each refusal of the save, and a save the engine refuses, keeps the editor open
    // with what was typed and picked; the save that passes stores the settlement once,
    // its links once, and moves the counters once.
    void refusalsKeepTheEditorOpen()
    {
        JzData d;
        d.conn().exec(QStringLiteral("UPDATE PH SET dh_sk=999999999"));
        const qint64 sfk = d.ph("sfk");
        Editor ed(d);
        ModalHandlers h;
        pickIn(h, "CH00000003");
        pickIn(h, "JH00000007");
        h.enqueue([](QDialog &dlg) {
            QVERIFY(DataModKvl->DataDm_zg.locate("员工姓名", Value(QStringLiteral("结帐员"))));
            dlg.findChild<QToolButton *>(QStringLiteral("BSelect"))->click();
        });
        ed->N1->trigger();
        ed->N1->trigger();
        ed->yw->button()->trigger();
        QCOMPARE(h.pending(), 0);
        // The proposal has outgrown the ten characters of 单号.
        QCOMPARE(ed->dh->text(), QStringLiteral("结1000000000"));
        d.conn().exec(QStringLiteral("DELETE FROM 公司员工 WHERE id=9901"));

        MessageRecorder rec;
        auto refusedWith = [&](const QString &message) {
            rec.clear();
            ed->Bsave->click();
            QCOMPARE(rec.texts(), QStringList{message});
            QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
            QVERIFY(ed->isVisible());
            QCOMPARE(d.ph("sfk"), sfk);
            QCOMPARE(d.ph("dh_sk"), qint64(999999999));
            QCOMPARE(d.settlements(), qint64(0));
            QCOMPARE(d.scalar("SELECT count(*) FROM jzmx WHERE sfid_mx BETWEEN 900001 AND 900003"), qint64(0));
            QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Insert);
            QCOMPARE(linkNumbers(d), (QStringList{"CH00000003", "JH00000007"}));
        };
        refusedWith(DocumentNumberProblem(QStringLiteral("结1000000000")));
        ed->dh->selectAll();
        testing::typeText(ed->dh, QStringLiteral("结A-1"));
        ed->zdrq->selectAll();
        QTest::keyClick(ed->zdrq, Qt::Key_Delete);
        refusedWith(QStringLiteral("请录入制单日期！"));
        QTest::keyClicks(ed->zdrq, QStringLiteral("2026-02-03"));
        refusedWith(QStringLiteral("［公司员工］中没有对应的记录！\n\n记录引用失败，请重新选择！"));
        // 打印 on a save the engine refuses prints nothing: the page would show a
        // settlement the data file never took.
        const qsizetype shownBefore = h.shown().size();
        rec.clear();
        ed->Bprint->click();
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(h.shown().size(), shownBefore);
        QVERIFY(ed->isVisible());
        QCOMPARE(d.settlements(), qint64(0));

        ed->yw->selectAll();
        QTest::keyClick(ed->yw, Qt::Key_Delete);
        ed->Bsave->click();
        QCOMPARE(ed->result(), int(mrOk));
        const qint64 id = sfk + 1;
        QCOMPARE(d.ph("sfk"), id);
        QCOMPARE(d.ph("dh_sk"), qint64(1000000000));
        QCOMPARE(d.settlements(), qint64(1));
        QCOMPARE(d.text(QStringLiteral("SELECT 单号 FROM sfk WHERE id=%1").arg(id)), QStringLiteral("结A-1"));
        QCOMPARE(d.text(QStringLiteral("SELECT 制单日期 FROM sfk WHERE id=%1").arg(id)), QStringLiteral("2026-02-03 00:00:00"));
        QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), qint64(-1));
        QCOMPARE(d.linksOf(id), (QList<qint64>{900001, 900002}));
        QCOMPARE(d.scalar("SELECT count(*) FROM jzmx WHERE sfid_mx BETWEEN 900001 AND 900003"), qint64(2));
    }

    // 打印 saves, then prints the settlement, and closes with OK; an unchanged
    // settlement is printed as it stands.
    void printAfterSave_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new") << false;
        QTest::newRow("unchanged") << true;
    }
    void printAfterSave()
    {
        QFETCH(bool, existing);
        JzData d;
        if (existing)
            d.settleByHand();
        Editor ed(d, existing ? 900010 : 0);
        ModalHandlers h;
        if (!existing) {
            pickIn(h, "JH00000007");
            ed->N1->trigger();
        }
        QString report;
        int printedLinks = -1;
        h.enqueue([&](QDialog &dlg) {
            auto *preview = qobject_cast<ReportPreview *>(&dlg);
            QVERIFY(preview);
            report = preview->reportTemplate().name;
            printedLinks = d.dm().DataJzmx.recordCount();
            QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Browse); // stored before it prints
            dlg.accept();
        });
        MessageRecorder rec;
        ed->Bprint->click();
        QCOMPARE(h.pending(), 0);
        QCOMPARE(report, QStringLiteral("结帐单"));
        QCOMPARE(CurrentReportName, QStringLiteral("结帐单"));
        QCOMPARE(printedLinks, existing ? 2 : 1);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrOk));
        QCOMPARE(d.settlements(), qint64(1));
        QCOMPARE(d.linksOf(d.newestSettlement()), existing ? (QList<qint64>{900001, 900002}) : (QList<qint64>{900002}));
    }
};

QTEST_MAIN(TestJzEditor)
#include "test_jz_editor.moc"
