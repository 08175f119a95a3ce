// Pictures of a run as a person sees it, saved into the folder given on the command line:
// the View menu, the progress window while a stand-in optimiser writes its listing, the text
// viewer with a found word, and the messages of a refused cell and of a run in progress.
// Needs a real X display (tools/screenshots-run.sh).
#include "FollowingTextView.h"
#include "FormTexts.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "RunLock.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "TextViewer.h"
#include "VeltraShell.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

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

// The message box that `action` brings up, alone and over the screen, then closed.
void ShootMessage(const QDir& out, const QString& name, const std::function<void()>& action) {
    QTimer::singleShot(600, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) {
            std::fprintf(stderr, "no message box for %s\n", qPrintable(name));
            return;
        }
        SaveShot(*box, out, name);
        QApplication::primaryScreen()->grabWindow(0).save(out.filePath(name + "-screen.png"));
        box->close();
    });
    action();
}

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
    fs::copy_file(fs::path(VELTRANA_EXAMPLES) / "Ex-Yzero.01", user / "Filter.frq");
    fs::permissions(user / "Filter.frq", fs::perms::owner_read | fs::perms::owner_write);

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

    {
        // The real message boxes, over the form: a cell that is not a number, and a Submit
        // while another veltra's run holds the listing.
        VeltraShell shell(nullptr, env);
        shell.start();
        shell.form().move(0, 0);
        shell.form().tabs()->setCurrentIndex(forms::kPassTab);
        QTest::qWait(300);
        auto* editor = shell.form().findChild<QLineEdit*>("txtPassCellEditor");
        editor->setText("0,83");
        ShootMessage(out, "cell-refused", [&] { QTest::keyClick(editor, Qt::Key_Tab); });
        SaveShot(shell.form(), out, "cell-refused-after");
        QTest::keyClick(editor, Qt::Key_Escape);

        RunLock other;
        RunHolder holder = ThisProcess((user / "Other.frq").string());
        holder.pid = 4711;
        std::string error;
        other.Take((user / "~Veltra.out").string(), holder, holder, error);
        shell.state().currentFileName = "Filter.frq";
        shell.state().currentDir = user.string();
        shell.state().dataChanged = false;
        shell.form().tabs()->setCurrentIndex(7);
        ShootMessage(out, "run-in-progress",
                     [&] { shell.form().findChild<QPushButton*>("cmdSubmit")->click(); });
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
