// 结帐录入/修改结帐: the modal editor of one settlement of the business window's
// partner, working on the data module's DataSfk (header), DataSfk_jz
// (candidate documents with in-memory picked marks) and DataJzmx (links,
// batch mode), all prepared by the caller (StartNewDocument, StartEditDocument).
#pragma once

#include <QDialog>

namespace kvl {

class TFMyw_jz : public QDialog
{
    Q_OBJECT
public:
    // Sets the title ("结帐录入" or "修改结帐"); a new settlement's date box shows
    // today, an existing one's boxes show its date, number, staff and remark.
    TFMyw_jz(bool isNew, qint64 partnerId, QWidget *parent = nullptr);
    ~TFMyw_jz() override;

    // The 员工姓名 box, filled by the caller when editing.
    void setStaffName(const QString &name);
};

} // namespace kvl
