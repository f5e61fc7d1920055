// GBK byte measures.
#include "GbkText.h"

#include <QStringEncoder>

namespace kvl {

namespace {

int charBytes(QStringView ch)
{
    if (ch.size() == 1 && ch[0].unicode() < 0x80)
        return 1;
    QStringEncoder enc("GBK");
    const QByteArray b = enc.encode(ch);
    return b.isEmpty() ? 2 : int(b.size());
}

} // namespace

int GbkText::byteLength(const QString &text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        n += charBytes(QStringView(text).mid(i, len));
        i += len;
    }
    return n;
}

QString GbkText::cut(const QString &text, int maxBytes)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        n += charBytes(QStringView(text).mid(i, len));
        if (n > maxBytes)
            return text.left(i);
        i += len;
    }
    return text;
}

} // namespace kvl
