#pragma once

#include "MeasuredResponse.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace veltrana {

struct DesignProblem;

/// The rows an import puts into the two tables of the design problem, as the texts of their
/// cells: frequency in MHz, Yin, Yout, weight; delay frequency in MHz and delay in ns.
struct ImportedTables {
    std::vector<std::array<std::string, 4>> pass; ///< Freq, Yin, Yout, Weight ("" without weights)
    bool weights = false;
    std::vector<std::array<std::string, 2>> delay; ///< DelFreq, TX
    bool withDelay = false;
    std::string what;            ///< what Yout is: "|S21|" or the name of its column
    std::size_t thinnedFrom = 0; ///< the points of the range before thinning
};

/// The rows of the points `selected` (indices into the response): Yin 1 where the response
/// has none; frequencies in their shortest exact form (up to 15 digits), magnitudes, weights
/// and delays rounded to 9 significant digits.
ImportedTables BuildTables(const MeasuredResponse& response,
                           const std::vector<std::size_t>& selected);

/// The whole import: the response the choices take from the file, the points of their range
/// and the rows made of them. Fails, saying why, when the choices do not fit the file or no
/// point lies in the range.
bool ImportTablesOf(const MeasuredFile& file, const ImportChoices& choices, ImportedTables& tables,
                    ImportError& error);

/// Replaces the pass-band table of `problem` by the imported one, and its delay table when the
/// import carries delays. Imported weights switch the weighting on (question 3), imported
/// delays the equalisation of the group delay (question 1): otherwise they would not count.
void ApplyImport(DesignProblem& problem, const ImportedTables& tables);

} // namespace veltrana
