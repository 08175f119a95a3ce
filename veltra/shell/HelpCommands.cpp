#include "HelpCommands.h"

#include "BuildConfig.h"
#include "FileRoutines.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace veltrana {

namespace {

std::string SubjectText() {
    return std::string("Veltrana ") + build::kVersionText + " questions/problems";
}

} // namespace

Desktop SystemDesktop() {
    Desktop desktop;
    desktop.openUrl = [](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
    };
    desktop.setClipboard = [](const std::string& text) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(QString::fromStdString(text));
    };
    return desktop;
}

std::string SupportMessage() {
    return std::string("mailto:") + build::kSupportAddress + "?subject=" + SubjectText() +
           ".&body=How can we help?";
}

std::string EncodeBlanks(std::string_view message) {
    std::string encoded;
    encoded.reserve(message.size());
    for (char c : message) {
        if (c == ' ')
            encoded += "%20";
        else
            encoded += c;
    }
    return encoded;
}

bool mailto(const std::string& message, const Desktop& desktop) {
    return desktop.openUrl(EncodeBlanks(message));
}

void EmailSupport(const Desktop& desktop, Prompter& prompter) {
    mailto(SupportMessage(), desktop);
    desktop.setClipboard(build::kSupportAddress);
    prompter.message({std::string("If this didn't work automatically!  Please e-mail us at ") +
                          build::kSupportAddress +
                          "\r\n   ---> ('Cntl V' will retrieve our e-mail address!)  <---\r\n"
                          "with Subject: " +
                          SubjectText(),
                      "If default e-Mail program was Not found.", PromptIcon::Exclamation,
                      PromptButtons::Ok});
}

ManualOpened OpenManual(const std::string& path, const Desktop& desktop,
                        const std::function<void(const std::string& path)>& showOwnWindow,
                        Prompter& prompter) {
    if (!FileExists(path)) {
        prompter.message(
            {"The manual " + path + " was not found.  Please re-install Veltrana to get it back.",
             "Manual not found.", PromptIcon::Exclamation, PromptButtons::Ok});
        return ManualOpened::Missing;
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    if (desktop.openUrl(url.toString(QUrl::FullyEncoded).toStdString()))
        return ManualOpened::ByDesktop;
    showOwnWindow(path);
    return ManualOpened::InOwnWindow;
}

} // namespace veltrana
