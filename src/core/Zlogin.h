// TFmLogin: asks for the login password at start-up and before database maintenance.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kvl {

class TFmLogin : public QDialog
{
    Q_OBJECT
public:
    static QString startCaption();        // "系统登录"
    static QString maintenanceCaption();  // "验证系统登录密码后才能进行数据库维护"
    static QString wrongPasswordText();   // "密码不正确,请重新录入！"

    // `storedPassword` is compared as it stands; the typed text is trimmed first.
    TFmLogin(const QString &storedPassword, const QString &caption = startCaption(),
             QWidget *parent = nullptr);

    // Shows the dialog modally (through the modal runner) over `parent`. True when the right
    // password was given; false when the user cancelled, and the program is to end.
    static bool ask(const QString &storedPassword, QWidget *parent,
                    const QString &caption = startCaption());

    // Set when the dialog closed through 取消 or Esc.
    bool endRequested() const;

    // Every way of closing comes here: the result Abort ends the program, any other result
    // (确定 with Yes, the close box with Cancel) closes only after the password matched.
    void done(int result) override;
    void reject() override;

    QLabel *Image1;
    QLabel *Label1;
    QLineEdit *kllr;
    QPushButton *RzBitBtn1;
    QPushButton *Breturn;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormClose(int result);
    bool passwordMatches() const;

    QString m_stored;
    bool m_endRequested = false;
};

} // namespace kvl
