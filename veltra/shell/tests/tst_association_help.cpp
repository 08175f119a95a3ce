#include "BuildConfig.h"
#include "FileAssociation.h"
#include "HelpCommands.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

using namespace veltrana;

namespace {

constexpr RegRoot HKCR = RegRoot::ClassesRoot;

using AssociationHelpTest = test::TempDirTest;

} // namespace

TEST_F(AssociationHelpTest, AssociationNamesTheSuitesViewerAndSkipsAnEmptyIcon) {
    // iconEntry is nullptr where no DefaultIcon key is made
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/opt/Quillon/Veltr.hz", "", nullptr},
        {"/opt/Quillon/Veltr.hz/", "/opt/Quillon/v.png", "/opt/Quillon/v.png,0"},
    };
    for (const auto& [programDir, icon, iconEntry] : cases) {
        RegistryStore fresh(in(std::string("reg-") + (iconEntry ? "icon" : "plain")));
        ASSERT_TRUE(CreateFileAssociation(fresh, "Out", programDir, "Veltrana",
                                          "Veltrana: a Matched Filter program", icon)
                        .ok());
        EXPECT_EQ(fresh.stringValue(HKCR, ".Out", ""), "Veltrana");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana", ""), "Veltrana: a Matched Filter program");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\shell\\open\\command", ""),
                  "\"/opt/Quillon/Veltr.hz/../List/list\" %1");
        EXPECT_EQ(fresh.KeyExists(HKCR, "Veltrana\\DefaultIcon"), iconEntry != nullptr);
        if (iconEntry) {
            EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\DefaultIcon", ""), iconEntry);
        }
    }
}

TEST_F(AssociationHelpTest, EmailSupportLeavesTheBareAddressAndAlwaysExplains) {
    const std::string address = build::kSupportAddress;
    for (bool mailProgram : {true, false}) {
        ScriptedPrompter p;
        std::vector<std::string> opened;
        std::string clipboard = "old";
        Desktop desktop{[&](const std::string& url) {
                            opened.push_back(url);
                            return mailProgram;
                        },
                        [&](const std::string& text) { clipboard = text; }};
        EmailSupport(desktop, p);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], "mailto:" + address +
                                 "?subject=Veltrana%205.05%20questions/problems.&body=How%20can%20"
                                 "we%20help?");
        EXPECT_EQ(clipboard, address);
        ASSERT_EQ(p.prompts.size(), 1u);
        EXPECT_EQ(p.prompts[0].title, "If default e-Mail program was Not found.");
        EXPECT_NE(p.prompts[0].text.find(address), std::string::npos);
    }
}

TEST_F(AssociationHelpTest, ManualOpensOnTheDesktopElseInItsOwnWindow) {
    std::ofstream(in("manual.html")) << "<html></html>";
    const std::tuple<const char*, bool, ManualOpened, bool> cases[] = {
        {"manual.html", true, ManualOpened::ByDesktop, false},
        {"manual.html", false, ManualOpened::InOwnWindow, true},
        {"missing.html", true, ManualOpened::Missing, false},
    };
    for (const auto& [file, desktopOpens, expected, ownWindow] : cases) {
        ScriptedPrompter p;
        std::string url, shown;
        Desktop desktop{[&](const std::string& u) {
                            url = u;
                            return desktopOpens;
                        },
                        [](const std::string&) {}};
        EXPECT_EQ(OpenManual(
                      in(file), desktop, [&](const std::string& s) { shown = s; }, p),
                  expected);
        EXPECT_EQ(shown, ownWindow ? in(file) : "");
        if (expected == ManualOpened::Missing) {
            EXPECT_EQ(url, "");
            ASSERT_EQ(p.prompts.size(), 1u);
            EXPECT_EQ(p.prompts[0].title, "Manual not found.");
        } else {
            EXPECT_EQ(url, "file://" + in(file));
            EXPECT_TRUE(p.prompts.empty());
        }
    }
}
