// Progress window: raised frame, search animation at the left, the centred text.
#include "ZProgress.h"

#include "SearchAnimation.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace kvl {

TProgress_Frm::TProgress_Frm(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                              | Qt::WindowDoesNotAcceptFocus)
    , Label1(new QLabel(QStringLiteral("正在搜集数据，请稍候......")))
    , Animate1(new SearchAnimation)
{
    setObjectName(QStringLiteral("Progress_Frm"));
    setFixedSize(262, 64);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setAutoFillBackground(true);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setParent(frame);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setParent(frame);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    auto *inner = new QHBoxLayout(frame);
    inner->setContentsMargins(8, 4, 8, 4);
    inner->setSpacing(6);
    inner->addWidget(Animate1, 0, Qt::AlignVCenter);
    inner->addWidget(Label1, 1);

    ProgressIndicator::setCurrent(this);
}

TProgress_Frm::~TProgress_Frm() = default;

void TProgress_Frm::centreOnMainWindow()
{
    QRect area;
    if (QWidget *main = parentWidget())
        area = main->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    QRect r = frameGeometry();
    r.moveCenter(area.center());
    move(r.topLeft());
}

void TProgress_Frm::showProgress(const QString &text)
{
    Label1->setText(text);
    if (!isVisible()) {
        centreOnMainWindow();
        show();
    }
    raise();
    Animate1->start();
    repaint();
    // The work that follows blocks the event loop: let the window appear with its new text.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TProgress_Frm::hideProgress()
{
    Animate1->stop();
    hide();
}

bool TProgress_Frm::isProgressShown() const
{
    return isVisible();
}

QString TProgress_Frm::progressText() const
{
    return Label1->text();
}

} // namespace kvl
