#include "BuildConfig.h"
#include "FileAssociation.h"
#include "HelpCommands.h"
#include "PromptTitles.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

using namespace veltrana;

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
