// 选择未结帐单据: the modal picker of the settlement editor, listing the candidate
// documents (DataSfk_jz) the settlement does not hold yet. A choice leaves the
// dataset on the chosen document.
#pragma once

#include <QDialog>

class QMenu;
class QToolButton;
class QWidget;

namespace kvl {

class DataGrid;
class Dataset;

class TFMyw_jz_sfkd : public QDialog
{
    Q_OBJECT
public:
    // The key of the picker's saved layout and the name its export suggests.
    static QString title();

    explicit TFMyw_jz_sfkd(QWidget *owner);
    ~TFMyw_jz_sfkd() override;

    // The opening steps: the saved layout, then the size the shown columns ask for,
    // centred on the owner's window.
    void prepare();

    Dataset &dataset() const { return m_data; }
    bool chosen() const { return m_chosen; }

    void BselectClick();
    void BsavetoClick();
    void BzselcolClick();
    void BreturnClick();
    void GridSortMarkingChanged();

    // The picker's sort goes with it: the next one opens without sort marks.
    void done(int result) override;

    DataGrid *Grid = nullptr;
    QToolButton *BSelect = nullptr;
    QToolButton *Bsaveto = nullptr;
    QToolButton *Bzselcol = nullptr;
    QToolButton *BReturn = nullptr;
    QMenu *PopupMenu1 = nullptr;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void build();

    Dataset &m_data;
    bool m_chosen = false;
};

} // namespace kvl
