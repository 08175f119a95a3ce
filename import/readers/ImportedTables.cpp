#include "ImportedTables.h"

#include "DesignProblem.h"
#include "NumberText.h"

#include <charconv>

namespace veltrana {

namespace {

// Measured magnitudes and delays carry no more than nine meaningful digits; more would only
// crowd the grid's cells.
std::string Measured(double value) {
    char digits[32];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 8);
    double rounded = value;
    std::from_chars(digits, written.ptr, rounded);
    return GeneralNumber(rounded);
}

} // namespace

ImportedTables BuildTables(const MeasuredResponse& response,
                           const std::vector<std::size_t>& selected) {
    ImportedTables tables;
    tables.weights = !response.weight.empty();
    tables.withDelay = !response.delayNs.empty();
    tables.pass.reserve(selected.size());
    for (std::size_t i : selected) {
        tables.pass.push_back({GeneralNumber(response.freqMHz[i]),
                               response.yin.empty() ? "1" : Measured(response.yin[i]),
                               Measured(response.yout[i]),
                               tables.weights ? Measured(response.weight[i]) : ""});
        if (tables.withDelay)
            tables.delay.push_back(
                {GeneralNumber(response.freqMHz[i]), Measured(response.delayNs[i])});
    }
    return tables;
}

bool ImportTablesOf(const MeasuredFile& file, const ImportChoices& choices, ImportedTables& tables,
                    ImportError& error) {
    MeasuredResponse response;
    if (!MeasuredResponseOf(file, choices, response, error))
        return false;
    const std::vector<std::size_t> selected = SelectPoints(response.freqMHz, choices.range);
    if (selected.empty()) {
        error = {0, "No point above 0 MHz lies in the range chosen."};
        return false;
    }
    tables = BuildTables(response, selected);
    PointRange whole = choices.range;
    whole.maxPoints = 0;
    tables.thinnedFrom = SelectPoints(response.freqMHz, whole).size();
    tables.what = response.what;
    return true;
}

void ApplyImport(DesignProblem& p, const ImportedTables& tables) {
    const std::size_t n = tables.pass.size();
    for (auto* column : {&p.Freq, &p.Yin, &p.Yout, &p.Weight})
        column->assign(n + 1, {});
    for (std::size_t i = 0; i < n; ++i) {
        p.Freq[i + 1] = tables.pass[i][0];
        p.Yin[i + 1] = tables.pass[i][1];
        p.Yout[i + 1] = tables.pass[i][2];
        p.Weight[i + 1] = tables.pass[i][3];
    }
    p.nFreqPoints = static_cast<int>(n);
    p.Answers[SlotFreqCount] = std::to_string(n);
    if (tables.weights)
        p.Answers[SlotUseWeights] = "Y";
    if (!tables.withDelay)
        return;
    const std::size_t m = tables.delay.size();
    p.DelFreq.assign(m + 1, {});
    p.TX.assign(m + 1, {});
    for (std::size_t j = 0; j < m; ++j) {
        p.DelFreq[j + 1] = tables.delay[j][0];
        p.TX[j + 1] = tables.delay[j][1];
    }
    p.nDelayPoints = static_cast<int>(m);
    p.Answers[SlotDelayCount] = std::to_string(m);
    p.Answers[SlotEqualDelay] = "Y";
}

} // namespace veltrana
