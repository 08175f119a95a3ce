#pragma once

#include "ErrorScheme.h"
#include "ResultData.h"

#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace veltrana {

class Prompter;
class RecordReader;

/// What a read left behind, so that the caller knows whether a plot run may start.
enum class ReadStatus {
    /// Everything asked for was read; the data of the model is complete.
    Ok,
    /// The table held no row. For ReadResultFile "No data in file" has been shown through
    /// ShowFatal and the caller must close; for ReadSection nothing has been shown and the
    /// caller gives its own warning. No plot may be drawn from the table.
    NoData,
    /// A record could not be read: the corrupted-file message has been shown and the file
    /// closed. Fields read before the failing record hold this file's values, later ones
    /// an earlier file's: the caller clears the data-file path and starts no plot run.
    Corrupted,
    /// ReadResultFile: the file could not be opened (nothing shown, nothing changed; the
    /// caller reports openError()). ReadSection: no file is open.
    NoFile,
};

/// The trailing sections, in file order.
enum class ResultSection { Sidelobe, Ripple, ImpulseResponse };

/// A result data file being read: the open file and the ResultData read from it. The file
/// stays open after ReadResultFile so that ReadSection can read the trailing sections later,
/// in file order. ResultData persists across files: a new file overwrites what its model
/// carries, and a file whose first record fails leaves it entirely untouched.
///
/// Damaged input never goes further than the corrupted-file message: besides unreadable
/// records, it covers a missing line anywhere (header, text lines, count lines), a count
/// or flag outside -32768 to 32767 after rounding, a negative count, a count or sigma-pole
/// line that is not exactly one number, NaN or infinite values, and lines longer than
/// RecordReader::kMaxLineLength. The record named is the one the bad line belongs to or,
/// for text lines, the nearest one: the header lines report "modelX", the data-file, y0 and
/// equation lines the model's first record ("A" or "A1ksum"), the sigma-pole line "nXpole",
/// the sigma-zero count line "xZero", the gain line the last record before it; the trailing
/// sections report "Sidelobe", "Ripple" or "h(t)".
///
/// An over-long line is refused as soon as it is that long: in a table it refuses the whole
/// file rather than ending the table, naming "modelX" (which declared the point table) or the
/// section.
class ResultFile {
public:
    explicit ResultFile(Prompter& prompter);
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    /// Closes any open file, opens `path` through the checked open and reads the header, the
    /// model block and the point table, leaving the file open for ReadSection when the result
    /// is Ok.
    ReadStatus ReadResultFile(const std::string& path);
    /// Why the last ReadResultFile gave NoFile: the file is missing, unreadable, larger than
    /// any result file, or no regular file.
    const FileError& openError() const { return m_openError; }

    /// As ReadResultFile, from an already open stream; `path` is only shown in messages.
    ReadStatus ReadResultStream(std::unique_ptr<std::istream> stream, const std::string& path);

    /// Reads the next trailing section into sectionTitle, pointX and pointY2 and sets nPoints
    /// to its rows; pointY1 is left alone. `section` names it in the corrupted-file message,
    /// which a section with fewer rows than its count also gives.
    ReadStatus ReadSection(ResultSection section);

    void Close();
    bool isOpen() const { return m_reader != nullptr; }

    const ResultData& data() const { return m_data; }

private:
    ReadStatus ReadBody();
    const char* ReadModelBlock();
    const char* ReadSeriesBlock(bool withDataFile);
    const char* ReadPoleZeroBlock();
    void SortPolePairs();
    int ReadTableRows(int declared, std::vector<double>& x, std::vector<double>* y1,
                      std::vector<double>& y2);
    ReadStatus Corrupted(std::string_view record);

    Prompter& m_prompter;
    std::unique_ptr<RecordReader> m_reader;
    std::string m_path;
    FileError m_openError;
    ResultData m_data;
};

} // namespace veltrana
