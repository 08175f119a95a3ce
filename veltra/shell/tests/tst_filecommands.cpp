// The File menu's commands on a stand-in form.
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

using A = PromptAnswer;
using C = FileCommands::MenuCommand;
using Titles = std::vector<std::string>;
const std::string kChanged = "Data in form has changed!";

// Stands in for the main form: counts how often it showed the record's data, which like the
// form leaves them unchanged.
struct FakeForm : FormBinding {
    explicit FakeForm(ShellState& s) : state(s) {}
    bool PutAnswers() override { return true; }
    void GetAnswers() override {
        ++shown;
        state.dataChanged = false;
    }
    void ClearBoth() override {}
    void setCaption(const std::string&) override {}

    ShellState& state;
    int shown = 0;
};

class FileCommandsTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::current_path(m_dir);
        store = RegistryStore(in("registry"));
        state.currentFileName = "Start Up Values";
        state.currentDir = state.userDir = state.dialogInitialDir = m_dir.string();
    }
    // Writes an input file holding `note` as Note1.
    void writeInput(const std::string& name, const std::string& note = "") {
        DesignProblem p;
        p.Note1 = note;
        ShellState s;
        ASSERT_FALSE(WriteAnsFile(p, name, m_dir.string(), s, prompter, test::Noon));
    }
    // A fresh prompter with these answers.
    void script(const std::vector<A>& answers) {
        prompter = ScriptedPrompter();
        for (auto a : answers)
            prompter.answer(a);
    }
    FileDialogAnswer pick(const std::string& name) { return {in(name), 1}; }
    Titles titles() const { return test::PromptTitles(prompter); }

    ShellState state;
    DesignProblem problem;
    FakeForm form{state};
    ScriptedPrompter prompter;
    RegistryStore store{std::string()};
    FileCommands commands{state, problem, form, prompter, store, test::Noon};
};

} // namespace

// New and Open replace the data only after changed data were offered for saving, also a
// problem typed in after File > New ("New data"). What the opened file becomes on the form is
// checked through the real dialogs; here the request, and that a settings store that cannot
// take the file's folder is reported with the file opened all the same.
TEST_F(FileCommandsTest, NewAndOpenAskOnlyWhatTheDataCallFor) {
    const std::string confirm = "Confirm 'New' Response.";
    // the command, whether the data changed, the answers (and Open's pick of the file made
    // current), the messages, the dialog shown, and the current file ("" where nothing happened)
    const std::tuple<C, bool, std::vector<A>, Titles, std::string, std::string> cases[] = {
        {C::New, false, {A::Ok}, {confirm}, "", "New data"},
        {C::New, false, {A::Cancel}, {confirm}, "", ""},
        {C::New, true, {A::No, A::Ok}, {kChanged, confirm}, "", "New data"},
        {C::New, true, {A::Cancel}, {kChanged}, "", ""},
        {C::New, true, {A::Yes}, {kChanged}, "Save Input File As ...", ""}, // and cancelled
        {C::Open, false, {}, {}, "Open Input File", ""},
        {C::Open, true, {A::No}, {kChanged, "Settings store"}, "Open Input File", "abc.frq"},
    };
    writeInput("abc.frq", "from abc");
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    store = RegistryStore(in("blocked/registry"));
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [command, dataChanged, answers, asked, dialog, current] = cases[row];
        script(answers);
        if (command == C::Open && !current.empty())
            prompter.answerFile(pick(current));
        problem.Note1 = "mine";
        state.currentFileName = "New data";
        state.dataChanged = dataChanged;
        commands.runMenu(command);
        EXPECT_EQ(titles(), asked);
        ASSERT_EQ(prompter.dialogs.size(), dialog.empty() ? 0u : 1u);
        EXPECT_EQ(dialog.empty() ? "" : prompter.dialogs[0].title, dialog);
        EXPECT_EQ(problem.Note1, current.empty() ? "mine" : command == C::New ? "" : "from abc");
        EXPECT_EQ(state.currentFileName, current.empty() ? "New data" : current);
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
        script({});
        prompter.answerFile(FileDialogAnswer{path, 2});
        commands.runMenu(C::Open);
        ASSERT_EQ(titles(), Titles{"In 'FileOld' routine ..."}) << path;
        EXPECT_EQ(problem, before);
        EXPECT_EQ(state.currentFileName, "Start Up Values");
        EXPECT_EQ(form.shown, 0);
    }
}

// Text the code page cannot hold is saved only after a warning. Declined, nothing is saved
// and the data stay marked changed, also in the Save As that "Save current data?" led to:
// Exit, New and Open stop there with the data kept.
TEST_F(FileCommandsTest, TextTheCodePageCannotHoldIsSavedOnlyAfterAWarning) {
    const std::string lost = "Characters will be lost";
    // the command (none: Exit), the answers (a Save As picks kept.frq), the messages
    const std::tuple<std::optional<C>, std::vector<A>, Titles> cases[] = {
        {C::Save, {A::Cancel}, {lost}},
        {std::nullopt, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::New, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::Open, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::Save, {A::Ok}, {lost}},
    };
    writeInput("f.1", "old");
    const std::string before = Contents(m_dir / "f.1");
    state.currentFileName = "f.1";
    const std::string note = "\xe6\x97\xa5\xe6\x9c\xac \xc3\xa9"; // Japanese is lost, é is kept
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [command, answers, asked] = cases[row];
        script(answers);
        prompter.answerFile(pick("kept.frq"));
        problem.Note1 = note;
        state.currentFileName = "f.1";
        state.dataChanged = true;
        if (command)
            commands.runMenu(*command);
        else
            EXPECT_FALSE(commands.mayExit());
        EXPECT_EQ(titles(), asked);
        const bool saved = answers[0] == A::Ok;
        EXPECT_EQ(Contents(m_dir / "f.1") == before, !saved);
        EXPECT_EQ(state.dataChanged, !saved);
        EXPECT_EQ(problem.Note1, note);
        EXPECT_FALSE(fs::exists(in("kept.frq")));
    }
    EXPECT_NE(Contents(m_dir / "f.1").find("?? \xe9"), std::string::npos);
}

// Every step of a save fails once in turn, and a read-only file (an installed example) is not
// replaced: the user hears of it, the data stay marked changed, and the file on disk is the
// old one (or, when only the directory sync after the rename failed, the new one), never a
// mixture.
TEST_F(FileCommandsTest, EachFailingStepOfASaveKeepsTheOldFileAndTheChanges) {
    // the failing step (none: the file is read-only), its error, and how many short writes
    // come before it
    const std::tuple<std::optional<SaveStep>, int, int> cases[] = {
        {SaveStep::Open, EMFILE, 0},  {SaveStep::Write, ENOSPC, 0}, {SaveStep::Write, EIO, 2},
        {SaveStep::Chmod, EPERM, 0},  {SaveStep::Sync, EIO, 0},     {SaveStep::Close, EIO, 0},
        {SaveStep::Rename, EXDEV, 0}, {SaveStep::DirSync, EIO, 0},  {std::nullopt, 0, 0}};
    writeInput("f.1", "old");
    state.currentFileName = "f.1";
    for (const auto& [failing, fault, afterShortWrites] : cases) {
        SCOPED_TRACE(failing ? static_cast<int>(*failing) : -1);
        const std::string before = Contents(m_dir / "f.1");
        int shortWrites = afterShortWrites;
        SetSaveFaultHook([&](SaveStep step) {
            return step != failing ? 0 : shortWrites-- > 0 ? kShortWrite : fault;
        });
        if (!failing)
            fs::permissions(m_dir / "f.1", fs::perms::owner_read);
        script({});
        problem.Note1 = "new " + std::to_string(failing ? static_cast<int>(*failing) : -1);
        state.dataChanged = true;
        commands.runMenu(C::Save);
        SetSaveFaultHook({});
        const std::string after = Contents(m_dir / "f.1");
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_TRUE(state.dataChanged);
        EXPECT_EQ(after == before, failing != SaveStep::DirSync);
        EXPECT_EQ(after.find(problem.Note1) != std::string::npos, failing == SaveStep::DirSync);
        for (const auto& entry : fs::directory_iterator(m_dir))
            EXPECT_NE(entry.path().filename().string().rfind(".vt-", 0), 0u) << "left behind";
    }
}

TEST_F(FileCommandsTest, SaveFindsTheOpenedFileWhereverItLies) {
    fs::create_directories(m_dir / "elsewhere");
    writeInput("elsewhere/f.1");
    prompter.answerFile(pick("elsewhere/f.1"));
    commands.runMenu(C::Open);
    problem.Note1 = "edited";
    state.dataChanged = true;
    commands.runMenu(C::Save);
    EXPECT_EQ(prompter.dialogs.size(), 1u) << "Save must not fall back to Save As";
    EXPECT_NE(Contents(m_dir / "elsewhere/f.1").find("edited"), std::string::npos);
    EXPECT_FALSE(state.dataChanged);

    // A name never saved turns Save into Save As.
    state.currentFileName = "New data";
    commands.runMenu(C::Save);
    EXPECT_EQ(prompter.dialogs.back().title, "Save Input File As ...");
}

TEST_F(FileCommandsTest, DeleteWithWildcardsOnlyAfterYes) {
    fs::create_directories(m_dir / "del");
    for (const char* n : {"a.1", "b.frq", "c"})
        std::ofstream(m_dir / "del" / n) << n;
    for (const auto& [answer, left] : {std::pair{A::No, 3}, {A::Yes, 0}}) {
        script({answer});
        prompter.answerFile(FileDialogAnswer{(m_dir / "del/*.*").string(), 1});
        commands.FileDelete();
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "del"), fs::directory_iterator()),
                  left);
        EXPECT_EQ(state.dialogInitialDir, (m_dir / "del").string());
    }
}
