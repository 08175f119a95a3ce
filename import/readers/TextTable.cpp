#include "TextTable.h"

#include "LineReader.h"
#include "NumberText.h"
#include "Text.h"

#include <algorithm>

namespace veltrana {

namespace {

constexpr int kLinesLookedAt = 20; // for the separator

bool IsComment(std::string_view line) {
    return line.starts_with('#') || line.starts_with('!') || line.starts_with('%') ||
           line.starts_with("//");
}

char SeparatorChar(TableSeparator separator) {
    switch (separator) {
    case TableSeparator::Tab:
        return '\t';
    case TableSeparator::Semicolon:
        return ';';
    case TableSeparator::Comma:
        return ',';
    case TableSeparator::Blanks:
        break;
    }
    return ' ';
}

// The cells of a line; no more than `most` + 1, so that a line of nothing but separators
// cannot take more memory than the table may.
std::vector<std::string> SplitCells(std::string_view line, TableSeparator separator,
                                    std::size_t most) {
    const char sep = SeparatorChar(separator);
    const bool blanks = separator == TableSeparator::Blanks;
    auto isSeparator = [&](char c) { return blanks ? c == ' ' || c == '\t' : c == sep; };
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false, inCell = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                cell += line[++i];
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"') {
            quoted = inCell = true;
        } else if (isSeparator(c)) {
            if (blanks && !inCell)
                continue;
            if (cells.size() > most)
                return cells;
            cells.push_back(std::string(TrimSpace(cell)));
            cell.clear();
            inCell = false;
        } else {
            cell += c;
            inCell = true;
        }
    }
    if (inCell || !blanks)
        cells.push_back(std::string(TrimSpace(cell)));
    while (!cells.empty() && cells.back().empty())
        cells.pop_back();
    return cells;
}

std::optional<double> CellNumber(std::string cell, TableSeparator separator) {
    if (separator == TableSeparator::Semicolon)
        std::replace(cell.begin(), cell.end(), ',', '.');
    return ParseNumber(cell);
}

TableSeparator DetectSeparator(const std::vector<std::string_view>& lines) {
    auto any = [&](char c) {
        return std::any_of(lines.begin(), lines.end(),
                           [c](std::string_view l) { return l.find(c) != std::string_view::npos; });
    };
    if (any('\t'))
        return TableSeparator::Tab;
    if (any(';'))
        return TableSeparator::Semicolon;
    if (any(','))
        return TableSeparator::Comma;
    return TableSeparator::Blanks;
}

} // namespace

bool ReadTextTable(std::string_view text, TextTable& table, ImportError& error) {
    table = TextTable{};
    std::vector<std::pair<int, std::string_view>> lines;
    LineReader reader(text);
    std::string_view raw;
    while (reader.next(raw)) {
        const std::string_view line = TrimSpace(raw);
        if (!line.empty() && !IsComment(line))
            lines.emplace_back(reader.number(), line);
    }
    if (lines.empty()) {
        error = {0, "The file holds no table: every line is blank or a comment."};
        return false;
    }
    std::vector<std::string_view> first;
    for (std::size_t i = 0; i < lines.size() && i < kLinesLookedAt; ++i)
        first.push_back(lines[i].second);
    table.separator = DetectSeparator(first);

    if (lines.size() > kMaxTableRows + 1) {
        error = {lines[kMaxTableRows + 1].first,
                 "the table goes on beyond " + std::to_string(kMaxTableRows) +
                     " rows; take the range you need from it first."};
        return false;
    }
    table.rows.reserve(lines.size());
    std::size_t values = 0;
    for (const auto& [number, line] : lines) {
        table.rows.push_back(
            {number, SplitCells(line, table.separator,
                                std::min(kMaxTableValues - values, kMaxTableColumns))});
        if (table.rows.back().cells.size() > kMaxTableColumns) {
            error = {number, "the line holds more than " + std::to_string(kMaxTableColumns) +
                                 " columns; a table of measured values has a few."};
            return false;
        }
        values += table.rows.back().cells.size();
        if (values > kMaxTableValues) {
            error = {number,
                     "the table holds more than " + std::to_string(kMaxTableValues) + " values."};
            return false;
        }
        table.columns = std::max(table.columns, static_cast<int>(table.rows.back().cells.size()));
    }
    // Text above a number in the same column marks the first line as the column names.
    const auto& top = table.rows.front().cells;
    bool header = false;
    for (std::size_t c = 0; c < top.size() && !header; ++c) {
        if (top[c].empty() || CellNumber(top[c], table.separator))
            continue;
        header = table.rows.size() == 1 ||
                 (c < table.rows[1].cells.size() &&
                  CellNumber(table.rows[1].cells[c], table.separator).has_value());
    }
    if (header) {
        table.header = top;
        table.rows.erase(table.rows.begin());
    }
    if (table.rows.empty()) {
        error = {0, "The file holds a header line and no values below it."};
        return false;
    }
    return true;
}

bool ColumnNumbers(const TextTable& table, int column, std::vector<double>& values,
                   ImportError& error) {
    values.clear();
    values.reserve(table.rows.size());
    const std::string name = ColumnName(table, column);
    for (const TextTable::Row& row : table.rows) {
        const auto c = static_cast<std::size_t>(column);
        if (column < 0 || c >= row.cells.size()) {
            error = {row.line, "the line holds " + std::to_string(row.cells.size()) +
                                   (row.cells.size() == 1 ? " column" : " columns") + "; column " +
                                   std::to_string(column + 1) + " (" + name + ") is missing."};
            return false;
        }
        const std::optional<double> value = CellNumber(row.cells[c], table.separator);
        if (!value) {
            error = {row.line,
                     row.cells[c].empty()
                         ? "column " + std::to_string(column + 1) + " (" + name + ") is empty."
                         : "column " + std::to_string(column + 1) + " (" + name + "): '" +
                               row.cells[c].substr(0, 40) + "' is not a number."};
            return false;
        }
        values.push_back(*value);
    }
    return true;
}

std::string ColumnName(const TextTable& table, int column) {
    const auto c = static_cast<std::size_t>(column);
    // A header line of junk is no name to show whole.
    if (column >= 0 && c < table.header.size() && !table.header[c].empty())
        return Shortened(table.header[c], 40);
    return "Column " + std::to_string(column + 1);
}

} // namespace veltrana
