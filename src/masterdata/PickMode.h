// The pick-mode protocol: any window lets the user choose a partner, goods item
// or staff member by opening the list window as a modal picker positioned on
// the caller's text.
#pragma once

#include <QString>

class QWidget;

namespace kvl {

// Each returns true when the user chose a row (选定, Enter or a double click);
// the shared dataset (DataDm_dw, DataKcsp, DataDm_zg) then stands on the chosen
// row, opened on the picker's query. Closing the picker in any other way is no
// choice, whatever an inner picker reported.
bool PickPartner(const QString &text, QWidget *caller); // positions by 单位名称, then 单位编号
bool PickGoods(const QString &text, QWidget *caller);   // by 商品编号, then 商品名称
bool PickStaff(const QString &text, QWidget *caller);   // by 员工姓名, then 员工编号

} // namespace kvl
