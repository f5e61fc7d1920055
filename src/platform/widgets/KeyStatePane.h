// Status pane that shows its caption in full colour while a lock key is on, greyed while off.
#pragma once

#include "LockKeys.h"
#include "StatusPane.h"

#include <QTimer>

#include <functional>
#include <optional>

namespace kvl {

class KeyStatePane : public StatusPane
{
    Q_OBJECT
public:
    using StateSource = std::function<std::optional<bool>(LockKey)>;

    // "数字" for Num Lock, "大写" for Caps Lock, as the caller chooses.
    KeyStatePane(LockKey key, const QString &caption, QWidget *parent = nullptr);

    // The state comes from LockKeys unless another source is set (tests drive the pane so).
    void setStateSource(StateSource source);
    // Reads the state again; runs on lock-key presses, on activation and twice a second,
    // because the key may change while another program has the keyboard.
    void refresh();

    LockKey key() const;
    bool isOn() const;
    bool isKnown() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LockKey m_key;
    StateSource m_source;
    std::optional<bool> m_state;
    QTimer m_timer;
};

} // namespace kvl
