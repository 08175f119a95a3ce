#include "FakeFormView.h"
#include "SampleProblem.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class BindingTest : public FakeFormTest {
protected:
    void SetUp() override { binding.ShowStartValues(); }
};

} // namespace

TEST_F(BindingTest, PointsEndAtTheFirstIncompleteRow) {
    using Rows = std::vector<std::vector<std::string>>;
    const std::tuple<const char*, Rows, int> cases[] = {
        {"empty grid", {}, 0},
        {"row 2 lacks Yout", {{"1", "2", "3"}, {"4", "5"}, {"7", "8", "9"}, {"1", "1", "1"}}, 1},
        {"blanks only are empty", {{"1", "2", "3"}, {"4", "  ", "6"}}, 1},
        {"weight is not looked at", {{"1", "2", "3", ""}, {"4", "5", "6"}}, 2},
        {"trimmed, full to the last row", Rows(5, {" 1 ", "2", "3 "}), 5},
    };
    view.setChecked("chkUseWeights", true);
    binding.ShowWeightColumn();
    for (const auto& [name, rows, points] : cases) {
        SCOPED_TRACE(name);
        grids.setCurrentGrid(Grid::PassData);
        grids.ClearGrid();
        view.setRowCount(Grid::PassData, 6);
        view.fill(Grid::PassData, rows);
        binding.PutAnswers();
        EXPECT_EQ(std::tie(problem.nFreqPoints, problem.Answers[22]),
                  std::tuple(points, " " + std::to_string(points)));
        if (points > 0) {
            EXPECT_EQ(std::tie(problem.Freq[1], problem.Yout[1]), std::tuple("1", "3"));
        }
    }
}

// As loaded: the zero counts split at single blanks, and a switch ticked by "Y" or "y" alone.
TEST_F(BindingTest, ZeroCountsSplitAtSingleBlanksAndSwitchesShowOnlyYAsChecked) {
    const std::tuple<const char*, const char*, const char*, const char*, const char*, bool>
        cases[] = {{"0  1  0", "0", "", "1", "y", true},
                   {"", "0", "0", "0", "yes", false},
                   {"1 2", "1", "2", "", " Y", false},
                   {"1 2 3 4", "1", "2", "3", "Y", true}};
    for (auto [counts, zeros, pairs, quads, answer, checked] : cases) {
        SCOPED_TRACE(std::string(counts) + "|" + answer);
        problem.Answers[15] = counts;
        for (int slot : {0, 4, 11, 13, 14})
            problem.Answers[slot] = answer;
        binding.GetAnswers();
        EXPECT_EQ(std::tuple(view.text("nYzeros"), view.text("nZpairs"), view.text("nZquads")),
                  std::tuple(zeros, pairs, quads));
        for (auto box :
             {"chkEqualDelay", "chkUseWeights", "chkSigmaZero", "chkDoublet", "chkLossless"})
            EXPECT_EQ(view.isChecked(box), checked) << box;
    }
}

TEST_F(BindingTest, CountsBeyondTheStoredPointsShowOnlyThoseThatExist) {
    const std::pair<const char*, int> cases[] = {{"1e9", 3}, {"-4", 0}, {"2.5", 2}};
    for (auto [slot, points] : cases) {
        SCOPED_TRACE(slot);
        problem = SampleProblem(true);
        problem.Answers[22] = slot;
        problem.Weight = {"", "4"}; // fewer weights than points
        problem.Yout = {"", "1.0", "1.1"};
        binding.GetAnswers();
        // Point 3, where shown, has neither Yout nor weight stored.
        EXPECT_EQ(
            std::tuple(problem.nFreqPoints, view.rowCount(Grid::PassData),
                       view.cellText(Grid::PassData, 3, 3) + view.cellText(Grid::PassData, 3, 4)),
            std::tuple(points, 3 + points + 1, ""));
    }
}

// Steps in turn: a field typed in and left, then whether its dependent is enabled, after the
// field is left and after all rules are applied afresh. Zero pairs and quads count together,
// whichever of the two is left.
TEST_F(BindingTest, EnablingRulesFollowTheirDecidingFields) {
    const std::tuple<const char*, const char*, const char*, bool> steps[] = {
        {"nPoles", "0 4", "sigmaPoles", false}, {"nPoles", "  1 4", "sigmaPoles", true},
        {"nPoles", "", "sigmaPoles", true},     {"nYzeros", "2 zeros", "Yzero", true},
        {"nYzeros", "0.0", "Yzero", false},     {"nZpairs", "1", "Zimag", true},
        {"nZquads", "-1", "Zreal", false},      {"nZquads", "0", "Zreal", true},
        {"nZpairs", "", "Zimag", false},        {"nZquads", "2", "Zimag", true},
    };
    for (auto [field, text, dependent, enabled] : steps) {
        SCOPED_TRACE(std::string(field) + "='" + text + "'");
        view.setText(field, text);
        binding.FieldLeft(field);
        EXPECT_EQ(view.isEnabled(dependent), enabled);
        view.enabled.clear();
        binding.RefreshEnabling();
        EXPECT_EQ(view.isEnabled(dependent), enabled);
    }
    // A disabled field still reaches the record.
    ASSERT_FALSE(view.isEnabled("Yzero"));
    view.setText("Yzero", "1.5 2.5");
    binding.PutAnswers();
    EXPECT_EQ(problem.Answers[16], "1.5 2.5");
}

TEST_F(BindingTest, LoadedSettingsAreEditableWhenRemaxOrDetailHoldText) {
    const std::tuple<const char*, const char*, const char*, bool, int> cases[] = {
        {"5 10 7", "", "", true, 9},
        {"", "0 0 0", "", true, 9},
        {"", "", "1e-5", false, 9},
        {"", "", "", false, 0}};
    for (auto [remax, detail, zero, enabled, lines] : cases) {
        SCOPED_TRACE(std::string(remax) + "|" + detail + "|" + zero);
        problem.SolverAnswers = {remax, detail, zero, "", "", "", "", "", ""};
        binding.GetAnswers();
        EXPECT_EQ(view.isEnabled("Remax"), enabled);
        binding.PutAnswers();
        EXPECT_EQ(problem.nSolverLines, lines);
    }
}
