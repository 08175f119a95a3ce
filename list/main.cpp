// list <file>: shows a text file read-only and follows it while it grows.
#include "QtPrompter.h"
#include "SuiteIcons.h"
#include "TextViewer.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(veltrana::SuiteIcon("list"));
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrana-list"));
    veltrana::QtPrompter prompter;
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        prompter.message({"Usage: list <file>", "List", veltrana::PromptIcon::Exclamation,
                          veltrana::PromptButtons::Ok});
        return 2;
    }
    const QString path = args[1];
    if (!QFileInfo(path).isFile()) {
        prompter.message({path.toStdString() + " file not found.", "List",
                          veltrana::PromptIcon::Exclamation, veltrana::PromptButtons::Ok});
        return 1;
    }
    if (!QFileInfo(path).isReadable()) {
        prompter.message({path.toStdString() + " cannot be read (no permission).", "List",
                          veltrana::PromptIcon::Exclamation, veltrana::PromptButtons::Ok});
        return 1;
    }
    veltrana::TextViewer viewer(path);
    viewer.show();
    return app.exec();
}
