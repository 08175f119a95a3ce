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
};

/// The rows of the points `selected` (indices into the response): Yin 1 where the response
/// has none, numbers in their shortest exact form up to 15 digits.
ImportedTables BuildTables(const MeasuredResponse& response,
                           const std::vector<std::size_t>& selected);

/// Replaces the pass-band table of `problem` by the imported one, and its delay table when the
/// import carries delays. Imported weights switch the weighting on (question 3), imported
/// delays the equalisation of the group delay (question 1): otherwise they would not count.
void ApplyImport(DesignProblem& problem, const ImportedTables& tables);

} // namespace veltrana
