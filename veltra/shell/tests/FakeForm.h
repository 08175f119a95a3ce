#pragma once

#include "FormBinding.h"
#include "ShellState.h"

#include <string>

namespace veltrana {

// Stands in for the main form: records what it was asked, and like the form, collecting the
// answers into the record leaves the data unchanged.
class FakeForm : public FormBinding {
public:
    explicit FakeForm(ShellState& s) : m_state(s) {}
    void PutAnswers() override { calls += "Put;"; }
    void GetAnswers() override {
        calls += "Get;";
        m_state.dataChanged = false;
    }
    void ClearBoth() override { calls += "Clear;"; }
    void setCaption(const std::string& c) override { caption = c; }
    std::string calls;
    std::string caption;

private:
    ShellState& m_state;
};

} // namespace veltrana
