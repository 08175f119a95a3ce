#pragma once

#include "PlotsForm.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempDirTest.h"

#include <QImage>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>

namespace veltrana::test {

/// A plots form over its own settings store in a fresh directory.
class PlotsFormFixture : public TempDirTest {
protected:
    void SetUp() override {
        EnsureApp();
        TempDirTest::SetUp();
        store = std::make_unique<RegistryStore>(in("registry"));
    }
    void TearDown() override {
        form.reset();
        TempDirTest::TearDown();
    }
    /// A fresh copy of a result sample file in the test directory.
    std::string sample(const std::string& file) {
        std::filesystem::remove(in(file));
        std::filesystem::copy_file(std::string(PLOTS_SAMPLE_DATA) + "/" + file, in(file));
        return in(file);
    }
    /// Starts plots on a copy of the sample `file`, left in fileIn as veltra leaves it, with
    /// the scripted prompter unless `with` names another.
    bool startForm(const std::string& file = {}, Prompter* with = nullptr) {
        EXPECT_TRUE(file.empty() || SaveFileIn(*store, sample(file)).ok());
        form = std::make_unique<PlotsForm>(*store, with ? *with : prompter);
        return form->Main();
    }
    /// Open Plot File ... on `path`.
    void open(const std::string& path) {
        prompter.answerFile(FileDialogAnswer{path, 2});
        form->FileOld();
    }
    void activate() {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    /// What the messages so far said, one line each.
    std::string said() const {
        std::string texts;
        for (const Prompt& p : prompter.prompts)
            texts += (texts.empty() ? "" : "\n") + p.text;
        return texts;
    }
    /// Whether the picture file `path` holds what the plot box shows.
    bool holdsTheShownPlot(const std::string& path) {
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32) ==
               form->canvas().image().convertToFormat(QImage::Format_RGB32);
    }
    template <class W> W* control(const char* name) {
        W* w = form->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::unique_ptr<RegistryStore> store;
    ScriptedPrompter prompter;
    std::unique_ptr<PlotsForm> form;
};

} // namespace veltrana::test
