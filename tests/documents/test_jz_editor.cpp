// The settlement editor and its picker of open documents, offscreen on a real
// data file: picking and removing documents, the net amount, what the save
// writes, the close codes and questions, and the picker's own layout.
#include "DataGrid.h"
#include "DocumentsFixture.h"
#include "FileDialogAnswers.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "PurchaseRows.h"
#include "yw_jz_sfkd.h"

#include <QAction>
#include <QMenu>
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
        partner = kPartner;
        openPartner(kPartner);
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

    // The ways out of the picker: only 选定, Enter and a double click choose.
    void pickerEndings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::newRow("选定") << "select" << int(mrOk);
        QTest::newRow("Enter") << "enter" << int(mrOk);
        QTest::newRow("double click") << "double" << int(mrOk);
        QTest::newRow("返回") << "return" << int(mrAbort);
        QTest::newRow("Esc") << "esc" << int(mrAbort);
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
            else
                QTest::keyClick(p.Grid, Qt::Key_Escape);
        });
        MessageRecorder rec;
        QCOMPARE(ModalRunner::exec(p), code);
        QCOMPARE(p.chosen(), code == mrOk);
        QCOMPARE(h.leftOpen(), 0);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(c.value("单号").toString(), QStringLiteral("JH00000007"));
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
};

QTEST_MAIN(TestJzEditor)
#include "test_jz_editor.moc"
