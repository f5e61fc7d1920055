// The transaction shared by the document saves, and the way back after it failed.
#include "DocumentWrite.h"

#include "Connection.h"
#include "Dataset.h"
#include "DbErrorText.h"
#include "Messages.h"
#include "RowSnapshot.h"
#include "WaitCursor.h"

namespace kvl {

namespace {

void putBack(Dataset &header, const RowSnapshot &typed, bool isNew, bool headerPosted)
{
    if (headerPosted) {
        // The file no longer holds what the dataset shows: read the list again
        // and stand on the document as typed.
        const Value id = typed.value(QStringLiteral("id"));
        header.requery();
        if (isNew) {
            header.append();
        } else {
            header.locate(QStringLiteral("id"), id);
            header.edit();
        }
    }
    typed.restoreInto(header);
}

// Pending detail changes survive a failed apply; only a failure after it (the
// commit) leaves the dataset ahead of the file and needs the replay.
void putBackDetails(Dataset &details, const QList<RowSnapshot> &typed, bool applied)
{
    if (applied) {
        ReplayRows(details, typed, QStringLiteral("id"));
        return;
    }
    for (int i = 0; i < details.recordCount() && i < typed.size(); ++i) {
        details.moveTo(i);
        details.edit();
        typed[i].restoreInto(details);
        if (details.modified())
            details.post();
        else
            details.cancel();
    }
}

} // namespace

DocumentSaveResult WriteDocument(Dataset &header, Dataset &details, NumberedRow numbered,
                                 const std::function<void(bool isNew)> &fill, QWidget *parent)
{
    const bool isNew = header.state() == Dataset::State::Insert;
    const RowSnapshot typedHeader = RowSnapshot::current(header);
    const QList<RowSnapshot> typedDetails = RowSnapshot::all(details);
    Connection &conn = header.connection();
    WaitCursor wait;
    bool headerPosted = false;
    bool detailsApplied = false;
    try {
        conn.beginTransaction();
        if (isNew)
            header.setValue(QStringLiteral("id"), Value::integer(AllocateId(conn, numbered)));
        fill(isNew);
        header.post();
        headerPosted = true;
        const Value id = header.value(QStringLiteral("id"));
        for (int i = 0; i < details.recordCount(); ++i) {
            details.moveTo(i);
            if (details.value(QStringLiteral("sf_id")) != id) {
                details.edit();
                details.setValue(QStringLiteral("sf_id"), id);
                details.post();
            }
        }
        details.applyUpdates();
        detailsApplied = true;
        conn.commit();
    } catch (const DbError &e) {
        const QString text = DbErrorText(e.message(), QStringLiteral("业务"), e.errors());
        try {
            conn.rollback();
            putBackDetails(details, typedDetails, detailsApplied);
            putBack(header, typedHeader, isNew, headerPosted);
        } catch (const DbError &) {
            // The message below is the one that matters; the datasets show what could be kept.
        }
        Messages::warning(text, parent);
        return {DocumentSaveResult::Failed, text, -1, QStringLiteral("单号")};
    }
    return {DocumentSaveResult::Saved, QString(), -1, QString()};
}

} // namespace kvl
