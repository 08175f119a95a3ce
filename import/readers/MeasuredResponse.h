#pragma once

#include "ImportError.h"
#include "MeasuredFile.h"
#include "PointSelection.h"

#include <string>
#include <vector>

namespace veltrana {

/// Units of a text table's frequency column.
enum class FrequencyUnit { Hz, kHz, MHz, GHz };

/// Which columns of a text table hold what, counted from 0; -1 for none.
struct TableColumns {
    int freq = 0;
    int yout = 1;
    int yin = -1;    ///< none: Yin is 1
    int weight = -1; ///< none: no weights
    bool operator==(const TableColumns&) const = default;
};

/// What the user chose for an import.
struct ImportChoices {
    // Touchstone files
    std::string parameter; ///< "S21"; empty for the default (S21, or S11 for one port)
    bool delay = false;    ///< the group delay from the phase goes into the delay table
    // Text tables
    TableColumns columns;
    FrequencyUnit unit = FrequencyUnit::MHz;
    bool decibels = false; ///< Yout and Yin are 20 log10 of the magnitude
    // Both
    PointRange range;
};

/// The measured response in the units of the design problem, one entry per point of the
/// file, ascending in frequency.
struct MeasuredResponse {
    std::vector<double> freqMHz;
    std::vector<double> yout;    ///< linear magnitude
    std::vector<double> yin;     ///< empty: 1 throughout
    std::vector<double> weight;  ///< empty: no weights
    std::vector<double> delayNs; ///< empty: no delay
    std::string what;            ///< "|S21|", or "Yout from " and the name of its column
};

/// The choices a table's header suggests: the frequency column (named with "freq", else the
/// first) and its unit (a name holding "GHz", "MHz", "kHz" or "Hz"; else MHz), the Yout column
/// (named with "s21", "yout", "mag", "|" or "db", else the next one) and dB when its name says so.
ImportChoices SuggestedTableChoices(const TextTable& table);

/// The parameter taken when none is chosen: S21 (S11 for a one-port), in the file's letter.
std::string DefaultParameter(const TouchstoneData& data);

/// MHz in one unit of `unit`.
double MHzPerUnit(FrequencyUnit unit);

/// The response the choices take from the file. Fails with the line and what is wrong: a
/// parameter the file does not hold, a column that is not a number, frequencies out of order,
/// negative magnitudes or weights, a choice that does not fit the kind of file.
bool MeasuredResponseOf(const MeasuredFile& file, const ImportChoices& choices,
                        MeasuredResponse& response, ImportError& error);

} // namespace veltrana
