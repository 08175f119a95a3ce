#pragma once

#include "FormBinding.h"
#include "ShellState.h"

#include <string>

namespace veltrana {

// Stands in for the main form: counts how often it showed the record's data, which like the
// form leaves them unchanged.
struct FakeForm : FormBinding {
    explicit FakeForm(ShellState& s) : state(s) {}
    bool PutAnswers() override { return true; }
    void GetAnswers() override {
        ++shown;
        state.dataChanged = false;
    }
    void ClearBoth() override {}
    void setCaption(const std::string&) override {}

    ShellState& state;
    int shown = 0;
};

} // namespace veltrana
