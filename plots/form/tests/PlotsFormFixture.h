#pragma once

#include "PlotsForm.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TempDirTest.h"

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
    /// A copy of a result sample file in the test directory.
    std::string sample(const std::string& file) {
        std::filesystem::copy_file(std::string(PLOTS_SAMPLE_DATA) + "/" + file, in(file));
        return in(file);
    }
    /// Starts plots on a copy of the sample `file`, left in fileIn as veltra leaves it.
    bool startForm(const std::string& file = {}) {
        if (!file.empty()) {
            EXPECT_TRUE(SaveFileIn(*store, sample(file)).ok());
        }
        form = std::make_unique<PlotsForm>(*store, prompter);
        return form->Main();
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
