#pragma once

#include "InputFile.h"
#include "Settings.h"
#include "ShellTest.h"

#include <QTest>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace veltrana::test {

namespace fs = std::filesystem;

/// The real shell over a stand-in optimiser (tests/data/optimiser-standin.sh, whose ending
/// VELTRANA_STANDIN picks) and a stand-in plots.
class RunTest : public ShellTest {
public:
    using Texts = std::vector<std::string>;

protected:
    void SetUp() override {
        ShellTest::SetUp();
        fs::copy_file(fs::path(VELTRANA_TEST_DATA) / "optimiser-standin.sh", family / "optimiser");
        installProgram(family / "plots");
        ::setenv("VELTRANA_STANDIN", "ok", 1);
        ASSERT_TRUE(newShell().start());
    }
    void TearDown() override {
        ShellTest::TearDown();
        ::unsetenv("VELTRANA_STANDIN");
    }

    // A problem the optimiser takes, with `note` as its Note1.
    static DesignProblem Problem(const std::string& note) {
        DesignProblem p;
        ScriptedPrompter quiet;
        EXPECT_EQ(FileReadMe("Ex-Yzero.01", VELTRANA_EXAMPLES, p, quiet), ReadOutcome::Read);
        p.Note1 = note;
        return p;
    }
    // The form holds a problem the optimiser takes, not yet saved anywhere.
    void fillForm() {
        shell->problem() = Problem("edited");
        shell->form().GetAnswers();
    }
    // An input file on disk whose Note1 is `note`, made the current file; `edit` changes the
    // problem first.
    void openFile(const fs::path& path, const std::string& note,
                  const std::function<void(DesignProblem&)>& edit = {}) {
        fs::create_directories(path.parent_path());
        DesignProblem p = Problem(note);
        if (edit)
            edit(p);
        ShellState s;
        ASSERT_FALSE(WriteAnsFile(p, path.filename(), path.parent_path(), s, prompter));
        shell->problem() = p;
        shell->state().currentFileName = path.filename();
        shell->state().currentDir = path.parent_path();
        shell->form().GetAnswers();
        shell->state().dataChanged = false;
    }
    bool waitForEnd() {
        return QTest::qWaitFor([this] { return !shell->runCommands().running(); }, 10000);
    }
    std::string listing() const { return Contents(user / "~Veltra.out"); }
    // Whether the run controls this form has are all enabled (1), all disabled (0), or mixed.
    int runControls() const {
        int on = 0;
        for (const auto* name : {"cmdSubmit", "cmdPlots", "mnuFile", "mnuView"})
            on += enabled(name);
        return on == 4 ? 1 : on == 0 ? 0 : -1;
    }
    std::string fileIn() const { return GetFileIn(RegistryStore()); }
    // Gives a file the time of a run long past.
    static void backdate(const fs::path& path) {
        fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    }
    bool plotsStarted() const {
        return std::ranges::count(launched, (family / "plots").string()) > 0;
    }
};

} // namespace veltrana::test
