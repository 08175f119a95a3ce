#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace veltrana {

enum class PromptIcon { None, Critical, Question, Exclamation, Information };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class PromptAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

/// A message box: text (lines joined by "\r\n" as the programs build them), title, icon, buttons.
struct Prompt {
    std::string text;
    std::string title;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    bool operator==(const Prompt&) const = default;
};

/// One entry of a file dialog's filter list, e.g. {"Input Files", "*.?;*.??"}.
struct FileFilter {
    std::string description;
    std::string patterns; ///< ";"-separated wildcard patterns
    bool operator==(const FileFilter&) const = default;
};

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::vector<FileFilter> filters;
    int filterIndex = 1; ///< 1-based, as the file commands count it
    std::string initialDir;
    std::string fileName;        ///< proposed name; may hold wildcards ("abc.*")
    bool allowWildcards = false; ///< a typed wildcard name is an answer, not a filter
    bool operator==(const FileDialogRequest&) const = default;
};

/// The chosen file, or nothing when the user cancelled.
struct FileDialogAnswer {
    std::string path;    ///< full path of the chosen file
    int filterIndex = 1; ///< 1-based index of the filter in use when the dialog closed
    bool operator==(const FileDialogAnswer&) const = default;
};

/// Every message box and dialog of both programs goes through this interface, so that
/// tests can script the user's answers.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer message(const Prompt& prompt) = 0;
    virtual std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request) = 0;
    /// The colour dialog preset to `preset` (red in the lowest byte); the chosen colour, or
    /// nothing when the user cancelled.
    virtual std::optional<std::uint32_t> colorDialog(std::uint32_t preset) = 0;
    /// The print dialog over `printer`, which the user's choices configure (the choice also
    /// becomes the printer's default); false when the user cancelled. No page range is offered.
    virtual bool printDialog(QPrinter& printer) = 0;
};

} // namespace veltrana
