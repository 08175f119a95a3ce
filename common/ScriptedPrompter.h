#pragma once

#include "Prompter.h"

#include <deque>

namespace veltrana {

/// Test implementation of Prompter: records every prompt and returns scripted answers in
/// order. An unscripted message box answers `fallbackAnswer`; an unscripted file dialog is
/// cancelled. Both are counted, so a test can insist that nothing went unanswered.
class ScriptedPrompter : public Prompter {
public:
    PromptAnswer message(const Prompt& prompt) override;
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request) override;
    /// Unscripted, the colour dialog is cancelled.
    std::optional<std::uint32_t> colorDialog(std::uint32_t preset) override;
    /// Leaves the printer as the test set it up; unscripted, the dialog is cancelled.
    bool printDialog(QPrinter& printer) override;

    void answer(PromptAnswer a) { m_answers.push_back(a); }
    void answerFile(std::optional<FileDialogAnswer> a) { m_files.push_back(std::move(a)); }
    void answerColor(std::optional<std::uint32_t> c) { m_colors.push_back(c); }
    void answerPrint(bool print) { m_prints.push_back(print); }

    std::vector<Prompt> prompts;
    std::vector<FileDialogRequest> dialogs;
    std::vector<std::uint32_t> colorPresets;
    int printDialogs = 0;
    PromptAnswer fallbackAnswer = PromptAnswer::Ok;
    int unscripted = 0;

private:
    std::deque<PromptAnswer> m_answers;
    std::deque<std::optional<FileDialogAnswer>> m_files;
    std::deque<std::optional<std::uint32_t>> m_colors;
    std::deque<bool> m_prints;
};

} // namespace veltrana
