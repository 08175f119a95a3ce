#include "HostileFiles.h"
#include "ManualWindow.h"
#include "QtTestApp.h"

#include <QTextBrowser>

using namespace veltrana;
using namespace veltrana::test;

namespace {

class ManualHostileCase : public HostileCaseTest<> {};

// The manual's window reads its page through the checked open: what is no file in the
// manual's place shows why the manual cannot be shown instead of hanging the program.
TEST_P(ManualHostileCase, AManualThatIsNoFileShowsWhyInsteadOfHanging) {
    EnsureApp();
    const Deadline deadline(std::string("Showing the manual from ") + GetParam().name);
    ManualWindow window;
    window.showManual(path());
    expectRefusal(window.browser()->toPlainText().toStdString(), "The manual cannot be shown: ");
}
INSTANTIATE_HOSTILE_CASES(ManualHostileCase);

} // namespace
