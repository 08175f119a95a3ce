#include "ExportCommand.h"

#include "ConstellationExport.h"
#include "ErrorScheme.h"
#include "FileBytes.h"
#include "FileRoutines.h"
#include "PlotDataExport.h"
#include "PlotFileRoutines.h"
#include "PlotsForm.h"
#include "Prompter.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

#include <sys/stat.h>

namespace veltrana {

namespace {

constexpr const char* kTitle = "Export";
constexpr int kSaveRetries = 3;
enum ExportKind { ConstellationCsvKind = 1, ConstellationJsonKind = 2, PlotCsvKind = 3 };

// The mode of the file written: an old file's own, else what the umask leaves of rw-rw-rw-.
mode_t ModeFor(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ExportCommand::ExportCommand(PlotsForm& form, Prompter& prompter)
    : QObject(&form), m_form(form), m_prompter(prompter) {
    setObjectName(QStringLiteral("ExportCommand"));
    QMenu* file = form.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    if (!file) {
        file = form.menuBar()->addMenu(QStringLiteral("&File"));
        file->setObjectName(QStringLiteral("mnuFile"));
    }
    QAction* item = file->addAction(QStringLiteral("&Export ..."));
    item->setObjectName(QStringLiteral("mnuFileExport"));
    connect(item, &QAction::triggered, this, [this] { Export(); });
    form.installEventFilter(this);
}

bool ExportCommand::eventFilter(QObject* watched, QEvent* event) {
    // The menu bar takes its height from the window: on the first showing the window grows by
    // it, so that the pages keep their designed area.
    if (watched == &m_form && event->type() == QEvent::Show && !m_shown) {
        m_shown = true;
        if (QWidget* bar = m_form.menuWidget())
            m_form.resize(m_form.width(), m_form.height() + bar->sizeHint().height());
    }
    return false;
}

bool ExportCommand::refuse(const std::string& why) {
    m_prompter.message({why, kTitle, PromptIcon::Exclamation, PromptButtons::Ok});
    return false;
}

bool ExportCommand::Export() {
    if (!m_form.resultFile().isOpen())
        return refuse("No result file is read: open one with Open Plot File ... first.");
    const ResultData& data = m_form.resultFile().data();
    const std::optional<PlotData> shown =
        ShownPlotData(data, m_form.engine().iPlot(), m_form.engine().plotStep());

    std::string directory;
    const std::string name = SplitDataPath(m_form.dataFile(), directory);
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Export";
    request.filters = {{"Constellation as CSV (*.csv)", "*.csv"},
                       {"Constellation as JSON (*.json)", "*.json"},
                       {"Data of the plot shown as CSV (*.csv)", "*.csv"}};
    request.filterIndex = shown ? PlotCsvKind : ConstellationCsvKind;
    request.initialDir = directory;
    request.fileName = name.substr(0, name.find('.'));
    const std::optional<FileDialogAnswer> answer = m_prompter.fileDialog(request);
    if (!answer || answer->path.empty())
        return false;
    const int kind = answer->filterIndex;
    std::string path = answer->path;
    const std::size_t slash = path.rfind('/');
    if (path.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
        path += kind == ConstellationJsonKind ? ".json" : ".csv";

    std::string text;
    if (kind == PlotCsvKind) {
        if (!shown)
            return refuse(m_form.engine().iPlot() > 0
                              ? "The map of poles and zeros has no curves: export the "
                                "constellation instead."
                              : "No plot is shown: draw one with Plot results >> first.");
        text = PlotDataCsv(*shown);
    } else {
        if (data.modelX != -2 && data.modelX != -1)
            return refuse("The result file holds no filter (model " + std::to_string(data.modelX) +
                          "): only the data of the plot shown can be exported.");
        const Constellation constellation = ConstellationOf(data);
        text = kind == ConstellationJsonKind ? ConstellationJson(constellation)
                                             : ConstellationCsv(constellation);
    }
    if (FileExists(path) && m_prompter.message(ReplaceQuestion(path)) != PromptAnswer::Yes)
        return false;
    const StepResult result = RunFileStep(m_prompter, "Export", path, kSaveRetries, [&] {
        const int error = ReplaceFileBytes(path, text, ModeFor(path));
        return error == 0 ? FileError{} : FileErrorFromErrno(error);
    });
    return result.done;
}

} // namespace veltrana
