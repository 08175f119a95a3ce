#pragma once

#include "ResultData.h"

#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// One pole or zero of a fitted H(s), normalised by the frequency norm as the result file
/// gives it. Complex ones come as conjugates (and quads as their four members), each a row of
/// its own with the number of its pair.
struct Root {
    bool pole = true;
    std::string kind; ///< "sigma axis", "pair", "omega axis", "quad"
    int number = 1;   ///< of its pole, pair, zero or quad, counted from 1
    double real = 0, imaginary = 0;
};

/// The fitted filter of a result file: every pole and zero, the gain, the error sums and the
/// frequency norm (MHz) when the result file carries them.
struct Constellation {
    std::string title;
    std::vector<Root> roots;
    std::optional<double> gain;
    std::string gainText; ///< as written, for a gain that is no number
    std::optional<double> freqNormMHz;
    std::optional<double> passBandSum, delaySum, sidelobeSum, totalSum;
};

/// The constellation of a filter result (models -2 and -1).
Constellation ConstellationOf(const ResultData& data);

/// The resonance of a complex root in normalised units: its distance from the origin.
double NaturalFrequency(const Root& root);
/// Its quality factor |s| / (2 |Re s|); nothing for a root on the imaginary or real axis.
std::optional<double> QualityFactor(const Root& root);

/// A number in 17 significant digits (the shortest form that always reads back as the same
/// double), with a point whatever the locale; "" for NaN and infinities.
std::string ExactNumber(double value);

/// The constellation as CSV: a table of the roots (element, number, real and imaginary part
/// normalised and in MHz, f0 in MHz and Q), a blank line, then quantity and value pairs.
std::string ConstellationCsv(const Constellation& c);

/// The constellation as JSON: title, frequencyNormMHz, gain, errorSums, poles and zeros.
/// Values that are not known are null.
std::string ConstellationJson(const Constellation& c);

} // namespace veltrana
