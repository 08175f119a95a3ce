#include "InputFile.h"

#include "Captions.h"
#include "FileBytes.h"
#include "Text.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

namespace {

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

constexpr const char* kPassHeader = "Freq       Yin          Yout           Weight";
constexpr const char* kPassRule = "===========================================";
constexpr const char* kDelayHeader = "       DelFreq          TX";
constexpr const char* kDelayRule = "  ==============================";
constexpr const char* kSwitchComment = "\t\t! 22. \u00bb Want to change solver variables?";
constexpr const char* kNote1Comment = "20. \u00bb Note1";
constexpr const char* kNote2Comment = "    \u00bb Note2";
constexpr const char* kEof = "-EOF-";
constexpr int kSubscriptError = 9;

const std::string& At(const std::vector<std::string>& v, int i) {
    static const std::string empty;
    return i >= 0 && static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : empty;
}

// A line feed inside a value would start a new line and shift every answer after it, so it
// is written as a blank. The header's value (the file name) is never read back: there every
// control character becomes a blank, so that the line shows as it stands.
std::string OneLine(std::string_view value, bool allControls) {
    std::string text(value);
    for (char& c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '\n' || (allControls && (u < 0x20 || u == 0x7F)))
            c = ' ';
    }
    return text;
}

void AppendLine(std::string& out, std::string_view line) {
    out.append(line).append("\r\n");
}

void AppendPointLine(std::string& out, std::initializer_list<std::string_view> values, int n) {
    bool first = true;
    for (auto v : values) {
        if (!first)
            out.append("  ");
        out.append(OneLine(v, false));
        first = false;
    }
    out.append("\t\t ! Point # ").append(std::to_string(n)).append("\r\n");
}

bool IsPathOrAccessError(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ETXTBSY:
        return true;
    default:
        return false;
    }
}

Prompt NotSavedPrompt(const std::string& name, const std::string& directory) {
    std::string text = "File Path\\FileName error occured: \r\n";
    text += "    Path = " + directory + "\r\n";
    text += "    FileName = " + name + "\r\n\r\n";
    text += "If these settings are okay then the error may be do to following:\r\n";
    text += "  Ex-*.?? files in Veltrana's User directory are for 'read-only'.\r\n";
    text += "  Do not save changes in these Example files.  Save changes under other names.\r\n";
    return {text, "File not saved; Error in 'WriteAnsFile' routine.", PromptIcon::Critical,
            PromptButtons::Ok};
}

Prompt UnexpectedReadError(int number, const std::string& description) {
    return {"Unexpected error # " + std::to_string(number) + " occured: " + description,
            "In 'FileReadMe' routine ...", PromptIcon::Critical, PromptButtons::Ok};
}

// Refuses a read-only target, then replaces it keeping its permissions. Returns 0 or errno.
int ReplaceInputFile(const std::string& target, const std::string& bytes) {
    struct stat st {};
    mode_t mode = 0666;
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (IsReadOnlyFile(target))
            return EACCES;
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    return ReplaceFileBytes(target, bytes, mode);
}

// Splits a squeezed point line at blanks; an empty line has no values at all.
std::vector<std::string> PointValues(std::string_view line) {
    std::string squeezed = SqueezeSeparators(line);
    if (squeezed.empty())
        return {};
    return SplitAt(squeezed, ' ');
}

// Sizes a table for `count` points, but never beyond the lines left to read: a count larger
// than the file can hold will stop at the end of the text anyway.
size_t TableSize(int count, const AnsLineReader& reader) {
    size_t wanted = static_cast<size_t>(count > 0 ? count : 0);
    return std::min(wanted, reader.remainingLines()) + 1;
}

// Settings go into the file only when one of the three solvers' own settings is given.
int SolverLinesToWrite(const DesignProblem& p) {
    const auto& s = p.SolverAnswers;
    return s[0].empty() && s[1].empty() && s[2].empty() ? 0 : 9;
}

} // namespace

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string FormatHeaderDate(const std::tm& when) {
    int hour = when.tm_hour % 12 == 0 ? 12 : when.tm_hour % 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %02d, %04d @ %d:%02d %s",
                  kMonths.at(static_cast<size_t>(when.tm_mon % 12)), when.tm_mday,
                  when.tm_year + 1900, hour, when.tm_min, when.tm_hour < 12 ? "AM" : "PM");
    return buf;
}

std::string WriteAnsLine(std::string_view value, std::string_view comment, bool firstLine) {
    std::string text = TrimBlanks(OneLine(value, firstLine));
    if (text.empty())
        text = "-999";
    text += "  \t\t";
    text += firstLine ? "!* " : "! ";
    text += LeftChars(comment, 50);
    return text;
}

std::string SqueezeSeparators(std::string_view text) {
    std::string s = TrimBlanks(ReplaceAll(text, ",", " "));
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

std::string AnsLineValue(std::string_view line) {
    std::string value = TrimBlanks(line.substr(0, line.find('!')));
    if (value.rfind("-999", 0) == 0)
        value.clear();
    return TrimBlanks(ReplaceAll(value, "\t", ""));
}

std::string AnsLineReader::ReadAnsLine() {
    if (m_pos >= m_bytes.size())
        return kEof;
    size_t end = m_bytes.find('\n', m_pos);
    std::string_view line =
        m_bytes.substr(m_pos, end == std::string_view::npos ? end : end - m_pos);
    m_pos = end == std::string_view::npos ? m_bytes.size() : end + 1;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return AnsLineValue(FromCp1252(line));
}

size_t AnsLineReader::remainingLines() const {
    size_t lines = 0;
    for (size_t i = m_pos; i < m_bytes.size(); ++i)
        if (m_bytes[i] == '\n')
            ++lines;
    bool openLast = m_pos < m_bytes.size() && m_bytes.back() != '\n';
    return lines + (openLast ? 1 : 0);
}

std::string FormatAnsFile(const DesignProblem& p, std::string_view name, const std::tm& when) {
    std::string out;
    out.reserve(2048 + static_cast<size_t>(std::max(p.nFreqPoints, 0)) * 48 +
                static_cast<size_t>(std::max(p.nDelayPoints, 0)) * 32);
    // Counts are written with one leading blank, as the old runtime printed numbers.
    std::string header = " 22, " + std::string(" ") + std::to_string(p.nFreqPoints) + ", and " +
                         " " + std::to_string(SolverLinesToWrite(p)) + std::string(10, ' ') +
                         FormatHeaderDate(when);
    AppendLine(out, WriteAnsLine(name, header, true));
    for (int slot = 0; slot < 22; ++slot)
        AppendLine(out, WriteAnsLine(p.Answers[static_cast<size_t>(slot)],
                                     kQuestionCaptions[static_cast<size_t>(slot)], false));

    // The counts come from the tables written below, so the file always reads back whole.
    AppendLine(out, WriteAnsLine(std::to_string(p.nFreqPoints), p.CountLabels[0], false));
    AppendLine(out, kPassHeader);
    AppendLine(out, kPassRule);
    for (int i = 1; i <= p.nFreqPoints; ++i) {
        // A blank weight would leave three values, which read back with Yout as the weight.
        std::string weight = At(p.Weight, i);
        if (TrimBlanks(weight).empty())
            weight = "1.00";
        AppendPointLine(out, {At(p.Freq, i), At(p.Yin, i), At(p.Yout, i), weight}, i);
    }
    AppendLine(out, WriteAnsLine(std::to_string(p.nDelayPoints), p.CountLabels[1], false));
    AppendLine(out, kDelayHeader);
    AppendLine(out, kDelayRule);
    for (int i = 1; i <= p.nDelayPoints; ++i)
        AppendPointLine(out, {At(p.DelFreq, i), At(p.TX, i)}, i);

    AppendLine(out, WriteAnsLine(p.Note1, kNote1Comment, false));
    AppendLine(out, WriteAnsLine(p.Note2, kNote2Comment, false));
    bool settings = SolverLinesToWrite(p) == 9;
    AppendLine(out, std::string(settings ? "Y" : "N") + kSwitchComment);
    if (settings)
        for (int e = 0; e < 9; ++e)
            AppendLine(out, WriteAnsLine(p.SolverAnswers[static_cast<size_t>(e)], SolverComment(e),
                                         false));
    return ToCp1252(out);
}

std::string UnsavableText(const DesignProblem& p) {
    auto fits = [](const std::string& text) { return FromCp1252(ToCp1252(text)) == text; };
    for (const auto& a : p.Answers)
        if (!fits(a))
            return a;
    for (const auto* table : {&p.Freq, &p.Yin, &p.Yout, &p.Weight, &p.DelFreq, &p.TX})
        for (const auto& v : *table)
            if (!fits(v))
                return v;
    for (const auto* note : {&p.Note1, &p.Note2})
        if (!fits(*note))
            return *note;
    for (const auto& s : p.SolverAnswers)
        if (!fits(s))
            return s;
    return {};
}

std::optional<FileError> WriteAnsFile(DesignProblem& problem, const std::string& name,
                                      const std::string& directory, ShellState& state,
                                      Prompter& prompter, const Clock& clock) {
    problem.nSolverLines = SolverLinesToWrite(problem);
    int err = ReplaceInputFile(JoinPath(directory, name), FormatAnsFile(problem, name, clock()));
    if (err == 0) {
        state.writeFailed = 0;
        return std::nullopt;
    }
    state.writeFailed = 1;
    if (IsPathOrAccessError(err)) {
        prompter.message(NotSavedPrompt(name, directory));
        return std::nullopt;
    }
    return FileError{err, std::strerror(err)};
}

ReadOutcome ParseAnsFile(std::string_view bytes, DesignProblem& p, Prompter& prompter) {
    AnsLineReader in(bytes);
    in.ReadAnsLine(); // the header names the file; the caller knows it already
    for (int slot = 0; slot < 22; ++slot)
        p.Answers[static_cast<size_t>(slot)] = in.ReadAnsLine();

    auto tooFew = [&](const char* table, int i) {
        prompter.message(UnexpectedReadError(
            kSubscriptError, std::string("Subscript out of range (") + table + " point " +
                                 std::to_string(i) + " has too few values)"));
        return ReadOutcome::Failed;
    };

    p.Answers[SlotFreqCount] = in.ReadAnsLine();
    int count = std::max(RoundToInt(NumericValue(p.Answers[SlotFreqCount])), 0);
    size_t size = TableSize(count, in);
    for (auto* v : {&p.Freq, &p.Yin, &p.Yout, &p.Weight})
        v->assign(size, {});
    p.nFreqPoints = count;
    in.ReadAnsLine();
    in.ReadAnsLine();
    for (int i = 1; i <= count; ++i) {
        auto values = PointValues(in.ReadAnsLine());
        if (static_cast<size_t>(i) >= size) {
            for (auto* v : {&p.Freq, &p.Yin, &p.Yout, &p.Weight})
                v->resize(static_cast<size_t>(i) + 1);
            size = static_cast<size_t>(i) + 1;
        }
        auto idx = static_cast<size_t>(i);
        std::array<std::string*, 3> cells = {&p.Freq[idx], &p.Yin[idx], &p.Yout[idx]};
        for (size_t k = 0; k < cells.size() && k < values.size(); ++k)
            *cells[k] = values[k];
        if (values.size() < 3) {
            p.nFreqPoints = i - 1;
            return tooFew("pass-band", i);
        }
        p.Weight[idx] = values.back();
    }

    p.Answers[SlotDelayCount] = in.ReadAnsLine();
    count = std::max(RoundToInt(NumericValue(p.Answers[SlotDelayCount])), 0);
    size = TableSize(count, in);
    p.DelFreq.assign(size, {});
    p.TX.assign(size, {});
    p.nDelayPoints = count;
    in.ReadAnsLine();
    in.ReadAnsLine();
    for (int i = 1; i <= count; ++i) {
        auto values = PointValues(in.ReadAnsLine());
        auto idx = static_cast<size_t>(i);
        if (idx >= size) {
            p.DelFreq.resize(idx + 1);
            p.TX.resize(idx + 1);
            size = idx + 1;
        }
        if (!values.empty())
            p.DelFreq[idx] = values[0];
        if (values.size() < 2) {
            p.nDelayPoints = i - 1;
            return tooFew("delay", i);
        }
        p.TX[idx] = values[1];
    }

    p.Note1 = in.ReadAnsLine();
    p.Note2 = in.ReadAnsLine();
    bool settings = in.ReadAnsLine() == "Y";
    p.nSolverLines = settings ? 9 : 0;
    for (auto& s : p.SolverAnswers)
        s = settings ? in.ReadAnsLine() : std::string();
    return ReadOutcome::Read;
}

ReadOutcome FileReadMe(const std::string& name, const std::string& directory,
                       DesignProblem& problem, Prompter& prompter, FileError* ioError) {
    std::string path = JoinPath(directory, name);
    struct stat st {};
    if (name.empty() || stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        if (!name.empty())
            prompter.message({"Missing '" + name + "' file?", " File not found.",
                              PromptIcon::Exclamation, PromptButtons::Ok});
        return ReadOutcome::Missing;
    }
    std::string bytes;
    if (FileError error = ReadFileBytes(path, bytes, kMaxInputFileBytes); !error.ok()) {
        if (ioError)
            *ioError = error;
        else
            prompter.message(UnexpectedReadError(error.number, error.description));
        return ReadOutcome::Unreadable;
    }
    return ParseAnsFile(bytes, problem, prompter);
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path.append(name);
}

} // namespace veltrana
