#pragma once

#include <array>
#include <string>
#include <vector>

namespace veltrana {

/// The content of one result data file. Reading a file overwrites only what its model
/// carries; fields a file does not carry keep what an earlier file left in them.
///
/// Counts and flags hold 16-bit values (-32768 to 32767); counts are never negative. Arrays
/// are 0-based here (entry 0 is the file's first value) and hold at least as many entries as
/// their count says; a record line with extra numbers leaves extra entries behind them.
/// Texts are UTF-8, converted from the file's Windows-1252.
struct ResultData {
    std::string titleLine;  ///< header line 1: run title, or the saved fit's name (model > 0)
    std::string secondLine; ///< header line 2, shown on printouts
    std::string thirdLine;  ///< header line 3, not shown

    int modelX = 0;  ///< model number: -2, -1 filters, 0 ODE, 1 to 6 series, 110, others
    int nTerms = 0;  ///< number of series terms
    int nPoints = 0; ///< rows of the point table, or of the last trailing section read

    int delayMatched = 0; ///< 1: group delay was matched, a ripple section follows
    int nSigmaPoles = 0;
    double sigmaPole = 0; ///< valid when nSigmaPoles > 0
    int nPolePairs = 0;
    std::vector<double> pairReal; ///< pole pairs, ascending by imaginary part
    std::vector<double> pairImag;
    int nSigmaZeros = 0;
    double sigmaZeroLoc = 0; ///< valid when nSigmaZeros > 0
    int zeroDoublet = 0;     ///< 1: the sigma-axis zero is a doublet
    int zeroPaired = 0;      ///< 1: the sigma-axis zero is a plus-minus pair
    int nOmegaZeros = 0;
    int nZeroPairs = 0;
    int nZeroQuads = 0;
    std::vector<double> omegaZeros;
    std::vector<double> zeroReal; ///< nZeroPairs pairs first, then nZeroQuads quads
    std::vector<double> zeroImag;
    std::string gainText; ///< kept as written; converted where shown
    /// The record after the gain as read (empty when it could not be): the pass-band and delay
    /// error sums, and from this suite's optimiser also the sidelobe error sum and freqNorm.
    std::vector<double> fitRecord;

    std::string dataFileName; ///< models 1 to 6; empty for other models
    std::string y0Text;       ///< Y-axis offset as written (models 1 to 6 and 110)
    std::string equationText; ///< model 0: the equation up to its first "!"
    std::vector<double> coefA, coefB, coefC, coefD;
    std::vector<double> pw50; ///< Lorentzian pulse widths at 50 per cent
    std::vector<double> t0;   ///< Lorentzian offsets

    std::array<std::string, 4> kSums; ///< model 110: A1k_Sum to A4k_Sum in general form
    double doseA1 = 0, doseA2 = 0, dt50 = 0;

    std::vector<double> pointX;  ///< point table X, replaced by each trailing section
    std::vector<double> pointY1; ///< point table first Y column
    std::vector<double> pointY2; ///< point table second Y, replaced by each trailing section
    std::string sectionTitle;    ///< title line of the last trailing section read

    bool operator==(const ResultData&) const = default;
};

} // namespace veltrana
