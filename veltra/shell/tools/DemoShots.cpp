// Saves pictures of the intro form, the main form in demo mode, the About box and the manual
// window, as a person would see them on a first start, into the folder given first on the
// command line. The second argument is the built manual.html.

#include "AboutForm.h"
#include "IntroForm.h"
#include "ManualWindow.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <cstdio>
#include <cstdlib>

using namespace veltrana;

namespace {

bool Save(QWidget& widget, const QDir& dir, const char* name) {
    QApplication::processEvents();
    return SaveShot(widget, dir, QString::fromLatin1(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <manual.html>\n", argv[0]);
        return 2;
    }
    // Start-up changes the current directory: both paths are made absolute first.
    QDir dir(QDir().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    const std::string manualPath =
        QDir().absoluteFilePath(QString::fromLocal8Bit(argv[2])).toStdString();
    QTemporaryDir family;
    if (!dir.mkpath(QStringLiteral(".")) || !family.isValid()) {
        std::fprintf(stderr, "cannot create %s or a temporary family directory\n", argv[1]);
        return 1;
    }
    const std::string programDir = family.filePath(QStringLiteral("Veltr.hz")).toStdString();
    QDir().mkpath(QString::fromStdString(programDir));
    ::setenv("VELTRANA_REGISTRY", family.filePath(QStringLiteral("registry")).toLocal8Bit(), 1);
    StartupEnvironment env = SystemEnvironment();
    const std::string familyPath = family.path().toStdString();
    env.getenv = [familyPath](const char* name) {
        return std::string(name) == "Quillon" ? familyPath : std::string();
    };
    ScriptedPrompter prompter;
    VeltraShell shell(&prompter, env);
    if (!shell.startWithIntro(programDir) || !shell.intro())
        return 1;
    bool ok = Save(*shell.intro(), dir, "intro");
    shell.intro()->findChild<QAbstractButton*>(QStringLiteral("cmdRunIntro"))->click();
    ok = Save(shell.form(), dir, "demos-tab") && ok;

    AboutForm about(&shell.form());
    about.show();
    ok = Save(about, dir, "about") && ok;
    about.hide();

    ManualWindow manual;
    manual.showManual(manualPath);
    ok = Save(manual, dir, "manual") && ok;
    if (manual.browser()->find(QStringLiteral("4. The solver settings"))) {
        // The chapter's heading at the top of the window.
        QScrollBar* bar = manual.browser()->verticalScrollBar();
        bar->setValue(bar->value() + manual.browser()->cursorRect().top());
        ok = Save(manual, dir, "manual-settings") && ok;
    }
    return ok ? 0 : 1;
}
