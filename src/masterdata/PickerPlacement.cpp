// Size and place of a picker.
#include "PickerPlacement.h"

#include <QDialog>
#include <QScreen>

#include <algorithm>

namespace kvl {

int PickerWidth(int columnWidths)
{
    return std::clamp(45 + columnWidths, 350, 600);
}

void PlacePicker(QDialog &picker, int width)
{
    picker.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint);
    const QScreen *s = picker.screen();
    const int height = (s ? s->geometry().height() : 768) - 60;
    picker.resize(width, height);
    if (QWidget *owner = picker.parentWidget() ? picker.parentWidget()->window() : nullptr) {
        QRect r(QPoint(0, 0), QSize(width, height));
        r.moveCenter(owner->geometry().center());
        picker.move(r.topLeft());
    }
}

} // namespace kvl
