#include "SuiteIcons.h"
#include "VeltraShell.h"
#include "WindowPlacement.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(veltrana::SuiteIcon("veltra"));
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrana-veltra"));
    veltrana::VeltraShell shell;
    veltrana::KeepOnScreen(shell.form());
    if (!shell.startWithIntro(QCoreApplication::applicationDirPath().toStdString()))
        return 1;
    return app.exec();
}
