#pragma once

#include "Fit.h"
#include "InputFile.h"
#include "OptimiserRun.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <filesystem>

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

/// The test's directory as the family directory, with the user directory below it.
class FamilyRunTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_user = (m_dir / "Veltr.hz" / "User").string();
        std::filesystem::create_directories(m_user);
    }
    /// Copies the optimiser's example input file `example` into the user directory as `name`.
    void installExample(const std::string& example, const std::string& name) const {
        std::filesystem::copy_file(std::filesystem::path(OPTIMISER_EXAMPLES) / example,
                                   std::filesystem::path(m_user) / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    /// The five arguments veltra hands the optimiser for the input file `name`.
    std::vector<std::string> handOver(const std::string& name) const {
        const std::string family = m_dir.string();
        return {name, m_user, family, family.substr(0, 2), name.substr(0, 2)};
    }
    std::string lastLineOfListing() const {
        std::string text = Contents(ListingPath(m_dir.string()));
        text.erase(text.find_last_not_of("\r\n") + 1); // npos + 1 is 0
        return text.substr(text.rfind('\n') + 1);
    }

    std::string m_user;
};

} // namespace veltrana::test
