#pragma once

#include <string>

namespace veltrana {

/// What the shell's commands need of the main form: the two transfers, clearing the grids
/// and the window caption.
class FormBinding {
public:
    virtual ~FormBinding() = default;
    /// Form to record; false when a value typed into a grid was refused (the user was told).
    virtual bool PutAnswers() = 0;
    virtual void GetAnswers() = 0;
    virtual void ClearBoth() = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

} // namespace veltrana
