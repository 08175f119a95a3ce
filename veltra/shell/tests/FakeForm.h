#pragma once

#include "FormBinding.h"
#include "ShellState.h"

#include <string>

namespace veltrana {

// Stands in for the main form: records what it was asked, and like the form, collecting the
// answers into the record leaves the data unchanged.
struct FakeForm : FormBinding {
    explicit FakeForm(ShellState& s) : state(s) {}
    bool PutAnswers() override {
        calls += "Put;";
        return true;
    }
    void GetAnswers() override {
        calls += "Get;";
        state.dataChanged = false;
    }
    void ClearBoth() override { calls += "Clear;"; }
    void setCaption(const std::string&) override {}

    ShellState& state;
    std::string calls;
};

} // namespace veltrana
