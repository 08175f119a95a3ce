#pragma once

#include "Prompter.h"

#include <functional>
#include <string>
#include <string_view>

namespace veltrana {

/// What the help commands take from the desktop, so that tests can supply their own.
struct Desktop {
    /// Hands a URL (already encoded) to the desktop; false when nothing took it.
    std::function<bool(const std::string& url)> openUrl;
    /// Clears the clipboard, then puts `text` on it.
    std::function<void(const std::string& text)> setClipboard;
};
/// QDesktopServices and the application's clipboard.
Desktop SystemDesktop();

/// The support e-mail before encoding: address, subject with the version text, and body.
std::string SupportMessage();
/// The message with every blank replaced by "%20"; nothing else is encoded.
std::string EncodeBlanks(std::string_view message);
/// Hands the message, blanks encoded, to the default e-mail program. True when one took it.
bool mailto(const std::string& message, const Desktop& desktop);
/// Help > E-mail Support: the e-mail, the bare address on the clipboard, and always the
/// message that says how to write by hand.
void EmailSupport(const Desktop& desktop, Prompter& prompter);

enum class ManualOpened { ByDesktop, InOwnWindow, Missing };
/// Help > Manual: opens the HTML manual at `path` through the desktop; when nothing there
/// opens it, `showOwnWindow` shows it. A missing file is reported, not passed on.
ManualOpened OpenManual(const std::string& path, const Desktop& desktop,
                        const std::function<void(const std::string& path)>& showOwnWindow,
                        Prompter& prompter);

} // namespace veltrana
