#pragma once

#include "DesignProblem.h"
#include "ErrorScheme.h"
#include "Prompter.h"
#include "ShellState.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace veltrana {

/// Local time of the moment of writing; tests fix it.
using Clock = std::function<std::tm()>;
std::tm LocalNow();

/// "mmmm dd, yyyy @ h:mm AMPM" with English month names.
std::string FormatHeaderDate(const std::tm& when);

/// One answer line without its line end (texts UTF-8): value (empty written as "-999"; a
/// line feed written as a blank, and on the first line every control character),
/// two blanks, two TABs, "!* " on the first line or "! " elsewhere, and the first 50
/// characters of the comment.
std::string WriteAnsLine(std::string_view value, std::string_view comment, bool firstLine);

/// Commas become blanks, the ends are trimmed and runs of blanks become one blank.
std::string SqueezeSeparators(std::string_view text);

/// The value part of one input-file line: what stands before the first "!", trimmed, TABs
/// removed; a value beginning with "-999" reads as empty.
std::string AnsLineValue(std::string_view line);

/// Reads the lines of an input file held in memory, one value per call.
class AnsLineReader {
public:
    explicit AnsLineReader(std::string_view bytes) : m_bytes(bytes) {}
    /// The next line's value, or "-EOF-" once the text is used up.
    std::string ReadAnsLine();
    /// Lines not yet read (a line end on the last line does not start another).
    size_t remainingLines() const;

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

/// An input file is a few kilobytes (the optimiser takes at most 5,000 points); a larger one
/// is no input file, and reading it into the grids could exhaust the memory.
inline constexpr std::size_t kMaxInputFileBytes = std::size_t{4} << 20;

/// The whole input file for `problem`, as the bytes written to disk (Windows-1252, CR LF).
std::string FormatAnsFile(const DesignProblem& problem, std::string_view name, const std::tm& when);

/// The first text of the problem that Windows-1252 cannot hold (it would be saved with "?"
/// in place of some characters); "" when every text can be saved as it stands.
std::string UnsavableText(const DesignProblem& problem);

/// Writes `problem` to directory/name, replacing an existing file only once the new one is
/// complete. A read-only target or an unwritable path shows the "File not saved" message.
/// Sets state.writeFailed on any failure and clears it on success. Returns the error that
/// the caller has to handle (any failure other than the path or access error), if any.
std::optional<FileError> WriteAnsFile(DesignProblem& problem, const std::string& name,
                                      const std::string& directory, ShellState& state,
                                      Prompter& prompter, const Clock& clock = LocalNow);

enum class ReadOutcome {
    Read,       ///< the file was read (it may have ended early: missing values read "-EOF-")
    Missing,    ///< no such file; the record is unchanged
    Failed,     ///< reading stopped at a bad line (reported); what was read before stays
    Unreadable, ///< the file could not be read at all; the record is unchanged
};

/// Parses input-file bytes into `problem`. A point line with too few values stops the
/// reading with the "Unexpected error #" message; what was read before stays.
ReadOutcome ParseAnsFile(std::string_view bytes, DesignProblem& problem, Prompter& prompter);

/// Reads directory/name into `problem` (see ParseAnsFile); reports a missing file. When the
/// file cannot be read, the error goes to `*ioError` when given (the caller reports it in its
/// own name), else it is reported here.
ReadOutcome FileReadMe(const std::string& name, const std::string& directory,
                       DesignProblem& problem, Prompter& prompter, FileError* ioError = nullptr);

/// directory + "/" + name.
std::string JoinPath(std::string_view directory, std::string_view name);

} // namespace veltrana
