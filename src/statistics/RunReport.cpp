// The report run: template lookup, the summary question, the sort while printing and
// the dataset's state given back on every path.
#include "RunReport.h"

#include "Dataset.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "ModalRunner.h"
#include "ProgramValues.h"
#include "ReportLinks.h"
#include "ReportLookup.h"
#include "ReportPreview.h"
#include "ReportVariables.h"
#include "ReportWriteBack.h"
#include "datakvl.h"

#include <QApplication>
#include <QPointer>

namespace kvl {

namespace {

QPointer<QWidget> g_parent;

// What a run changes on the grid's dataset, undone in the order the grid needs:
// its sort first, then its views live again, then back to the row it stood on.
class DatasetRestore
{
public:
    explicit DatasetRestore(Dataset &ds) : m_ds(ds), m_sort(ds.sortText()), m_mark(ds.bookmark()) {}
    DatasetRestore(const DatasetRestore &) = delete;
    DatasetRestore &operator=(const DatasetRestore &) = delete;

    void freeze()
    {
        m_ds.disableControls();
        m_frozen = true;
    }
    void sortBy(const QString &sortText)
    {
        m_sorted = true;
        m_ds.setSortText(sortText);
    }

    ~DatasetRestore()
    {
        // Each step on its own: a failing one must not keep the others from running,
        // nor throw out of a destructor while an engine error is on its way.
        if (m_sorted && m_ds.isActive()) {
            try {
                m_ds.setSortText(m_sort);
            } catch (...) {
            }
        }
        if (m_frozen)
            m_ds.enableControls();
        try {
            m_ds.gotoBookmark(m_mark);
        } catch (...) {
        }
        m_ds.freeBookmark(m_mark);
    }

private:
    Dataset &m_ds;
    const QString m_sort;
    Dataset::Bookmark m_mark;
    bool m_frozen = false;
    bool m_sorted = false;
};

ReportPreviewHooks previewHooks()
{
    ReportPreviewHooks hooks;
    hooks.runDialog = [](QDialog *dialog) { return ModalRunner::exec(*dialog); };
    hooks.choosePdfFile = [](const QString &suggested) {
        const FileDialogResult r = FileDialogs::save(QStringLiteral("导出PDF"), QStringLiteral("PDF 文件 (*.pdf)|*.pdf"),
                                                     suggested, LastExportDir, QStringLiteral("pdf"), ReportParent());
        return r.accepted ? r.file : QString();
    };
    return hooks;
}

} // namespace

QString SummaryFormatQuestion()
{
    return QStringLiteral("汇总表有两种格式  1、不带明细的汇总表\u30002、带明细的分类汇总表\r\r\u3000\u3000"
                          "如果您选 1 请按［是(Y)］键，  选 2 请按［否(N)］键。");
}

void SetReportParent(QWidget *parent)
{
    g_parent = parent;
}

QWidget *ReportParent()
{
    return g_parent ? g_parent.data() : QApplication::activeWindow();
}

void RunReport(Dataset &data, bool freeze, bool askSummary, const QString &sortText)
{
    if (!DataModKvl)
        return;
    Dataset &reports = DataModKvl->DataReport;
    if (!reports.isActive())
        reports.open();
    CurrentReportName = CurrentReportName.trimmed();
    const QString name = CurrentReportName;
    if (!LocateReport(reports, name)) {
        Messages::warning(ReportNotFoundText(name), ReportParent());
        return;
    }
    const QByteArray templateBytes = reports.value(QStringLiteral("Template")).toBytes();

    ReportOutcome outcome;
    {
        DatasetRestore restore(data);
        if (freeze)
            restore.freeze();
        if (askSummary)
            ReportVars.insert(QStringLiteral("ShowMX"), Value::boolean(Messages::question(SummaryFormatQuestion(),
                                                                                          ReportParent()) != QMessageBox::Yes));
        if (!sortText.isEmpty())
            restore.sortBy(sortText);

        // The maintenance window may have renamed the company since the main window set it.
        ReportVars.insert(QStringLiteral("公司名称"), Value(CompanyName));
        const ReportLinks links(*DataModKvl);
        outcome = ReportPreview::run(templateBytes, name, links.registry(), ReportVars, ReportParent(),
                                     RMReport1SaveReportSetting, previewHooks());
    }
    // Told once the grid is live again, since the message waits for the user.
    if (outcome.status != ReportOutcome::Status::Shown)
        Messages::warning(outcome.message, ReportParent());
}

} // namespace kvl
