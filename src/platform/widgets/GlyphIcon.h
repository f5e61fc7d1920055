// Large icons drawn in code: one character on a rounded, shaded tile.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace kvl {

class GlyphIcon
{
public:
    // A tile of `size` pixels (drawn also at twice the size for high-density screens).
    static QIcon make(const QString &glyph, const QColor &color, int size = 32);
};

} // namespace kvl
