// A veltra of its own for the run tests that need two of them, or one to kill: on the family
// named by Quillon it makes the input file argv[1] of the user directory current and submits
// it. It prints "running" once the optimiser runs, then, when the run has ended (or was never
// started), the programs it would start and every message it would show, one a line.
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    ScriptedPrompter prompter;
    StartupEnvironment env = SystemEnvironment();
    env.launch = [](const std::string& program) {
        std::printf("started %s\n", program.c_str());
        return true;
    };
    VeltraShell shell(&prompter, env);
    if (!shell.start())
        return 1;
    shell.state().currentFileName = argv[1];
    shell.state().currentDir = shell.state().userDir;
    shell.state().dataChanged = false;
    shell.runCommands().SubmitCommand();
    if (shell.runCommands().running()) {
        std::printf("running\n");
        std::fflush(stdout);
    }
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (shell.runCommands().running())
            return;
        for (const Prompt& p : prompter.prompts)
            std::printf("%s: %s\n", p.title.c_str(), p.text.c_str());
        std::fflush(stdout);
        app.quit();
    });
    look.start(20);
    return app.exec();
}
