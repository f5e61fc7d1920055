// The splash window and the drawing of the "KVL" picture.
#include "ZSplash.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

namespace kvl {

namespace {

QPixmap drawPicture()
{
    const int w = 400, h = 250;
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0, QColor(18, 44, 92));
    sky.setColorAt(0.6, QColor(32, 88, 150));
    sky.setColorAt(1, QColor(230, 120, 20));
    p.fillRect(0, 0, w, h, sky);

    // A soft glow behind the letters and a few ledger lines across the lower part.
    QRadialGradient glow(QPointF(w * 0.33, h * 0.38), w * 0.45);
    glow.setColorAt(0, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(0, 0, w, h, glow);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int y = 150; y < h; y += 14)
        p.drawLine(0, y, w, y);

    // Rising bars: receivables and payables kept in balance.
    const int bars[] = {34, 52, 44, 70, 62, 88};
    for (int i = 0; i < 6; ++i) {
        const QRectF bar(268 + i * 19, 200 - bars[i], 13, bars[i]);
        QLinearGradient g(bar.topLeft(), bar.bottomLeft());
        g.setColorAt(0, QColor(255, 196, 90, 230));
        g.setColorAt(1, QColor(255, 140, 0, 150));
        p.fillRect(bar, g);
    }

    QFont big(QStringLiteral("Sans Serif"));
    big.setPixelSize(86);
    big.setBold(true);
    big.setLetterSpacing(QFont::PercentageSpacing, 108);
    QPainterPath kvl;
    kvl.addText(28, 122, big, QStringLiteral("KVL"));
    p.fillPath(kvl.translated(3, 4), QColor(0, 0, 0, 90));
    QLinearGradient metal(0, 40, 0, 125);
    metal.setColorAt(0, QColor(255, 255, 255));
    metal.setColorAt(1, QColor(200, 214, 232));
    p.fillPath(kvl, metal);

    QFont name;
    name.setPixelSize(23);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRect(30, 142, 340, 32), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("应收应付款管理系统"));

    QFont small;
    small.setPixelSize(14);
    p.setFont(small);
    p.setPen(QColor(235, 240, 250));
    p.drawText(QRect(30, 176, 300, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("《Kavelo》  版本 3.6"));

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pm;
}

} // namespace

QPixmap TSplash::kvlPicture()
{
    static const QPixmap picture = drawPicture();
    return picture;
}

TSplash::TSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(402, 252);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, 400, 250);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(kvlPicture());
    Image1->setAccessibleName(QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
}

void TSplash::showNow()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    repaint();
    // The start-up work that follows keeps the event loop from running; let the window appear.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kvl
