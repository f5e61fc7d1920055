// The report runner every window prints through: finds the template named by
// CurrentReportName, shows it over the shared datasets in the engine's preview and
// gives the grid's dataset back as it was.
#pragma once

#include <QString>

class QWidget;

namespace kvl {

class Dataset;

// The question before a summary: Yes prints the summary alone, No with its details.
QString SummaryFormatQuestion();

// `data` is the dataset of the grid the window prints from. `freeze` freezes its views
// while the report runs; `askSummary` asks the summary question and sets "ShowMX";
// a non-empty `sortText` orders the rows while printing, so the template's groups follow
// it. On every way out, errors included, `data` has its old sort, its old current row
// and live views again. Errors of the engine propagate to the caller.
void RunReport(Dataset &data, bool freeze, bool askSummary, const QString &sortText);

// The window the preview and the messages belong to; without one, the active window.
void SetReportParent(QWidget *parent);
QWidget *ReportParent();

} // namespace kvl
