#include "MeasuredResponse.h"

#include "GroupDelay.h"
#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace veltrana {

namespace {

bool FromTouchstone(const TouchstoneData& data, const ImportChoices& choices,
                    MeasuredResponse& response, ImportError& error) {
    const std::string name = choices.parameter.empty() ? DefaultParameter(data) : choices.parameter;
    const auto entry = ParseParameterName(name, data.parameter, data.ports);
    if (!entry) {
        error = {0, "The file holds no parameter '" + name + "': it describes " +
                        std::to_string(data.ports) + (data.ports == 1 ? " port" : " ports") + " (" +
                        ParameterName(data.parameter, data.ports, 0, 0) + " to " +
                        ParameterName(data.parameter, data.ports, data.ports - 1, data.ports - 1) +
                        ")."};
        return false;
    }
    const auto [row, column] = *entry;
    const std::size_t n = data.freqHz.size();
    std::vector<double> phase(n);
    response.freqMHz.resize(n);
    response.yout.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::complex<double> v = data.at(k, row, column);
        response.freqMHz[k] = data.freqHz[k] / 1e6;
        response.yout[k] = std::abs(v);
        phase[k] = std::arg(v);
    }
    response.what = "|" + ParameterName(data.parameter, data.ports, row, column) + "|";
    if (choices.delay) {
        if (n < 2) {
            error = {0, "The group delay needs at least two frequencies; the file holds one."};
            return false;
        }
        response.delayNs = GroupDelayNs(data.freqHz, UnwrapPhase(phase));
        for (std::size_t k = 0; k < n; ++k)
            if (!std::isfinite(response.delayNs[k])) {
                error = {0, "The group delay at " + GeneralNumber(response.freqMHz[k]) +
                                " MHz cannot be worked out: the frequencies lie too close."};
                return false;
            }
    }
    return true;
}

// Magnitudes as the problem holds them: linear, not negative, finite.
bool Magnitudes(std::vector<double>& values, bool decibels, const char* what,
                const TextTable& table, ImportError& error) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (decibels)
            values[i] = std::pow(10.0, values[i] / 20);
        const int line = table.rows[i].line;
        if (!std::isfinite(values[i])) {
            error = {line, std::string(what) + " is too large to be taken in."};
            return false;
        }
        if (values[i] < 0) {
            error = {line, std::string(what) + " " + GeneralNumber(values[i]) +
                               " is negative; a magnitude cannot be."};
            return false;
        }
    }
    return true;
}

bool FromTable(const TextTable& table, const ImportChoices& choices, MeasuredResponse& response,
               ImportError& error) {
    const TableColumns& c = choices.columns;
    if (choices.delay) {
        error = {0, "The group delay comes from the phase of a Touchstone file; a text table "
                    "holds no phase."};
        return false;
    }
    if (c.freq < 0 || c.yout < 0) {
        error = {0, "Choose the columns of the frequency and of Yout."};
        return false;
    }
    const std::vector<int> chosen = {c.freq, c.yout, c.yin, c.weight};
    for (std::size_t a = 0; a < chosen.size(); ++a)
        for (std::size_t b = a + 1; b < chosen.size(); ++b)
            if (chosen[a] >= 0 && chosen[a] == chosen[b]) {
                error = {0, "Column " + std::to_string(chosen[a] + 1) +
                                " is chosen twice; each column can hold one quantity only."};
                return false;
            }
    if (!ColumnNumbers(table, c.freq, response.freqMHz, error) ||
        !ColumnNumbers(table, c.yout, response.yout, error) ||
        (c.yin >= 0 && !ColumnNumbers(table, c.yin, response.yin, error)) ||
        (c.weight >= 0 && !ColumnNumbers(table, c.weight, response.weight, error)))
        return false;
    const double scale = MHzPerUnit(choices.unit);
    for (std::size_t i = 0; i < response.freqMHz.size(); ++i) {
        response.freqMHz[i] *= scale;
        if (!(response.freqMHz[i] >= 0) || !std::isfinite(response.freqMHz[i])) {
            error = {table.rows[i].line, "the frequency " +
                                             GeneralNumber(response.freqMHz[i] / scale) +
                                             " is not a frequency of 0 or more."};
            return false;
        }
    }
    if (!Magnitudes(response.yout, choices.decibels, "Yout", table, error) ||
        !Magnitudes(response.yin, choices.decibels, "Yin", table, error))
        return false;
    for (std::size_t i = 0; i < response.weight.size(); ++i)
        if (response.weight[i] < 0) {
            error = {table.rows[i].line,
                     "the weight " + GeneralNumber(response.weight[i]) + " is negative."};
            return false;
        }

    // A sweep written from the top down is taken the other way round.
    auto& f = response.freqMHz;
    const bool descending =
        f.size() > 1 && std::adjacent_find(f.begin(), f.end(), std::less_equal<>()) == f.end();
    std::vector<int> lines(table.rows.size());
    std::transform(table.rows.begin(), table.rows.end(), lines.begin(),
                   [](const TextTable::Row& r) { return r.line; });
    if (descending) {
        for (auto* v : {&response.freqMHz, &response.yout, &response.yin, &response.weight})
            std::reverse(v->begin(), v->end());
        std::reverse(lines.begin(), lines.end());
    }
    for (std::size_t i = 1; i < f.size(); ++i)
        if (!(f[i] > f[i - 1])) {
            error = {lines[i], "the frequency " + GeneralNumber(f[i] / scale) +
                                   " is not above the one before it (line " +
                                   std::to_string(lines[i - 1]) +
                                   "); the table must be sorted by frequency, each one once."};
            return false;
        }
    response.what = "Yout from " + ColumnName(table, c.yout);
    return true;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The first column whose name holds one of `words`, or -1.
int ColumnNamed(const TextTable& table, std::initializer_list<const char*> words, int skip) {
    for (int c = 0; c < static_cast<int>(table.header.size()); ++c) {
        const std::string name = Lower(table.header[static_cast<std::size_t>(c)]);
        for (const char* word : words)
            if (c != skip && name.find(word) != std::string::npos)
                return c;
    }
    return -1;
}

} // namespace

ImportChoices SuggestedTableChoices(const TextTable& table) {
    ImportChoices choices;
    TableColumns& c = choices.columns;
    c.freq = std::max(ColumnNamed(table, {"freq"}, -1), 0);
    c.yout = ColumnNamed(table, {"s21", "yout", "mag", "|", "db"}, c.freq);
    if (c.yout < 0)
        c.yout = c.freq + 1 < table.columns ? c.freq + 1 : (c.freq == 0 ? 1 : 0);
    const auto name = [&](int column) {
        return static_cast<std::size_t>(column) < table.header.size()
                   ? Lower(table.header[static_cast<std::size_t>(column)])
                   : std::string();
    };
    const std::string freq = name(c.freq);
    choices.unit = freq.find("ghz") != std::string::npos   ? FrequencyUnit::GHz
                   : freq.find("mhz") != std::string::npos ? FrequencyUnit::MHz
                   : freq.find("khz") != std::string::npos ? FrequencyUnit::kHz
                   : freq.find("hz") != std::string::npos  ? FrequencyUnit::Hz
                                                           : FrequencyUnit::MHz;
    choices.decibels = name(c.yout).find("db") != std::string::npos;
    return choices;
}

std::string DefaultParameter(const TouchstoneData& data) {
    return data.ports == 1 ? ParameterName(data.parameter, 1, 0, 0)
                           : ParameterName(data.parameter, data.ports, 1, 0);
}

double MHzPerUnit(FrequencyUnit unit) {
    switch (unit) {
    case FrequencyUnit::Hz:
        return 1e-6;
    case FrequencyUnit::kHz:
        return 1e-3;
    case FrequencyUnit::MHz:
        return 1;
    case FrequencyUnit::GHz:
        return 1e3;
    }
    return 1;
}

bool MeasuredResponseOf(const MeasuredFile& file, const ImportChoices& choices,
                        MeasuredResponse& response, ImportError& error) {
    response = MeasuredResponse{};
    if (file.kind == MeasuredFile::Kind::Touchstone)
        return FromTouchstone(file.touchstone, choices, response, error);
    return FromTable(file.table, choices, response, error);
}

} // namespace veltrana
