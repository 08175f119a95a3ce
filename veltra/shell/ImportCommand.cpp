#include "ImportCommand.h"

#include "ImportedTables.h"

namespace veltrana {

namespace {

constexpr const char* kTitle = "Import Data";

FileDialogRequest ImportRequest(const std::string& directory) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Import Measured Data";
    request.filters = {{"Measured Data (*.s*p, *.ts, *.csv, *.tsv, *.txt, *.dat)",
                        "*.s*p;*.S*P;*.ts;*.TS;*.csv;*.CSV;*.tsv;*.TSV;*.txt;*.TXT;*.dat;*.DAT"},
                       {"Touchstone Files (*.s*p, *.ts)", "*.s*p;*.S*P;*.ts;*.TS"},
                       {"Text Tables (*.csv, *.tsv, *.txt, *.dat)",
                        "*.csv;*.CSV;*.tsv;*.TSV;*.txt;*.TXT;*.dat;*.DAT"},
                       {"All Files (*.*)", "*.*"}};
    request.filterIndex = 1;
    request.initialDir = directory;
    return request;
}

} // namespace

ImportCommand::ImportCommand(ShellState& state, DesignProblem& problem, FormBinding& form,
                             Prompter& prompter, ChoiceDialog askChoices)
    : m_state(state), m_problem(problem), m_form(form), m_prompter(prompter),
      m_askChoices(std::move(askChoices)) {}

void ImportCommand::report(const std::string& path, const ImportError& error) {
    m_prompter.message({"Nothing was imported from " + path + ":\r\n" + error.text(), kTitle,
                        PromptIcon::Exclamation, PromptButtons::Ok});
}

bool ImportCommand::ImportData() {
    const std::string directory =
        !m_lastDir.empty()
            ? m_lastDir
            : (!m_state.dialogInitialDir.empty() ? m_state.dialogInitialDir : m_state.currentDir);
    const std::optional<FileDialogAnswer> answer = m_prompter.fileDialog(ImportRequest(directory));
    if (!answer || answer->path.empty())
        return false;
    const std::string& path = answer->path;
    if (const std::size_t slash = path.rfind('/'); slash != std::string::npos)
        m_lastDir = path.substr(0, slash);

    MeasuredFile file;
    ImportError error;
    if (!LoadMeasuredFile(path, file, error)) {
        report(path, error);
        return false;
    }
    const std::optional<ImportChoices> choices = m_askChoices(file);
    if (!choices)
        return false;
    ImportedTables tables;
    if (!ImportTablesOf(file, *choices, tables, error)) {
        report(path, error);
        return false;
    }
    // Through the record, so that the form shows the imported rows as a loaded file's.
    m_form.PutAnswers();
    ApplyImport(m_problem, tables);
    m_form.GetAnswers();
    m_state.dataChanged = true;
    return true;
}

} // namespace veltrana
