// Buddy and accessible name from the label's text, without mnemonic marks and end colon.
#include "AccessibleBuddy.h"

#include <QLabel>

namespace kvl {

void AccessibleBuddy::attach(QLabel *label, QWidget *control)
{
    label->setBuddy(control);
    QString name = label->text();
    name.remove(QLatin1Char('&'));
    while (name.endsWith(QStringLiteral("：")) || name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name.trimmed());
}

} // namespace kvl
