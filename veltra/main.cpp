#include "VeltraShell.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    veltrana::VeltraShell shell;
    if (!shell.startWithIntro(QCoreApplication::applicationDirPath().toStdString()))
        return 1;
    return app.exec();
}
