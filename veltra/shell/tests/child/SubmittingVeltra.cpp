// A veltra of its own for the test that kills one during a run: on the family named by
// Quillon it makes the input file argv[1] of the user directory current and submits it.
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <QApplication>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ScriptedPrompter prompter;
    VeltraShell shell(&prompter, SystemEnvironment());
    if (argc != 2 || !shell.start())
        return 2;
    shell.state().currentFileName = argv[1];
    shell.state().currentDir = shell.state().userDir;
    shell.state().dataChanged = false;
    shell.runCommands().SubmitCommand();
    return shell.runCommands().running() ? app.exec() : 1;
}
