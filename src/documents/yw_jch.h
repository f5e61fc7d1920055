// 录入/修改 出货（应收款）、进货（应付款）: the modal editor of one shipment or
// purchase of the business window's partner, working on the data module's
// DataSfk (header, current row in insert or edit state) and DataKcmx (lines,
// batch mode), both prepared by the caller (StartNewDocument, StartEditDocument).
#pragma once

#include "DocumentKind.h"

#include <QDialog>

namespace kvl {

class TFMyw_jch : public QDialog
{
    Q_OBJECT
public:
    // Sets the title ("录入…" for a new document, "修改…" otherwise) and the
    // heading of the kind; a new document's date box shows today.
    TFMyw_jch(DocumentKind kind, bool isNew, qint64 partnerId, QWidget *parent = nullptr);
    ~TFMyw_jch() override;

    // The 员工姓名 box, filled by the caller when editing.
    void setStaffName(const QString &name);
    // A settled document is only looked at: 保存 and 打印 disabled, "此单已结帐！" blinking.
    void setSettled(bool settled);
    bool isSettled() const;

    DocumentKind kind() const;
};

} // namespace kvl
