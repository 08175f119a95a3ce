// list <file>: shows a text file read-only and follows it while it grows.
#include "CheckedFile.h"
#include "QtPrompter.h"
#include "SuiteIcons.h"
#include "TextViewer.h"

#include <QApplication>

#include <cerrno>

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
    // Through the checked open, as the view reads it: a pipe or device is refused, not waited on.
    veltrana::CheckedFile probe;
    if (const veltrana::FileError error =
            probe.open(path.toStdString(), veltrana::CheckedFile::kNoLimit);
        !error.ok()) {
        const std::string text = error.number == ENOENT ? " file not found."
                                 : error.number == EACCES
                                     ? " cannot be read (no permission)."
                                     : " cannot be shown: " + error.description;
        prompter.message({path.toStdString() + text, "List", veltrana::PromptIcon::Exclamation,
                          veltrana::PromptButtons::Ok});
        return 1;
    }
    probe.close();
    veltrana::TextViewer viewer(path);
    viewer.show();
    return app.exec();
}
