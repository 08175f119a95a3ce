#include "BuildConfig.h"
#include "FileAssociation.h"
#include "HelpCommands.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace veltrana;

namespace {

constexpr RegRoot HKCR = RegRoot::ClassesRoot;

using AssociationHelpTest = test::TempDirTest;

} // namespace

TEST_F(AssociationHelpTest, AssociationNamesTheSuitesViewerAndSkipsAnEmptyIcon) {
    struct Case {
        const char* programDir;
        const char* icon;
        const char* iconEntry; // nullptr: no DefaultIcon key
    } cases[] = {
        {"/opt/Quillon/Veltr.hz", "", nullptr},
        {"/opt/Quillon/Veltr.hz/", "/opt/Quillon/v.png", "/opt/Quillon/v.png,0"},
    };
    for (const Case& c : cases) {
        RegistryStore fresh(in(std::string("reg-") + (c.iconEntry ? "icon" : "plain")));
        ASSERT_TRUE(CreateFileAssociation(fresh, "Out", c.programDir, "Veltrana",
                                          "Veltrana: a Matched Filter program", c.icon)
                        .ok());
        EXPECT_EQ(fresh.stringValue(HKCR, ".Out", ""), "Veltrana");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana", ""), "Veltrana: a Matched Filter program");
        EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\shell\\open\\command", ""),
                  "\"/opt/Quillon/Veltr.hz/../List/list\" %1");
        EXPECT_EQ(fresh.KeyExists(HKCR, "Veltrana\\DefaultIcon"), c.iconEntry != nullptr);
        if (c.iconEntry) {
            EXPECT_EQ(fresh.stringValue(HKCR, "Veltrana\\DefaultIcon", ""), c.iconEntry);
        }
    }
}

TEST_F(AssociationHelpTest, OnlyBlanksAreEncoded) {
    struct Case {
        const char* text;
        const char* encoded;
    } cases[] = {
        {"Veltrana 5.05 questions/problems.", "Veltrana%205.05%20questions/problems."},
        {"How can we help?", "How%20can%20we%20help?"},
        {"a&b=c?d%e", "a&b=c?d%e"},
        {"  ", "%20%20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeBlanks(c.text), c.encoded) << c.text;
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
        EXPECT_EQ(p.prompts[0],
                  (Prompt{"If this didn't work automatically!  Please e-mail us at " + address +
                              "\r\n   ---> ('Cntl V' will retrieve our e-mail address!)  <---\r\n"
                              "with Subject: Veltrana 5.05 questions/problems",
                          "If default e-Mail program was Not found.", PromptIcon::Exclamation,
                          PromptButtons::Ok}));
    }
}

TEST_F(AssociationHelpTest, ManualOpensOnTheDesktopElseInItsOwnWindow) {
    std::ofstream(in("manual.html")) << "<html></html>";
    struct Case {
        const char* file;
        bool desktopOpens;
        ManualOpened expected;
        bool ownWindow;
    } cases[] = {
        {"manual.html", true, ManualOpened::ByDesktop, false},
        {"manual.html", false, ManualOpened::InOwnWindow, true},
        {"missing.html", true, ManualOpened::Missing, false},
    };
    for (const Case& c : cases) {
        ScriptedPrompter p;
        std::string url, shown;
        Desktop desktop{[&](const std::string& u) {
                            url = u;
                            return c.desktopOpens;
                        },
                        [](const std::string&) {}};
        EXPECT_EQ(OpenManual(
                      in(c.file), desktop, [&](const std::string& s) { shown = s; }, p),
                  c.expected);
        EXPECT_EQ(shown, c.ownWindow ? in(c.file) : "");
        if (c.expected == ManualOpened::Missing) {
            EXPECT_EQ(url, "");
            ASSERT_EQ(p.prompts.size(), 1u);
            EXPECT_EQ(p.prompts[0].title, "Manual not found.");
        } else {
            EXPECT_EQ(url, "file://" + in(c.file));
            EXPECT_TRUE(p.prompts.empty());
        }
    }
}

TEST(Manual, BuiltManualCoversWhatAnEngineerNeeds) {
    std::ifstream file(std::string(VELTRANA_BINARY_DIR) + "/docs/manual.html");
    ASSERT_TRUE(file) << "manual.html was not built";
    const std::string html{std::istreambuf_iterator<char>(file), {}};
    for (const char* needed :
         {"Your first demo", "freqNorm", "LowestX_Y", "maxX_Y", "REMAX", "DETAIL", "ZERO",
          "STEPSLIM", "STEPOUT", "EVALMAX", "SETRHO", "RATIO", "ACCURACY", "The input file",
          "The result file", "Group Delay Ripple", "When a fit is poor", "<table"})
        EXPECT_NE(html.find(needed), std::string::npos) << needed;
}
