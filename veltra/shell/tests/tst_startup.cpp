// Start-up, the intro form, demo mode, the menus' desktop keys and the Help menu's commands.
#include "BuildConfig.h"
#include "DemosPage.h"
#include "HelpCommands.h"
#include "IntroForm.h"
#include "Settings.h"
#include "ShellTest.h"

#include <QMenuBar>
#include <QTabWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

class StartupTest : public test::ShellTest {
protected:
    // Which of the File, Demos, View and Help menus are enabled, then the enabled tabs and the
    // current one, as in "0001 1 1".
    std::string controls() const {
        std::string on = enabled({"mnuFile", "mnuDemos", "mnuView", "mnuHelp"}) + " ";
        for (int i = 0; i < shell->form().tabs()->count(); ++i)
            if (shell->form().tabs()->isTabEnabled(i))
                on += std::to_string(i);
        return on + " " + std::to_string(shell->form().tabs()->currentIndex());
    }
};

} // namespace

// The first start shows the intro form and records the association; once the user goes on,
// it lays the installation out and shows the start-up values. A later one goes straight to
// the form, reads the ini file, leaving it as it was, and the last run's values, and brings
// plots up with the last result. Blanks around the family directory, as a hand-edited
// environment may have them, are no matter.
TEST_F(StartupTest, FirstStartShowsTheIntroAndLaysOutTheInstallationLaterStartsReadIt) {
    fs::remove_all(programDir);
    env.getenv = [this](const char* name) { return "  " + quillon(name) + " "; };
    env.today = [] {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 6;
        return t;
    };
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_NE(shell->intro(), nullptr);
    EXPECT_TRUE(shell->intro()->isVisible());
    EXPECT_FALSE(shell->form().isVisible());
    // Listings open in the suite's viewer; no icon is named.
    EXPECT_EQ(RegistryStore().stringValue(RegRoot::ClassesRoot, ".Out", ""), "Veltrana");
    EXPECT_EQ(
        RegistryStore().stringValue(RegRoot::ClassesRoot, "Veltrana\\shell\\open\\command", ""),
        "\"" + programDir.string() + "/../List/list\" %1");
    EXPECT_FALSE(RegistryStore().KeyExists(RegRoot::ClassesRoot, "Veltrana\\DefaultIcon"));
    click(shell->intro(), "cmdCreateIntro");
    EXPECT_FALSE(shell->intro()->isVisible());
    EXPECT_TRUE(shell->form().isVisible());
    const fs::path ini = programDir / "Veltrana.ini";
    EXPECT_EQ(Contents(ini),
              "Veltrana\x99 Program                 12/6/2026\r\n"
              "1             ! Increase if COMMAND still active and stops your run\r\n"
              "no name             ! User name\r\n");
    EXPECT_EQ(fs::current_path(), user);
    EXPECT_EQ(shell->state().userName, "no name");
    EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
    EXPECT_EQ(shell->state().currentDir, user.string());
    EXPECT_FALSE(shell->state().dataChanged);
    EXPECT_TRUE(launched.empty());

    std::ofstream(ini, std::ios::binary) << "Veltrana\r\n3   ! wait\r\nAda  ! User name\r\n";
    const std::string before = Contents(ini);
    writeInput(programDir / "last-run.ini", "from last run");
    RegistryStore store;
    ASSERT_TRUE(SaveFileIn(store, "/data/run.dat").ok());
    installProgram(family / "plots");
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    EXPECT_EQ(shell->intro(), nullptr);
    EXPECT_TRUE(shell->form().isVisible());
    EXPECT_EQ(Contents(ini), before);
    EXPECT_EQ(shell->state().waitFactor, 3);
    EXPECT_EQ(shell->state().userName, "Ada");
    EXPECT_EQ(field("Note1")->text(), "from last run");
    EXPECT_EQ(launched, Texts{(family / "plots").string()});
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(StartupTest, DialogStartsInTheLastFilePathWhenItIsAbsolute) {
    const std::tuple<std::string, bool> cases[] = {
        {"/data/filters", true}, {"data/more", false}, {"", false}, {"//host/data", false}};
    RegistryStore store;
    for (const auto& [stored, used] : cases) {
        ASSERT_TRUE(SaveLastFilePath(store, stored).ok());
        ASSERT_TRUE(newShell().start());
        EXPECT_EQ(shell->state().dialogInitialDir, used ? stored : user.string()) << stored;
    }
}

// Here the settings store cannot take the association: that is reported, and the intro goes
// on all the same.
TEST_F(StartupTest, DemoModeLeavesOnlyTheDemosTabAndHelpUntilCancel) {
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    ::setenv("VELTRANA_REGISTRY", in("blocked/registry").c_str(), 1);
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].title, "Settings store");
    click(shell->intro(), "cmdRunIntro");
    EXPECT_TRUE(shell->form().isVisible());
    EXPECT_EQ(controls(), "0001 1 1");
    click(shell->form().demosPage(), "cmdCancelDemo");
    EXPECT_EQ(controls(), "1111 0234567 0");
}

TEST_F(StartupTest, EveryDesktopKeyLeadsToOneMenuItem) {
    ASSERT_TRUE(newShell().start());
    QStringList keys;
    for (QAction* action : shell->form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
}

// Help > Manual opens the manual on the desktop, else in its own window, and reports one that
// is missing. Help > E-Mail Support hands the desktop the mail and, whether or not a mail
// program takes it, leaves the bare address on the clipboard and says how to write by hand.
TEST_F(StartupTest, HelpCommandsUseTheDesktopAndSayWhatItCouldNotDo) {
    std::ofstream(in("manual.html")) << "<html></html>";
    const std::string manual = in("manual.html"), address = build::kSupportAddress;
    const std::string mail = "mailto:" + address +
                             "?subject=Veltrana%205.05%20questions/problems.&body=How%20can%20"
                             "we%20help?";
    const Texts mailSaid = {"If default e-Mail program was Not found."};
    // the manual asked for ("": the e-mail), whether the desktop takes what it is handed, what
    // it was handed, what the own window shows, the clipboard afterwards, the messages
    const std::tuple<std::string, bool, std::string, std::string, std::string, Texts> cases[] = {
        {manual, true, "file://" + manual, "", "", {}},
        {manual, false, "file://" + manual, manual, "", {}},
        {in("missing.html"), true, "", "", "", {"Manual not found."}},
        {"", true, mail, "", address, mailSaid},
        {"", false, mail, "", address, mailSaid},
    };
    for (const auto& [file, takes, handed, inOwnWindow, clipboard, said] : cases) {
        SCOPED_TRACE(handed);
        reset();
        std::string asked, shown, clipped;
        const Desktop desktop{[&](const std::string& url) {
                                  asked = url;
                                  return takes;
                              },
                              [&](const std::string& text) { clipped = text; }};
        if (file.empty())
            EmailSupport(desktop, prompter);
        else
            OpenManual(
                file, desktop, [&](const std::string& path) { shown = path; }, prompter);
        EXPECT_EQ(std::tuple(asked, shown, clipped), std::tuple(handed, inOwnWindow, clipboard));
        EXPECT_EQ(titles(), said);
        EXPECT_TRUE(said != mailSaid || prompter.prompts[0].text.find(address) != npos);
    }
}

// The desktop's MIME type for listings, as the desktop (GLib) finds it: "~Veltra.out" is a
// listing whatever the case of its extension, and other names are not.
TEST_F(StartupTest, TheDesktopTakesListingsByTheirExtensionInEitherCase) {
    const fs::path mime = m_dir / "mime";
    fs::create_directories(mime / "packages");
    fs::copy_file(fs::path(VELTRANA_DESKTOP_DIR) / "veltrana-listing.xml",
                  mime / "packages" / "veltrana-listing.xml");
    if (std::system("command -v update-mime-database gio >/dev/null") != 0)
        GTEST_SKIP() << "no update-mime-database (shared-mime-info) or gio (libglib2.0-bin)";
    ASSERT_EQ(std::system(("update-mime-database '" + mime.string() + "'").c_str()), 0);
    // Of these names, those the desktop takes for listings, one a line.
    ASSERT_EQ(std::system(("cd '" + m_dir.string() +
                           "' && export XDG_DATA_HOME=\"$PWD\" && for f in '~Veltra.out' RUN.OUT "
                           "x.Out x.outx; do echo run >\"$f\"; if gio info -a "
                           "standard::content-type \"$f\" | grep -q x-veltrana-listing; then "
                           "echo \"$f\"; fi; done >listed")
                              .c_str()),
              0);
    EXPECT_EQ(Contents(m_dir / "listed"), "~Veltra.out\nRUN.OUT\nx.Out\n");
}
