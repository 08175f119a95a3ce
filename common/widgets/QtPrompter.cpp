#include "QtPrompter.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
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

// {"Input Files (*.??)", "*.?;*.??"} becomes "Input Files (*.??) (*.? *.??)": Qt takes the
// patterns from the last parentheses and shows the whole text. "*.*" names every file, also
// those without an extension, as it did where these filters come from.
QString ToQtFilter(const FileFilter& f) {
    QStringList patterns = QString::fromStdString(f.patterns).split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns)
        if (p == "*.*")
            p = "*";
    return QString::fromStdString(f.description) + " (" + patterns.join(' ') + ")";
}

// A typed name with wildcards ("abc.*") filters the listing and the dialog stays, as on the
// desktop these dialogs come from; where wildcards are answers (Delete) it is the answer.
// Without this, Save As would write a file literally named after its proposal "abc.*".
class WildcardFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool answersWildcards = false;
    QString wildcardPath;

protected:
    void accept() override {
        auto* edit = findChild<QLineEdit*>("fileNameEdit");
        QString typed = edit ? edit->text().trimmed() : QString();
        if (!typed.contains('*') && !typed.contains('?')) {
            QFileDialog::accept();
        } else if (answersWildcards) {
            wildcardPath = QDir(directory()).filePath(typed);
            done(QDialog::Accepted);
        } else {
            // Shown as the pattern itself: the details Qt hides are the part in parentheses.
            const QString filter = QStringLiteral("%1 (%1)").arg(typed);
            QStringList filters = nameFilters();
            if (!filters.contains(filter))
                setNameFilters(filters << filter);
            selectNameFilter(filter);
            edit->selectAll();
        }
    }
};

} // namespace

PromptAnswer QtPrompter::message(const Prompt& prompt) {
    QMessageBox box(ToQtIcon(prompt.icon), QString::fromStdString(prompt.title),
                    QString::fromStdString(prompt.text).replace("\r\n", "\n"),
                    ToQtButtons(prompt.buttons), m_parent);
    return FromQtButton(box.exec());
}

std::optional<FileDialogAnswer> QtPrompter::fileDialog(const FileDialogRequest& request) {
    WildcardFileDialog dialog(m_parent, QString::fromStdString(request.title),
                              QString::fromStdString(request.initialDir));
    dialog.answersWildcards = request.allowWildcards;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions show their patterns already; Qt would add them a second time.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const auto& f : request.filters)
        filters << ToQtFilter(f);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || request.allowWildcards ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.empty())
        dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    FileDialogAnswer answer;
    if (request.allowWildcards && !dialog.wildcardPath.isEmpty())
        answer.path = dialog.wildcardPath.toStdString();
    else if (!dialog.selectedFiles().isEmpty())
        answer.path = dialog.selectedFiles().front().toStdString();
    else
        return std::nullopt;
    // A typed pattern is no filter of the request's: the chosen one stays as it was.
    const auto chosen = filters.indexOf(dialog.selectedNameFilter());
    answer.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
    return answer;
}

std::optional<std::uint32_t> QtPrompter::colorDialog(std::uint32_t preset) {
    const QColor initial(static_cast<int>(preset & 0xFF), static_cast<int>((preset >> 8) & 0xFF),
                         static_cast<int>((preset >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(initial, m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) |
           (static_cast<std::uint32_t>(chosen.green()) << 8) |
           (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

bool QtPrompter::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, m_parent);
    // One page is printed: no page range, no selection; printing to a PDF file stays offered,
    // as that is how a plot becomes a document here.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace veltrana
