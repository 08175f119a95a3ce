#pragma once

#include "Prompter.h"

#include <functional>
#include <utility>

namespace veltrana {

/// The prompter of a program without windows: each message goes to `show` and is answered
/// OK, and every dialog is cancelled, since nobody is there to choose.
class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::function<void(const Prompt&)> show) : m_show(std::move(show)) {}

    PromptAnswer message(const Prompt& prompt) override {
        m_show(prompt);
        return PromptAnswer::Ok;
    }
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::uint32_t> colorDialog(std::uint32_t) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }

private:
    std::function<void(const Prompt&)> m_show;
};

} // namespace veltrana
