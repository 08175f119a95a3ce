#pragma once

#include "ImportError.h"

#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// How the cells of a table's lines are separated.
enum class TableSeparator { Tab, Semicolon, Comma, Blanks };

/// A table of measured values in a text file (CSV, TSV or blank-separated), kept as the
/// texts of its cells so that only the columns chosen later have to hold numbers.
struct TextTable {
    struct Row {
        int line = 0; ///< line of the file, from 1
        std::vector<std::string> cells;
    };
    TableSeparator separator = TableSeparator::Blanks;
    std::vector<std::string> header; ///< names of the columns; empty when there is no header line
    std::vector<Row> rows;
    int columns = 0; ///< the most cells of any line, header included
};

/// The most rows, columns and values a table may hold: far beyond any sweep (which the import
/// thins to 5,000 points) or export, and a bound on the memory and the time to offer the
/// columns that a file that is no table can take.
inline constexpr std::size_t kMaxTableRows = 200000;
inline constexpr std::size_t kMaxTableColumns = 1000;
inline constexpr std::size_t kMaxTableValues = 2000000;

/// Reads a table. The separator is a TAB when a line holds one, else ";" , else ",", else runs
/// of blanks; with ";" a "," in a number is its decimal point. Cells may be quoted with '"'.
/// Lines beginning with "#", "!", "%" or "//" are comments; blank lines are skipped. The first
/// line is taken as the header when it holds text where the next line holds a number. Fails
/// when the file holds no table at all, or more rows, columns or values than the limits above.
bool ReadTextTable(std::string_view text, TextTable& table, ImportError& error);

/// The numbers of column `column` (counted from 0), one per row. Fails at the first row that
/// lacks the column or holds something else than a number there, naming its line.
bool ColumnNumbers(const TextTable& table, int column, std::vector<double>& values,
                   ImportError& error);

/// The header's name of the column (counted from 0), its first 40 characters and "..." when it
/// is longer, or "Column 3" when there is none.
std::string ColumnName(const TextTable& table, int column);

} // namespace veltrana
