#include "HostileFiles.h"
#include "ManualWindow.h"
#include "QtTestApp.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <QTextBrowser>

#include <fstream>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using ManualHostileTest = TempDirTest;

// The manual's window reads its page through the checked open: a pipe in the manual's place
// shows why the manual cannot be shown instead of hanging the program.
TEST_F(ManualHostileTest, AManualThatIsNoFileShowsWhyInsteadOfHanging) {
    EnsureApp();
    std::ofstream(in("manual.html")) << "<html><body><h1>Veltrana</h1></body></html>";
    ASSERT_TRUE(MakeHostile(Hostile::Fifo, in("pipe.html")));
    // page, what the window shows
    const std::pair<std::string, std::string> rows[] = {
        {in("manual.html"), "Veltrana"},
        {in("pipe.html"), "The manual cannot be shown: '" + in("pipe.html") +
                              "' is a named pipe (FIFO), not a regular file"},
        {in("gone.html"), "The manual cannot be shown: No such file or directory"},
    };
    for (const auto& [page, shown] : rows) {
        SCOPED_TRACE(page);
        const Deadline deadline("Showing the manual " + page);
        ManualWindow window;
        window.showManual(page);
        EXPECT_EQ(window.browser()->toPlainText().toStdString(), shown);
    }
}

} // namespace
