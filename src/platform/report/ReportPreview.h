// The modal preview of a prepared report: page-width zoom at first, zoom, print through
// the system's print dialog, find, page setup, export to PDF and exit.
#pragma once

#include "ReportDataRegistry.h"
#include "ReportDocument.h"
#include "ReportOutcome.h"
#include "ReportTemplate.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;

namespace kvl {

class ReportPageView;

// The seams through which the preview meets its user: the modal runner that shows its
// dialogs (print, page setup, messages) and the file dialog that names a PDF.
struct ReportPreviewHooks
{
    std::function<int(QDialog *)> runDialog;                       // default: exec()
    std::function<QString(const QString &suggested)> choosePdfFile; // empty: cancelled
};

class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    enum class ZoomMode { PageWidth, WholePage, Fixed };

    ReportPreview(const ReportTemplate &tpl, const ReportDataRegistry &data, const ReportVariables &variables,
                  ReportPreviewHooks hooks = {}, QWidget *parent = nullptr);

    // Parses the template, prepares it and, when the master data has rows, shows the
    // preview modally. `onSave` receives the changed template whenever the user confirms
    // a page setup or prints with changed offsets.
    static ReportOutcome run(const QByteArray &templateBytes, const QString &reportName,
                             const ReportDataRegistry &data, const ReportVariables &variables, QWidget *parent,
                             const std::function<void(const QByteArray &)> &onSave, ReportPreviewHooks hooks = {});

    const ReportDocument &document() const { return m_doc; }
    const ReportTemplate &reportTemplate() const { return m_template; }
    double zoom() const;
    ZoomMode zoomMode() const { return m_mode; }
    int currentPage() const;
    ReportPageView *pageView() const { return m_view; }

    void setZoomMode(ZoomMode mode);
    void setZoomPercent(int percent);
    void zoomIn();
    void zoomOut();
    void showPage(int page);
    // Highlights the matches of the next page holding the text, from the current page on;
    // false when no page holds it.
    bool findNext(const QString &text);
    void print();
    void pageSetup();
    bool exportPdf();
    // Takes a new page setup: lays the report out again and raises saveReportSetting.
    void applyPageSetup(const ReportPageSetup &setup);
    bool writePdf(const QString &path) const;
    // Prints every page, or the range the printer names, with the template's offsets.
    void printTo(QPrinter &printer) const;

signals:
    void saveReportSetting(const QByteArray &templateBytes);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void relayout();
    void applyZoom();
    void updatePageLabel();
    int execDialog(QDialog *dialog);
    void warn(const QString &text);

    ReportTemplate m_template;
    const ReportDataRegistry &m_data;
    ReportVariables m_variables;
    ReportPreviewHooks m_hooks;
    ReportDocument m_doc;
    ZoomMode m_mode = ZoomMode::PageWidth;
    double m_percent = 100;
    QString m_lastFind;
    int m_findPage = -1;

    QScrollArea *m_scroll;
    ReportPageView *m_view;
    QComboBox *m_zoomBox;
    QLineEdit *m_findEdit;
    QLabel *m_pageLabel;
    QLabel *m_status;
};

} // namespace kvl
