// 录入/修改 出货（应收款）、进货（应付款）: the modal editor of one shipment or
// purchase of the business window's partner, working on the data module's
// DataSfk (header, current row in insert or edit state) and DataKcmx (lines,
// batch mode), both prepared by the caller (StartNewDocument, StartEditDocument).
#pragma once

#include "DocumentEditor.h"
#include "DocumentKind.h"
#include "DocumentSave.h"

class QTimer;

namespace kvl {

class CellTypeIn;

class TFMyw_jch : public DocumentEditor
{
    Q_OBJECT
public:
    // Sets the title ("录入…" for a new document, "修改…" otherwise) and the
    // heading of the kind; a new document's date box shows today.
    TFMyw_jch(DocumentKind kind, bool isNew, qint64 partnerId, QWidget *parent = nullptr);
    ~TFMyw_jch() override;

    // The 员工姓名 box, filled by the caller when editing.
    using DocumentEditor::setStaffName;
    // A settled document is only looked at: 保存 and 打印 disabled, "此单已结帐！" blinking.
    void setSettled(bool settled);
    bool isSettled() const { return m_settled; }

    DocumentKind kind() const { return m_kind; }

    // The grid's handlers.
    void GridEditButtonClick();
    void GridKeyPress();
    void GridColExit(int column);
    void GridExit();
    void N1Click();
    void N2Click();

    QLabel *yjz = nullptr;

protected:
    bool saveDocument() override;
    bool canLeaveDocument() override;
    void staffChosen(qint64 staffId) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addColumns();
    // The goods picker on `text`; true when goods were chosen for the current line.
    bool pickGoods(const QString &text);
    // Every change of the lines marks the header, so closing asks and saving writes.
    void markHeaderChanged();
    void appendLine();
    DocumentSaveResult save();
    void blink();

    DocumentKind m_kind;
    qint64 m_partnerId;
    bool m_settled = false;
    // The lines stand at their end: the current line was appended here (a new
    // document's first line, N1, the automatic new line) or the cursor went down
    // past the last line.
    bool m_atEnd = false;
    bool m_appendQueued = false;
    // The cursor is being put on a refused cell: leaving the old cell changes nothing.
    bool m_placing = false;
    int m_goodsColumn = -1;
    CellTypeIn *m_typeIn = nullptr;
    QTimer *m_blink = nullptr;
};

} // namespace kvl
