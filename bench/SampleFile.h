// Writes a data file shaped like a business after ten years of use, for the
// benchmarks: partners, staff, goods, documents, goods lines and settlement links.
#pragma once

#include "FieldDef.h"

#include <QString>

namespace kvl::bench {

struct SampleSize
{
    int partners = 3000;
    int staff = 100;
    int goods = 5000;
    int documents = 300000;
    int lines = 1000000;
};

// Creates `path` (which must not exist) and fills it; the password is the program's.
void writeSampleFile(const QString &path, const SampleSize &size);

// Presents the money, boolean and date-time columns of the sample's tables.
FieldResolver sampleResolver();

extern const QString kPassword;
extern const QString kGoodsStatisticsQuery; // the join of the goods statistics
extern const QString kDocumentStatisticsQuery;

} // namespace kvl::bench
