// The frame both document editors (shipment/purchase and settlement) stand on:
// the heading, the date, number, staff and remark boxes, the lines grid with
// its context menu, the three buttons and the close codes.
//
// Deriving: construct with the dialog's objectName, call bindDocument() with the
// header (DataSfk, its current row in insert or edit state) and the detail
// dataset of the grid, add the grid's columns, connect N1/N2 and the grid's
// signals, and implement saveDocument() and canLeaveDocument(). Closing runs
// one of them by the close code and closes only when it returns true:
//   Bprint "打印(&Prt)" -> mrOk, Bsave "保存(&Save)" -> mrYes: saveDocument();
//   RzBitBtn2 "取消(&Esc)" and Esc -> mrAbort, the close box -> mrCancel: canLeaveDocument().
// closeCode() tells them which code is closing (print after a save: mrOk);
// agreedCloseCode() may change the code the dialog then closes with.
// The staff button edit yw opens the staff picker (button, F4, double click,
// Enter); a choice puts the name into yw, remembers the staff member's id
// (chosenStaffId()) and calls staffChosen(), then the focus moves on.
#pragma once

#include <QDate>
#include <QDialog>

class QAction;
class QBoxLayout;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;

namespace kvl {

class ButtonEdit;
class CalendarDropDown;
class DataGrid;
class Dataset;
class DbDateEdit;
class DbEdit;

class DocumentEditor : public QDialog
{
    Q_OBJECT
public:
    ~DocumentEditor() override;

    // The heading above the boxes; an invalid colour keeps the default text colour.
    void setHeading(const QString &text, const QColor &colour = QColor());

    // The 员工姓名 box (not bound; the caller fills it when editing).
    void setStaffName(const QString &name);
    QString staffName() const;
    // The staff member chosen through the picker while the editor is open; 0: none chosen.
    qint64 chosenStaffId() const { return m_staffId; }

    // The date box: writes the day into the header's 制单日期; date() reads it back
    // (text typed but not yet written included), invalid when the box is empty.
    void setDate(const QDate &day);
    QDate date() const;

    // While saveDocument() or canLeaveDocument() runs: the code the dialog closes with.
    int closeCode() const { return m_closeCode; }

    // Close codes as the buttons and the close box give them; the dialog closes
    // only when saveDocument() or canLeaveDocument() agrees.
    void done(int result) override;
    void reject() override;

    QLabel *Formname = nullptr;
    DbDateEdit *zdrq = nullptr;
    DbEdit *dh = nullptr;
    DataGrid *Grid = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N1 = nullptr;   // Ctrl+Ins
    QAction *N2 = nullptr;   // Ctrl+Del
    ButtonEdit *yw = nullptr;
    DbEdit *bz = nullptr;
    QPushButton *Bprint = nullptr;
    QPushButton *Bsave = nullptr;
    QPushButton *RzBitBtn2 = nullptr;

protected:
    // `n1Caption`/`n2Caption` name the menu items ("添加新的商品", "删除当前的商品").
    DocumentEditor(const QString &objectName, const QString &n1Caption, const QString &n2Caption,
                   QWidget *parent);

    // zdrq -> 制单日期, dh -> 单号, bz -> 备注 of `header`; the grid on `details`.
    void bindDocument(Dataset *header, Dataset *details);
    Dataset *header() const { return m_header; }
    Dataset *details() const { return m_details; }

    // Close code mrOk or mrYes. True: the dialog may close.
    virtual bool saveDocument() = 0;
    // Any other close code. True: the dialog may close.
    virtual bool canLeaveDocument() = 0;
    // The code the dialog closes with once the routine agreed; the settlement
    // editor turns a successful save into mrOk.
    virtual int agreedCloseCode(int code) const { return code; }
    // After the staff picker chose someone (yw already shows the name).
    virtual void staffChosen(qint64 staffId) { Q_UNUSED(staffId); }

    // The row of the heading: a derived editor may add a label at its right.
    QHBoxLayout *headingRow() const { return m_headingRow; }

    // The staff picker: positioned on the text of yw (员工姓名, then 员工编号).
    void ywButtonClick();
    // The focus goes on from `from` to the next control, as Tab would.
    void focusNextFrom(QWidget *from);
    // Text typed into the boxes but not yet written goes into the header; false
    // when a box refused its text (its message shown).
    bool commitBoxes();

    void showEvent(QShowEvent *e) override;

private:
    void build(const QString &n1Caption, const QString &n2Caption);

    Dataset *m_header = nullptr;
    Dataset *m_details = nullptr;
    CalendarDropDown *m_calendar = nullptr;
    QHBoxLayout *m_headingRow = nullptr;
    qint64 m_staffId = 0;
    int m_closeCode = 0;
    bool m_closing = false;
};

} // namespace kvl
