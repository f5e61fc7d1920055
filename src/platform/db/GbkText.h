// Text measured in bytes of the GBK encoding, as the fields sized in bytes count it.
#pragma once

#include <QString>

namespace kvl {

class GbkText
{
public:
    // Bytes the text takes in GBK (a Chinese character two, ASCII one).
    static int byteLength(const QString &text);
    // The longest prefix of `text` that fits `maxBytes`, never splitting a character.
    static QString cut(const QString &text, int maxBytes);
};

} // namespace kvl
