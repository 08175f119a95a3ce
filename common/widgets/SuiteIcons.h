#pragma once

#include <QIcon>

namespace veltrana {

/// The window icon of one of the suite's programs: "veltra", "plots" or "list".
QIcon SuiteIcon(const char* program);

} // namespace veltrana
