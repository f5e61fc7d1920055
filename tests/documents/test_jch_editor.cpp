// The shipment/purchase editor driven as a clerk drives it, offscreen, on a
// real data file: cells typed into, the goods and staff pickers answered
// through the modal seam, questions answered through the message seam, and
// the data file read back with plain SQL.
#include "DocumentsFixture.h"

#include "ButtonEdit.h"
#include "CalendarDropDown.h"
#include "DataGrid.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "EditButton.h"
#include "MasterListWindow.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ReportPreview.h"
#include "ReportTemplates.h"
#include "yw_jch.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr qint64 U = 10000; // one unit in ten-thousandths

struct Counters
{
    qint64 sfk, ysk, yfk;
    bool operator==(const Counters &) const = default;
};

// A data file with the report templates, and an editor opened on it as the
// business window's commands open one.
class EditorData : public DocumentsData
{
public:
    EditorData()
    {
        if (scalar(QStringLiteral("SELECT count(*) FROM report")) == 0)
            ReportTemplates::store(conn());
    }

    Counters counters()
    {
        return {scalar("SELECT sfk FROM PH"), scalar("SELECT dh_ysk FROM PH"), scalar("SELECT dh_yfk FROM PH")};
    }

    std::unique_ptr<TFMyw_jch> open(DocumentKind kind, qint64 editId = 0)
    {
        if (editId)
            startEdit(editId);
        else
            startNew(kind);
        auto ed = std::make_unique<TFMyw_jch>(kind, editId == 0, partner);
        ed->show();
        if (!QTest::qWaitForWindowExposed(ed.get()))
            qWarning("editor not exposed");
        return ed;
    }

    Dataset &lines() { return dm().DataKcmx; }
};

// The picker handler choosing the goods item (or staff member) with `code`;
// `positioned` receives the code the picker stood on when it opened.
ModalHandlers::Handler choose(const QString &codeField, const QString &code, QString *positioned = nullptr)
{
    return [=](QDialog &d) {
        auto &list = static_cast<MasterListWindow &>(d);
        Dataset *ds = list.dataset();
        if (positioned)
            *positioned = ds->value(codeField).toString();
        QVERIFY(ds->locate(codeField, Value(code)));
        list.BSelectClick();
    };
}

ModalHandlers::Handler chooseGoods(const QString &code, QString *positioned = nullptr)
{
    return choose(QStringLiteral("商品编号"), code, positioned);
}

// Text as an input method commits it (Chinese is never typed key by key).
void commitText(QWidget *w, const QString &text)
{
    QInputMethodEvent ime;
    ime.setCommitString(text);
    QCoreApplication::sendEvent(w, &ime);
}

QLineEdit *cellEditor(DataGrid *g)
{
    for (QLineEdit *e : g->viewport()->findChildren<QLineEdit *>())
        if (e->isVisible() && e->objectName() != QLatin1String("CellTypeIn"))
            return e;
    return nullptr;
}

// Types `text` into the cell of `field` on the current line and ends with `key`.
void typeCell(TFMyw_jch &ed, const QString &field, const QString &text, Qt::Key key = Qt::Key_Tab)
{
    DataGrid *g = ed.Grid;
    const int col = g->columnOfField(field);
    if (g->currentColumn() != col || !g->isEditing()) {
        g->setCurrentColumn(col);
        g->edit(g->currentIndex());
    }
    QLineEdit *e = cellEditor(g);
    QVERIFY2(e, qPrintable(field));
    e->selectAll();
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(e, text);
    else
        commitText(e, text);
    QTest::keyClick(e, key);
    QCoreApplication::processEvents();
}

// The goods picker through Enter on the goods-name cell of the current line.
void pickWithEnter(TFMyw_jch &ed, ModalHandlers &dialogs, const QString &code)
{
    dialogs.enqueue(chooseGoods(code));
    ed.Grid->setCurrentColumn(ed.Grid->columnOfField(QStringLiteral("kcsp_spmc")));
    QTest::keyClick(ed.Grid, Qt::Key_Return);
    QCoreApplication::processEvents();
}

QString field(const Dataset &ds, const char *name)
{
    return ds.value(QString::fromUtf8(name)).toString();
}

} // namespace

class TestJchEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void frame()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Purchase);
        QCOMPARE(ed->windowTitle(), QStringLiteral("录入进货（应付款）"));
        QCOMPARE(ed->Formname->text(), QStringLiteral("进货（应付款）"));
        QCOMPARE(ed->Formname->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));
        QCOMPARE(ed->dh->text(), d.text("SELECT 'JH' || printf('%08d', dh_yfk + 1) FROM PH"));
        QCOMPARE(ed->date(), QDate::currentDate());
        QCOMPARE(ed->Bprint->text(), QStringLiteral("打印(&Prt)"));
        QCOMPARE(ed->Bsave->text(), QStringLiteral("保存(&Save)"));
        QCOMPARE(ed->RzBitBtn2->text(), QStringLiteral("取消(&Esc)"));
        QCOMPARE(ed->N1->text(), QStringLiteral("添加新的商品"));
        QCOMPARE(ed->N2->text(), QStringLiteral("删除当前的商品"));
        QStringList titles;
        for (int c : ed->Grid->visibleColumns())
            titles << ed->Grid->columnTitle(c);
        QCOMPARE(titles, QStringLiteral("商品名称 商品类别 商品产地 计量单位 数量 单价 金额 备注").split(u' '));
        QVERIFY(ed->Grid->gridColumn(0).editButton);
        QCOMPARE(ed->Grid->footerText(0, 0), QStringLiteral("合计"));
        QCOMPARE(ed->minimumSize(), ed->maximumSize());

        // A day chosen in the calendar goes into the box, and the focus moves on.
        auto *calendar = ed->zdrq->findChild<CalendarDropDown *>();
        QVERIFY(calendar);
        ed->zdrq->setFocus();
        calendar->dropDown();
        QVERIFY(calendar->calendar());
        emit calendar->calendar()->clicked(QDate(2026, 2, 3));
        QCOMPARE(ed->date(), QDate(2026, 2, 3));
        QCOMPARE(d.dm().DataSfk.value("制单日期").toDateTime().date(), QDate(2026, 2, 3));
        QVERIFY(!calendar->calendar());
        QCOMPARE(ed->focusWidget(), static_cast<QWidget *>(ed->dh));

        auto shipment = std::make_unique<TFMyw_jch>(DocumentKind::Shipment, false, d.partner);
        QCOMPARE(shipment->windowTitle(), QStringLiteral("修改出货（应收款）"));
        QCOMPARE(shipment->Formname->palette().color(QPalette::WindowText),
                 shipment->palette().color(QPalette::WindowText));
    }

    // Leaving a cell runs the arithmetic of its line.
    void arithmetic_data()
    {
        QTest::addColumn<QStringList>("typed"); // field, text, field, text, ...
        QTest::addColumn<qint64>("sl");
        QTest::addColumn<qint64>("dj");
        QTest::addColumn<qint64>("je");
        QTest::newRow("3 × 2.5") << QStringList{"sl", "3", "dj", "2.5"} << 3 * U << 25000ll << 75000ll;
        QTest::newRow("amount 9 sets the price 3")
            << QStringList{"sl", "3", "dj", "2.5", "je", "9"} << 3 * U << 3 * U << 9 * U;
        QTest::newRow("3 and amount 10: 3.3333") << QStringList{"sl", "3", "je", "10"} << 3 * U << 33333ll << 10 * U;
        QTest::newRow("quantity 0 keeps the price")
            << QStringList{"dj", "2", "sl", "0", "je", "10"} << 0ll << 2 * U << 10 * U;
        QTest::newRow("quantity changed after the price")
            << QStringList{"dj", "1.25", "sl", "4"} << 4 * U << 12500ll << 5 * U;
    }
    void arithmetic()
    {
        QFETCH(QStringList, typed);
        QFETCH(qint64, sl);
        QFETCH(qint64, dj);
        QFETCH(qint64, je);
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        ModalHandlers dialogs;
        pickWithEnter(*ed, dialogs, QStringLiteral("SP00004"));
        QCOMPARE(d.lines().value("dj").moneyUnits(), 18403700ll); // its 参考销价
        for (qsizetype i = 0; i + 1 < typed.size(); i += 2)
            typeCell(*ed, typed[i], typed[i + 1]);
        QCOMPARE(d.lines().value("sl").moneyUnits(), sl);
        QCOMPARE(d.lines().value("dj").moneyUnits(), dj);
        QCOMPARE(d.lines().value("je").moneyUnits(), je);
        QCOMPARE(dialogs.unexpected(), 0);
    }

    // What the cell cannot take is refused there, and the line keeps its figures.
    void cellRefusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << "sl" << "三" << "“三”不是有效的金额。";
        QTest::newRow("past the money range") << "dj" << "9999999999999999" << "金额“9999999999999999”超出允许的范围。";
    }
    void cellRefusals()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        ModalHandlers dialogs;
        pickWithEnter(*ed, dialogs, QStringLiteral("SP00001"));
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("2"));
        const Value before = d.lines().value(field);
        MessageRecorder rec;
        typeCell(*ed, field, text);
        QCOMPARE(rec.texts(), QStringList{message});
        // The editor stays open with the text as typed.
        QVERIFY(ed->Grid->isEditing());
        QCOMPARE(cellEditor(ed->Grid)->text(), text);
        QCOMPARE(d.lines().value(field), before);
    }

    void productPastTheRangeRefused()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        ModalHandlers dialogs;
        pickWithEnter(*ed, dialogs, QStringLiteral("SP00001"));
        typeCell(*ed, QStringLiteral("dj"), QStringLiteral("900000000000"));
        MessageRecorder rec;
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("900000"));
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("计算结果超出系统充许范围，请录入正确的数量、单价和金额！")});
        QCOMPARE(d.lines().value("je").moneyUnits(), 0ll);
    }

    // Refusals of 保存 in order: the message, then the cursor on the offending cell.
    void saveRefusals_data()
    {
        QTest::addColumn<QList<qint64>>("figures"); // goods, sl, dj, je per line; -1 = empty
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("field");
        const QList<qint64> good{1, 2 * U, 3 * U, 6 * U};
        QTest::newRow("no line") << QList<qint64>{} << "请添加商品明细！" << -1 << "kcsp_spmc";
        QTest::newRow("only the empty line") << QList<qint64>{0, -1, -1, -1} << "请选择商品资料！" << 0 << "kcsp_spmc";
        QTest::newRow("empty quantity") << (good + QList<qint64>{2, -1, 3 * U, -1})
                                         << "数量要大于０，请录入正确的数量！" << 1 << "sl";
        QTest::newRow("price 0") << (good + QList<qint64>{2, U, 0, 0}) << "商品单价要大于０，请录入正确的单价！" << 1
                                 << "dj";
        QTest::newRow("total 0") << QList<qint64>{1, U, U, 0} << "合计金额要大于０，请录入正确的金额！" << 0 << "je";
        QTest::newRow("100,000,000.01") << QList<qint64>{1, U, 100000000 * U + 100, 100000000 * U + 100}
                                        << "合计金额超出系统充许范围，请录入正确的数量和单价！" << 0 << "je";
    }
    void saveRefusals()
    {
        QFETCH(QList<qint64>, figures);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(QString, field);
        EditorData d;
        const Counters before = d.counters();
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        auto ed = d.open(DocumentKind::Shipment);
        MessageRecorder rec;
        if (figures.isEmpty()) {
            rec.queueAnswer(QMessageBox::Yes);
            ed->N2Click();
        }
        for (qsizetype i = 0; i + 3 < figures.size(); i += 4)
            d.typeLine(figures[i], figures[i + 1], figures[i + 2], figures[i + 3], i + 4 < figures.size());
        ed->Grid->setCurrentColumn(ed->Grid->columnOfField(QStringLiteral("备注")));
        rec.clear();
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList{message});
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->Grid->fieldNameOf(ed->Grid->currentColumn()), field);
        if (line >= 0)
            QCOMPARE(d.lines().currentIndex(), line);
        QCOMPARE(ed->focusWidget(), static_cast<QWidget *>(ed->Grid));
        QCOMPARE(d.counters(), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
    }

    void exactlyHundredMillionSaved()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        d.typeLine(1, U, 60000000 * U, 60000000 * U);
        d.typeLine(2, 2 * U, 20000000 * U, 40000000 * U, false);
        MessageRecorder rec;
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrYes));
        QCOMPARE(d.scalar(QStringLiteral("SELECT 应收款金额（出货） FROM sfk WHERE id=(SELECT sfk FROM PH)")),
                 100000000 * U);
    }

    // A shipment typed in as a clerk types it, saved, and read back row by row.
    void newShipmentEnteredAndSaved()
    {
        EditorData d;
        const Counters before = d.counters();
        auto ed = d.open(DocumentKind::Shipment);
        const QString number = ed->dh->text();
        ModalHandlers dialogs;
        MessageRecorder rec;

        // Line 1: Enter on the goods name opens the picker and moves on.
        pickWithEnter(*ed, dialogs, QStringLiteral("SP00002"));
        QCOMPARE(ed->Grid->fieldNameOf(ed->Grid->currentColumn()), QStringLiteral("kcsp_splb"));
        QCOMPARE(ed->Grid->cellText(ed->Grid->columnOfField(QStringLiteral("kcsp_spmc"))),
                 QStringLiteral("迷你餐具10米"));
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("3"));
        typeCell(*ed, QStringLiteral("dj"), QStringLiteral("2.5"));
        typeCell(*ed, QStringLiteral("备注"), QStringLiteral("先付"));
        // Leaving the last cell of the last line starts the next line.
        QTRY_COMPARE(d.lines().recordCount(), 2);
        QCOMPARE(d.lines().currentIndex(), 1);
        QCOMPARE(ed->Grid->fieldNameOf(ed->Grid->currentColumn()), QStringLiteral("kcsp_spmc"));

        // Line 2: a goods code typed into the name cell opens the picker on it.
        QString positioned;
        dialogs.enqueue(chooseGoods(QStringLiteral("SP00011"), &positioned));
        QTest::keyClick(ed->Grid, 'S');
        QLineEdit *typedName = ed->Grid->viewport()->findChild<QLineEdit *>(QStringLiteral("CellTypeIn"));
        QVERIFY(typedName);
        QTest::keyClicks(typedName, QStringLiteral("P00011"));
        QTest::keyClick(typedName, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(positioned, QStringLiteral("SP00011"));
        QCOMPARE(d.lines().value("kcsp_id").toInt(), 11);
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("2"));
        typeCell(*ed, QStringLiteral("je"), QStringLiteral("50"));
        QCOMPARE(d.lines().value("dj").moneyUnits(), 25 * U);

        // Line 3 through the menu item, which opens the picker at once.
        dialogs.enqueue(chooseGoods(QStringLiteral("SP00007")));
        ed->N1->trigger();
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("1"));
        typeCell(*ed, QStringLiteral("dj"), QStringLiteral("10"));
        typeCell(*ed, QStringLiteral("备注"), QString());
        QTRY_COMPARE(d.lines().recordCount(), 4);

        // The staff member through Enter in 员工姓名.
        dialogs.enqueue(choose(QStringLiteral("员工编号"), QStringLiteral("Y005")));
        ed->yw->setFocus();
        ed->yw->setText(QStringLiteral("苏"));
        QTest::keyClick(ed->yw, Qt::Key_Return);
        QCOMPARE(ed->yw->text(), QStringLiteral("苏秀英"));
        ed->bz->setFocus();
        commitText(ed->bz, QStringLiteral("  月底结清 "));

        QCOMPARE(ed->Grid->footerText(0, ed->Grid->columnOfField(QStringLiteral("je"))), QStringLiteral("¥67.50"));
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(dialogs.unexpected(), 0);
        QCOMPARE(ed->result(), int(mrYes));
        QVERIFY(!ed->isVisible());

        const qint64 id = before.sfk + 1;
        QCOMPARE(d.counters(), (Counters{before.sfk + 1, before.ysk + 1, before.yfk}));
        Statement h(d.conn(), QStringLiteral("SELECT 类别, 单号, 制单日期, dw_id, xszg_id, 应收款金额（出货）, "
                                             "结帐、应付款金额（进货）, 结帐, 备注 FROM sfk WHERE id=%1").arg(id));
        QVERIFY(h.next());
        QCOMPARE(h.value(0).toString(), QStringLiteral("出货"));
        QCOMPARE(h.value(1).toString(), number);
        QCOMPARE(h.value(2).toString(), QDate::currentDate().toString(u"yyyy-MM-dd") + QStringLiteral(" 00:00:00"));
        QCOMPARE(h.int64(3), d.partner);
        QCOMPARE(h.int64(4), 5ll);
        QCOMPARE(h.int64(5), 675000ll);
        QCOMPARE(h.int64(6), 0ll);
        QCOMPARE(h.int64(7), 0ll);
        QCOMPARE(h.value(8).toString(), QStringLiteral("月底结清"));

        Statement l(d.conn(), QStringLiteral("SELECT kcsp_id, sl, dj, je, 备注 FROM kcmx WHERE sf_id=%1 ORDER BY id").arg(id));
        const QList<QList<qint64>> expected{{2, 3 * U, 25000, 75000}, {11, 2 * U, 25 * U, 50 * U}, {7, U, 10 * U, 10 * U}};
        for (const QList<qint64> &row : expected) {
            QVERIFY(l.next());
            for (int c = 0; c < 4; ++c)
                QCOMPARE(l.int64(c), row[c]);
        }
        QVERIFY(!l.next());
        QCOMPARE(d.text(QStringLiteral("SELECT 备注 FROM kcmx WHERE sf_id=%1 AND kcsp_id=2").arg(id)), QStringLiteral("先付"));
    }

    // The reference price of the kind goes into 单价.
    void referencePrice_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<qint64>("price");
        QTest::newRow("shipment: 参考销价") << int(DocumentKind::Shipment) << 12653600ll;
        QTest::newRow("purchase: 参考进价") << int(DocumentKind::Purchase) << 10042600ll;
    }
    void referencePrice()
    {
        QFETCH(int, kind);
        QFETCH(qint64, price);
        EditorData d;
        auto ed = d.open(DocumentKind(kind));
        ModalHandlers dialogs;
        dialogs.enqueue(chooseGoods(QStringLiteral("SP00006")));
        ed->GridEditButtonClick();
        QCOMPARE(d.lines().value("kcsp_id").toInt(), 6);
        QCOMPARE(d.lines().value("dj").moneyUnits(), price);
        QVERIFY(d.lines().value("sl").isNull());
    }

    // A name typed into the goods cell never names goods by itself.
    void typedNameNeedsAChoice()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        ModalHandlers dialogs;
        MessageRecorder rec;
        QString positioned;
        dialogs.enqueue([&](QDialog &p) {
            positioned = static_cast<MasterListWindow &>(p).dataset()->value(QStringLiteral("商品名称")).toString();
            static_cast<MasterListWindow &>(p).BreturnClick();
        });
        commitText(ed->Grid, QStringLiteral("精装保"));
        QLineEdit *typedName = ed->Grid->viewport()->findChild<QLineEdit *>(QStringLiteral("CellTypeIn"));
        QVERIFY(typedName);
        QCOMPARE(typedName->text(), QStringLiteral("精装保"));
        QTest::keyClick(typedName, Qt::Key_Tab);
        QCoreApplication::processEvents();
        // Positioned on the name (no code starts so), closed without a choice.
        QCOMPARE(positioned, QStringLiteral("精装保温瓶A4"));
        QVERIFY(d.lines().value("kcsp_id").isNull());

        // Esc drops what was typed, without a picker.
        ed->Grid->setCurrentColumn(0);
        QTest::keyClick(ed->Grid, 'X');
        typedName = ed->Grid->viewport()->findChild<QLineEdit *>(QStringLiteral("CellTypeIn"));
        QVERIFY(typedName);
        QTest::keyClick(typedName, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(ed->isVisible());
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(dialogs.shown().size(), 1);
        QVERIFY(d.lines().value("kcsp_id").isNull());
    }

    void closingNewDocument_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("取消") << false;
    }
    void closingNewDocument()
    {
        QFETCH(bool, closeBox);
        EditorData d;
        const Counters before = d.counters();
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        auto ed = d.open(DocumentKind::Purchase);
        d.typeLine(3, U, U, U, false);
        MessageRecorder rec;
        auto close = [&] {
            if (closeBox)
                ed->close();
            else {
                ed->dh->setFocus();
                QTest::keyClick(ed->dh, Qt::Key_Escape);
            }
        };
        rec.queueAnswer(QMessageBox::No);
        close();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("正在添加记录，确定放弃吗？")});
        QVERIFY(ed->isVisible());
        rec.queueAnswer(QMessageBox::Yes);
        close();
        QVERIFY(!ed->isVisible());
        QCOMPARE(ed->result(), int(closeBox ? mrCancel : mrAbort));
        QVERIFY(!d.lines().isActive());
        QCOMPARE(d.counters(), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
    }

    // An existing document: a line changed and left is a change of the document.
    void changedLineQuestion()
    {
        EditorData d;
        const qint64 id = d.scalar("SELECT min(sf_id) FROM kcmx JOIN sfk ON sfk.id=kcmx.sf_id WHERE dw_id=1 "
                                   "AND 类别='出货'");
        const QString stored = d.text(QStringLiteral("SELECT group_concat(sl || '/' || je) FROM kcmx WHERE sf_id=%1").arg(id));
        auto ed = d.open(DocumentKind::Shipment, id);
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("7"));
        ed->yw->setFocus();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Cancel);
        QTest::mouseClick(ed->RzBitBtn2, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("当前数据已经更改，保存吗？")});
        QVERIFY(ed->isVisible());
        rec.queueAnswer(QMessageBox::No);
        QTest::mouseClick(ed->RzBitBtn2, Qt::LeftButton);
        QVERIFY(!ed->isVisible());
        QCOMPARE(ed->result(), int(mrAbort));
        QCOMPARE(d.text(QStringLiteral("SELECT group_concat(sl || '/' || je) FROM kcmx WHERE sf_id=%1").arg(id)), stored);
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Browse);
    }

    // A document of partner 1 with at least two lines, opened for editing.
    static qint64 documentWithLines(EditorData &d, DocumentKind *kind)
    {
        const qint64 id = d.scalar("SELECT sf_id FROM kcmx JOIN sfk ON sfk.id=kcmx.sf_id WHERE dw_id=1 "
                                   "GROUP BY sf_id HAVING count(*) >= 2 ORDER BY sf_id LIMIT 1");
        *kind = d.text(QStringLiteral("SELECT 类别 FROM sfk WHERE id=%1").arg(id)) == QStringLiteral("进货")
            ? DocumentKind::Purchase : DocumentKind::Shipment;
        return id;
    }

    // A quantity typed, then another line clicked in the same column: the line
    // goes in by the move alone, and 保存 still writes it.
    void lineLeftByClickSaved()
    {
        EditorData d;
        DocumentKind kind;
        const qint64 id = documentWithLines(d, &kind);
        QVERIFY(id > 0);
        auto ed = d.open(kind, id);
        const qint64 changed = d.lines().value("id").toInt();
        DataGrid *g = ed->Grid;
        const int section = g->sectionOfColumn(g->columnOfField(QStringLiteral("sl")));
        g->setCurrentIndex(g->model()->index(0, section));
        g->edit(g->currentIndex());
        QLineEdit *e = cellEditor(g);
        QVERIFY(e);
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("5"));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(1, section)).center());
        QCOMPARE(d.lines().currentIndex(), 1);
        MessageRecorder rec;
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrYes));
        QCOMPARE(d.scalar(QStringLiteral("SELECT sl FROM kcmx WHERE id=%1").arg(changed)), 5 * U);
    }

    // A line deleted and a price changed: the stored lines and the total follow.
    void editedLinesSaved()
    {
        EditorData d;
        DocumentKind kind;
        const qint64 id = documentWithLines(d, &kind);
        const Counters before = d.counters();
        auto ed = d.open(kind, id);
        const qint64 lineCount = d.lines().recordCount();
        const qint64 deleted = d.lines().value("id").toInt();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ed->N2->trigger();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("删除此记录吗?")});
        d.lines().first();
        const qint64 changed = d.lines().value("id").toInt();
        typeCell(*ed, QStringLiteral("dj"), QStringLiteral("2"));
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("5"), Qt::Key_Return);
        rec.clear();
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrYes));
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id)), lineCount - 1);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE id=%1").arg(deleted)), 0ll);
        QCOMPARE(d.scalar(QStringLiteral("SELECT je FROM kcmx WHERE id=%1").arg(changed)), 10 * U);
        QCOMPARE(d.counters(), before);
        const QString total = kind == DocumentKind::Purchase ? QStringLiteral("结帐、应付款金额（进货）")
                                                             : QStringLiteral("应收款金额（出货）");
        QCOMPARE(d.scalar(QStringLiteral("SELECT %1 FROM sfk WHERE id=%2").arg(total).arg(id)),
                 d.scalar(QStringLiteral("SELECT sum(je) FROM kcmx WHERE sf_id=%1").arg(id)));
    }

    // The staff box: a choice is stored, an emptied box clears the staff member.
    void staffMember()
    {
        EditorData d;
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货'");
        auto ed = d.open(DocumentKind::Shipment, id);
        ModalHandlers dialogs;
        dialogs.enqueue(choose(QStringLiteral("员工编号"), QStringLiteral("Y009")));
        ed->yw->button()->trigger();
        QCOMPARE(ed->yw->text(), QStringLiteral("蒋浩然"));
        QCOMPARE(ed->chosenStaffId(), 9ll);
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), 9ll);

        d.openPartner(d.partner);
        auto again = d.open(DocumentKind::Shipment, id);
        again->setStaffName(QStringLiteral("蒋浩然"));
        again->yw->setFocus();
        again->yw->selectAll();
        QTest::keyClick(again->yw, Qt::Key_Delete);
        QCOMPARE(again->yw->text(), QString());
        QTest::mouseClick(again->Bsave, Qt::LeftButton);
        QCOMPARE(again->result(), int(mrYes));
        QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), -1ll);
    }

    // A proposal past the counter's range is shown whole and refused at save.
    void tooLongNumber()
    {
        EditorData d;
        d.conn().exec(QStringLiteral("UPDATE PH SET dh_ysk=99999999"));
        const Counters before = d.counters();
        auto ed = d.open(DocumentKind::Shipment);
        QCOMPARE(ed->dh->text(), QStringLiteral("CH100000000"));
        d.typeLine(1, U, U, U, false);
        MessageRecorder rec;
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(rec.texts()[0].contains(QStringLiteral("10")));
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->focusWidget(), static_cast<QWidget *>(ed->dh));
        QCOMPARE(d.counters(), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk WHERE 单号 LIKE 'CH1000%'"), 0ll);
        ed->dh->selectAll();
        QTest::keyClicks(ed->dh, QStringLiteral("CH-9"));
        rec.clear();
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk WHERE 单号='CH-9'"), 1ll);
    }

    // A goods item deleted while the shipment is typed: the engine refuses the
    // save, nothing is stored, and after another choice the second 保存 stores
    // the shipment once.
    void secondSaveAfterEngineError()
    {
        EditorData d;
        const Counters before = d.counters();
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        const qint64 lineRows = d.scalar("SELECT count(*) FROM kcmx");
        d.conn().exec(QStringLiteral("INSERT INTO 商品资料 (id, 商品编号, 商品名称) VALUES (99, 'SP00099', '试销样品')"));
        d.dm().DataKcsp.requery();
        auto ed = d.open(DocumentKind::Shipment);
        d.typeLine(1, 2 * U, 3 * U, 6 * U);
        d.typeLine(99, U, 4 * U, 4 * U, false);
        d.conn().exec(QStringLiteral("DELETE FROM 商品资料 WHERE id=99"));
        MessageRecorder rec;
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("［商品资料］中没有对应的记录！\n\n记录引用失败，请重新选择！")});
        QVERIFY(ed->isVisible());
        QCOMPARE(ed->focusWidget(), static_cast<QWidget *>(ed->dh));
        QCOMPARE(d.counters(), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
        QCOMPARE(d.scalar("SELECT count(*) FROM kcmx"), lineRows);
        QCOMPARE(d.lines().recordCount(), 2);

        ModalHandlers dialogs;
        d.lines().last();
        dialogs.enqueue(chooseGoods(QStringLiteral("SP00010")));
        ed->GridEditButtonClick();
        ed->GridExit();
        rec.clear();
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrYes));
        QCOMPARE(d.counters(), (Counters{before.sfk + 1, before.ysk + 1, before.yfk}));
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents + 1);
        QCOMPARE(d.scalar("SELECT count(*) FROM kcmx"), lineRows + 2);
        QCOMPARE(d.text(QStringLiteral("SELECT group_concat(kcsp_id) FROM kcmx WHERE sf_id=%1").arg(before.sfk + 1)),
                 QStringLiteral("1,10"));
    }

    // The picker lists goods in use only; the lines still name suspended goods.
    void suspendedGoodsKeepTheirNames()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        d.typeLine(3, U, U, U);
        d.conn().exec(QStringLiteral("UPDATE 商品资料 SET 暂停=1 WHERE id=3"));
        ModalHandlers dialogs;
        dialogs.enqueue(chooseGoods(QStringLiteral("SP00005")));
        ed->GridEditButtonClick();
        d.lines().first();
        QCOMPARE(field(d.lines(), "kcsp_spmc"), QStringLiteral("不锈钢椅子套装"));
        MessageRecorder rec;
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("1"));
        d.lines().last();
        typeCell(*ed, QStringLiteral("sl"), QStringLiteral("1"));
        QTest::mouseClick(ed->Bsave, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrYes));
    }

    void printAfterSave()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Purchase);
        d.typeLine(4, 2 * U, 3 * U, 6 * U, false);
        ModalHandlers dialogs;
        QString report;
        QStringList page;
        dialogs.enqueue([&](QDialog &p) {
            auto *preview = qobject_cast<ReportPreview *>(&p);
            QVERIFY(preview);
            report = preview->reportTemplate().name;
            page = preview->document().pageTexts(0);
            p.accept();
        });
        MessageRecorder rec;
        QTest::mouseClick(ed->Bprint, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(report, QStringLiteral("进货（应付款）单"));
        QVERIFY(page.join(u' ').contains(d.text("SELECT 单号 FROM sfk WHERE id=(SELECT sfk FROM PH)")));
        QCOMPARE(ed->result(), int(mrOk));

        // An unchanged document prints and closes.
        d.openPartner(d.partner);
        auto again = d.open(DocumentKind::Purchase, d.scalar("SELECT sfk FROM PH"));
        dialogs.enqueue([&](QDialog &p) { p.accept(); });
        QTest::mouseClick(again->Bprint, Qt::LeftButton);
        QCOMPARE(dialogs.shown().size(), 2);
        QCOMPARE(again->result(), int(mrOk));
    }

    void printRefusedWithoutSave()
    {
        EditorData d;
        auto ed = d.open(DocumentKind::Shipment);
        ModalHandlers dialogs;
        MessageRecorder rec;
        QTest::mouseClick(ed->Bprint, Qt::LeftButton);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("请选择商品资料！")});
        QVERIFY(dialogs.shown().isEmpty());
        QVERIFY(ed->isVisible());
    }

    void settledViewOnly()
    {
        EditorData d;
        const qint64 id = d.scalar("SELECT min(sfid_mx) FROM jzmx JOIN sfk ON sfk.id=jzmx.sfid_mx WHERE sfk.dw_id=1");
        QVERIFY(id > 0);
        const bool purchase = d.text(QStringLiteral("SELECT 类别 FROM sfk WHERE id=%1").arg(id)) == QStringLiteral("进货");
        auto ed = d.open(purchase ? DocumentKind::Purchase : DocumentKind::Shipment, id);
        ed->setSettled(true);
        QVERIFY(ed->isSettled());
        QVERIFY(!ed->Bsave->isEnabled());
        QVERIFY(!ed->Bprint->isEnabled());
        QVERIFY(ed->yjz->isVisible());
        QCOMPARE(ed->yjz->text(), QStringLiteral("此单已结帐！"));
        const QColor first = ed->yjz->palette().color(QPalette::WindowText);
        QVERIFY(first == QColor(Qt::red) || first == QColor(Qt::transparent));
        QTRY_VERIFY(ed->yjz->palette().color(QPalette::WindowText) != first);
        QVERIFY(ed->Grid->isReadOnly());
        QVERIFY(!ed->N1->isEnabled());
        // No goods button offers a change that could not be kept.
        for (int c = 0; c < ed->Grid->model()->columnCount(); ++c)
            QVERIFY(!ed->Grid->columnEditButton(c));

        // Nothing is asked: a settled document's changes are dropped.
        d.dm().DataSfk.setValue(QStringLiteral("备注"), Value(QStringLiteral("改")));
        MessageRecorder rec;
        QTest::keyClick(ed->Grid, Qt::Key_Escape);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(ed->result(), int(mrAbort));
        QVERIFY(d.text(QStringLiteral("SELECT 备注 FROM sfk WHERE id=%1").arg(id)) != QStringLiteral("改"));
    }
};

QTEST_MAIN(TestJchEditor)
#include "test_jch_editor.moc"
