#pragma once

#include "InputFile.h"

#include <ostream>
#include <string>
#include <vector>

namespace veltrana {

/// The usage text of the program import-data.
std::string ImportDataUsage();

/// The program import-data: reads the measured data file DATA, takes the input file TEMPLATE
/// and writes it as OUT with its pass-band table (and, with --delay, its delay table) made
/// from the data. `args` are the arguments without the program's name; messages go to `out`
/// and `err`. Returns the exit status: 0 when OUT was written, 1 otherwise (nothing written).
int RunImportData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const Clock& clock = LocalNow);

} // namespace veltrana
