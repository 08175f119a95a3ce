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

    void answer(PromptAnswer a) { m_answers.push_back(a); }
    void answerFile(std::optional<FileDialogAnswer> a) { m_files.push_back(std::move(a)); }

    std::vector<Prompt> prompts;
    std::vector<FileDialogRequest> dialogs;
    PromptAnswer fallbackAnswer = PromptAnswer::Ok;
    int unscripted = 0;

private:
    std::deque<PromptAnswer> m_answers;
    std::deque<std::optional<FileDialogAnswer>> m_files;
};

} // namespace veltrana
