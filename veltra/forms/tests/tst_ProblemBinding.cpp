#include "DesignProblem.h"
#include "FakeFormView.h"
#include "FormTexts.h"
#include "GridEditing.h"
#include "ProblemBinding.h"
#include "ShellState.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class BindingTest : public ::testing::Test {
protected:
    DesignProblem problem;
    ShellState state;
    FakeFormView view;
    GridEditing grids{view, problem, state};
    ProblemBinding binding{problem, state, view, grids};

    void SetUp() override { binding.ShowStartValues(); }

    // A problem as the file reader leaves it: arrays one longer than the points.
    static DesignProblem LoadedProblem(bool weights) {
        DesignProblem p;
        const char* slots[] = {"Y",        "50",  "-2",      "-1",      weights ? "Y" : "N",
                               "8",        "12",  "0  3",    ".02",     ".1 .2 .3",
                               ".4 .5 .6", "Y",   ".07",     "N",       "Y",
                               "1 2 0",    "1.5", ".01 .02", ".03 .04", "2",
                               ".001",     "30",  "3",       "2"};
        for (int i = 0; i < 24; ++i)
            p.Answers[i] = slots[i];
        p.Freq = {"", "1", "2", "3"};
        p.Yin = {"", "0.5", "0.6", "0.7"};
        p.Yout = {"", "1.0", "1.1", "1.2"};
        p.Weight = {"", "4", "5", "6"};
        p.nFreqPoints = 3;
        p.DelFreq = {"", "0.1", "0.2"};
        p.TX = {"", "70", "71"};
        p.nDelayPoints = 2;
        p.Note1 = "first note";
        p.Note2 = "second note";
        p.SolverAnswers = {"5 10 7", "0 0 0", "1e-5 1e-5 1e-5", "100", "10", "2000",
                           "1",      "16",    ".0001"};
        p.nSolverLines = 9;
        return p;
    }
};

// Compares what a file would carry: answers (counts without their leading blank), the
// points in use, notes and settings.
void ExpectSameProblem(const DesignProblem& a, const DesignProblem& b, bool weights) {
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(a.Answers[i], b.Answers[i]) << "slot " << i;
    EXPECT_EQ(std::stoi(a.Answers[22]), std::stoi(b.Answers[22]));
    EXPECT_EQ(std::stoi(a.Answers[23]), std::stoi(b.Answers[23]));
    ASSERT_EQ(a.nFreqPoints, b.nFreqPoints);
    for (int i = 1; i <= a.nFreqPoints; ++i) {
        EXPECT_EQ(a.Freq[i], b.Freq[i]);
        EXPECT_EQ(a.Yin[i], b.Yin[i]);
        EXPECT_EQ(a.Yout[i], b.Yout[i]);
        if (weights) {
            EXPECT_EQ(a.Weight[i], b.Weight[i]);
        }
    }
    ASSERT_EQ(a.nDelayPoints, b.nDelayPoints);
    for (int i = 1; i <= a.nDelayPoints; ++i) {
        EXPECT_EQ(a.DelFreq[i], b.DelFreq[i]);
        EXPECT_EQ(a.TX[i], b.TX[i]);
    }
    EXPECT_EQ(a.Note1, b.Note1);
    EXPECT_EQ(a.Note2, b.Note2);
    EXPECT_EQ(a.SolverAnswers, b.SolverAnswers);
    EXPECT_EQ(a.nSolverLines, b.nSolverLines);
}

} // namespace

TEST_F(BindingTest, StartValuesBecomeTheRecord) {
    binding.PutAnswers();
    EXPECT_EQ(problem.Answers[0], "N");
    EXPECT_EQ(problem.Answers[1], "76.7");
    EXPECT_EQ(problem.Answers[7], "1  4");
    EXPECT_EQ(problem.Answers[15], "0 0 0");
    EXPECT_EQ(problem.Answers[21], "22");
    EXPECT_EQ(problem.Answers[22], " 0");
    EXPECT_EQ(problem.Answers[23], " 0");
    EXPECT_EQ(problem.nFreqPoints, 0);
    EXPECT_EQ(problem.Freq.size(), 1u);
    EXPECT_EQ(problem.Note2, "Your notes go here");
    EXPECT_EQ(problem.SolverAnswers[1], "0 0 0");
    EXPECT_EQ(problem.nSolverLines, 9);
}

TEST_F(BindingTest, LoadedProblemComesBackUnchanged) {
    for (bool weights : {false, true}) {
        SCOPED_TRACE(weights);
        problem = LoadedProblem(weights);
        const DesignProblem loaded = problem;
        state.dataChanged = true;
        binding.GetAnswers();
        EXPECT_FALSE(state.dataChanged);
        EXPECT_EQ(view.g(Grid::PassData).columns, weights ? 5 : 4);
        // Two blank rows after clearing, one per point, one more.
        EXPECT_EQ(view.rowCount(Grid::PassData), 3 + 3 + 1);
        EXPECT_EQ(view.editorText(Grid::PassData), "1");
        binding.PutAnswers();
        ExpectSameProblem(problem, loaded, weights);
    }
}

TEST_F(BindingTest, PointsEndAtTheFirstIncompleteRow) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> rows;
        int points;
    };
    const Case cases[] = {
        {"empty grid", {}, 0},
        {"row 2 lacks Yout", {{"1", "2", "3"}, {"4", "5"}, {"7", "8", "9"}, {"1", "1", "1"}}, 1},
        {"blanks only are empty", {{"1", "2", "3"}, {"4", "  ", "6"}}, 1},
        {"weight is not looked at", {{"1", "2", "3", ""}, {"4", "5", "6"}}, 2},
        {"first row incomplete", {{"", "2", "3"}, {"4", "5", "6"}}, 0},
    };
    view.setChecked("chkUseWeights", true);
    binding.ShowWeightColumn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grids.setCurrentGrid(Grid::PassData);
        grids.ClearGrid();
        view.setRowCount(Grid::PassData, 6);
        view.fill(Grid::PassData, c.rows);
        binding.PutAnswers();
        EXPECT_EQ(problem.nFreqPoints, c.points);
        EXPECT_EQ(problem.Answers[22], " " + std::to_string(c.points));
    }
}

TEST_F(BindingTest, CellsAreTrimmedAndAGridFullToTheEndCountsEveryRow) {
    view.setRowCount(Grid::DelayData, 3);
    view.fill(Grid::DelayData, {{" 1 ", "2"}, {"3", " 4"}});
    binding.PutAnswers();
    EXPECT_EQ(problem.nDelayPoints, 2);
    EXPECT_EQ(problem.DelFreq[1], "1");
    EXPECT_EQ(problem.TX[2], "4");
}

TEST_F(BindingTest, ZeroCountsSplitAtSingleBlanks) {
    struct Case {
        const char* slot;
        const char* s;
        const char* p;
        const char* q;
    };
    const Case cases[] = {{"0  1  0", "0", "", "1"},
                          {"", "0", "0", "0"},
                          {"2 1 3", "2", "1", "3"},
                          {"1 2", "1", "2", ""},
                          {"1 2 3 4", "1", "2", "3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        problem.Answers[15] = c.slot;
        binding.GetAnswers();
        EXPECT_EQ(view.text("nYzeros"), c.s);
        EXPECT_EQ(view.text("nZpairs"), c.p);
        EXPECT_EQ(view.text("nZquads"), c.q);
    }
}

TEST_F(BindingTest, SwitchesShowOnlyYAsChecked) {
    const std::pair<const char*, bool> cases[] = {{"Y", true}, {"y", true},  {"yes", false},
                                                  {"", false}, {"N", false}, {" Y", false}};
    for (auto [answer, checked] : cases) {
        SCOPED_TRACE(answer);
        for (int slot : {0, 4, 11, 13, 14})
            problem.Answers[slot] = answer;
        binding.GetAnswers();
        for (auto box :
             {"chkEqualDelay", "chkUseWeights", "chkSigmaZero", "chkDoublet", "chkLossless"})
            EXPECT_EQ(view.isChecked(box), checked) << box;
        binding.PutAnswers();
        EXPECT_EQ(problem.Answers[0], checked ? "Y" : "N");
    }
}

TEST_F(BindingTest, CountsBeyondTheStoredPointsShowOnlyThoseThatExist) {
    const std::pair<const char*, int> cases[] = {{"1e9", 3}, {"-4", 0},  {"2", 2},
                                                 {"2.5", 2}, {"abc", 0}, {"  3  ", 3}};
    for (auto [slot, points] : cases) {
        SCOPED_TRACE(slot);
        problem = LoadedProblem(true);
        problem.Answers[22] = slot;
        problem.Weight = {"", "4"}; // fewer weights than points
        problem.Yout = {"", "1.0", "1.1"};
        binding.GetAnswers();
        EXPECT_EQ(problem.nFreqPoints, points);
        EXPECT_EQ(view.rowCount(Grid::PassData), 3 + points + 1);
        if (points >= 3) {
            EXPECT_EQ(view.cellText(Grid::PassData, 3, 3), "");
            EXPECT_EQ(view.cellText(Grid::PassData, 3, 4), "");
        }
    }
}

TEST_F(BindingTest, NoPointsShowEmptyGridsWithEmptyEditors) {
    problem = LoadedProblem(false);
    problem.Answers[22] = "0";
    problem.Answers[23] = "";
    binding.GetAnswers();
    EXPECT_EQ(view.rowCount(Grid::PassData), 4);
    EXPECT_EQ(view.rowCount(Grid::DelayData), 4);
    EXPECT_EQ(view.editorText(Grid::PassData), "");
    EXPECT_EQ(view.editorText(Grid::DelayData), "");
}

TEST_F(BindingTest, HiddenWeightsAreKeptByPutAnswers) {
    problem = LoadedProblem(true);
    binding.GetAnswers();
    view.setChecked("chkUseWeights", false);
    binding.UseWeightsClicked();
    EXPECT_EQ(view.columnCount(Grid::PassData), 4);
    binding.PutAnswers();
    EXPECT_EQ(problem.Answers[4], "N");
    ASSERT_GE(problem.Weight.size(), 4u);
    EXPECT_EQ(problem.Weight[1], "4");
    EXPECT_EQ(problem.Weight[3], "6");
}

TEST_F(BindingTest, HidingAndShowingTheWeightColumnKeepsEditedWeights) {
    problem = LoadedProblem(true);
    binding.GetAnswers();
    view.setCellText(Grid::PassData, 2, 4, " 9 ");
    view.setChecked("chkUseWeights", false);
    binding.UseWeightsClicked();
    EXPECT_TRUE(state.dataChanged);
    view.setChecked("chkUseWeights", true);
    binding.UseWeightsClicked();
    EXPECT_EQ(view.cellText(Grid::PassData, 1, 4), "4");
    EXPECT_EQ(view.cellText(Grid::PassData, 2, 4), "9");
    EXPECT_EQ(view.cellText(Grid::PassData, 3, 4), "6");
}

TEST_F(BindingTest, TooFewStoredWeightsNeitherFailNorLoseAWeight) {
    problem = LoadedProblem(false);
    problem.Weight = {"", "4"};
    binding.GetAnswers();
    view.setChecked("chkUseWeights", true);
    binding.UseWeightsClicked();
    EXPECT_EQ(view.cellText(Grid::PassData, 1, 4), "4");
    EXPECT_EQ(view.cellText(Grid::PassData, 3, 4), "");
    view.setCellText(Grid::PassData, 3, 4, "7");
    view.setChecked("chkUseWeights", false);
    binding.UseWeightsClicked();
    ASSERT_EQ(problem.Weight.size(), 4u);
    EXPECT_EQ(problem.Weight[1], "4");
    EXPECT_EQ(problem.Weight[3], "7");
}

TEST_F(BindingTest, EnablingRulesFollowTheirDecidingFields) {
    struct Case {
        const char* field;
        const char* text;
        const char* dependent;
        bool enabled;
    };
    const Case cases[] = {
        {"nPoles", "0 4", "sigmaPoles", false},  {"nPoles", "04", "sigmaPoles", false},
        {"nPoles", "  1 4", "sigmaPoles", true}, {"nPoles", "", "sigmaPoles", true},
        {"nPoles", "  0", "sigmaPoles", false},  {"nYzeros", "0", "Yzero", false},
        {"nYzeros", "2 zeros", "Yzero", true},   {"nYzeros", "abc", "Yzero", false},
        {"nYzeros", "0.0", "Yzero", false},      {"nYzeros", " 1 2", "Yzero", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + "='" + c.text + "'");
        view.setText(c.field, c.text);
        binding.FieldLeft(c.field);
        EXPECT_EQ(view.isEnabled(c.dependent), c.enabled);
        view.enabled.clear();
        binding.RefreshEnabling();
        EXPECT_EQ(view.isEnabled(c.dependent), c.enabled);
    }
}

TEST_F(BindingTest, PairsAndQuadsCountTogether) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"1", "-1", false}, {"0", "0", false}, {"", "", false}, {"0", "2", true}, {"1", "0", true}};
    for (auto [pairs, quads, on] : cases) {
        for (const char* left : {"nZpairs", "nZquads"}) {
            SCOPED_TRACE(std::string(pairs) + "/" + quads + " left " + left);
            view.enabled.clear();
            view.setText("nZpairs", pairs);
            view.setText("nZquads", quads);
            binding.FieldLeft(left);
            EXPECT_EQ(view.isEnabled("Zreal"), on);
            EXPECT_EQ(view.isEnabled("Zimag"), on);
        }
    }
}

TEST_F(BindingTest, CheckBoxRulesApplyOnlyWhenTheirBoxIsLeft) {
    view.setChecked("chkEqualDelay", false);
    view.setChecked("chkSigmaZero", false);
    binding.RefreshEnabling();
    view.setChecked("chkEqualDelay", true);
    view.setChecked("chkSigmaZero", true);
    binding.FieldLeft("nPoles");
    EXPECT_FALSE(view.isEnabled("tmin"));
    binding.FieldLeft("chkEqualDelay");
    EXPECT_TRUE(view.isEnabled("tmin"));
    EXPECT_TRUE(view.isEnabled("DelRipplePower"));
    EXPECT_FALSE(view.isEnabled("sigmaZero"));
    binding.FieldLeft("chkSigmaZero");
    for (auto c : {"sigmaZero", "chkDoublet", "chkLossless"})
        EXPECT_TRUE(view.isEnabled(c)) << c;
}

TEST_F(BindingTest, DisabledFieldsStillReachTheRecord) {
    view.setText("nYzeros", "0");
    view.setText("Yzero", "1.5 2.5");
    binding.RefreshEnabling();
    ASSERT_FALSE(view.isEnabled("Yzero"));
    binding.PutAnswers();
    EXPECT_EQ(problem.Answers[16], "1.5 2.5");
}

TEST_F(BindingTest, SolverDefaultsButtons) {
    binding.UseDefaults();
    for (auto f : forms::kSolverFields) {
        EXPECT_EQ(view.text(f), "") << f;
        EXPECT_FALSE(view.isEnabled(f)) << f;
    }
    binding.PutAnswers();
    EXPECT_EQ(problem.nSolverLines, 0);

    binding.EditDefaults();
    EXPECT_EQ(view.text("Remax"), "5  10  7");
    EXPECT_EQ(view.text("Detail"), "0   0   0");
    EXPECT_TRUE(view.isEnabled("Accuracy"));
    binding.PutAnswers();
    EXPECT_EQ(problem.nSolverLines, 9);
    EXPECT_EQ(problem.SolverAnswers[8], ".0001");
}

TEST_F(BindingTest, LoadedSettingsAreEditableWhenRemaxOrDetailHoldText) {
    struct Case {
        const char* remax;
        const char* detail;
        const char* zero;
        bool enabled;
        int lines;
    };
    const Case cases[] = {{"5 10 7", "", "", true, 9},
                          {"", "0 0 0", "", true, 9},
                          {"", "", "1e-5", false, 9},
                          {"", "", "", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.remax) + "|" + c.detail + "|" + c.zero);
        problem.SolverAnswers = {c.remax, c.detail, c.zero, "", "", "", "", "", ""};
        binding.GetAnswers();
        EXPECT_EQ(view.isEnabled("Remax"), c.enabled);
        EXPECT_EQ(view.isEnabled("Ratio"), c.enabled);
        binding.PutAnswers();
        EXPECT_EQ(problem.nSolverLines, c.lines);
    }
}
