#include "InputFile.h"
#include "MainFormFixture.h"
#include "PromptTitles.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

constexpr const char* kSample = "1,0.5,1.0|2,0.6,1.1|3,0.7,1.2";

class MainFormTest : public test::MainFormFixture {
protected:
    QString cell(int row, int column) {
        const QTableWidgetItem* item = pass()->item(row, column);
        return item ? item->text() : QString();
    }
    // The sample's three rows, "," between cells and "|" between rows.
    std::string rows() {
        std::string text;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                text += (c > 0 ? "," : r > 0 ? "|" : "") + cell(r, c).toStdString();
        return text;
    }
    static void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

} // namespace

TEST_F(MainFormTest, NothingOverlapsOrIsCutOff) {
    for (int tab = 0; tab < 8; ++tab) {
        showTab(tab);
        QWidget* page = form->tabs()->widget(tab);
        auto widgets = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        widgets.removeIf([](QWidget* w) { return w->objectName().endsWith(u"CellEditor"); });
        for (qsizetype i = 0; i < widgets.size(); ++i) {
            const QRect r = widgets[i]->geometry();
            const std::string name = widgets[i]->objectName().toStdString();
            EXPECT_TRUE(page->rect().contains(r)) << name;
            if (auto* label = qobject_cast<QLabel*>(widgets[i])) {
                EXPECT_LE(label->heightForWidth(r.width()), r.height()) << name;
            }
            for (qsizetype j = i + 1; j < widgets.size(); ++j)
                EXPECT_FALSE(r.intersects(widgets[j]->geometry()))
                    << name << " overlaps " << widgets[j]->objectName().toStdString();
        }
    }
}

TEST_F(MainFormTest, LoadedProblemIsCollectedUnchanged) {
    for (bool weights : {false, true}) {
        SCOPED_TRACE(weights);
        problem = SampleProblem(weights);
        const DesignProblem loaded = problem;
        form->GetAnswers();
        EXPECT_FALSE(state.dataChanged);
        form->PutAnswers();
        // As saved: the form leaves room in the tables for more points.
        EXPECT_EQ(FormatAnsFile(problem, "f", {}), FormatAnsFile(loaded, "f", {}));
    }
}

TEST_F(MainFormTest, ProblemLoadedOnAGridTabIsReadyForTypingInItsFirstCell) {
    showTab(forms::kPassTab);
    pass()->setCurrentCell(1, 2);
    QTest::keyClick(pass(), Qt::Key_7);
    problem = SampleProblem(true);
    form->GetAnswers();
    ASSERT_TRUE(passEditor()->isVisible());
    EXPECT_EQ(passEditor()->text(), "1"); // only the first cell holds 1
    EXPECT_FALSE(state.dataChanged);
}

// Esc drops the editor's text and a key on the grid opens it; Return, a click on the scroll bar
// (which takes no focus) or a key on the grid while the editor stands on another cell store it.
TEST_F(MainFormTest, TypingOnACellOpensTheEditorWhichEscDropsAndLeavingStores) {
    showSample(true);
    QTest::keyClicks(passEditor(), "99");
    QTest::keyClick(passEditor(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(passEditor()->isHidden(), cell(0, 0), pass()->hasFocus()),
              std::tuple(true, "1", true));
    state.dataChanged = false;
    QTest::keyClick(pass(), Qt::Key_5);
    EXPECT_TRUE(passEditor()->hasFocus());
    EXPECT_TRUE(state.dataChanged);
    QTest::keyClicks(passEditor(), "0");
    QTest::keyClick(passEditor(), Qt::Key_Return);
    EXPECT_EQ(cell(0, 0), "50");
    passEditor()->setText("1.25"); // on the next cell now
    QTest::mouseClick(pass()->verticalScrollBar(), Qt::LeftButton);
    EXPECT_TRUE(passEditor()->isHidden());
    EXPECT_EQ(cell(0, 1), "1.25");
    QTest::mouseClick(pass()->viewport(), Qt::LeftButton, {},
                      pass()->visualItemRect(pass()->item(0, 1)).center());
    passEditor()->setText("2.5");
    pass()->setCurrentCell(1, 1); // the grid has the focus, the editor stands on another cell
    pass()->setFocus();
    QTest::keyClick(pass(), Qt::Key_7);
    EXPECT_EQ(cell(0, 1), "2.5");
    EXPECT_EQ(passEditor()->text(), "7");
}

// The refusal leaves the focus in the editor; a click on another cell or tab leads back to it.
TEST_F(MainFormTest, ATextThatIsNoNumberIsRefusedWhereItWasTyped) {
    showSample(false);
    passEditor()->selectAll();
    QTest::keyClicks(passEditor(), "0,83");
    QTest::keyClick(passEditor(), Qt::Key_Tab);
    QTest::mouseClick(pass()->viewport(), Qt::LeftButton, {},
                      pass()->visualItemRect(pass()->item(2, 2)).center());
    showTab(0);
    EXPECT_EQ(test::PromptTitles(prompter), std::vector<std::string>(3, "Not a number"));
    EXPECT_EQ(std::tuple(form->tabs()->currentIndex(), passEditor()->hasFocus(),
                         passEditor()->text(), passEditor()->selectedText(), pass()->currentRow(),
                         cell(0, 0)),
              std::tuple(forms::kPassTab, true, "0,83", "0,83", 0, "1"));
}

// Hidden at load with fewer weights than points, then shown, edited, hidden and shown again.
TEST_F(MainFormTest, HidingAndShowingTheWeightColumnKeepsTheWeights) {
    problem = SampleProblem(false);
    problem.Weight = {"", "4"};
    form->GetAnswers();
    showTab(forms::kPassTab);
    const auto click = [box = control<QCheckBox>("chkUseWeights")] {
        QTest::mouseClick(box, Qt::LeftButton, {}, {8, box->height() / 2});
    };
    click();
    ASSERT_EQ(pass()->columnCount(), 4);
    pass()->setItem(2, 3, new QTableWidgetItem(" 7 "));
    click();
    EXPECT_EQ(pass()->columnCount(), 3);
    EXPECT_TRUE(state.dataChanged);
    form->PutAnswers(); // the hidden weights stay in the record
    EXPECT_EQ(problem.Weight, (std::vector<std::string>{"", "4", "", "7"}));
    click();
    EXPECT_EQ(QStringList({cell(0, 3), cell(1, 3), cell(2, 3)}), QStringList({"4", "", "7"}));
}

TEST_F(MainFormTest, UseDefaultsLeavesTheProblemWithoutSettings) {
    showTab(6);
    QTest::mouseClick(control<QPushButton>("cmdDefaultSolverData"), Qt::LeftButton);
    EXPECT_FALSE(control<QLineEdit>("Remax")->isEnabled());
    form->PutAnswers();
    EXPECT_EQ(problem.nSolverLines, 0);
    QTest::mouseClick(control<QPushButton>("cmdEditSolverData"), Qt::LeftButton);
    EXPECT_TRUE(control<QLineEdit>("Accuracy")->isEnabled());
}

TEST_F(MainFormTest, EditsMarkTheDataChangedAndLeavingABoxSwitchesItsDependents) {
    QTest::keyClicks(control<QLineEdit>("iPower"), "1");
    EXPECT_TRUE(state.dataChanged);
    form->GetAnswers();
    for (int tab : {2, 0, 3, 0}) // showing a page again does not enable what the rules disable
        showTab(tab);
    auto* box = control<QCheckBox>("chkEqualDelay");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(state.dataChanged);
    EXPECT_FALSE(control<QLineEdit>("tmin")->isEnabled()); // not yet left
    control<QLineEdit>("freqNorm")->setFocus();
    EXPECT_TRUE(control<QLineEdit>("tmin")->isEnabled());
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
    // Coming back from a menu or another window leaves the caret where it was.
    auto* note = control<QLineEdit>("Note1");
    note->setText("keep me");
    note->setCursorPosition(4);
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent back(QEvent::FocusIn, reason);
        QCoreApplication::sendEvent(note, &back);
        QCoreApplication::processEvents();
        EXPECT_FALSE(note->hasSelectedText()) << reason;
    }
}

// The run is a child process with a progress window here, the manual is HTML, and SETRHO's
// methods go by the names the manual and the listing use.
TEST_F(MainFormTest, TextsDescribeThisSuitesRunAndMethods) {
    QString texts;
    for (const QLabel* label : form->findChildren<QLabel*>())
        texts += label->text() + u'\n';
    for (const char* gone : {"DOS", "will be silent", ".rtf", "close -all-"})
        EXPECT_FALSE(texts.contains(QLatin1String(gone))) << gone;
    const QString setRho = control<QLabel>("lblSolvQuestion_7")->text();
    for (const char* name : {"Newton-Raphson method", "Levenberg-Marquardt", "dogleg"})
        EXPECT_TRUE(setRho.contains(QLatin1String(name))) << name;
}

// Ctrl+V and Ctrl+Z on the sample's rows, the editor open on the first cell.
TEST_F(MainFormTest, CtrlVInTheEditorPastesABlockAllOrNothingAndCtrlZTakesItBack) {
    showSample(false);
    state.dataChanged = false;
    passEditor()->setFocus();
    setClipboard("5\t.5\t.25\n6\tn/a\t.125\n");
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::PromptTitles(prompter), std::vector<std::string>{"Paste"});
    EXPECT_EQ(rows(), kSample);
    EXPECT_FALSE(state.dataChanged);

    setClipboard("5\t.5\t.25\n6\t.5\t.125\n");
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rows(), "5,.5,.25|6,.5,.125|3,0.7,1.2");
    EXPECT_TRUE(state.dataChanged);
    EXPECT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(passEditor()->isVisible());
    QTest::keyClick(passEditor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), kSample);

    // One value goes into the editor's text, and into the grid only when the editor moves on.
    setClipboard("42");
    passEditor()->setText("1");
    passEditor()->setCursorPosition(1);
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(passEditor()->text().toStdString(), "142");
    EXPECT_EQ(rows(), kSample);
}

TEST_F(MainFormTest, CtrlCCopiesTheSelectedBlockOrTheEditorsCell) {
    showSample(false);
    QTest::keyClick(passEditor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1");
    passEditor()->hide();
    pass()->setFocus();
    pass()->clearSelection();
    pass()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    QTest::keyClick(pass(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.6\t1.1\n0.7\t1.2");
}
