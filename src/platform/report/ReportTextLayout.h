// Breaking text into lines that fit a width, measured the same way for every device.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace kvl::ReportTextLayout {

// Width of the text in millimetres.
double width(const QString &text, const QFont &font);
// Distance between baselines in millimetres.
double lineHeight(const QFont &font);
// Lines of at most widthMm each; Chinese breaks between any two characters, Latin at
// word boundaries (a word longer than the width is split). "\n" starts a new line.
QStringList breakLines(const QString &text, const QFont &font, double widthMm);

} // namespace kvl::ReportTextLayout
