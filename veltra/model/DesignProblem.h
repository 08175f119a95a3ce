#pragma once

#include "Captions.h"

#include <array>
#include <string>
#include <vector>

namespace veltrana {

/// Comment of the pass-band count line of an input file.
inline constexpr const char* kFreqCountLabel =
    "23. \u00bb  # of Freq. points, nFreqPoints, not a user prompt; i.e. a calculated value.";

/// The design problem: everything the user states about one filter, held as the texts the
/// user typed (UTF-8 in memory). The point arrays are 1-based: element 0 is unused, and
/// whoever fills them leaves at least one entry more than the points they hold.
struct DesignProblem {
    static constexpr int kAnswerSlots = 24;
    static constexpr int kSolverSettings = 9;

    std::array<std::string, kAnswerSlots> Answers; ///< slots 0-21 questions, 22/23 counts
    std::vector<std::string> Freq{1}, Yin{1}, Yout{1}, Weight{1};
    int nFreqPoints = 0;
    std::vector<std::string> DelFreq{1}, TX{1};
    int nDelayPoints = 0;
    std::string Note1{kNote1Start};
    std::string Note2{kNote2Start};
    std::array<std::string, kSolverSettings> SolverAnswers;
    int nSolverLines = 0;
    std::array<std::string, 2> CountLabels{kFreqCountLabel, ""};

    /// Empties the problem as File New does: no answers, no points, no notes, no settings.
    void clear();

    bool operator==(const DesignProblem&) const = default;
};

/// Answer slots by meaning, for the few that the program interprets.
enum AnswerSlot : int {
    SlotEqualDelay = 0,
    SlotUseWeights = 4,
    SlotPoles = 7,
    SlotSigmaZero = 11,
    SlotDoublet = 13,
    SlotLossless = 14,
    SlotZeroCounts = 15,
    SlotFreqCount = 22,
    SlotDelayCount = 23,
};

} // namespace veltrana
