#include "DesignProblem.h"

namespace veltrana {

void DesignProblem::clear() {
    for (auto& a : Answers)
        a.clear();
    for (auto& s : SolverAnswers)
        s.clear();
    nFreqPoints = nDelayPoints = nSolverLines = 0;
    Freq.assign(1, {});
    Yin.assign(1, {});
    Yout.assign(1, {});
    Weight.assign(1, {});
    DelFreq.assign(1, {});
    TX.assign(1, {});
    Note1.clear();
    Note2.clear();
}

} // namespace veltrana
