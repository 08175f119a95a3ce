#pragma once

#include "ImportError.h"

#include <complex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// The network data of a Touchstone file (version 1 or 2.0): one N x N matrix of complex
/// values per frequency, as the file's option line and keywords say to read them.
struct TouchstoneData {
    int version = 1;      ///< 1, or 2 for a file that begins with [Version] 2.0
    int ports = 0;        ///< N
    char parameter = 'S'; ///< S, Y, Z, H or G
    double referenceOhms = 50;
    std::vector<double> freqHz; ///< ascending
    /// N * N values per frequency, row by row: entry (row, column) of point k, both counted
    /// from 0, is values[k * N * N + row * N + column].
    std::vector<std::complex<double>> values;

    std::complex<double> at(std::size_t point, int row, int column) const {
        return values[point * static_cast<std::size_t>(ports * ports) +
                      static_cast<std::size_t>(row * ports + column)];
    }
};

/// The number of ports a file name announces: N for a name ending in ".sNp" (in any case),
/// 0 for ".ts" (a version 2.0 file names its ports inside) and -1 for any other name.
int TouchstonePortsOfName(std::string_view fileName);

/// The largest number of ports taken in: beyond it a file is no measurement of one filter.
inline constexpr int kMaxTouchstonePorts = 64;

/// Reads a Touchstone file. `ports` is the number the file name announces (0 when it names
/// none, which only a version 2.0 file can make up for). On failure `error` names the line
/// and what is wrong there, and `data` holds nothing useful.
bool ReadTouchstone(std::string_view text, int ports, TouchstoneData& data, ImportError& error);

/// The name of the entry (row, column), counted from 0, for a file of `ports` ports: "S21",
/// or "S10,2" when a number has two digits.
std::string ParameterName(char parameter, int ports, int row, int column);

/// The entry named by `name` ("S21", "s21" or "S2,1"): row and column counted from 0;
/// nothing when the name does not fit the file's parameter and ports.
std::optional<std::pair<int, int>> ParseParameterName(std::string_view name, char parameter,
                                                      int ports);

} // namespace veltrana
