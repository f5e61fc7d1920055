// 结帐录入/修改结帐: the modal editor of one settlement of the business window's
// partner, working on the data module's DataSfk (header), DataSfk_jz
// (candidate documents with in-memory picked marks) and DataJzmx (links,
// batch mode), all prepared by the caller (StartNewDocument, StartEditDocument).
#pragma once

#include "DocumentEditor.h"
#include "DocumentSave.h"

namespace kvl {

class TFMyw_jz : public DocumentEditor
{
    Q_OBJECT
public:
    // Sets the title ("结帐录入" or "修改结帐"); a new settlement's date box shows
    // today, an existing one's boxes show its date, number, staff and remark.
    TFMyw_jz(bool isNew, qint64 partnerId, QWidget *parent = nullptr);
    ~TFMyw_jz() override;

    // The sum of 本次结帐金额 over the links, in ten-thousandths.
    qint64 netAmount() const;

    // The grid's ellipsis, Enter in the grid and N1: pick one more document.
    void GridEditButtonClick();
    void N1Click();
    // N2: take the current document out of the settlement.
    void N2Click();
    // Leaving the grid: a link row still being edited goes into the batch.
    void GridExit();

protected:
    bool saveDocument() override;
    bool canLeaveDocument() override;
    void staffChosen(qint64 staffId) override;
    // A successful save closes with mrOk, whichever of 保存 and 打印 asked for it.
    int agreedCloseCode(int code) const override;

private:
    void setUpGrid();
    // Any change of the links marks the header changed: closing asks, saving writes.
    void markHeaderChanged();
    // The untouched empty link row left for the next choice is no link.
    void dropEmptyLinkRow();
    void appendEmptyLinkRow();
    // The save itself, with the cursor put where a refusal or failure points.
    DocumentSaveResult save();
    void print();

    qint64 m_partnerId;
};

} // namespace kvl
