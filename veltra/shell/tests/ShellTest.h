#pragma once

#include "FamilyDirTest.h"
#include "PromptTitles.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMenu>

#include <memory>
#include <string>
#include <vector>

namespace veltrana::test {

// A fresh installation and the real shell on it. Programs it starts are only recorded, each
// as its path followed by its arguments.
class ShellTest : public FamilyDirTest {
public:
    using Texts = std::vector<std::string>;

protected:
    void SetUp() override {
        FamilyDirTest::SetUp();
        EnsureApp();
        env.getenv = [this](const char* n) { return quillon(n); };
        env.launchWith = [this](const std::string& p, const std::vector<std::string>& args) {
            launched.push_back(p);
            for (const auto& a : args)
                launched.back() += " " + a;
            return true;
        };
        env.launch = [this](const std::string& p) { return env.launchWith(p, {}); };
    }
    void TearDown() override {
        shell.reset();
        FamilyDirTest::TearDown();
    }
    // A new shell in place of the last one, not yet started.
    VeltraShell& newShell() {
        shell.reset();
        shell = std::make_unique<VeltraShell>(&prompter, env);
        return *shell;
    }
    // Forgets what was asked, answered and started so far.
    void reset() {
        prompter = ScriptedPrompter();
        launched.clear();
    }
    Texts titles() const { return PromptTitles(prompter); }
    void click(QWidget* parent, const char* name) {
        auto* b = parent->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    // Which of these menus of the main form, or else controls on it, are enabled: "1101".
    std::string enabled(std::initializer_list<const char*> names) const {
        std::string on;
        for (const char* name : names)
            if (auto* menu = shell->form().findChild<QMenu*>(name))
                on += menu->menuAction()->isEnabled() ? '1' : '0';
            else
                on += shell->form().findChild<QWidget*>(name)->isEnabled() ? '1' : '0';
        return on;
    }

    StartupEnvironment env = SystemEnvironment();
    ScriptedPrompter prompter;
    Texts launched;
    std::unique_ptr<VeltraShell> shell;
};

} // namespace veltrana::test
