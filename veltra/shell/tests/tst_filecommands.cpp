// The File menu's commands on the real shell, with scripted answers.
#include "ShellTest.h"

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
const std::string kChanged = "Data in form has changed!";

class FileCommandsTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(newShell().start());
    }
    // A fresh prompter with these answers, a Save As or Open dialog picking `file` if given.
    void script(const std::vector<A>& answers, const std::string& file = "") {
        reset();
        for (auto a : answers)
            prompter.answer(a);
        if (!file.empty())
            prompter.answerFile(FileDialogAnswer{(user / file).string(), 1});
    }
    QLineEdit* note() { return field("Note1"); }
    // Types into Note1 as the user would, the data then marked changed or not.
    void typeNote(const std::string& text, bool changed = true) {
        note()->setText(QString::fromStdString(text));
        shell->state().dataChanged = changed;
    }
};

} // namespace

// New and Open replace the data only after changed data were offered for saving, also a
// problem typed in after File > New ("New data"). A settings store that cannot take the
// file's folder is reported with the file opened all the same, and Save then writes where
// the file was found.
TEST_F(FileCommandsTest, NewAndOpenAskOnlyWhatTheDataCallFor) {
    const std::string confirm = "Confirm 'New' Response.";
    // the command, whether the data changed, the answers (and Open's pick of the file made
    // current), the messages, the dialog shown, and the current file ("" where nothing happened)
    const std::tuple<C, bool, std::vector<A>, Texts, std::string, std::string> cases[] = {
        {C::New, false, {A::Ok}, {confirm}, "", "New data"},
        {C::New, false, {A::Cancel}, {confirm}, "", ""},
        {C::New, true, {A::No, A::Ok}, {kChanged, confirm}, "", "New data"},
        {C::New, true, {A::Cancel}, {kChanged}, "", ""},
        {C::New, true, {A::Yes}, {kChanged}, "Save Input File As ...", ""}, // and cancelled
        {C::Open, false, {}, {}, "Open Input File", ""},
        {C::Open, true, {A::No}, {kChanged, "Settings store"}, "Open Input File", "abc.frq"},
    };
    writeInput(user / "elsewhere/abc.frq", "from abc");
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    ::setenv("VELTRANA_REGISTRY", in("blocked/registry").c_str(), 1);
    ASSERT_TRUE(newShell().start());
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [command, dataChanged, answers, asked, dialog, current] = cases[row];
        script(answers, command == C::Open && !current.empty() ? "elsewhere/" + current : "");
        shell->state().currentFileName = "New data";
        typeNote("mine", dataChanged);
        shell->commands().runMenu(command);
        EXPECT_EQ(titles(), asked);
        ASSERT_EQ(prompter.dialogs.size(), dialog.empty() ? 0u : 1u);
        EXPECT_EQ(dialog.empty() ? "" : prompter.dialogs[0].title, dialog);
        EXPECT_EQ(note()->text(), current.empty() ? "mine" : command == C::New ? "" : "from abc");
        EXPECT_EQ(shell->state().currentFileName, current.empty() ? "New data" : current);
    }
    typeNote("edited");
    shell->commands().runMenu(C::Save);
    EXPECT_EQ(prompter.dialogs.size(), 1u) << "Save must not fall back to Save As";
    EXPECT_NE(Contents(user / "elsewhere/abc.frq").find("edited"), std::string::npos);
    EXPECT_FALSE(shell->state().dataChanged);
}

TEST_F(FileCommandsTest, UnreadableFileIsReportedAndLosesNothing) {
    // Whoever runs the test: memory that cannot be read, an endless device, a pipe nobody
    // writes to, a file far too large to be an input file (its points would fill the grids
    // until the memory ran out). None may hang, abort or touch the data.
    ASSERT_EQ(::mkfifo(in("pipe").c_str(), 0600), 0);
    std::ofstream(in("big.frq")) << std::string(kMaxInputFileBytes + 1, '1');
    const DesignProblem before = shell->problem();
    for (const std::string& path :
         {std::string("/proc/self/mem"), std::string("/dev/zero"), in("pipe"), in("big.frq")}) {
        reset();
        prompter.answerFile(FileDialogAnswer{path, 2});
        shell->commands().runMenu(C::Open);
        ASSERT_EQ(titles(), Texts{"In 'FileOld' routine ..."}) << path;
        EXPECT_EQ(shell->problem(), before);
        EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
    }
}

// Text the code page cannot hold is saved only after a warning. Declined, nothing is saved
// and the data stay marked changed, also in the Save As that "Save current data?" led to:
// Exit, New and Open stop there with the data kept.
TEST_F(FileCommandsTest, TextTheCodePageCannotHoldIsSavedOnlyAfterAWarning) {
    const std::string lost = "Characters will be lost";
    // the command (none: Exit), the answers (a Save As picks kept.frq), the messages
    const std::tuple<std::optional<C>, std::vector<A>, Texts> cases[] = {
        {C::Save, {A::Cancel}, {lost}},
        {std::nullopt, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::New, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::Open, {A::Yes, A::Cancel}, {kChanged, lost}},
        {C::Save, {A::Ok}, {lost}},
    };
    writeInput(user / "f.1", "old");
    const std::string before = Contents(user / "f.1");
    const std::string text = "\xe6\x97\xa5\xe6\x9c\xac \xc3\xa9"; // Japanese is lost, é is kept
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [command, answers, asked] = cases[row];
        script(answers, "kept.frq");
        shell->state().currentFileName = "f.1";
        typeNote(text);
        if (command)
            shell->commands().runMenu(*command);
        else
            EXPECT_FALSE(shell->commands().mayExit());
        EXPECT_EQ(titles(), asked);
        const bool saved = answers[0] == A::Ok;
        EXPECT_EQ(Contents(user / "f.1") == before, !saved);
        EXPECT_EQ(shell->state().dataChanged, !saved);
        EXPECT_EQ(note()->text().toStdString(), text);
        EXPECT_FALSE(fs::exists(user / "kept.frq"));
    }
    EXPECT_NE(Contents(user / "f.1").find("?? \xe9"), std::string::npos);
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
    writeInput(user / "f.1", "old");
    shell->state().currentFileName = "f.1";
    for (const auto& [failing, fault, afterShortWrites] : cases) {
        SCOPED_TRACE(failing ? static_cast<int>(*failing) : -1);
        const std::string before = Contents(user / "f.1");
        int shortWrites = afterShortWrites;
        SetSaveFaultHook([&](SaveStep step) {
            return step != failing ? 0 : shortWrites-- > 0 ? kShortWrite : fault;
        });
        if (!failing)
            fs::permissions(user / "f.1", fs::perms::owner_read);
        const std::string text = "new " + std::to_string(failing ? static_cast<int>(*failing) : -1);
        reset();
        typeNote(text);
        shell->commands().runMenu(C::Save);
        SetSaveFaultHook({});
        const std::string after = Contents(user / "f.1");
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_TRUE(shell->state().dataChanged);
        EXPECT_EQ(after == before, failing != SaveStep::DirSync);
        EXPECT_EQ(after.find(text) != std::string::npos, failing == SaveStep::DirSync);
        for (const auto& entry : fs::directory_iterator(user))
            EXPECT_NE(entry.path().filename().string().rfind(".vt-", 0), 0u) << "left behind";
    }
}

TEST_F(FileCommandsTest, DeleteWithWildcardsOnlyAfterYes) {
    fs::create_directories(m_dir / "del");
    for (const char* n : {"a.1", "b.frq", "c"})
        std::ofstream(m_dir / "del" / n) << n;
    for (const auto& [answer, left] : {std::pair{A::No, 3}, {A::Yes, 0}}) {
        script({answer});
        prompter.answerFile(FileDialogAnswer{(m_dir / "del/*.*").string(), 1});
        shell->commands().FileDelete();
        EXPECT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "del"), fs::directory_iterator()),
                  left);
        EXPECT_EQ(shell->state().dialogInitialDir, (m_dir / "del").string());
    }
}
