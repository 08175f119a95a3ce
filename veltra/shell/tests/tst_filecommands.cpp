#include "FakeForm.h"
#include "FileBytes.h"
#include "FileCommands.h"
#include "FixedTime.h"
#include "PromptTitles.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
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

// New and Open replace the data only after changed data were offered for saving, also a
// problem typed in after File > New ("New data"). What the opened file becomes on the form is
// checked through the real dialogs; here the request, and that a settings store that cannot
// take the file's folder is reported with the file opened all the same.
TEST_F(FileCommandsTest, NewAndOpenAskOnlyWhatTheDataCallFor) {
    using A = PromptAnswer;
    using C = FileCommands::MenuCommand;
    const std::string changed = "Data in form has changed!", confirm = "Confirm 'New' Response.";
    const std::string saveAs = "Save Input File As ...", open = "Open Input File";
    // the command, whether the data changed, the answers (and Open's pick of the file made
    // current), the messages, the dialog shown, and the current file ("" where nothing happened)
    const std::tuple<C, bool, std::vector<A>, Titles, std::string, std::string> cases[] = {
        {C::New, false, {A::Ok}, {confirm}, "", "New data"},
        {C::New, false, {A::Cancel}, {confirm}, "", ""},
        {C::New, true, {A::No, A::Ok}, {changed, confirm}, "", "New data"},
        {C::New, true, {A::Cancel}, {changed}, "", ""},
        {C::New, true, {A::Yes}, {changed}, saveAs, ""}, // the Save As dialog is cancelled
        {C::Open, false, {}, {}, open, ""},
        {C::Open, true, {A::No}, {changed, "Settings store"}, open, "abc.frq"},
    };
    writeInput("abc.frq", "from abc");
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    store = RegistryStore(in("blocked/registry"));
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [command, dataChanged, answers, titles, dialog, current] = cases[row];
        prompter = ScriptedPrompter();
        for (auto a : answers)
            prompter.answer(a);
        if (command == C::Open && !current.empty())
            prompter.answerFile(pick(current));
        problem.Note1 = "mine";
        state.currentFileName = "New data";
        state.dataChanged = dataChanged;
        commands.runMenu(command);
        EXPECT_EQ(test::PromptTitles(prompter), titles);
        ASSERT_EQ(prompter.dialogs.size(), dialog.empty() ? 0u : 1u);
        EXPECT_EQ(problem.Note1, current.empty() ? "mine" : command == C::New ? "" : "from abc");
        EXPECT_EQ(state.currentFileName, current.empty() ? "New data" : current);
        if (!dialog.empty()) {
            const FileDialogRequest& d = prompter.dialogs[0];
            EXPECT_EQ(d.title, dialog);
            EXPECT_EQ(d.filters[d.filterIndex - 1].patterns, dialog == open ? "*.?;*.??" : "*.*");
        }
    }
    EXPECT_EQ(state.currentDir, m_dir.string());
}

TEST_F(FileCommandsTest, UnreadableFileIsReportedAndLosesNothing) {
    // Whoever runs the test: memory that cannot be read, an endless device, a pipe nobody
    // writes to, a file far too large to be an input file (its points would fill the grids
    // until the memory ran out). None may hang, abort or touch the data.
    ASSERT_EQ(::mkfifo(in("pipe").c_str(), 0600), 0);
    std::ofstream(in("big.frq")) << std::string(kMaxInputFileBytes + 1, '1');
    problem.Note2 = "unsaved edit";
    const DesignProblem before = problem;
    for (const std::string& path :
         {std::string("/proc/self/mem"), std::string("/dev/zero"), in("pipe"), in("big.frq")}) {
        prompter = ScriptedPrompter();
        prompter.answerFile(FileDialogAnswer{path, 2});
        commands.runMenu(FileCommands::MenuCommand::Open);
        ASSERT_EQ(test::PromptTitles(prompter), Titles{"In 'FileOld' routine ..."}) << path;
        EXPECT_EQ(problem, before);
        EXPECT_EQ(state.currentFileName, "Start Up Values");
        EXPECT_EQ(form.calls.find("Get"), std::string::npos);
    }
}

TEST_F(FileCommandsTest, TextTheCodePageCannotHoldIsSavedOnlyAfterAWarning) {
    writeInput("f.1", "old");
    std::string before = Contents(m_dir / "f.1");
    state.currentFileName = "f.1";
    problem.Note1 = "\xe6\x97\xa5\xe6\x9c\xac \xc3\xa9"; // Japanese is lost, é is kept
    for (PromptAnswer answer : {PromptAnswer::Cancel, PromptAnswer::Ok}) {
        prompter = ScriptedPrompter();
        prompter.answer(answer);
        state.dataChanged = true;
        commands.runMenu(FileCommands::MenuCommand::Save);
        EXPECT_EQ(test::PromptTitles(prompter), Titles{"Characters will be lost"});
        bool saved = answer == PromptAnswer::Ok;
        EXPECT_EQ(Contents(m_dir / "f.1") == before, !saved);
        EXPECT_EQ(state.dataChanged, !saved);
    }
    EXPECT_NE(Contents(m_dir / "f.1").find("?? \xe9"), std::string::npos);
}

// Declining the loss of characters in the Save As that "Save current data?" led to is no
// save: Exit, New and Open all stop there with the data kept and still marked changed.
TEST_F(FileCommandsTest, DecliningLostCharactersInSaveAsStopsExitNewAndOpen) {
    using C = FileCommands::MenuCommand;
    const std::tuple<const char*, std::optional<C>> cases[] = {
        {"exit", std::nullopt}, {"new", C::New}, {"open", C::Open}};
    const std::string note = "\xe6\x97\xa5\xe6\x9c\xac";
    for (const auto& [name, command] : cases) {
        SCOPED_TRACE(name);
        prompter = ScriptedPrompter();
        prompter.answer(PromptAnswer::Yes);
        prompter.answerFile(pick("kept.frq"));
        prompter.answer(PromptAnswer::Cancel);
        problem.Note1 = note;
        state.dataChanged = true;
        if (command)
            commands.runMenu(*command);
        else
            EXPECT_FALSE(commands.mayExit());
        EXPECT_EQ(test::PromptTitles(prompter),
                  (Titles{"Data in form has changed!", "Characters will be lost"}));
        EXPECT_EQ(prompter.dialogs.size(), 1u);
        EXPECT_EQ(problem.Note1, note);
        EXPECT_TRUE(state.dataChanged);
        EXPECT_FALSE(fs::exists(in("kept.frq")));
    }
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
    for (const auto& [failing, fault, afterShortWrites] : cases) {
        int shortWrites = afterShortWrites;
        SetSaveFaultHook([&](SaveStep step) {
            return step != failing ? 0 : shortWrites-- > 0 ? kShortWrite : fault;
        });
        SCOPED_TRACE(static_cast<int>(failing));
        prompter = ScriptedPrompter();
        problem.Note1 = "new " + std::to_string(static_cast<int>(failing));
        state.dataChanged = true;
        commands.runMenu(FileCommands::MenuCommand::Save);
        SetSaveFaultHook({});
        const std::string after = Contents(m_dir / "f.1");
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_TRUE(state.dataChanged);
        if (failing == SaveStep::DirSync)
            EXPECT_NE(after.find(problem.Note1), std::string::npos);
        else
            EXPECT_EQ(after, before);
        for (const auto& entry : fs::directory_iterator(m_dir))
            EXPECT_NE(entry.path().filename().string().rfind(".vt-", 0), 0u) << "left behind";
    }
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
    fs::create_directories(m_dir / "del");
    for (const char* n : {"a.1", "b.frq", "c"})
        std::ofstream(m_dir / "del" / n) << n;
    const std::string all = (m_dir / "del/*.*").string();
    for (const auto& [answer, left] : {std::pair{PromptAnswer::No, 3}, {PromptAnswer::Yes, 0}}) {
        prompter = ScriptedPrompter();
        prompter.answerFile(FileDialogAnswer{all, 1});
        prompter.answer(answer);
        commands.FileDelete();
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "del"), fs::directory_iterator()),
                  left);
        EXPECT_EQ(state.dialogInitialDir, (m_dir / "del").string());
    }
}

TEST_F(FileCommandsTest, ExitOffersToSaveChangedData) {
    EXPECT_TRUE(commands.mayExit());
    state.dataChanged = true;
    prompter.answer(PromptAnswer::Cancel);
    prompter.answer(PromptAnswer::No);
    EXPECT_FALSE(commands.mayExit());
    EXPECT_TRUE(commands.mayExit());
    EXPECT_EQ(test::PromptTitles(prompter), Titles(2, "Data in form has changed!"));
}
