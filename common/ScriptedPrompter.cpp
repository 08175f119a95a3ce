#include "ScriptedPrompter.h"

namespace veltrana {

PromptAnswer ScriptedPrompter::message(const Prompt& prompt) {
    prompts.push_back(prompt);
    if (m_answers.empty()) {
        ++unscripted;
        return fallbackAnswer;
    }
    PromptAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::optional<FileDialogAnswer> ScriptedPrompter::fileDialog(const FileDialogRequest& request) {
    dialogs.push_back(request);
    if (m_files.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    auto a = std::move(m_files.front());
    m_files.pop_front();
    return a;
}

std::optional<std::uint32_t> ScriptedPrompter::colorDialog(std::uint32_t preset) {
    colorPresets.push_back(preset);
    if (m_colors.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    auto c = m_colors.front();
    m_colors.pop_front();
    return c;
}

bool ScriptedPrompter::printDialog(QPrinter&) {
    ++printDialogs;
    if (m_prints.empty()) {
        ++unscripted;
        return false;
    }
    bool print = m_prints.front();
    m_prints.pop_front();
    return print;
}

} // namespace veltrana
