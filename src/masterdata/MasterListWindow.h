// The list window every master-data list is: title strip, tool bar, filter line, grid
// with footer and a context menu repeating the buttons. It serves as a working window
// inside the main window and as a modal picker; the kind says what differs per table.
#pragma once

#include "ListWindowKind.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace kvl {

class ContextMenuMirror;
class DataGrid;
class Dataset;

class MasterListWindow : public QDialog
{
    Q_OBJECT
public:
    explicit MasterListWindow(ListWindowKind kind, QWidget *parent = nullptr);
    ~MasterListWindow() override;

    const ListWindowKind &kind() const { return m_kind; }
    Dataset *dataset() const;
    // A title containing "选择" means pick mode.
    bool isPicker() const;
    // True once this window was closed by a choice (选定, Enter, double click).
    bool chosen() const { return m_chosen; }

    // The working window's opening steps after placing it: ComboBox1 item 0, the list's own
    // query with every record, FormActivate.
    void openAsWorkingWindow();

    // Pick mode: title, no footer, the picker's layout, BSelect, size; then the picker query
    // positioned on `text`, FormActivate. Shown by the caller through the modal runner.
    void preparePicker(const QString &text);
    // The two halves: the window's set-up, and the dataset on the picker query positioned
    // on the caller's text (first field, then second field, else the first row). Letters
    // are compared as typed unless `anyCase` (pinyin initials are typed in either case).
    void setUpPickMode();
    void openPickQuery(const QString &text, bool anyCase = false);
    // 45 + the columns' widths, within 350 and 600.
    static int pickerWidth(int columnWidths);
    int pickerWidth() const;

    void FormActivate();
    void gltjChange();
    void BaddClick();
    void BeditClick();
    void BcutClick();
    void BsavetoClick();
    void BzselcolClick();
    void BSelectClick();
    void BreturnClick();
    void GridDblClick();
    void GridSortMarkingChanged();

    QWidget *Panel2 = nullptr;
    QLabel *Formname = nullptr;
    QWidget *Panel3 = nullptr;
    QToolButton *BSelect = nullptr;
    QWidget *ToolbarSep971 = nullptr;
    QToolButton *Badd = nullptr;
    QToolButton *Bedit = nullptr;
    QToolButton *Bcut = nullptr;
    QWidget *ToolbarSep972 = nullptr;
    QToolButton *Bsaveto = nullptr;
    QToolButton *Bzselcol = nullptr;
    QWidget *ToolbarSep973 = nullptr;
    QToolButton *BReturn = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *gltj = nullptr;
    DataGrid *Grid = nullptr;
    QMenu *PopupMenu1 = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void build();
    QToolButton *toolButton(const char *name, const QString &caption, const QString &hint);
    QWidget *separator(const char *name);
    // The Formname caption, or the title where there is no title strip.
    QString layoutKey() const;
    void FormClose();

    ListWindowKind m_kind;
    ContextMenuMirror *m_mirror = nullptr;
    bool m_chosen = false;
    bool m_closed = false;
};

} // namespace kvl
