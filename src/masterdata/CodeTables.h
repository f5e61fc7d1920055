// The three code tables and their shared datasets, by the table's name.
#pragma once

#include <QString>
#include <QStringList>

namespace kvl {

class Dataset;

class CodeTables
{
public:
    // "商品类别", "商品产地", "计量单位"; each table's value field carries the table's name.
    static const QStringList &names();
    // The table named in `title` ("选择商品类别" names 商品类别), or an empty text.
    static QString named(const QString &title);
    // DataDm_splb, DataDm_spcd or DataDm_spdw of the data module; null for another name.
    static Dataset *dataset(const QString &table);
};

} // namespace kvl
