#pragma once

#include "Prompter.h"

class QWidget;

namespace veltrana {

/// Prompter shown to the user with Qt's message boxes and file dialogs.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    PromptAnswer message(const Prompt& prompt) override;
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> colorDialog(std::uint32_t preset) override;
    bool printDialog(QPrinter& printer) override;

private:
    QWidget* m_parent;
};

} // namespace veltrana
