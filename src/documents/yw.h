// 办理业务: the working window of one business partner's documents. The partner
// is picked first; the list shows its open shipments and purchases, or all its
// documents, optionally from a start date on; a second grid follows the current
// document with its goods lines or, for a settlement, the documents it settled.
// The commands create, edit, delete, print and export documents.
#pragma once

#include "WaitCursor.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QSplitter;
class QToolButton;

namespace kvl {

class ButtonEdit;
class ContextMenuMirror;
class DataGrid;
class Dataset;
enum class DocumentKind;

class TFMyw : public QWidget
{
    Q_OBJECT
public:
    explicit TFMyw(QWidget *parent = nullptr);
    ~TFMyw() override;

    // The side bar's opening steps: the start date preset to 1 January of
    // `today`'s year (its box ticked, then unticked again), the saved layout,
    // shown, the focus in dw.
    void openWithDefaults(const QDate &today);

    // The partner the documents belong to: its id, 0 without one.
    qint64 partnerId() const;
    // Whether the start date limits the list.
    bool startDateApplies() const;
    void setStartDateApplies(bool on);

    void dwButtonClick();
    void CheckJZClick();
    void FormActivate();
    void DBEdit1Change();
    void BeditClick();
    void BcutClick();
    void PMyskClick();
    void PMyfkClick();
    void PMjzClick();
    void N5Click();
    void N27Click();
    void BsavetoClick();
    void BzselcolClick();

    QLabel *Formname;
    QToolButton *Badd;
    QToolButton *Bedit;
    QToolButton *Bcut;
    QWidget *ToolbarSep972;
    QToolButton *Bprint;
    QToolButton *Bsaveto;
    QToolButton *Bzselcol;
    QWidget *ToolbarSep973;
    QToolButton *BReturn;
    QMenu *PopupMenu1;
    QAction *PMysk;
    QAction *PMyfk;
    QAction *PMjz;
    QMenu *PMPrint;
    QAction *N5;
    QAction *N27;
    QMenu *PopupMenu2;
    QToolButton *SpeedButton1;
    ButtonEdit *dw;
    QLineEdit *dwid;
    QCheckBox *qshrqCheck;
    QDateEdit *qshrq;
    QCheckBox *CheckJZ;
    QSplitter *RzSplitter1;
    DataGrid *Grid;
    DataGrid *DBGridEh1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void build();
    void newShipmentOrPurchase(DocumentKind kind);
    // The current document put into editing with its details; a database error is
    // shown (the wait cursor gone first) and the result is false.
    bool startEditing(std::optional<WaitCursor> &wait);
    void editShipmentOrPurchase();
    void editSettlement();
    // After an editor: a row it left in editing is given up, the current row is
    // posted again unchanged, the commands follow.
    void afterEditor();
    void dropUnsavedRow();
    void reloadKeepingRow(qint64 id);
    void runReport(const QString &name, bool freeze);
    void fitDetailColumns();
    void focusNextFrom(QWidget *w);

    Dataset &m_list;
    ContextMenuMirror *m_mirror = nullptr;
    bool m_closed = false;
};

} // namespace kvl
