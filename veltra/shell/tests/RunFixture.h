#pragma once

#include "InputFile.h"
#include "Settings.h"
#include "ShellTest.h"

#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace veltrana::test {

namespace fs = std::filesystem;

/// The real shell over a stand-in optimiser (tests/data/optimiser-standin.sh, whose ending
/// standIn() picks) and a stand-in plots.
class RunTest : public ShellTest {
public:
    using Texts = std::vector<std::string>;

protected:
    void SetUp() override {
        ShellTest::SetUp();
        fs::copy_file(fs::path(VELTRANA_TEST_DATA) / "optimiser-standin.sh", family / "optimiser");
        installProgram(family / "plots");
        standIn("ok");
        ASSERT_TRUE(newShell().start());
    }
    void TearDown() override {
        ShellTest::TearDown();
        ::unsetenv("VELTRANA_STANDIN");
    }
    static void standIn(const char* ending) { ::setenv("VELTRANA_STANDIN", ending, 1); }

    // An input file on disk the optimiser takes, with `note` as its Note1 (`edit` changes it
    // first), made the current file of `into` (the test's shell unless given).
    void openFile(const fs::path& path, const std::string& note,
                  const std::function<void(DesignProblem&)>& edit = {}, VeltraShell* into = {}) {
        VeltraShell& s = into ? *into : *shell;
        fs::create_directories(path.parent_path());
        DesignProblem& p = s.problem() = DesignProblem();
        ASSERT_EQ(FileReadMe("Ex-Yzero.01", VELTRANA_EXAMPLES, p, prompter), ReadOutcome::Read);
        p.Note1 = note;
        if (edit)
            edit(p);
        ShellState written;
        ASSERT_FALSE(WriteAnsFile(p, path.filename(), path.parent_path(), written, prompter));
        s.state().currentFileName = path.filename();
        s.state().currentDir = path.parent_path();
        s.form().GetAnswers();
        s.state().dataChanged = false;
    }
    bool waitForEnd() {
        return QTest::qWaitFor([this] { return !shell->runCommands().running(); }, 10000);
    }
    bool waitForListing(const std::string& text) {
        return QTest::qWaitFor([&] { return listing().find(text) != std::string::npos; }, 10000);
    }
    std::string listing() const { return Contents(user / "~Veltra.out"); }
    // The stand-in optimiser named in the listing has gone (or is a zombie nobody reaped yet).
    bool optimiserEnded() const {
        const std::string text = listing();
        std::ifstream stat("/proc/" + text.substr(text.find("pid=") + 4, 8) + "/stat");
        std::string pid, name, state;
        return !(stat >> pid >> name >> state) || state == "Z";
    }
    // Whether the run controls this form has are all enabled (1), all disabled (0), or mixed.
    int runControls() const {
        int on = 0;
        for (const auto* name : {"cmdSubmit", "cmdPlots", "mnuFile", "mnuView"})
            on += enabled(name);
        return on == 4 ? 1 : on == 0 ? 0 : -1;
    }
    std::string fileIn() const { return GetFileIn(RegistryStore()); }
    bool plotsStarted() const {
        return std::ranges::count(launched, (family / "plots").string()) > 0;
    }
};

} // namespace veltrana::test
