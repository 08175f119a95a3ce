#include "QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace veltrana {

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

PromptAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Abort:
        return PromptAnswer::Abort;
    case QMessageBox::Ignore:
        return PromptAnswer::Ignore;
    default:
        return PromptAnswer::Ok;
    }
}

// "Input Files (*.?;*.??)" in Qt's syntax: patterns separated by blanks.
QString ToQtFilter(const FileFilter& f) {
    QString patterns = QString::fromStdString(f.patterns);
    patterns.replace(';', ' ');
    return QString::fromStdString(f.description) + " (" + patterns + ")";
}

} // namespace

PromptAnswer QtPrompter::message(const Prompt& prompt) {
    QMessageBox box(ToQtIcon(prompt.icon), QString::fromStdString(prompt.title),
                    QString::fromStdString(prompt.text).replace("\r\n", "\n"),
                    ToQtButtons(prompt.buttons), m_parent);
    return FromQtButton(box.exec());
}

std::optional<FileDialogAnswer> QtPrompter::fileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialDir));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const auto& f : request.filters)
        filters << ToQtFilter(f);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.empty())
        dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogAnswer answer;
    answer.path = dialog.selectedFiles().front().toStdString();
    answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return answer;
}

} // namespace veltrana
