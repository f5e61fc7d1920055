// The login dialog: picture, password box, 确定 and 取消; no limit on attempts.
#include "Zlogin.h"

#include "CancelKey.h"
#include "EnterAsTab.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "ZSplash.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvl {

QString TFmLogin::startCaption()
{
    return QStringLiteral("系统登录");
}

QString TFmLogin::maintenanceCaption()
{
    return QStringLiteral("验证系统登录密码后才能进行数据库维护");
}

QString TFmLogin::wrongPasswordText()
{
    return QStringLiteral("密码不正确,请重新录入！");
}

TFmLogin::TFmLogin(const QString &storedPassword, const QString &caption, QWidget *parent)
    : QDialog(parent)
    , Image1(new QLabel(this))
    , Label1(new QLabel(QStringLiteral("系统登录密码"), this))
    , kllr(new QLineEdit(this))
    , RzBitBtn1(new QPushButton(QStringLiteral("确定(&Yes)"), this))
    , Breturn(new QPushButton(QStringLiteral("取消(&Esc)"), this))
    , m_stored(storedPassword)
{
    setObjectName(QStringLiteral("FmLogin"));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(TSplash::kvlPicture());
    Image1->setFixedSize(400, 250);
    Image1->setAccessibleName(QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(kllr);
    kllr->setObjectName(QStringLiteral("kllr"));
    kllr->setEchoMode(QLineEdit::Password);
    kllr->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    kllr->setAccessibleName(Label1->text());
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    Breturn->setObjectName(QStringLiteral("Breturn"));

    auto *entry = new QHBoxLayout;
    entry->addWidget(Label1);
    entry->addWidget(kllr, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(RzBitBtn1);
    buttons->addWidget(Breturn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(Image1);
    auto *lower = new QVBoxLayout;
    lower->setContentsMargins(14, 6, 14, 0);
    lower->setSpacing(10);
    lower->addLayout(entry);
    lower->addLayout(buttons);
    layout->addLayout(lower);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RzBitBtn1, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(Breturn, &QPushButton::clicked, this, [this] { done(mrAbort); });
    EnterAsTab::install(this);
    CancelKey::attach(Breturn, this);
    kllr->setFocus();
}

bool TFmLogin::ask(const QString &storedPassword, QWidget *parent, const QString &caption)
{
    TFmLogin dialog(storedPassword, caption, parent);
    ModalRunner::exec(dialog);
    return !dialog.endRequested();
}

bool TFmLogin::endRequested() const
{
    return m_endRequested;
}

bool TFmLogin::passwordMatches() const
{
    return kllr->text().trimmed() == m_stored;
}

void TFmLogin::FormClose(int result)
{
    if (result == mrAbort) {
        m_endRequested = true;
        QDialog::done(result);
        return;
    }
    if (!passwordMatches()) {
        Messages::warning(wrongPasswordText(), this);
        kllr->setFocus();
        kllr->selectAll();
        return;
    }
    QDialog::done(result);
}

void TFmLogin::done(int result)
{
    FormClose(result);
}

void TFmLogin::reject()
{
    done(mrAbort);
}

void TFmLogin::closeEvent(QCloseEvent *event)
{
    // The close box checks the password like 确定; the dialog stays when it does not match.
    event->ignore();
    done(mrCancel);
}

} // namespace kvl
