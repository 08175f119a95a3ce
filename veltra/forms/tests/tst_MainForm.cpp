#include "DesignProblem.h"
#include "FormTexts.h"
#include "MainForm.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"
#include "TestApp.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApp();
        form = std::make_unique<MainForm>(problem, state, prompter);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <class T = QWidget> T* control(const char* name) {
        auto* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTableWidget* pass() { return control<QTableWidget>("PassData"); }
    QLineEdit* passEditor() { return control<QLineEdit>("txtPassCellEditor"); }
    void showTab(int tab) {
        form->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    }
    void clickCell(QTableWidget* grid, int row, int column) {
        const QRect rect = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }

    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    std::unique_ptr<MainForm> form;
};

DesignProblem SmallProblem() {
    DesignProblem p;
    const char* answers[] = {"Y",   "50",  "-2",  "-1", "Y",    "8",  "12", "0  3",
                             ".02", ".1",  ".4",  "Y",  ".07",  "N",  "Y",  "1 2 0",
                             "1.5", ".01", ".03", "2",  ".001", "30", "3",  "1"};
    for (int i = 0; i < 24; ++i)
        p.Answers[i] = answers[i];
    p.Freq = {"", "1", "2", "3"};
    p.Yin = {"", "0.5", "0.6", "0.7"};
    p.Yout = {"", "1.0", "1.1", "1.2"};
    p.Weight = {"", "4", "5", "6"};
    p.nFreqPoints = 3;
    p.DelFreq = {"", "0.1"};
    p.TX = {"", "70"};
    p.nDelayPoints = 1;
    p.Note1 = "n1";
    p.Note2 = "n2";
    p.SolverAnswers = {"5 10 7", "", "", "100", "", "", "", "", ""};
    p.nSolverLines = 9;
    return p;
}

} // namespace

TEST_F(MainFormTest, ControlsCarryTheirNamesAndTexts) {
    EXPECT_EQ(form->objectName(), "frmMain");
    for (int i = 1; i <= forms::kQuestionCount; ++i) {
        auto* label = form->findChild<QLabel*>(QStringLiteral("lblQuestion_%1").arg(i));
        ASSERT_NE(label, nullptr) << i;
        const std::string shown =
            label->text().replace(QLatin1String("&"), QLatin1String("&&")).toStdString();
        EXPECT_EQ(shown, forms::kQuestionCaptions[i - 1]) << i;
    }
    for (int i = 1; i <= forms::kSolverCount; ++i) {
        auto* def = form->findChild<QLabel*>(QStringLiteral("lblDefAnswer_%1").arg(i));
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->text().toStdString(), forms::kSolverShownDefaults[i - 1]);
        EXPECT_NE(form->findChild<QLabel*>(QStringLiteral("lblSolvQuestion_%1").arg(i)), nullptr);
    }
    QTabWidget* tabs = form->tabs();
    EXPECT_EQ(tabs->objectName(), "ODE_Tabs");
    ASSERT_EQ(tabs->count(), 8);
    EXPECT_EQ(tabs->tabText(2), "&2. Poles && Zeros");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(tabs->isTabEnabled(forms::kDemosTab));
    const std::pair<const char*, const char*> texts[] = {{"tmin", "76.7"},
                                                         {"nPoles", "1  4"},
                                                         {"Zimag", ".01"},
                                                         {"maxX_Y", "22"},
                                                         {"Note1", "Keep notes for future runs"},
                                                         {"Remax", "5 10 7"},
                                                         {"Zero", "1e-5 1e-5 1e-5"}};
    for (auto [name, text] : texts)
        EXPECT_EQ(control<QLineEdit>(name)->text(), text) << name;
    EXPECT_EQ(control<QPushButton>("cmdClearDelayData")->text(), "Cle&ar Columns");
    EXPECT_EQ(control<QLabel>("lblArrowMovement1")->text(),
              "Use Enter or Tab key to move between columns and Left, Right, Up & Down Arrow "
              "keys to enter/edit X & Y data values.");
    EXPECT_EQ(control<QCheckBox>("chkLossless")->text(), "Yes");
    EXPECT_EQ(pass()->rowCount(), 2);
    EXPECT_EQ(pass()->columnCount(), 3);
    EXPECT_EQ(control<QTableWidget>("DelayData")->columnCount(), 2);
    EXPECT_EQ(pass()->horizontalHeaderItem(2)->text(), "Yout");
    EXPECT_TRUE(passEditor()->isHidden());
    EXPECT_FALSE(state.dataChanged);
}

TEST_F(MainFormTest, NothingOverlapsOrIsCutOff) {
    for (int tab = 0; tab < 8; ++tab) {
        showTab(tab);
        QWidget* page = form->tabs()->widget(tab);
        std::vector<QWidget*> widgets;
        for (QObject* child : page->children())
            if (auto* w = qobject_cast<QWidget*>(child);
                w && !w->objectName().endsWith(QLatin1String("CellEditor")))
                widgets.push_back(w);
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            const QRect r = widgets[i]->geometry();
            EXPECT_TRUE(page->rect().contains(r)) << widgets[i]->objectName().toStdString();
            if (auto* label = qobject_cast<QLabel*>(widgets[i])) {
                EXPECT_LE(label->heightForWidth(r.width()), r.height())
                    << label->objectName().toStdString();
            }
            for (std::size_t j = i + 1; j < widgets.size(); ++j)
                EXPECT_FALSE(r.intersects(widgets[j]->geometry()))
                    << widgets[i]->objectName().toStdString() << " overlaps "
                    << widgets[j]->objectName().toStdString();
        }
    }
}

TEST_F(MainFormTest, LoadedProblemIsCollectedUnchanged) {
    problem = SmallProblem();
    const DesignProblem loaded = problem;
    form->GetAnswers();
    EXPECT_FALSE(state.dataChanged);
    EXPECT_EQ(pass()->columnCount(), 4);
    EXPECT_EQ(pass()->item(2, 3)->text(), "6");
    EXPECT_FALSE(control<QLineEdit>("sigmaPoles")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>("tmin")->isEnabled());
    EXPECT_TRUE(control<QLineEdit>("Detail")->isEnabled()); // REMAX holds text
    form->PutAnswers();
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(problem.Answers[i], loaded.Answers[i]) << i;
    EXPECT_EQ(problem.Answers[22], " 3");
    EXPECT_EQ(problem.nDelayPoints, 1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(problem.Freq[i], loaded.Freq[i]);
        EXPECT_EQ(problem.Yout[i], loaded.Yout[i]);
        EXPECT_EQ(problem.Weight[i], loaded.Weight[i]);
    }
    EXPECT_EQ(problem.TX[1], "70");
    EXPECT_EQ(problem.SolverAnswers, loaded.SolverAnswers);
    EXPECT_EQ(problem.Note2, "n2");
}

TEST_F(MainFormTest, TypedGridWithoutYoutInRow2HasOnePoint) {
    showTab(forms::kPassTab);
    clickCell(pass(), 0, 0);
    ASSERT_TRUE(passEditor()->isVisible());
    const char* rows[][3] = {{"1", "2", "3"}, {"4", "5", ""}, {"7", "8", "9"}};
    for (auto& row : rows)
        for (const char* cell : row) {
            QTest::keyClicks(passEditor(), cell);
            QTest::keyClick(passEditor(), Qt::Key_Tab);
        }
    form->PutAnswers();
    EXPECT_EQ(problem.nFreqPoints, 1);
    EXPECT_EQ(problem.Answers[22], " 1");
    EXPECT_EQ(pass()->item(2, 2)->text(), "9");
}

TEST_F(MainFormTest, TypingOnACellOpensTheEditorWithTheCharacter) {
    showTab(forms::kPassTab);
    QTest::keyClick(passEditor(), Qt::Key_Escape); // the tab opened it; close it
    ASSERT_TRUE(passEditor()->isHidden());
    state.dataChanged = false;
    QTest::keyClick(pass(), Qt::Key_5);
    ASSERT_TRUE(passEditor()->isVisible());
    EXPECT_EQ(passEditor()->text(), "5");
    EXPECT_EQ(passEditor()->cursorPosition(), 1);
    EXPECT_TRUE(passEditor()->hasFocus());
    EXPECT_TRUE(state.dataChanged);
    QTest::keyClicks(passEditor(), "0");
    QTest::keyClick(passEditor(), Qt::Key_Return);
    EXPECT_EQ(pass()->item(0, 0)->text(), "50");
}

TEST_F(MainFormTest, TabOnTheLastColumnWrapsAndTheGridGrows) {
    showTab(forms::kPassTab);
    EXPECT_EQ(pass()->rowCount(), 3); // the editor opened on row 1
    for (int row = 1; row <= 4; ++row) {
        for (int column = 1; column <= 3; ++column)
            QTest::keyClick(passEditor(), Qt::Key_Tab);
        EXPECT_EQ(pass()->currentRow(), row);
        EXPECT_EQ(pass()->currentColumn(), 0);
        EXPECT_EQ(pass()->rowCount(), row + 3);
    }
    QTest::keyClick(passEditor(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(pass()->currentRow(), 3);
    EXPECT_EQ(pass()->currentColumn(), 2);
    EXPECT_TRUE(passEditor()->hasFocus());
}

TEST_F(MainFormTest, EditorLiesOverItsCellLessOnePixel) {
    showTab(forms::kPassTab);
    clickCell(pass(), 1, 2);
    const QRect cell = pass()->visualRect(pass()->model()->index(1, 2));
    const QPoint topLeft = pass()->viewport()->mapTo(pass()->parentWidget(), cell.topLeft());
    EXPECT_EQ(passEditor()->geometry(), QRect(topLeft, QSize(cell.width() - 1, cell.height() - 1)));
}

TEST_F(MainFormTest, EscapeDropsTheTypedText) {
    problem = SmallProblem();
    form->GetAnswers();
    showTab(forms::kPassTab);
    QTest::keyClicks(passEditor(), "99");
    QTest::keyClick(passEditor(), Qt::Key_Escape);
    EXPECT_TRUE(passEditor()->isHidden());
    EXPECT_EQ(pass()->item(0, 0)->text(), "1");
    EXPECT_TRUE(pass()->hasFocus());
}

TEST_F(MainFormTest, HidingAndShowingTheWeightColumnKeepsTheWeights) {
    problem = SmallProblem();
    form->GetAnswers();
    showTab(forms::kPassTab);
    auto* box = control<QCheckBox>("chkUseWeights");
    const QPoint indicator(8, box->height() / 2);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    EXPECT_EQ(pass()->columnCount(), 3);
    EXPECT_TRUE(state.dataChanged);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    ASSERT_EQ(pass()->columnCount(), 4);
    EXPECT_EQ(pass()->horizontalHeaderItem(3)->text(), "Weight");
    EXPECT_EQ(pass()->item(0, 3)->text(), "4");
    EXPECT_EQ(pass()->item(2, 3)->text(), "6");
}

TEST_F(MainFormTest, UseDefaultsLeavesTheProblemWithoutSettings) {
    showTab(6);
    QTest::mouseClick(control<QPushButton>("cmdDefaultSolverData"), Qt::LeftButton);
    EXPECT_FALSE(control<QLineEdit>("Remax")->isEnabled());
    form->PutAnswers();
    EXPECT_EQ(problem.nSolverLines, 0);
    for (const auto& s : problem.SolverAnswers)
        EXPECT_EQ(s, "");
    QTest::mouseClick(control<QPushButton>("cmdEditSolverData"), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>("Detail")->text(), "0   0   0");
    EXPECT_TRUE(control<QLineEdit>("Accuracy")->isEnabled());
}

TEST_F(MainFormTest, LeavingADecidingFieldSwitchesItsDependents) {
    auto* box = control<QCheckBox>("chkEqualDelay");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(state.dataChanged);
    EXPECT_FALSE(control<QLineEdit>("tmin")->isEnabled()); // not yet left
    control<QLineEdit>("freqNorm")->setFocus();
    EXPECT_TRUE(control<QLineEdit>("tmin")->isEnabled());

    showTab(2);
    auto* poles = control<QLineEdit>("nPoles");
    poles->setFocus();
    poles->selectAll();
    QTest::keyClicks(poles, "0 4");
    control<QLineEdit>("poleReal")->setFocus();
    EXPECT_FALSE(control<QLineEdit>("sigmaPoles")->isEnabled());
}

TEST_F(MainFormTest, EditsMarkTheDataChangedAndLoadingClearsIt) {
    QTest::keyClicks(control<QLineEdit>("iPower"), "1");
    EXPECT_TRUE(state.dataChanged);
    form->GetAnswers();
    EXPECT_FALSE(state.dataChanged);
    showTab(3);
    QTest::keyClicks(control<QLineEdit>("Note2"), "x");
    EXPECT_TRUE(state.dataChanged);
}

TEST_F(MainFormTest, ClickedFieldSelectsItsWholeTextWhenListed) {
    const std::tuple<int, const char*, bool> cases[] = {
        {0, "freqNorm", true}, {0, "iPower", true}, {3, "Gain", false}, {3, "Note1", true}};
    for (auto [tab, name, selects] : cases) {
        showTab(tab);
        auto* field = control<QLineEdit>(name);
        QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(field->selectedText() == field->text(), selects) << name;
    }
}

TEST_F(MainFormTest, RunButtonsAskTheShell) {
    QSignalSpy submit(form.get(), &MainForm::submitRequested);
    QSignalSpy plots(form.get(), &MainForm::plotsRequested);
    showTab(7);
    QTest::mouseClick(control<QPushButton>("cmdPlots"), Qt::LeftButton);
    EXPECT_EQ(plots.count(), 1);
    EXPECT_EQ(submit.count(), 0);
    QTest::mouseClick(control<QPushButton>("cmdSubmit"), Qt::LeftButton);
    EXPECT_EQ(submit.count(), 1);
}
