// The data file of a business after ten years, shared by the benchmarks: the
// given path, or a file written once with kvl-mkdata's large sample.
#pragma once

#include <QString>

#include <functional>

namespace kvl::bench {

// Returns the path of a large sample data file: `path` when it exists, else a
// new one written there (or in a temporary folder kept for the run).
QString largeSample(const QString &path);

double elapsedMs(const std::function<void()> &fn);

} // namespace kvl::bench
