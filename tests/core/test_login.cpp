// The login dialog driven as a user would, through the modal runner and the message seam.
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "Zlogin.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kvl;

namespace {
enum class Confirm { Button, CloseBox, EnterKeys };

// Types one attempt the way the row says and confirms it.
void attempt(TFmLogin &login, const QString &typed, Confirm how)
{
    login.kllr->setFocus();
    login.kllr->clear();
    login.kllr->insert(typed);
    switch (how) {
    case Confirm::Button:
        QTest::mouseClick(login.RzBitBtn1, Qt::LeftButton);
        break;
    case Confirm::CloseBox:
        login.close();
        break;
    case Confirm::EnterKeys:
        QTest::keyClick(login.kllr, Qt::Key_Return);   // moves on to 确定
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    }
}
} // namespace

Q_DECLARE_METATYPE(Confirm)

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void attempts_data();
    void attempts();
    void escapeEndsWithoutCheck();
    void cancelButtonEnds();
    void enterMovesFromPasswordToButton();
    void controlsAndCaptions();
    void maintenanceCaption();
};

void TestLogin::attempts_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<Confirm>("confirm");
    QTest::addColumn<bool>("accepted");   // else still open after the last attempt
    QTest::addColumn<int>("refusals");

    QTest::newRow("right password") << "abc123" << QStringList{"abc123"} << Confirm::Button << true << 0;
    QTest::newRow("wrong then right")
        << "abc123" << QStringList{"abc", "abc123"} << Confirm::Button << true << 1;
    QTest::newRow("typed blanks trimmed")
        << "abc123" << QStringList{"  abc123 "} << Confirm::Button << true << 0;
    QTest::newRow("other letter case refused")
        << "abc123" << QStringList{"ABC123"} << Confirm::Button << false << 1;
    QTest::newRow("stored text not trimmed")
        << " abc" << QStringList{" abc"} << Confirm::Button << false << 1;
    QTest::newRow("chinese password") << "密码" << QStringList{"密码"} << Confirm::Button << true << 0;
    QTest::newRow("close box checks like 确定")
        << "abc123" << QStringList{"abc123"} << Confirm::CloseBox << true << 0;
    QTest::newRow("close box with wrong password stays")
        << "abc123" << QStringList{"abc12"} << Confirm::CloseBox << false << 1;
    QTest::newRow("no limit on attempts")
        << "abc123" << QStringList{"1", "2", "3", "4", "5", "6", "abc123"} << Confirm::Button
        << true << 6;
    QTest::newRow("enter, enter") << "abc123" << QStringList{"abc123"} << Confirm::EnterKeys
                                  << true << 0;
}

void TestLogin::attempts()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, typed);
    QFETCH(Confirm, confirm);
    QFETCH(bool, accepted);
    QFETCH(int, refusals);

    MessageRecorder messages;
    ModalHandlers handlers;
    bool openAfterEachRefusal = true;
    bool focusBackOnPassword = true;
    handlers.enqueue([&](QDialog &d) {
        auto &login = static_cast<TFmLogin &>(d);
        for (const QString &t : typed) {
            const int before = int(messages.transcript().size());
            attempt(login, t, confirm);
            if (messages.transcript().size() > before) {
                openAfterEachRefusal = openAfterEachRefusal && login.isVisible();
                focusBackOnPassword = focusBackOnPassword
                    && QApplication::focusWidget() == login.kllr;
            }
        }
        if (login.isVisible())
            QTest::keyClick(login.kllr, Qt::Key_Escape);
    });
    QWidget mainWindow;
    mainWindow.show();
    const bool result = TFmLogin::ask(stored, &mainWindow);

    QCOMPARE(result, accepted);
    QCOMPARE(int(messages.transcript().size()), refusals);
    for (const ShownMessage &m : messages.transcript()) {
        QCOMPARE(m.text, QStringLiteral("密码不正确,请重新录入！"));
        QCOMPARE(m.kind, MessageKind::Warning);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QCOMPARE(m.title, QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
    }
    QVERIFY(openAfterEachRefusal);
    QVERIFY(focusBackOnPassword);
    QCOMPARE(handlers.leftOpen(), 0);
}

void TestLogin::escapeEndsWithoutCheck()
{
    MessageRecorder messages;
    ModalHandlers handlers;
    int result = -1;
    handlers.enqueue([&](QDialog &d) {
        auto &login = static_cast<TFmLogin &>(d);
        login.kllr->insert(QStringLiteral("wrong"));
        QTest::keyClick(login.kllr, Qt::Key_Escape);
    });
    TFmLogin login(QStringLiteral("abc123"));
    result = ModalRunner::exec(login);
    QCOMPARE(result, int(mrAbort));
    QVERIFY(login.endRequested());
    QVERIFY(messages.transcript().isEmpty());
}

void TestLogin::cancelButtonEnds()
{
    MessageRecorder messages;
    ModalHandlers handlers;
    handlers.enqueue([](QDialog &d) {
        QTest::mouseClick(d.findChild<QPushButton *>("Breturn"), Qt::LeftButton);
    });
    QVERIFY(!TFmLogin::ask(QStringLiteral("abc123"), nullptr));
    QVERIFY(messages.transcript().isEmpty());
}

void TestLogin::enterMovesFromPasswordToButton()
{
    ModalHandlers handlers;
    QWidget *afterEnter = nullptr;
    handlers.enqueue([&](QDialog &d) {
        auto &login = static_cast<TFmLogin &>(d);
        QCOMPARE(QApplication::focusWidget(), login.kllr);
        QTest::keyClick(login.kllr, Qt::Key_Return);
        afterEnter = QApplication::focusWidget();
        login.done(mrAbort);
    });
    TFmLogin login(QStringLiteral("x"));
    ModalRunner::exec(login);
    QCOMPARE(afterEnter, login.RzBitBtn1);
}

void TestLogin::controlsAndCaptions()
{
    TFmLogin login(QStringLiteral("x"));
    QCOMPARE(login.windowTitle(), QStringLiteral("系统登录"));
    QCOMPARE(login.findChild<QLineEdit *>("kllr"), login.kllr);
    QCOMPARE(login.kllr->echoMode(), QLineEdit::Password);
    QCOMPARE(login.findChild<QPushButton *>("RzBitBtn1")->text(), QStringLiteral("确定(&Yes)"));
    QCOMPARE(login.findChild<QPushButton *>("Breturn")->text(), QStringLiteral("取消(&Esc)"));
    QCOMPARE(login.Label1->text(), QStringLiteral("系统登录密码"));
    QCOMPARE(login.Label1->buddy(), login.kllr);
    QCOMPARE(login.kllr->accessibleName(), QStringLiteral("系统登录密码"));
    QCOMPARE(login.findChild<QLabel *>("Image1")->pixmap().size(), QSize(400, 250));
    login.show();
    // Fixed border: the layout fixes the size, wide enough for the picture.
    QCOMPARE(login.minimumSize(), login.maximumSize());
    QVERIFY(login.width() >= 400);
}

void TestLogin::maintenanceCaption()
{
    MessageRecorder messages;
    ModalHandlers handlers;
    QString caption;
    handlers.enqueue([&](QDialog &d) {
        caption = d.windowTitle();
        QTest::mouseClick(d.findChild<QPushButton *>("Breturn"), Qt::LeftButton);
    });
    QVERIFY(!TFmLogin::ask(QStringLiteral("pw"), nullptr, TFmLogin::maintenanceCaption()));
    QCOMPARE(caption, QStringLiteral("验证系统登录密码后才能进行数据库维护"));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"
