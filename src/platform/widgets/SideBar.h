// The main window's navigation bar: groups of large-icon items on a colour gradient.
#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QIcon;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace kvl {

class SideBar : public QWidget
{
    Q_OBJECT
public:
    explicit SideBar(QWidget *parent = nullptr);

    // One group shows its items at a time; the others show their headers only, and a click on
    // a header opens that group. Returns the group's index.
    int addGroup(const QString &caption);
    // Items are push-and-forget: they do not stay selected. The icon is shown at iconSize().
    QToolButton *addItem(int group, const QString &caption, int tag, const QIcon &icon);

    void setActiveGroup(int group);
    int activeGroup() const;
    int groupCount() const;
    QPushButton *groupHeader(int group) const;
    QToolButton *item(int tag) const;
    QList<int> tags(int group) const;

    // Left-to-right gradient behind the items; silver to orange unless set.
    void setGradient(const QColor &left, const QColor &right);
    void setItemTextColor(const QColor &color);
    QSize iconSize() const;

signals:
    void itemClicked(int tag);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Group
    {
        QPushButton *header;
        QWidget *page;
        QVBoxLayout *items;
        QList<QToolButton *> buttons;
    };
    void styleItem(QToolButton *button) const;

    QVBoxLayout *m_layout;
    QList<Group> m_groups;
    int m_active = -1;
    QColor m_left{192, 192, 192};
    QColor m_right{255, 128, 0};
    QColor m_text{Qt::white};
};

} // namespace kvl
