// Turns an engine failure into the program's message: a rule's own text
// between {B} and {E}, or the text for the class of each engine error.
#include "DbErrorText.h"

namespace kvl {

namespace {

QString upperAscii(const QString &s)
{
    QString r = s;
    for (QChar &c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return r;
}

// Blanks as the program trims them: spaces and control characters at both ends.
QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= ' ')
        --e;
    return s.mid(b, e - b);
}

QString numbered(const EngineError &e)
{
    return QStringLiteral("错误号：") + QString::number(e.native) + QLatin1Char('\r') + e.description;
}

} // namespace

QString DbErrorText(const QString &message, const QString &context, const QList<EngineError> &errors)
{
    QString r = trimBlanks(upperAscii(message));
    const qsizetype b = r.indexOf(QLatin1String("{B}")), e = r.indexOf(QLatin1String("{E}"));
    if (b >= 0 && e >= 0 && b < e)
        return r.mid(b + 3, e - b - 3);

    for (const EngineError &err : errors) {
        switch (err.native) {
        case NativeError::RowChanged:
            return r + QStringLiteral("\r\r请取消修改，并重新查询相关数据。");
        case NativeError::MissingMaster:
            for (const char *table : {"商品资料", "往来单位", "公司员工"}) {
                const QString t = QString::fromUtf8(table);
                if (r.contains(t)) {
                    r = QStringLiteral("［%1］中没有对应的记录！\r\r记录引用失败，请重新选择！").arg(t);
                    break;
                }
            }
            break;
        case NativeError::Referenced:
            if (context.contains(QStringLiteral("基础资料")))
                return QStringLiteral("已被业务单据引用过了，不能删除！");
            return numbered(err);
        case NativeError::Locked: {
            const qsizetype from = r.indexOf(QStringLiteral("器 '"));
            const qsizetype to = r.indexOf(QStringLiteral("' 上"));
            const QString name = from >= 0 && to >= from + 3 ? r.mid(from + 3, to - from - 3) : QString();
            return QStringLiteral("数据库被［") + name + QStringLiteral("］上的用户锁定，请稍后再试......");
        }
        case NativeError::Busy:
        case NativeError::BusyAlt:
            return QStringLiteral("系统忙，请稍候再试......");
        case NativeError::Collision:
            return QStringLiteral("其它用户正在新建记录，请稍候再试......");
        default:
            r = numbered(err);
            break;
        }
    }
    return r;
}

} // namespace kvl
