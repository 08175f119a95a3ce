// Pictures of a run as a person sees it, saved into the folder given on the command line:
// the View menu, the progress window while a stand-in optimiser writes its listing, and the
// text viewer with a found word. Needs a real X display (tools/screenshots-run.sh).
#include "FollowingTextView.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "TextViewer.h"
#include "VeltraShell.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

// Writes a listing the way the optimiser does, a line at a time, then a result file.
constexpr const char* kStandIn = R"(#!/bin/sh
out="$3/Veltr.hz/User/~Veltra.out"
echo "Veltrana optimiser: $1 in $2" >"$out"
echo "  starts 4, bounds from questions 13 and 14" >>"$out"
i=1
while [ $i -le 40 ]; do
    echo "  iteration $i   error sum $((1000 / i)).$((i * 7 % 100))   step ok" >>"$out"
    i=$((i + 1))
    sleep 0.05
done
echo "converged: relative change below ACCURACY" >>"$out"
sleep 30
)";

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto folder = ShotFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir out = *folder;
    const fs::path family =
        fs::temp_directory_path() / ("veltra-run-shots-" + std::to_string(::getpid()));
    const fs::path user = family / "Veltr.hz/User";
    fs::create_directories(user);
    std::ofstream(family / "optimiser") << kStandIn;
    fs::permissions(family / "optimiser", fs::perms::owner_all);
    ::setenv("VELTRANA_REGISTRY", (family / "registry").c_str(), 1);
    std::ofstream(user / "Filter.frq") << "Filter problem\r\n";

    StartupEnvironment env = SystemEnvironment();
    env.getenv = [&](const char* n) {
        return std::string(n) == "Quillon" ? family.string() : std::string();
    };
    env.launch = [](const std::string&) { return true; };
    ScriptedPrompter prompter;
    {
        VeltraShell shell(&prompter, env);
        shell.start();
        shell.form().tabs()->setCurrentIndex(7);
        QTest::qWait(200);
        auto* view = shell.form().findChild<QMenu*>("mnuView");
        shell.form().menuBar()->setActiveAction(view->menuAction());
        QTest::qWait(300);
        SaveShot(shell.form(), out, "run-tab");
        SaveShot(*view, out, "view-menu");
        view->hide();

        shell.state().currentFileName = "Filter.frq";
        shell.state().currentDir = user.string();
        shell.runCommands().SubmitCommand();
        QTest::qWait(1500);
        SaveShot(shell.optimiserRun().window(), out, "progress-window");
        SaveShot(shell.form(), out, "run-tab-while-running");
        shell.optimiserRun().cancel();
        if (!QTest::qWaitFor([&] { return !shell.runCommands().running(); }, 5000))
            std::fprintf(stderr, "the stand-in optimiser did not end\n");
    }

    TextViewer viewer(QString::fromStdString((user / "~Veltra.out").string()));
    viewer.show();
    viewer.activateWindow();
    if (!QTest::qWaitForWindowActive(&viewer))
        std::fprintf(stderr, "the viewer did not become active\n");
    viewer.showFindBar();
    viewer.findChild<QLineEdit*>(QStringLiteral("txtFind"))
        ->setText(QStringLiteral("iteration 12"));
    viewer.find(QStringLiteral("iteration 12"));
    QTest::qWait(200);
    SaveShot(viewer, out, "list-viewer");
    fs::remove_all(family);
    return 0;
}
