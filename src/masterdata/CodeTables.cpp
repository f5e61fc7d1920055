// Table names to the data module's datasets.
#include "CodeTables.h"

#include "datakvl.h"

namespace kvl {

const QStringList &CodeTables::names()
{
    static const QStringList n{QStringLiteral("商品类别"), QStringLiteral("商品产地"), QStringLiteral("计量单位")};
    return n;
}

QString CodeTables::named(const QString &title)
{
    for (const QString &n : names())
        if (title.contains(n))
            return n;
    return QString();
}

Dataset *CodeTables::dataset(const QString &table)
{
    if (!DataModKvl)
        return nullptr;
    if (table == names()[0])
        return &DataModKvl->DataDm_splb;
    if (table == names()[1])
        return &DataModKvl->DataDm_spcd;
    if (table == names()[2])
        return &DataModKvl->DataDm_spdw;
    return nullptr;
}

} // namespace kvl
