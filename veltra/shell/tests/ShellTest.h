#pragma once

#include "FamilyDirTest.h"
#include "PromptTitles.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>

#include <filesystem>
#include <functional>
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
    // Writes an input file the optimiser takes, an example with `note` as its Note1 (`edit`
    // changes it further), built in `problem` if given.
    void writeInput(const std::filesystem::path& path, const std::string& note,
                    const std::function<void(DesignProblem&)>& edit = {},
                    DesignProblem* problem = nullptr) {
        std::filesystem::create_directories(path.parent_path());
        DesignProblem own;
        DesignProblem& p = problem ? * problem = DesignProblem() : own;
        ASSERT_EQ(FileReadMe("Ex-Yzero.01", VELTRANA_EXAMPLES, p, prompter), ReadOutcome::Read);
        p.Note1 = note;
        if (edit)
            edit(p);
        ShellState written;
        ASSERT_FALSE(WriteAnsFile(p, path.filename(), path.parent_path(), written, prompter));
    }
    // The same made the current file of `into` (the test's shell unless given) and shown.
    void openFile(const std::filesystem::path& path, const std::string& note,
                  const std::function<void(DesignProblem&)>& edit = {}, VeltraShell* into = {}) {
        VeltraShell& s = into ? *into : *shell;
        writeInput(path, note, edit, &s.problem());
        s.state().currentFileName = path.filename();
        s.state().currentDir = path.parent_path();
        s.form().GetAnswers();
        s.state().dataChanged = false;
    }
    QLineEdit* field(const char* name) const { return shell->form().findChild<QLineEdit*>(name); }
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
