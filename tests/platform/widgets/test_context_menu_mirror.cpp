// The context menu that repeats a tool bar: names, commands, and state that follows the buttons.
#include "ContextMenuMirror.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace kvl;

namespace {
// A list window's tool bar: BSelect (pick mode only), a separator, Badd, Bedit, Bcut, BReturn.
class ListWindow : public QWidget
{
public:
    ListWindow()
    {
        auto *l = new QVBoxLayout(this);
        auto button = [&](const char *name, const char *caption) {
            auto *b = new QToolButton(this);
            b->setObjectName(QString::fromLatin1(name));
            b->setText(QString::fromUtf8(caption));
            l->addWidget(b);
            return b;
        };
        BSelect = button("BSelect", "选定");
        ToolbarSep971 = new QFrame(this);
        ToolbarSep971->setObjectName("ToolbarSep971");
        l->addWidget(ToolbarSep971);
        Badd = button("Badd", "添加");
        Bedit = button("Bedit", "修改");
        Bcut = button("Bcut", "删除");
        BReturn = button("BReturn", "返回");
        BSelect->hide();
        BSelect->setEnabled(false);
        ToolbarSep971->hide();

        PopupMenu1 = new QMenu(this);
        mirror = new ContextMenuMirror(PopupMenu1, this);
        mirror->mirror(BSelect, QKeySequence(Qt::Key_Return));
        mirror->addSeparator("N11", ToolbarSep971);
        mirror->mirror(Badd, QKeySequence(Qt::CTRL | Qt::Key_Insert));
        mirror->mirror(Bedit, QKeySequence(Qt::CTRL | Qt::Key_E));
        mirror->mirror(Bcut, QKeySequence(Qt::CTRL | Qt::Key_Delete));
        mirror->addSeparator("N13");
        mirror->mirror(BReturn, QKeySequence(Qt::Key_Escape));
    }
    QAction *item(const char *name) { return PopupMenu1->findChild<QAction *>(QString::fromLatin1(name)); }

    QToolButton *BSelect, *Badd, *Bedit, *Bcut, *BReturn;
    QFrame *ToolbarSep971;
    QMenu *PopupMenu1;
    ContextMenuMirror *mirror;
};
} // namespace

class TestContextMenuMirror : public QObject
{
    Q_OBJECT
private slots:
    void itemsNamedAndCaptioned();
    void enabledFollowsButtons_data();
    void enabledFollowsButtons();
    void visibilityFollowsButtonsAndSeparators();
    void choosingItemClicksButton();
    void shortcutWorksWithMenuClosed();
    void toolBarActionsMirrored();
};

void TestContextMenuMirror::itemsNamedAndCaptioned()
{
    ListWindow w;
    QStringList names, captions;
    for (QAction *a : w.PopupMenu1->actions()) {
        names << a->objectName();
        captions << a->text();
    }
    QCOMPARE(names, (QStringList{"NBSelect", "N11", "NBadd", "NBedit", "NBcut", "N13", "NBReturn"}));
    QCOMPARE(captions, (QStringList{"选定", "", "添加", "修改", "删除", "", "返回"}));
    QCOMPARE(w.item("NBedit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
}

void TestContextMenuMirror::enabledFollowsButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Bedit") << "Bedit";
    QTest::newRow("Bcut") << "Bcut";
    QTest::newRow("BSelect") << "BSelect";
}

void TestContextMenuMirror::enabledFollowsButtons()
{
    QFETCH(QString, button);
    ListWindow w;
    w.show();
    auto *b = w.findChild<QToolButton *>(button);
    QAction *item = w.item(qPrintable("N" + button));
    b->show();   // a hidden item is never enabled (Qt's rule for actions)
    for (bool on : {true, false, true}) {
        b->setEnabled(on);
        QCOMPARE(item->isEnabled(), on);
    }
    // A whole tool bar switched off takes its items with it.
    w.setEnabled(false);
    QVERIFY(!item->isEnabled());
}

void TestContextMenuMirror::visibilityFollowsButtonsAndSeparators()
{
    ListWindow w;     // not shown yet: state must follow all the same
    QVERIFY(!w.item("NBSelect")->isVisible());
    QVERIFY(!w.item("N11")->isVisible());
    QVERIFY(w.item("N13")->isVisible());
    // Pick mode: the picker shows and enables BSelect and its separator.
    w.BSelect->show();
    w.BSelect->setEnabled(true);
    w.ToolbarSep971->show();
    QVERIFY(w.item("NBSelect")->isVisible());
    QVERIFY(w.item("NBSelect")->isEnabled());
    QVERIFY(w.item("N11")->isVisible());
    w.Bcut->hide();
    QVERIFY(!w.item("NBcut")->isVisible());
}

void TestContextMenuMirror::choosingItemClicksButton()
{
    ListWindow w;
    QSignalSpy added(w.Badd, &QToolButton::clicked);
    w.item("NBadd")->trigger();
    QCOMPARE(added.count(), 1);
    w.Badd->setEnabled(false);
    w.item("NBadd")->trigger();   // a disabled item does nothing, like its button
    QCOMPARE(added.count(), 1);
}

void TestContextMenuMirror::shortcutWorksWithMenuClosed()
{
    ListWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    w.Bedit->setFocus();
    QSignalSpy edited(w.Bedit, &QToolButton::clicked);
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(edited.count(), 1);
    w.Bedit->setEnabled(false);
    w.Badd->setFocus();
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(edited.count(), 1);
}

void TestContextMenuMirror::toolBarActionsMirrored()
{
    QWidget window;
    QToolBar bar(&window);
    QAction *Bprint = bar.addAction(QStringLiteral("打印"));
    Bprint->setObjectName("Bprint");
    QAction *sep = bar.addSeparator();
    QMenu menu(&window);
    ContextMenuMirror mirror(&menu, &window);
    QAction *item = mirror.mirror(Bprint);
    QAction *n13 = mirror.addSeparator("N13", sep);
    QCOMPARE(item->objectName(), QStringLiteral("NBprint"));
    QSignalSpy printed(Bprint, &QAction::triggered);
    item->trigger();
    QCOMPARE(printed.count(), 1);
    Bprint->setEnabled(false);
    QVERIFY(!item->isEnabled());
    Bprint->setVisible(false);
    QVERIFY(!item->isVisible());
    sep->setVisible(false);
    QVERIFY(!n13->isVisible());
}

QTEST_MAIN(TestContextMenuMirror)
#include "test_context_menu_mirror.moc"
