// The copy of an older data file's business and master data into the current,
// empty data file: ten tables in their order, one INSERT per row, one transaction.
#pragma once

#include <functional>

class QString;

namespace kvl {

class Connection;

class ImportOlderData
{
public:
    // Told the progress text before the documents, their lines and the links.
    using Stage = std::function<void(const QString &text)>;

    // True when dw, zg, sp, sfk, dh_ysk, dh_yfk and dh_sk of PH are all 0 (a NULL
    // is not 0): the state of a fresh or rebuilt file, the only one an import takes.
    static bool countersAllZero(Connection &current);

    // Copies PH's counters, company name and password and the rows of 公司员工,
    // 计量单位, 商品产地, 商品类别, 商品资料, 往来单位, sfk, kcmx and jzmx, keeping
    // every id. Throws DbError when the older file lacks a table or column or a row
    // does not fit; the current file is then exactly as it was.
    static void copy(Connection &older, Connection &current, const Stage &stage = {});
};

} // namespace kvl
