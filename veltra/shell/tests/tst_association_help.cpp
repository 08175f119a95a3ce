#include "BuildConfig.h"
#include "FileAssociation.h"
#include "HelpCommands.h"
#include "PromptTitles.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

constexpr RegRoot HKCR = RegRoot::ClassesRoot;
using Titles = std::vector<std::string>;

using AssociationHelpTest = test::TempDirTest;

} // namespace

TEST_F(AssociationHelpTest, AssociationNamesTheSuitesViewerAndSkipsAnEmptyIcon) {
    // iconEntry is empty where no DefaultIcon key is made
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/opt/Quillon/Veltr.hz", "", ""},
        {"/opt/Quillon/Veltr.hz/", "/opt/Quillon/v.png", "/opt/Quillon/v.png,0"},
    };
    for (const auto& [programDir, icon, iconEntry] : cases) {
        RegistryStore fresh(in(std::string("reg-") + (*iconEntry ? "icon" : "plain")));
        ASSERT_TRUE(CreateFileAssociation(fresh, "Out", programDir, "Veltrana",
                                          "Veltrana: a Matched Filter program", icon)
                        .ok());
        EXPECT_EQ(fresh.stringValue(HKCR, ".Out", ""), "Veltrana");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana", ""), "Veltrana: a Matched Filter program");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\shell\\open\\command", ""),
                  "\"/opt/Quillon/Veltr.hz/../List/list\" %1");
        EXPECT_EQ(fresh.KeyExists(HKCR, "Veltrana\\DefaultIcon"), *iconEntry != '\0');
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\DefaultIcon", ""), iconEntry);
    }
}

TEST_F(AssociationHelpTest, EmailSupportLeavesTheBareAddressAndAlwaysExplains) {
    const std::string address = build::kSupportAddress;
    for (bool mailProgram : {true, false}) {
        ScriptedPrompter p;
        std::string opened, clipboard = "old";
        Desktop desktop{[&](const std::string& url) {
                            opened += url;
                            return mailProgram;
                        },
                        [&](const std::string& text) { clipboard = text; }};
        EmailSupport(desktop, p);
        EXPECT_EQ(opened, "mailto:" + address +
                              "?subject=Veltrana%205.05%20questions/problems.&body=How%20can%20"
                              "we%20help?");
        EXPECT_EQ(clipboard, address);
        ASSERT_EQ(test::PromptTitles(p), Titles{"If default e-Mail program was Not found."});
        EXPECT_NE(p.prompts[0].text.find(address), std::string::npos);
    }
}

TEST_F(AssociationHelpTest, ManualOpensOnTheDesktopElseInItsOwnWindow) {
    std::ofstream(in("manual.html")) << "<html></html>";
    const std::string manual = in("manual.html"), url = "file://" + manual;
    // what the desktop and the own window were asked to show, and the messages
    const std::tuple<std::string, bool, ManualOpened, std::string, std::string, bool> cases[] = {
        {manual, true, ManualOpened::ByDesktop, url, "", false},
        {manual, false, ManualOpened::InOwnWindow, url, manual, false},
        {in("missing.html"), true, ManualOpened::Missing, "", "", true},
    };
    for (const auto& [file, desktopOpens, expected, onDesktop, inOwnWindow, reported] : cases) {
        ScriptedPrompter p;
        std::string asked, shown;
        Desktop desktop{[&](const std::string& u) {
                            asked = u;
                            return desktopOpens;
                        },
                        [](const std::string&) {}};
        EXPECT_EQ(OpenManual(
                      file, desktop, [&](const std::string& s) { shown = s; }, p),
                  expected);
        EXPECT_EQ(asked, onDesktop);
        EXPECT_EQ(shown, inOwnWindow);
        EXPECT_EQ(test::PromptTitles(p), reported ? Titles{"Manual not found."} : Titles{});
    }
}

// The desktop's MIME type for listings, as the desktop (GLib) finds it: "~Veltra.out" is a
// listing whatever the case of its extension, and other names are not.
TEST_F(AssociationHelpTest, TheDesktopTakesListingsByTheirExtensionInEitherCase) {
    const fs::path mime = m_dir / "mime";
    fs::create_directories(mime / "packages");
    fs::copy_file(fs::path(VELTRANA_DESKTOP_DIR) / "veltrana-listing.xml",
                  mime / "packages" / "veltrana-listing.xml");
    if (std::system("command -v update-mime-database gio >/dev/null") != 0)
        GTEST_SKIP() << "no update-mime-database (shared-mime-info) or gio (libglib2.0-bin)";
    ASSERT_EQ(std::system(("update-mime-database '" + mime.string() + "'").c_str()), 0);
    // name, whether the desktop takes it for a listing
    const std::tuple<const char*, bool> cases[] = {
        {"~Veltra.out", true}, {"RUN.OUT", true}, {"x.Out", true}, {"x.outx", false}};
    for (const auto& [name, isListing] : cases) {
        SCOPED_TRACE(name);
        std::ofstream(m_dir / name) << "Veltrana optimiser run\r\n";
        const std::string answer = in("type");
        ASSERT_EQ(std::system(("XDG_DATA_HOME='" + m_dir.string() +
                               "' gio info -a standard::content-type '" + in(name) + "' >'" +
                               answer + "'")
                                  .c_str()),
                  0);
        EXPECT_EQ(Contents(answer).find("application/x-veltrana-listing") != npos, isListing)
            << Contents(answer);
    }
}
