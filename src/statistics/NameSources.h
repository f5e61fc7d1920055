// The partner, staff and goods names the goods statistics look up, held in
// memory and read again only when the data file has changed since.
#pragma once

namespace kvl {

class TDataModKvl;

class NameSources
{
public:
    // Opens DataTJ_dw, DataTJ_zg and DataTJ_spzl of `dm` when they are closed, and
    // reads them again when any row of the data file has been written since they
    // were read (the program holds the file alone, so its own connection sees
    // every write). A burst of refreshes thus reads them once.
    static void ensureCurrent(TDataModKvl &dm);
};

} // namespace kvl
