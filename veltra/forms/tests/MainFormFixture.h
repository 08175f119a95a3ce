#pragma once

#include "DesignProblem.h"
#include "FormTexts.h"
#include "MainForm.h"
#include "QtTestApp.h"
#include "SampleProblem.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace veltrana::test {

/// The main form, shown and active, over an empty problem.
class MainFormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
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
    void showTab(int tab) {
        form->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    }
    /// Loads the sample problem and shows its pass-band grid, which opens the editor on the
    /// first cell.
    void showSample(bool weights) {
        problem = SampleProblem(weights);
        form->GetAnswers();
        showTab(forms::kPassTab);
    }
    QTableWidget* pass() { return control<QTableWidget>("PassData"); }
    QLineEdit* passEditor() { return control<QLineEdit>("txtPassCellEditor"); }

    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    std::unique_ptr<MainForm> form;
};

} // namespace veltrana::test
