// A shared dataset seen by the report engine through a data link: its rows in the
// current sort and filter, its fields and their display formats.
#pragma once

#include "Dataset.h"
#include "ReportDataSource.h"

namespace kvl {

class DatasetReportSource : public ReportDataSource
{
public:
    explicit DatasetReportSource(Dataset &dataset) : m_ds(dataset) {}

    QStringList fieldNames() const override;
    // Starts a walk. A detail (a dataset with a master) presents the rows of its
    // master's current row: a frozen master sends no moves, so the detail reads again
    // here, and a detail the window left closed is opened.
    void first() override;
    void next() override;
    // Until a walk starts, a link stands on the dataset's current row, so a heading
    // prints the document the window shows whatever its last move was.
    bool eof() const override;
    Value value(const QString &field) const override;
    QString displayFormat(const QString &field) const override;

    Dataset &dataset() const { return m_ds; }

private:
    Dataset &m_ds;
    bool m_walking = false;
};

} // namespace kvl
