// libFuzzer entry: any bytes as a text table. Rows keep their file order; every pair of the
// first three columns that can be read as frequency and Yout gives a sorted, finite response.
#include "MeasuredResponse.h"
#include "TextTable.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace veltrana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MeasuredFile file;
    ImportError error;
    if (!ReadTextTable(text, file.table, error))
        return 0;
    const TextTable& table = file.table;
    for (std::size_t i = 1; i < table.rows.size(); ++i)
        if (table.rows[i].line <= table.rows[i - 1].line)
            __builtin_trap();
    for (const auto& row : table.rows)
        if (static_cast<int>(row.cells.size()) > table.columns)
            __builtin_trap();
    for (int f = 0; f < 3; ++f) {
        for (int y = 0; y < 3; ++y) {
            ImportChoices choices;
            choices.columns = {f, y, -1, -1};
            choices.decibels = (f + y) % 2 == 1;
            MeasuredResponse response;
            if (!MeasuredResponseOf(file, choices, response, error)) {
                if (error.what.empty())
                    __builtin_trap();
                continue;
            }
            for (std::size_t i = 0; i < response.freqMHz.size(); ++i) {
                if (!std::isfinite(response.freqMHz[i]) || !std::isfinite(response.yout[i]) ||
                    response.yout[i] < 0 ||
                    (i > 0 && !(response.freqMHz[i] > response.freqMHz[i - 1])))
                    __builtin_trap();
            }
        }
    }
    return 0;
}
