// Enter as Tab and Esc as cancel, on real controls of a shown window.
#include "CancelKey.h"
#include "EnterAsTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

using namespace kvl;

namespace {
// An edit dialog in the program's manner: edits, a memo, a grid and 保存/返回.
class EditDialog : public QDialog
{
public:
    EditDialog()
    {
        auto *l = new QVBoxLayout(this);
        auto add = [&](QWidget *w, const char *name) {
            w->setObjectName(QString::fromLatin1(name));
            l->addWidget(w);
            return w;
        };
        add(new QLineEdit, "dh");
        add(new QLineEdit, "hidden")->hide();
        add(new QLineEdit, "off")->setEnabled(false);
        add(new QDateEdit, "zdrq");
        add(new QSpinBox, "sl");
        auto *combo = new QComboBox;
        combo->setEditable(true);
        add(combo, "dw");
        add(new QCheckBox("已结帐"), "CheckJZ");
        add(new QPlainTextEdit, "bz");
        auto *grid = new QTableView;
        grid->setModel(new QStandardItemModel(2, 2, grid));
        add(grid, "Grid");
        add(new QPushButton("保存"), "Bsave");
        add(new QPushButton("返回"), "BReturn");
        EnterAsTab::install(this);
    }
    template<class T> T *c(const char *name) { return findChild<T *>(QString::fromLatin1(name)); }
};
} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterMovesAlongTabChain_data();
    void enterMovesAlongTabChain();
    void enterStaysWithControlsThatWantIt_data();
    void enterStaysWithControlsThatWantIt();
    void enterOnButtonClicksIt();
    void enterLeftToMarkedControl();
    void enterOutsideRootUntouched();
    void escapeClicksCancelButton();
    void escapeIgnoredWhileButtonDisabled();
    void escapeLeftToGridEditor();

private:
    EditDialog *m_d = nullptr;
};

void TestKeyboard::init()
{
    m_d = new EditDialog;
    m_d->show();
    QApplication::setActiveWindow(m_d);
}

void TestKeyboard::cleanup()
{
    delete m_d;
    m_d = nullptr;
}

void TestKeyboard::enterMovesAlongTabChain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");
    QTest::newRow("edit skips hidden and disabled") << "dh" << "zdrq" << int(Qt::Key_Return);
    QTest::newRow("date edit leaves, not next section") << "zdrq" << "sl" << int(Qt::Key_Return);
    QTest::newRow("keypad enter") << "sl" << "dw" << int(Qt::Key_Enter);
    QTest::newRow("editable combo") << "dw" << "CheckJZ" << int(Qt::Key_Return);
    QTest::newRow("check box") << "CheckJZ" << "bz" << int(Qt::Key_Return);
}

void TestKeyboard::enterMovesAlongTabChain()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);
    auto *start = m_d->findChild<QWidget *>(from);
    start->setFocus();
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClick(start, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget(), m_d->findChild<QWidget *>(to));
}

void TestKeyboard::enterStaysWithControlsThatWantIt_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("memo") << "bz";
    QTest::newRow("grid") << "Grid";
}

void TestKeyboard::enterStaysWithControlsThatWantIt()
{
    QFETCH(QString, control);
    auto *w = m_d->findChild<QWidget *>(control);
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Return);
    if (auto *memo = qobject_cast<QPlainTextEdit *>(w))
        QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
    QCOMPARE(QApplication::focusWidget(), w);
}

void TestKeyboard::enterOnButtonClicksIt()
{
    auto *save = m_d->c<QPushButton>("Bsave");
    QSignalSpy clicked(save, &QPushButton::clicked);
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(QApplication::focusWidget(), save);
}

void TestKeyboard::enterLeftToMarkedControl()
{
    auto *dh = m_d->c<QLineEdit>("dh");
    EnterAsTab::setWantsEnter(dh);
    QSignalSpy returned(dh, &QLineEdit::returnPressed);
    dh->setFocus();
    QTest::keyClick(dh, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
}

void TestKeyboard::enterOutsideRootUntouched()
{
    QWidget other;
    auto *a = new QLineEdit(&other);
    new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    a->setFocus();
    QSignalSpy returned(a, &QLineEdit::returnPressed);
    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
    QCOMPARE(QApplication::focusWidget(), a);
}

void TestKeyboard::escapeClicksCancelButton()
{
    auto *back = m_d->c<QPushButton>("BReturn");
    CancelKey::attach(back);
    QSignalSpy clicked(back, &QPushButton::clicked);
    QSignalSpy rejected(m_d, &QDialog::rejected);
    auto *dh = m_d->c<QLineEdit>("dh");
    dh->setFocus();
    QTest::keyClick(dh, Qt::Key_Escape);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(rejected.count(), 0);   // the button decides, not the dialog's own Esc
}

void TestKeyboard::escapeIgnoredWhileButtonDisabled()
{
    auto *back = m_d->c<QPushButton>("BReturn");
    CancelKey::attach(back);
    back->setEnabled(false);
    QSignalSpy clicked(back, &QPushButton::clicked);
    auto *dh = m_d->c<QLineEdit>("dh");
    dh->setFocus();
    QTest::keyClick(dh, Qt::Key_Escape);
    QCOMPARE(clicked.count(), 0);
}

void TestKeyboard::escapeLeftToGridEditor()
{
    auto *back = m_d->c<QPushButton>("BReturn");
    CancelKey::attach(back);
    QSignalSpy clicked(back, &QPushButton::clicked);
    auto *grid = m_d->c<QTableView>("Grid");
    grid->setFocus();
    grid->edit(grid->model()->index(0, 0));
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(clicked.count(), 0);
    // The edit is over; now Esc reaches the button.
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
