// Sample content for a fresh data file: a small set a newcomer can look at,
// and the data of a business after ten years for measuring speed.
#pragma once

#include <QDate>

namespace kvl {

class Connection;

namespace SampleData {

struct Shape
{
    int partners = 12;
    int goods = 12;
    int staff = 12;
    int documents = 40;       // shipments and purchases
    int lines = 120;          // goods lines over all documents
    int busyPartnerDocs = 0;  // documents of partner 1 beyond its share (a big customer)
    QDate lastDay = QDate::currentDate();
    int years = 1;
    quint64 seed = 20261211;
};

Shape small();
Shape large();

// Writes master data, code tables, documents, lines and settlements (a third of
// the documents settled) in one transaction, and moves the PH counters to match.
void write(Connection &conn, const Shape &shape);

} // namespace SampleData
} // namespace kvl
