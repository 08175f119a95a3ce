#pragma once

#include "PlotsForm.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <memory>

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

    std::unique_ptr<RegistryStore> store;
    ScriptedPrompter prompter;
    std::unique_ptr<PlotsForm> form;
};

} // namespace veltrana::test
