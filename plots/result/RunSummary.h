#pragma once

#include "LocalDateTime.h"
#include "ResultData.h"

#include <string>
#include <string_view>

namespace veltrana {

/// The product that produced a result of model `model`: "Veltrana (tm)", "Brennic (tm)",
/// "Ismeral (tm)", "Tovinka (tm)" or "Sarlow (tm)".
std::string ProductName(int model);

/// `text` trimmed of blanks and padded with blanks to `width` - 1 characters (UTF-8 code
/// points); a longer text stays whole.
std::string PadText(std::string_view text, int width);

/// The run summary of `data` as the Output page shows it: every line starts with a TAB,
/// lines are joined with CR LF, and the last line has no line end. `now` is the date and
/// time printed on the product line.
std::string WriteRunSummary(const ResultData& data, const LocalDateTime& now);

/// WriteRunSummary at the current local time.
std::string WriteRunSummary(const ResultData& data);

} // namespace veltrana
