// Scope guard: a widget does not repaint while many changes are made to it.
#pragma once

#include <QPointer>
#include <QWidget>

namespace kvl {

class FrozenDisplay
{
public:
    explicit FrozenDisplay(QWidget *widget);
    // Restores the state found at construction, so nested guards leave the outer one frozen;
    // a widget deleted meanwhile is left alone.
    ~FrozenDisplay();
    FrozenDisplay(const FrozenDisplay &) = delete;
    FrozenDisplay &operator=(const FrozenDisplay &) = delete;

private:
    QPointer<QWidget> m_widget;
    bool m_wasEnabled;
};

} // namespace kvl
