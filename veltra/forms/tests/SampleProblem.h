#pragma once

#include "DesignProblem.h"

namespace veltrana {

// A problem as the file reader leaves it: arrays one longer than the points.
inline DesignProblem SampleProblem(bool weights) {
    DesignProblem p;
    p.Answers = {"Y",   "50", "-2", "-1",    "Y",   "8",   "12",  "0  3", ".02",  ".1", ".4", "Y",
                 ".07", "N",  "Y",  "1 2 0", "1.5", ".01", ".03", "2",    ".001", "30", " 3", " 2"};
    p.Answers[4] = weights ? "Y" : "N";
    p.Freq = {"", "1", "2", "3"};
    p.Yin = {"", "0.5", "0.6", "0.7"};
    p.Yout = {"", "1.0", "1.1", "1.2"};
    p.Weight = {"", "4", "5", "6"};
    p.nFreqPoints = 3;
    p.DelFreq = {"", "0.1", "0.2"};
    p.TX = {"", "70", "71"};
    p.nDelayPoints = 2;
    p.Note1 = "first note";
    p.Note2 = "second note";
    p.SolverAnswers = {"5 10 7", "", "", "100", "", "", "", "", ".0001"};
    p.nSolverLines = 9;
    return p;
}

} // namespace veltrana
