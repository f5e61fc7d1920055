// Saving a shipment or purchase: the checks, then header, counters and lines
// in one transaction.
#pragma once

#include "DocumentKind.h"

#include <QDate>
#include <QString>

#include <optional>

class QWidget;

namespace kvl {

class Dataset;

// What the editor's boxes hold when the save starts.
struct DocumentEntry
{
    DocumentKind kind = DocumentKind::Shipment;
    qint64 partnerId = 0;   // the business window's partner, written to a new document
    QDate date;             // the date box, written to a new document
    QString number;         // the 单号 box
    QString staffName;      // the 员工姓名 box: empty clears the staff member
    QString remark;         // the 备注 box
    qint64 staffId = 0;     // the staff member the settlement editor's picker chose; 0: none chosen
};

struct DocumentSaveResult
{
    enum Outcome { Saved, Unchanged, Refused, Failed } outcome = Unchanged;
    QString message;  // the warning shown (empty for Saved and Unchanged)
    int line = -1;    // the offending line for a refusal of the lines
    QString field;    // where the cursor goes: a field of the lines, or "单号" of the header
    bool closes() const { return outcome == Saved || outcome == Unchanged; }
};

// The number (refused when it does not fit, with its warning) and the remark of
// `entry`, trimmed, written to the header; both editors' saves start with it.
std::optional<DocumentSaveResult> WriteHeaderTexts(Dataset &header, const DocumentEntry &entry, QWidget *parent);

// `header` stands on the document (Insert for a new one, Edit otherwise),
// `lines` holds its goods lines in batch mode. Shows its warning itself. A
// refusal or a failure leaves both datasets as they were before the save
// (typed values and pending lines kept), so saving again stores the document
// exactly once.
DocumentSaveResult SaveDocument(Dataset &header, Dataset &lines, const DocumentEntry &entry,
                                QWidget *parent = nullptr);

} // namespace kvl
