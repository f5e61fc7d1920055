// Keeping the looked-up names current.
#include "NameSources.h"

#include "datakvl.h"

#include <sqlite3.h>

namespace kvl {

namespace {

// The connection's count of written rows when the names were last read, and for
// which module; a fresh module starts with its name datasets closed.
struct ReadMark
{
    const TDataModKvl *module = nullptr;
    sqlite3_int64 writes = -1;
};

ReadMark &lastRead()
{
    static ReadMark mark;
    return mark;
}

} // namespace

void NameSources::ensureCurrent(TDataModKvl &dm)
{
    Dataset *const sources[] = {&dm.DataTJ_dw, &dm.DataTJ_zg, &dm.DataTJ_spzl};
    sqlite3 *db = dm.ConKVL.handle();
    const sqlite3_int64 writes = db ? sqlite3_total_changes64(db) : -1;
    ReadMark &mark = lastRead();
    bool current = mark.module == &dm && mark.writes == writes && writes >= 0;
    for (const Dataset *d : sources)
        current = current && d->isActive();
    if (current)
        return;
    mark = ReadMark();
    for (Dataset *d : sources) {
        d->close();
        d->open();
    }
    // Rows read inside an open transaction may still be rolled back: read again next time.
    if (db && sqlite3_get_autocommit(db)) {
        mark.module = &dm;
        mark.writes = writes;
    }
}

} // namespace kvl
