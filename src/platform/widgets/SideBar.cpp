// Side bar built from ordinary buttons, so keyboard and assistive technology reach every item.
#include "SideBar.h"

#include <QGraphicsDropShadowEffect>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

namespace {
const char *const kTag = "kvlSideBarTag";
}

SideBar::SideBar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int SideBar::addGroup(const QString &caption)
{
    Group g;
    g.header = new QPushButton(caption, this);
    g.header->setObjectName(QStringLiteral("SideBarGroup%1").arg(m_groups.size()));
    g.header->setFocusPolicy(Qt::TabFocus);
    g.page = new QWidget(this);
    g.page->setAttribute(Qt::WA_TranslucentBackground);
    g.items = new QVBoxLayout(g.page);
    g.items->setContentsMargins(2, 8, 2, 8);
    g.items->setSpacing(6);
    g.items->addStretch(1);
    m_layout->addWidget(g.header);
    m_layout->addWidget(g.page, 1);
    const int index = int(m_groups.size());
    connect(g.header, &QPushButton::clicked, this, [this, index] { setActiveGroup(index); });
    m_groups.append(g);
    if (m_active < 0)
        setActiveGroup(index);
    else
        g.page->hide();
    return index;
}

void SideBar::styleItem(QToolButton *button) const
{
    QPalette pal = button->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::ButtonText, m_text);
        pal.setColor(group, QPalette::WindowText, m_text);
        // The hover and pressed panels in a deep orange: on the light button colour the white
        // lettering would vanish.
        pal.setColor(group, QPalette::Button, QColor(205, 102, 20));
    }
    button->setPalette(pal);
    // White lettering over the light silver end of the gradient needs a dark edge to be read.
    auto *shadow = new QGraphicsDropShadowEffect(button);
    shadow->setOffset(1, 1);
    shadow->setBlurRadius(3);
    shadow->setColor(QColor(0, 0, 0, 170));
    button->setGraphicsEffect(shadow);
}

QToolButton *SideBar::addItem(int group, const QString &caption, int tag, const QIcon &icon)
{
    Group &g = m_groups[group];
    auto *b = new QToolButton(g.page);
    b->setObjectName(QStringLiteral("SideBarItem%1").arg(tag));
    b->setText(caption);
    b->setIcon(icon);
    b->setIconSize(iconSize());
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setProperty(kTag, tag);
    styleItem(b);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    connect(b, &QToolButton::clicked, this, [this, tag] { emit itemClicked(tag); });
    g.items->insertWidget(g.items->count() - 1, b, 0, Qt::AlignHCenter);
    g.buttons.append(b);
    return b;
}

void SideBar::setActiveGroup(int group)
{
    if (group < 0 || group >= m_groups.size())
        return;
    m_active = group;
    for (int i = 0; i < m_groups.size(); ++i) {
        m_groups[i].page->setVisible(i == group);
        m_layout->setStretchFactor(m_groups[i].page, i == group ? 1 : 0);
    }
}

int SideBar::activeGroup() const
{
    return m_active;
}

int SideBar::groupCount() const
{
    return int(m_groups.size());
}

QPushButton *SideBar::groupHeader(int group) const
{
    return m_groups.value(group).header;
}

QToolButton *SideBar::item(int tag) const
{
    for (const Group &g : m_groups) {
        for (QToolButton *b : g.buttons) {
            if (b->property(kTag).toInt() == tag)
                return b;
        }
    }
    return nullptr;
}

QList<int> SideBar::tags(int group) const
{
    QList<int> out;
    for (QToolButton *b : m_groups.value(group).buttons)
        out.append(b->property(kTag).toInt());
    return out;
}

void SideBar::setGradient(const QColor &left, const QColor &right)
{
    m_left = left;
    m_right = right;
    update();
}

void SideBar::setItemTextColor(const QColor &color)
{
    m_text = color;
    for (const Group &g : std::as_const(m_groups)) {
        for (QToolButton *b : g.buttons)
            styleItem(b);
    }
}

QSize SideBar::iconSize() const
{
    return QSize(32, 32);
}

void SideBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Behind the headers the window colour, so their rounded corners show no gradient.
    p.fillRect(rect(), palette().color(QPalette::Window));
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, m_left);
    gradient.setColorAt(1, m_right);
    const QRect items = m_active >= 0 ? m_groups[m_active].page->geometry() : rect();
    p.fillRect(items, gradient);
}

} // namespace kvl
