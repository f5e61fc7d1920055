// The modal runner's seam: dialogs inside dialogs driven by queued handlers, no timers.
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace kvl;

namespace {
// A picker-like dialog: an edit and a button that opens a nested dialog and copies its text.
class Outer : public QDialog
{
public:
    Outer()
    {
        setObjectName("Outer");
        auto *l = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        edit->setObjectName("dw");
        pick = new QPushButton("选择", this);
        pick->setObjectName("SpeedButton1");
        ok = new QPushButton("确定", this);
        ok->setObjectName("Bok");
        l->addWidget(edit);
        l->addWidget(pick);
        l->addWidget(ok);
        connect(pick, &QPushButton::clicked, this, [this] {
            QDialog inner(this);
            inner.setObjectName("Inner");
            auto *choice = new QLineEdit(&inner);
            choice->setObjectName("choice");
            innerResult = ModalRunner::exec(inner);
            if (innerResult == mrOk)
                edit->setText(choice->text());
        });
        connect(ok, &QPushButton::clicked, this, [this] { done(mrYes); });
    }
    QLineEdit *edit;
    QPushButton *pick;
    QPushButton *ok;
    int innerResult = -1;
};
} // namespace

class TestModalRunner : public QObject
{
    Q_OBJECT
private slots:
    void nestedDialogDrivenInsideHandler();
    void dialogIsShownAndActiveForItsHandler();
    void handlerLeavingDialogOpenIsCounted();
    void dialogWithoutHandlerIsRejected();
    void deleteOnCloseHonoured();
    void innerScopeTakesOver();
};

void TestModalRunner::nestedDialogDrivenInsideHandler()
{
    ModalHandlers handlers;
    handlers
        .enqueue([](QDialog &d) {
            auto *outer = static_cast<Outer *>(&d);
            QTest::mouseClick(outer->pick, Qt::LeftButton);   // opens Inner, handled below
            QCOMPARE(outer->edit->text(), QStringLiteral("ABC-12"));
            QTest::mouseClick(outer->ok, Qt::LeftButton);
        })
        .enqueue([](QDialog &d) {
            auto *choice = d.findChild<QLineEdit *>("choice");
            QVERIFY(choice);
            QTest::keyClicks(choice, QStringLiteral("ABC-12"));
            d.done(mrOk);
        });
    Outer outer;
    QCOMPARE(ModalRunner::exec(outer), int(mrYes));
    QCOMPARE(outer.innerResult, int(mrOk));
    QCOMPARE(handlers.shown(), (QStringList{"Outer", "Inner"}));
    QCOMPARE(handlers.pending(), 0);
    QCOMPARE(handlers.leftOpen(), 0);
    QVERIFY(!outer.isVisible());
}

void TestModalRunner::dialogIsShownAndActiveForItsHandler()
{
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);
    ModalHandlers handlers;
    bool visible = false, active = false, modal = false;
    handlers.enqueue([&](QDialog &d) {
        visible = d.isVisible();
        active = QApplication::activeWindow() == &d;
        modal = d.isModal();
        d.accept();
    });
    QDialog d(&owner);
    QCOMPARE(ModalRunner::exec(d), int(QDialog::Accepted));
    QVERIFY(visible);
    QVERIFY(active);
    QVERIFY(modal);
    QCOMPARE(QApplication::activeWindow(), &owner);
}

void TestModalRunner::handlerLeavingDialogOpenIsCounted()
{
    ModalHandlers handlers;
    handlers.enqueue([](QDialog &) {});
    QDialog d;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("left dialog .* open"));
    QCOMPARE(ModalRunner::exec(d), int(QDialog::Rejected));
    QCOMPARE(handlers.leftOpen(), 1);
    QVERIFY(!d.isVisible());
}

void TestModalRunner::dialogWithoutHandlerIsRejected()
{
    ModalHandlers handlers;
    QDialog d;
    d.setObjectName("Surprise");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no handler queued for dialog Surprise"));
    QCOMPARE(ModalRunner::exec(d), int(QDialog::Rejected));
    QCOMPARE(handlers.unexpected(), 1);
    QVERIFY(!d.isVisible());
}

void TestModalRunner::deleteOnCloseHonoured()
{
    ModalHandlers handlers;
    handlers.enqueue([](QDialog &d) { d.done(mrAbort); });
    QPointer<QDialog> d = new QDialog;
    d->setAttribute(Qt::WA_DeleteOnClose);
    QCOMPARE(ModalRunner::exec(*d), int(mrAbort));
    QVERIFY(d.isNull());
}

void TestModalRunner::innerScopeTakesOver()
{
    ModalHandlers outer;
    outer.enqueue([](QDialog &d) {
        ModalHandlers inner;
        inner.enqueue([](QDialog &n) { n.done(mrNo); });
        QDialog nested(&d);
        QCOMPARE(ModalRunner::exec(nested), int(mrNo));
        QCOMPARE(inner.pending(), 0);
        d.done(mrOk);
    });
    QDialog d;
    QCOMPARE(ModalRunner::exec(d), int(mrOk));
    QCOMPARE(outer.shown().size(), 1);
    QCOMPARE(ModalHandlers::active(), &outer);
}

QTEST_MAIN(TestModalRunner)
#include "test_modal_runner.moc"
