#include "FakeForm.h"
#include "FileBytes.h"
#include "FileCommands.h"
#include "FixedTime.h"
#include "PromptTitles.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "Startup.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

using test::Noon;
using Titles = std::vector<std::string>;

class FileCommandsTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::current_path(m_dir);
        store = RegistryStore(in("registry"));
        state.currentFileName = "Start Up Values";
        state.currentDir = state.userDir = state.dialogInitialDir = m_dir.string();
        problem.Note1 = "mine";
    }
    // Writes an input file holding `note` as Note1.
    void writeInput(const std::string& name, const std::string& note = "") {
        DesignProblem p;
        p.Note1 = note;
        ShellState s;
        ASSERT_FALSE(WriteAnsFile(p, name, m_dir.string(), s, prompter, Noon));
    }
    FileDialogAnswer pick(const std::string& name) { return {in(name), 1}; }

    ShellState state;
    DesignProblem problem;
    FakeForm form{state};
    ScriptedPrompter prompter;
    RegistryStore store{std::string()};
    FileCommands commands{state, problem, form, prompter, store, Noon};
};

} // namespace

TEST_F(FileCommandsTest, NewAsksOnlyWhatTheDataCallsFor) {
    const std::tuple<bool, std::vector<PromptAnswer>, std::vector<std::string>, bool> cases[] = {
        {false, {PromptAnswer::Ok}, {"Confirm 'New' Response."}, true},
        {false, {PromptAnswer::Cancel}, {"Confirm 'New' Response."}, false},
        {true,
         {PromptAnswer::No, PromptAnswer::Ok},
         {"Data in form has changed!", "Confirm 'New' Response."},
         true},
        {true, {PromptAnswer::Cancel}, {"Data in form has changed!"}, false},
        // Yes, then a cancelled Save As: the New does not happen.
        {true, {PromptAnswer::Yes}, {"Data in form has changed!"}, false},
    };
    for (const auto& [changed, answers, expectedTitles, cleared] : cases) {
        ScriptedPrompter p;
        for (auto a : answers)
            p.answer(a);
        DesignProblem record;
        record.Note1 = "mine";
        ShellState s = state;
        s.dataChanged = changed;
        FakeForm f(s);
        FileCommands cmd(s, record, f, p, store, Noon);
        cmd.runMenu(FileCommands::MenuCommand::New);
        EXPECT_EQ(test::PromptTitles(p), expectedTitles);
        EXPECT_EQ(record.Note1.empty(), cleared);
        EXPECT_EQ(s.currentFileName, cleared ? "New data" : "Start Up Values");
        if (cleared) {
            EXPECT_EQ(f.caption, "New data ... Veltrana, a Quenlith based program");
        }
        EXPECT_EQ(p.unscripted, answers.back() == PromptAnswer::Yes ? 1 : 0);
    }
}

// What the file becomes on the form is checked through the real dialogs; here the request.
// A problem typed in after File > New ("New data") is offered for saving like any other.
TEST_F(FileCommandsTest, OpenOffersInputFilesAndAsksFirstAlsoAboutNewData) {
    writeInput("abc.frq", "from abc");
    state.currentFileName = "New data";
    state.dataChanged = true;
    prompter.answer(PromptAnswer::No);
    prompter.answerFile(pick("abc.frq"));
    commands.runMenu(FileCommands::MenuCommand::Open);
    EXPECT_EQ(test::PromptTitles(prompter), Titles{"Data in form has changed!"});
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].filters[prompter.dialogs[0].filterIndex - 1].patterns,
              "*.?;*.??");
    EXPECT_EQ(problem.Note1, "from abc");
    EXPECT_EQ(state.currentDir, m_dir.string());
}

TEST_F(FileCommandsTest, OpenCancelledBySaveQuestionOrDialogChangesNothing) {
    writeInput("abc.frq", "from abc");
    state.dataChanged = true;
    prompter.answer(PromptAnswer::Yes); // save first, then cancel the Save As dialog
    commands.runMenu(FileCommands::MenuCommand::Open);
    EXPECT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].title, "Save Input File As ...");
    EXPECT_EQ(problem.Note1, "mine");

    state.dataChanged = false;
    commands.runMenu(FileCommands::MenuCommand::Open); // the Open dialog itself cancelled
    EXPECT_EQ(prompter.dialogs.back().title, "Open Input File");
    EXPECT_EQ(problem.Note1, "mine");
    EXPECT_EQ(state.currentFileName, "Start Up Values");
}

TEST_F(FileCommandsTest, UnreadableFileIsReportedAndLosesNothing) {
    // Whoever runs the test: memory that cannot be read, an endless device, a pipe nobody
    // writes to, a file far too large to be an input file (its points would fill the grids
    // until the memory ran out). None may hang, abort or touch the data.
    ASSERT_EQ(::mkfifo(in("pipe").c_str(), 0600), 0);
    std::ofstream(in("big.frq")) << std::string(kMaxInputFileBytes + 1, '1');
    for (const std::string& path :
         {std::string("/proc/self/mem"), std::string("/dev/zero"), in("pipe"), in("big.frq")}) {
        ScriptedPrompter p;
        p.answerFile(FileDialogAnswer{path, 2});
        FileCommands cmd(state, problem, form, p, store, Noon);
        state.dataChanged = false;
        problem.Note2 = "unsaved edit";
        DesignProblem before = problem;
        cmd.runMenu(FileCommands::MenuCommand::Open);
        ASSERT_EQ(p.prompts.size(), 1u) << path;
        EXPECT_EQ(p.prompts[0].title, "In 'FileOld' routine ...");
        EXPECT_EQ(p.prompts[0].text.rfind("Unexpected error #", 0), 0u);
        EXPECT_EQ(problem, before);
        EXPECT_EQ(state.currentFileName, "Start Up Values");
        EXPECT_EQ(form.calls.find("Get"), std::string::npos);
    }
}

TEST_F(FileCommandsTest, OpenReportsASettingsStoreThatCannotBeWritten) {
    writeInput("abc.frq", "from abc");
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    RegistryStore blocked(in("blocked/registry"));
    FileCommands cmd(state, problem, form, prompter, blocked, Noon);
    prompter.answerFile(pick("abc.frq"));
    cmd.runMenu(FileCommands::MenuCommand::Open);
    EXPECT_EQ(test::PromptTitles(prompter), Titles{"Settings store"});
    EXPECT_EQ(problem.Note1, "from abc"); // the file is still opened
}

TEST_F(FileCommandsTest, TextTheCodePageCannotHoldIsSavedOnlyAfterAWarning) {
    writeInput("f.1", "old");
    std::string before = Contents(m_dir / "f.1");
    state.currentFileName = "f.1";
    problem.Note1 = "\xe6\x97\xa5\xe6\x9c\xac \xc3\xa9"; // Japanese is lost, é is kept
    for (PromptAnswer answer : {PromptAnswer::Cancel, PromptAnswer::Ok}) {
        ScriptedPrompter p;
        p.answer(answer);
        FileCommands cmd(state, problem, form, p, store, Noon);
        state.dataChanged = true;
        cmd.runMenu(FileCommands::MenuCommand::Save);
        EXPECT_EQ(test::PromptTitles(p), Titles{"Characters will be lost"});
        bool saved = answer == PromptAnswer::Ok;
        EXPECT_EQ(Contents(m_dir / "f.1") == before, !saved);
        EXPECT_EQ(state.dataChanged, !saved);
    }
    EXPECT_NE(Contents(m_dir / "f.1").find("?? \xe9"), std::string::npos);
}

// Every step of a save fails once in turn: the user hears of it, the data stay marked
// changed, and the file on disk is the old one (or, when only the directory sync after the
// rename failed, the new one), never a mixture.
TEST_F(FileCommandsTest, EachFailingStepOfASaveKeepsTheOldFileAndTheChanges) {
    // the failing step, its error, and how many short writes come before it
    const std::tuple<SaveStep, int, int> cases[] = {
        {SaveStep::Open, EMFILE, 0},  {SaveStep::Write, ENOSPC, 0}, {SaveStep::Write, EIO, 2},
        {SaveStep::Chmod, EPERM, 0},  {SaveStep::Sync, EIO, 0},     {SaveStep::Close, EIO, 0},
        {SaveStep::Rename, EXDEV, 0}, {SaveStep::DirSync, EIO, 0}};
    writeInput("f.1", "old");
    const std::string before = Contents(m_dir / "f.1");
    state.currentFileName = "f.1";
    int injected = 0;
    for (const auto& [failing, fault, afterShortWrites] : cases) {
        int shortWrites = afterShortWrites;
        SetSaveFaultHook([&](SaveStep step) {
            if (step != failing)
                return 0;
            if (shortWrites-- > 0)
                return kShortWrite;
            ++injected;
            return fault;
        });
        ScriptedPrompter p;
        FileCommands cmd(state, problem, form, p, store, Noon);
        problem.Note1 = "new " + std::to_string(static_cast<int>(failing));
        state.dataChanged = true;
        cmd.runMenu(FileCommands::MenuCommand::Save);
        SetSaveFaultHook({});
        const std::string after = Contents(m_dir / "f.1");
        SCOPED_TRACE(static_cast<int>(failing));
        EXPECT_EQ(p.prompts.size(), 1u);
        EXPECT_TRUE(state.dataChanged);
        if (failing == SaveStep::DirSync)
            EXPECT_NE(after.find(problem.Note1), std::string::npos);
        else
            EXPECT_EQ(after, before);
        for (const auto& entry : fs::directory_iterator(m_dir))
            EXPECT_NE(entry.path().filename().string().rfind(".vt-", 0), 0u) << "left behind";
    }
    std::printf("save faults injected: %d\n", injected);
    EXPECT_EQ(injected, static_cast<int>(std::size(cases)));
}

TEST_F(FileCommandsTest, SaveAsProposesTheNameWithAnyExtension) {
    const std::tuple<const char*, const char*> cases[] = {
        {"abc.frq", "abc.*"}, {"abc", "abc.*"}, {"*.*", "*.*"}, {"a.b.c", "a.*"}};
    for (const auto& [current, proposal] : cases)
        EXPECT_EQ(SaveAsProposal(current), proposal);
}

TEST_F(FileCommandsTest, SavingOverAReadOnlyExampleKeepsItAndTheChanges) {
    writeInput("Ex-Demo.1", "example");
    std::string before = Contents(m_dir / "Ex-Demo.1");
    fs::permissions(m_dir / "Ex-Demo.1", fs::perms::owner_read);
    state.dataChanged = true;
    prompter.answerFile(pick("Ex-Demo.1"));
    prompter.answer(PromptAnswer::Yes); // replace it
    EXPECT_FALSE(commands.FileSaveAs());
    EXPECT_EQ(test::PromptTitles(prompter),
              (Titles{"File exists, want to replace it?",
                      "File not saved; Error in 'WriteAnsFile' routine."}));
    EXPECT_NE(prompter.prompts[1].text.find("Ex-*.?? files in Veltrana's User directory are for "
                                            "'read-only'."),
              std::string::npos);
    EXPECT_EQ(Contents(m_dir / "Ex-Demo.1"), before);
    EXPECT_TRUE(state.dataChanged);
    EXPECT_EQ(state.writeFailed, 0);
}

TEST_F(FileCommandsTest, SaveFindsTheOpenedFileWhereverItLies) {
    fs::create_directories(m_dir / "elsewhere");
    writeInput("elsewhere/f.1");
    prompter.answerFile(pick("elsewhere/f.1"));
    commands.runMenu(FileCommands::MenuCommand::Open);
    problem.Note1 = "edited";
    state.dataChanged = true;
    commands.runMenu(FileCommands::MenuCommand::Save);
    EXPECT_TRUE(prompter.dialogs.size() == 1u) << "Save must not fall back to Save As";
    EXPECT_NE(Contents(m_dir / "elsewhere/f.1").find("edited"), std::string::npos);
    EXPECT_FALSE(state.dataChanged);

    // A name never saved turns Save into Save As.
    state.currentFileName = "New data";
    commands.runMenu(FileCommands::MenuCommand::Save);
    EXPECT_EQ(prompter.dialogs.back().title, "Save Input File As ...");
}

TEST_F(FileCommandsTest, DeleteWithWildcardsOnlyAfterYes) {
    struct Case {
        PromptAnswer answer;
        size_t left;
    } cases[] = {{PromptAnswer::No, 3}, {PromptAnswer::Yes, 0}};
    for (const auto& c : cases) {
        fs::create_directories(m_dir / "del");
        for (const char* n : {"a.1", "b.frq", "c"})
            std::ofstream(m_dir / "del" / n) << n;
        ScriptedPrompter p;
        p.answerFile(FileDialogAnswer{(m_dir / "del/*.*").string(), 1});
        p.answer(c.answer);
        FileCommands cmd(state, problem, form, p, store, Noon);
        cmd.FileDelete();
        ASSERT_EQ(p.prompts.size(), 1u);
        EXPECT_EQ(p.prompts[0].text, "Delete '" + (m_dir / "del/*.*").string() + "' File.");
        auto left = std::distance(fs::directory_iterator(m_dir / "del"), fs::directory_iterator());
        EXPECT_EQ(static_cast<size_t>(left), c.left);
        EXPECT_EQ(state.dialogInitialDir, (m_dir / "del").string());
        EXPECT_EQ(state.currentFileName, "Start Up Values");
    }
}

TEST_F(FileCommandsTest, ExitOffersToSaveChangedData) {
    EXPECT_TRUE(commands.mayExit());
    state.dataChanged = true;
    prompter.answer(PromptAnswer::Cancel);
    EXPECT_FALSE(commands.mayExit());
    prompter.answer(PromptAnswer::No);
    EXPECT_TRUE(commands.mayExit());
    EXPECT_EQ(test::PromptTitles(prompter),
              (Titles{"Data in form has changed!", "Data in form has changed!"}));
}
