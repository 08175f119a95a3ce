#pragma once

#include "Fit.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace veltrana::test {

/// The fit problem of `d`; a test failure when it has none.
inline FitProblem Build(const DesignProblem& d) {
    FitProblem fp;
    std::string error;
    EXPECT_TRUE(BuildFitProblem(d, fp, error)) << error;
    return fp;
}

/// The optimiser's example input file `name`, as veltra reads it.
inline DesignProblem Example(const std::string& name) {
    DesignProblem d;
    ScriptedPrompter prompter;
    EXPECT_EQ(FileReadMe(name, OPTIMISER_EXAMPLES, d, prompter), ReadOutcome::Read);
    return d;
}

inline FitResult Quietly(const FitProblem& fp, const SolverSettings& settings = {}) {
    FitObserver quiet;
    return Fit(fp, settings, quiet);
}

} // namespace veltrana::test
