#pragma once

#include "DesignProblem.h"
#include "MainForm.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QCoreApplication>
#include <QTabWidget>
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

    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    std::unique_ptr<MainForm> form;
};

} // namespace veltrana::test
