// The frame both statistics windows share: title, tool bar, report menu, the grid
// over one shared dataset with its context menu, the filter area, and the
// handlers that do not depend on which statistics is shown.
#pragma once

#include "RefreshCoalescer.h"

#include <QString>
#include <functional>
#include <optional>
#include <QWidget>

class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace kvl {

class ButtonEdit;
class DataGrid;
class Dataset;

class StatisticsWindow : public QWidget
{
    Q_OBJECT
public:
    DataGrid *grid() const { return Grid; }
    QMenu *reportMenu() const { return PMPrint; }
    QMenu *contextMenu() const { return PopupMenu2; }
    QDateEdit *startDate() const { return qshrq; }
    QDateEdit *endDate() const { return jzhrq; }

    // The side bar's opening steps: the dates from 1 January of `today`'s year to
    // `today`, the saved layout, shown, one refresh, the focus on qshrq.
    void openWithDefaults(const QDate &today);

    // qshrqChange: a refresh once the window is open; a quick run of changes
    // (typing) is answered by one refresh with the filters as they then stand.
    void qshrqChange();
    // Runs a pending refresh at once.
    void flushRefresh();
    // The status update (FormActivate, and the last step of every refresh).
    virtual void statusUpdate();

    // Default column widths with room for the footer over ten years of data: a count
    // of millions of rows, and totals of hundreds of billions with their separators.
    static int countWidth(const DataGrid &g);
    static int totalWidth(const DataGrid &g);

protected:
    StatisticsWindow(const QString &title, Dataset &data, QWidget *parent);

    // The window's own refresh statement over its dataset; throws on failure.
    virtual void runRefresh() = 0;
    // Report variables a report needs before it runs.
    virtual void beforeReport() {}

    // The filter controls, laid out in rows of label + control pairs.
    QLineEdit *addTextFilter(const QString &name, const QString &label, int row, int col);
    ButtonEdit *addPickFilter(const QString &name, const QString &label, int row, int col,
                              std::function<void()> handler);
    void addFilterWidget(QWidget *control, const QString &label, int row, int col);
    // Puts `control` next in the focus order of the filters, before the grid.
    void chainFocus(QWidget *control);
    void addReport(const QString &name, const QString &caption, bool summary, const QString &sortFields);
    // A picker's result: when the user chose and the list has rows, `field` of its
    // current row goes into `edit`; the focus moves on in every case.
    void takePicked(QLineEdit *edit, bool chosen, Dataset &list, const QString &field);
    void takePicked(QLineEdit *edit, const std::optional<QString> &chosen);

    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

    Dataset &m_data;
    QString m_title;
    QDateEdit *qshrq;
    QDateEdit *jzhrq;
    QToolButton *Bprint;
    QToolButton *Bsaveto;
    QToolButton *Bzselcol;
    QWidget *ToolbarSep973;
    QToolButton *BReturn;
    QMenu *PMPrint;
    QMenu *PopupMenu2;
    DataGrid *Grid = nullptr;
    QGridLayout *m_filters;
    QWidget *m_toolbarRow;
    QWidget *m_lastFilter = nullptr;

private:
    void refreshNow();
    void BprintClick();
    void focusNextFrom(QWidget *w);

    RefreshCoalescer m_coalescer;
    bool m_open = false;
};

} // namespace kvl
