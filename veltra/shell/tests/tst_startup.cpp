#include "FakeForm.h"
#include "FamilyDirTest.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class StartupTest : public test::FamilyDirTest {
protected:
    void SetUp() override {
        FamilyDirTest::SetUp();
        fs::remove_all(programDir); // start-up makes it
        store = RegistryStore();
        // Blanks around the family directory, as a hand-edited environment may have them.
        env.getenv = [this](const char* name) { return "  " + quillon(name) + " "; };
        env.launch = [this](const std::string& path) {
            launched.push_back(path);
            return true;
        };
        env.today = [] {
            std::tm t{};
            t.tm_year = 126;
            t.tm_mon = 11;
            t.tm_mday = 6;
            return t;
        };
    }
    bool load() { return LoadMainForm(state, problem, form, prompter, store, env); }

    std::vector<std::string> launched;
    StartupEnvironment env;
    ShellState state;
    DesignProblem problem;
    FakeForm form{state};
    ScriptedPrompter prompter;
    RegistryStore store{std::string()};
};

} // namespace

// The first start lays the installation out and shows the start-up values; a later one reads
// the ini file, leaving it as it was, and the last run's values, and brings plots up with the
// last result.
TEST_F(StartupTest, FirstStartLaysOutTheInstallationLaterStartsReadIt) {
    state.dataChanged = true; // the form's Put leaves it; the start clears it
    ASSERT_TRUE(load());
    fs::path ini = programDir / "Veltrana.ini";
    EXPECT_EQ(Contents(ini),
              "Veltrana\x99 Program                 12/6/2026\r\n"
              "1             ! Increase if COMMAND still active and stops your run\r\n"
              "no name             ! User name\r\n");
    EXPECT_TRUE(fs::is_directory(user));
    EXPECT_EQ(fs::current_path(), user);
    EXPECT_EQ(state.userName, "no name");
    EXPECT_EQ(form.calls, "Put;");
    EXPECT_EQ(state.currentFileName, "Start Up Values");
    EXPECT_EQ(state.currentDir, user.string());
    EXPECT_FALSE(state.dataChanged);
    EXPECT_TRUE(launched.empty());

    std::ofstream(ini, std::ios::binary) << "Veltrana\r\n3   ! wait\r\nAda  ! User name\r\n";
    const std::string before = Contents(ini);
    DesignProblem saved;
    saved.Note1 = "from last run";
    ShellState s;
    ASSERT_FALSE(WriteAnsFile(saved, "last-run.ini", programDir.string(), s, prompter));
    ASSERT_TRUE(SaveFileIn(store, "/data/run.dat").ok());
    installProgram(family / "plots");
    form.calls.clear();
    ASSERT_TRUE(load());
    EXPECT_EQ(Contents(ini), before);
    EXPECT_EQ(state.waitFactor, 3);
    EXPECT_EQ(state.userName, "Ada");
    EXPECT_EQ(form.calls, "Get;");
    EXPECT_EQ(problem.Note1, "from last run");
    EXPECT_EQ(launched, std::vector<std::string>{(family / "plots").string()});
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(StartupTest, DialogStartsInTheLastFilePathWhenItIsAbsolute) {
    const std::tuple<std::string, bool> cases[] = {
        {"/data/filters", true}, {"data/more", false}, {"", false}, {"D:\\data", false}};
    for (const auto& [stored, used] : cases) {
        ASSERT_TRUE(SaveLastFilePath(store, stored).ok());
        ASSERT_TRUE(load());
        EXPECT_EQ(state.dialogInitialDir, used ? stored : user.string()) << stored;
    }
}
