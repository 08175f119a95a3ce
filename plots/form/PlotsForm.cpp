#include "PlotsForm.h"

#include "ErrorScheme.h"
#include "ExportCommand.h"
#include "FileBytes.h"
#include "FileRoutines.h"
#include "FitSummary.h"
#include "NumberText.h"
#include "PlotBox.h"
#include "PlotExport.h"
#include "PlotFileRoutines.h"
#include "PlotReadout.h"
#include "PlotSettingsStore.h"
#include "PrintPlot.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "RunSummary.h"
#include "Settings.h"
#include "ShowFatal.h"
#include "Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace veltrana {

namespace {

constexpr int kFormWidth = 1000;
constexpr int kFormHeight = 720;
constexpr int kButtonWidth = 170;
constexpr int kButtonHeight = 34;
constexpr int kRowHeight = 26;
// The pages' designed inner area (the tab control less its tab bar and frame).
constexpr int kPageWidth = kFormWidth - 16;
constexpr int kPageHeight = kFormHeight - 46;
constexpr int kSaveRetries = 3;
constexpr Rgb kWhite = 0xFFFFFF;

constexpr const char* kFormCaption = "Plots for Quillon";
constexpr const char* kMessageTitle = "plots";
constexpr const char* kXStepMessage = "Please enter a non-zero number for X-step size.";
constexpr const char* kYStepMessage = "Please enter a non-zero number for Y-step size.";
constexpr const char* kXStepNegative = "Please enter a positive number for X-step size.";
constexpr const char* kYStepNegative = "Please enter a positive number for Y-step size.";
constexpr const char* kXMinMessage = "Please enter a number for X-min value.";
constexpr const char* kYMinMessage = "Please enter a number for Y-min value.";
constexpr const char* kFileGone =
    "This result file is no longer there, so its plots cannot start again. Open a result "
    "file with \"Open Plot File ...\".";
constexpr const char* kPrintFailed = "The plot could not be printed on ";
constexpr const char* kPlotRefusedTitle = "Plot not drawn";
constexpr const char* kFileMissing = "This result file is not there.";
constexpr int kHandOverRetryMs = 250;
constexpr const char* kZoomedHint = "Zoomed (Esc: the whole plot)";

constexpr std::array<const char*, 3> kPageCaptions = {"Setup", "Output", "Plot"};
constexpr std::array<const char*, 4> kGridTypeCaptions = {"Solid", "Dashed", "Dotted",
                                                          "Dashed-Dot-Dot"};
constexpr std::array<const char*, 4> kGridLinesCaptions = {"No Grid Lines", "X && Y Axes",
                                                           "X Axis Only", "Y Axis Only"};
constexpr std::array<const char*, 6> kColourCaptions = {
    "Axes:", "Titles:", "Misc Info:", "Curve1:", "Curve2:", "Background:"};

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

template <class W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    return Named(new QPushButton(QString::fromUtf8(caption), parent), QString::fromUtf8(name));
}

} // namespace

PlotsForm::PlotsForm(RegistryStore& store, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_prompter(prompter),
      m_canvas(kPageWidth - 20, kPageHeight - kButtonHeight - 30), m_file(prompter),
      m_engine(m_canvas, m_file, *this) {
    setObjectName(QStringLiteral("frmPlots"));
    setWindowTitle(QString::fromUtf8(kFormCaption));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    m_tabs = Named(new QTabWidget(central), QStringLiteral("Plot_Tabs"));
    std::array<QWidget*, 3> pages{};
    for (int i = 0; i < 3; ++i) {
        pages[i] = Named(new QWidget, Indexed("tabPage", i));
        m_tabs->addTab(pages[i], QString::fromUtf8(kPageCaptions[i]));
    }
    buildSetupPage(pages[SetupPage]);
    buildOutputPage(pages[OutputPage]);
    buildPlotPage(pages[PlotPage]);
    m_tabs->setGeometry(6, 6, kFormWidth - 12, kFormHeight - 12);
    placePages();
    // Every control is placed in the designed frame; the resizer scales them from it.
    central->resize(kFormWidth, kFormHeight);
    m_resizer.StoreControlProportions(central);
    central->installEventFilter(this);
    resize(kFormWidth, kFormHeight);

    m_canvas.setBackColor(kDesignedColours[PlotSettings::Background]);
    m_canvas.Cls();
    applySettings(DesignedSettings());

    // Loading the form.
    m_tabs->setCurrentIndex(SetupPage);
    ActivateTabPage();
    m_engine.reset();
    UpdateColorEnabling();
    UpdateXFields();
    UpdateYFields();
    LoadSettings();
    UpdateXFields();
    UpdateYFields();
    m_cmdFileSaveAs->setEnabled(false);
    m_cmdFileOpen->setEnabled(true);
    m_cmdQuit->setEnabled(false);
    m_cmdPrint->setEnabled(false);
    m_cmdRun->setEnabled(false);
    m_cmdNext->setEnabled(false);
    connectControls();
    new ExportCommand(*this, m_prompter);
}

PlotsForm::~PlotsForm() = default;

// --- building -----------------------------------------------------------------------------

void PlotsForm::buildSetupPage(QWidget* page) {
    m_picCanvas = Named(new QFrame(page), QStringLiteral("picCanvas"));
    m_picCanvas->setFrameShape(QFrame::StyledPanel);
    m_picCanvas->setGeometry(10, 10, 950, 330);

    auto axisFrame = [&](const char* title, int top, const char* check, const char* checkCaption,
                         const char* minLabel, const char* minName, const char* stepLabel,
                         const char* stepName, QCheckBox*& box, QLineEdit*& min, QLineEdit*& step) {
        auto* frame = new QGroupBox(QString::fromUtf8(title), m_picCanvas);
        frame->setObjectName(QString::fromUtf8(title).trimmed().replace(' ', '_'));
        frame->setGeometry(10, top, 300, 150);
        box = Named(new QCheckBox(QString::fromUtf8(checkCaption), frame), check);
        box->setGeometry(10, 28, 280, kRowHeight);
        auto* l1 = Named(new QLabel(QString::fromUtf8(minLabel), frame),
                         QStringLiteral("lbl") + QString::fromUtf8(minName).mid(3));
        l1->setGeometry(10, 68, 150, kRowHeight);
        min = Named(new QLineEdit(frame), QString::fromUtf8(minName));
        min->setGeometry(165, 68, 120, kRowHeight);
        auto* l2 = Named(new QLabel(QString::fromUtf8(stepLabel), frame),
                         QStringLiteral("lbl") + QString::fromUtf8(stepName).mid(3));
        l2->setGeometry(10, 106, 150, kRowHeight);
        step = Named(new QLineEdit(frame), QString::fromUtf8(stepName));
        step->setGeometry(165, 106, 120, kRowHeight);
        for (QLineEdit* e : {min, step})
            e->installEventFilter(this);
    };
    axisFrame("X-axis Scaling Setup ", 10, "chkXaxis",
              "Use following X values for plots:", "Enter X-min value:", "txtXmin",
              "X-step for 10 steps:", "txtXstep", m_chkXaxis, m_txtXmin, m_txtXstep);
    axisFrame("Y-axis Scaling Setup ", 170, "chkYaxis",
              "Use following Y values for plots:", "Enter Y-min value:", "txtYmin",
              "Y-step for 5 steps:", "txtYstep", m_chkYaxis, m_txtYmin, m_txtYstep);

    auto options = [&](const char* title, int top, const char* name,
                       const std::array<const char*, 4>& captions,
                       std::array<QRadioButton*, 4>& buttons) {
        auto* frame = new QGroupBox(QString::fromUtf8(title), m_picCanvas);
        frame->setObjectName(QString::fromUtf8(title).replace(' ', '_'));
        frame->setGeometry(320, top, 280, 150);
        for (int i = 0; i < 4; ++i) {
            buttons[i] =
                Named(new QRadioButton(QString::fromUtf8(captions[i]), frame), Indexed(name, i));
            buttons[i]->setGeometry(14, 26 + i * 29, 250, kRowHeight);
        }
    };
    options("Type of Grid Lines", 10, "optGridType", kGridTypeCaptions, m_optGridType);
    options("Plot Grid Lines", 170, "optGridLines", kGridLinesCaptions, m_optGridLines);

    auto* colours = new QGroupBox(QStringLiteral("Color Setup "), m_picCanvas);
    colours->setObjectName(QStringLiteral("Color_Setup"));
    colours->setGeometry(610, 10, 330, 310);
    m_chkBlacknWhite = Named(new QCheckBox(QStringLiteral("Black && White Plots"), colours),
                             QStringLiteral("chkBlacknWhite"));
    m_chkBlacknWhite->setGeometry(14, 28, 300, kRowHeight);
    for (int i = 0; i < 6; ++i) {
        const int top = 66 + i * 38;
        m_lblColor[i] = Named(new QLabel(QString::fromUtf8(kColourCaptions[i]), colours),
                              Indexed("lblColor", i));
        m_lblColor[i]->setGeometry(14, top, 100, kButtonHeight - 4);
        m_txtColor[i] = Named(new QLineEdit(colours), Indexed("txtColor", i));
        m_txtColor[i]->setReadOnly(true);
        m_txtColor[i]->setFocusPolicy(Qt::NoFocus);
        m_txtColor[i]->setGeometry(120, top, 70, kButtonHeight - 4);
        m_cmdColor[i] =
            Named(new QPushButton(QStringLiteral("Pick Color"), colours), Indexed("cmdColor", i));
        m_cmdColor[i]->setGeometry(200, top - 2, 116, kButtonHeight);
    }

    m_cmdSaveOptions = Button(page, "cmdSaveOptions", "&Save Settings");
    m_cmdRun = Button(page, "cmdRun", "&Plot results >>");
    m_cmdFileOpen = Button(page, "cmdFileOpen", "&Open Plot File ...");
    m_cmdExit = Button(page, "cmdExit", "E&xit Plots");
    m_pageControls[SetupPage] = {m_cmdRun, m_cmdFileOpen, m_cmdSaveOptions, m_cmdExit, m_picCanvas};
}

void PlotsForm::buildOutputPage(QWidget* page) {
    m_tbOutBox = Named(new QPlainTextEdit(page), QStringLiteral("tbOutBox"));
    m_tbOutBox->setReadOnly(true);
    m_tbOutBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_tbOutBox->setFont(fixed);
    m_tbOutBox->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(' ') * 8);
    m_pageControls[OutputPage] = {m_tbOutBox};
}

void PlotsForm::buildPlotPage(QWidget* page) {
    m_cmdQuit = Button(page, "cmdQuit", "Quit");
    m_cmdNext = Button(page, "cmdNext", "&Next >>");
    m_cmdPrint = Button(page, "cmdPrint", "&Print ...");
    m_cmdFileSaveAs = Button(page, "cmdFileSaveAs", "Save &As ...");
    m_picBox = Named(new PlotBox(m_canvas, page), QStringLiteral("picBox"));
    m_lblReadout = Named(new QLabel(page), QStringLiteral("lblReadout"));
    m_lblReadout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pageControls[PlotPage] = {m_cmdNext, m_cmdPrint, m_cmdFileSaveAs, m_cmdQuit, m_picBox};
}

// The designed places of the pages' contents; the plot box and the output box fill their page.
void PlotsForm::placePages() {
    const int w = kPageWidth;
    const int h = kPageHeight;
    const int buttonTop = h - kButtonHeight - 10;
    const std::array<QPushButton*, 4> setupButtons = {m_cmdRun, m_cmdFileOpen, m_cmdSaveOptions,
                                                      m_cmdExit};
    const std::array<QPushButton*, 4> plotButtons = {m_cmdQuit, m_cmdNext, m_cmdPrint,
                                                     m_cmdFileSaveAs};
    for (int i = 0; i < 4; ++i) {
        setupButtons[i]->setGeometry(10 + i * (kButtonWidth + 12), 350, kButtonWidth,
                                     kButtonHeight);
        plotButtons[i]->setGeometry(10 + i * (kButtonWidth + 12), buttonTop, kButtonWidth,
                                    kButtonHeight);
    }
    m_picBox->setGeometry(10, 10, w - 20, buttonTop - 20);
    const int readoutLeft = 10 + 4 * (kButtonWidth + 12);
    m_lblReadout->setGeometry(readoutLeft, buttonTop, w - 10 - readoutLeft, kButtonHeight);
    m_tbOutBox->setGeometry(10, 10, w - 20, h - 20);
}

void PlotsForm::connectControls() {
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { ActivateTabPage(); });
    connect(m_cmdFileOpen, &QPushButton::clicked, this, [this] {
        FileOld();
        if (m_cmdRun->isEnabled())
            m_cmdRun->setFocus();
    });
    connect(m_cmdRun, &QPushButton::clicked, this, &PlotsForm::Run);
    connect(m_cmdNext, &QPushButton::clicked, this, &PlotsForm::Next);
    connect(m_cmdQuit, &QPushButton::clicked, this, &PlotsForm::Quit);
    connect(m_cmdPrint, &QPushButton::clicked, this, &PlotsForm::Print);
    connect(m_cmdFileSaveAs, &QPushButton::clicked, this, [this] { FileSaveAs(); });
    connect(m_cmdSaveOptions, &QPushButton::clicked, this, &PlotsForm::SaveSettings);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
    for (int i = 0; i < 6; ++i)
        connect(m_cmdColor[i], &QPushButton::clicked, this, [this, i] { PickColor(i); });
    // The desktop's usual keys, beside the buttons' access keys. A button works only while
    // its page is shown and its command is available, so the key does the same. Ctrl+S is
    // left out: it could mean Save Settings as well as Save As.
    const std::array<std::pair<QKeySequence, QPushButton*>, 3> keys{
        {{QKeySequence::Open, m_cmdFileOpen},
         {QKeySequence(Qt::CTRL | Qt::Key_P), m_cmdPrint},
         {QKeySequence(Qt::CTRL | Qt::Key_Q), m_cmdExit}}};
    for (const auto& [key, button] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    }
    connect(m_chkBlacknWhite, &QCheckBox::clicked, this, &PlotsForm::UpdateColorEnabling);
    connect(m_picBox, &PlotBox::pointerMoved, this, &PlotsForm::ShowReadout);
    connect(m_picBox, &PlotBox::pointerLeft, this, [this] { ShowReadout(std::nullopt); });
    connect(m_picBox, &PlotBox::rectangleChosen, this, &PlotsForm::ZoomTo);
    connect(m_picBox, &PlotBox::wholePlotAsked, this, &PlotsForm::Unzoom);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_tabs->currentIndex() == PlotPage)
            Unzoom();
    });
    connect(m_chkXaxis, &QCheckBox::clicked, this, &PlotsForm::ClickXaxis);
    connect(m_chkYaxis, &QCheckBox::clicked, this, &PlotsForm::ClickYaxis);
}

// --- start-up and the run -------------------------------------------------------------------

bool PlotsForm::Main() {
    show();
    // A damaged store was read as empty (and set aside at its next write): say so, as veltra
    // does.
    ReportStoreProblem(m_store, {}, m_prompter);
    std::string directory;
    if (m_store.KeyExists(RegRoot::CurrentUser, kCompanyKey)) {
        m_dataFile = GetFileIn(m_store);
        SplitDataPath(m_dataFile, directory);
        if (!m_dataFile.empty())
            m_takenFiles.insert(m_dataFile);
    }
    if (!directory.empty() && dirExists(directory)) {
        std::error_code ignored;
        std::filesystem::current_path(directory, ignored);
    }
    if (PlotFileExists(m_dataFile, m_prompter)) {
        if (readDataFile("Main"))
            start();
    } else {
        m_cmdRun->setEnabled(false);
    }
    m_openDir = directory;
    return !m_fatal;
}

// Reads the data file from its start. Only a complete read lets a run start.
bool PlotsForm::readDataFile(const char* routine) {
    m_runReady = false;
    const FileStamp stamp = StampOf(m_dataFile);
    switch (m_file.ReadResultFile(m_dataFile)) {
    case ReadStatus::Ok:
        m_runReady = true;
        m_readStamp = stamp;
        return true;
    case ReadStatus::NoData:
        // "No data in file" has been shown: the program ends.
        m_fatal = true;
        close();
        return false;
    case ReadStatus::NoFile:
        HandleFileError(m_prompter, routine, m_file.openError(), m_dataFile);
        failRead();
        return false;
    case ReadStatus::Corrupted:
        failRead();
        return false;
    }
    return false;
}

void PlotsForm::failRead() {
    m_dataFile.clear();
    ShowFilename();
    m_cmdRun->setEnabled(false);
}

void PlotsForm::start() {
    if (!m_runReady || m_fatal)
        return;
    m_runReady = false;
    EnableSetup(true);
    m_cmdSaveOptions->setEnabled(false);
    m_cmdFileOpen->setEnabled(false);
    m_cmdExit->setEnabled(false);
    m_cmdFileSaveAs->setEnabled(true);
    m_cmdQuit->setEnabled(true);
    m_cmdPrint->setEnabled(true);
    m_cmdRun->setEnabled(false);
    m_nextAllowed = true;
    m_cmdNext->setEnabled(true);
    showPage(OutputPage);
    m_tbOutBox->clear();
    syncCanvasSize();
    m_canvas.setBackColor(m_chkBlacknWhite->isChecked() ? kWhite
                                                        : m_colours[PlotSettings::Background]);
    m_canvas.Cls();
    appendOutput(WriteRunSummary(m_file.data()));
    appendFitSummary();
    // The caption names the file plotted, however the run began.
    ShowFilename();
    m_reportedRanges = {};
    ReportUnusableRanges();
    m_engine.PlotNext();
}

void PlotsForm::appendFitSummary() {
    const ResultData& d = m_file.data();
    if (!HasFit(d.modelX))
        return;
    // The ripple's section comes at the end of the file; it is read ahead for its figure.
    std::optional<std::vector<double>> ripple;
    if ((d.modelX == -2 || d.modelX == -1) && d.delayMatched == 1)
        ripple = ReadRippleAhead(m_dataFile, d);
    appendOutput(FitSummaryText(MeasureFit(d, ripple ? &*ripple : nullptr), d.modelX));
}

void PlotsForm::TakeHandedFile(const std::string& path) {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    // The file shown, unchanged since it was read (View Past Plots, say): the window is enough.
    if (path.empty() || (path == m_plotFile && m_plotted && StampOf(path) == m_readStamp))
        return;
    // A dialog of this window is open: the new run waits until it is answered.
    if (QApplication::activeModalWidget()) {
        const bool waiting = !m_pendingHandOver.empty();
        m_pendingHandOver = path;
        if (!waiting)
            QTimer::singleShot(kHandOverRetryMs, this, [this] {
                TakeHandedFile(std::exchange(m_pendingHandOver, std::string()));
            });
        return;
    }
    m_takenFiles.insert(path);
    m_file.Close();
    m_dataFile = path;
    std::string directory;
    SplitDataPath(m_dataFile, directory);
    m_openDir = directory;
    ShowFilename();
    m_engine.reset();
    m_plotted = false;
    m_nextAllowed = false;
    if (!PlotFileExists(m_dataFile, m_prompter)) {
        m_prompter.message({m_dataFile + "\r\n" + kFileMissing, RoutineTitle("Main"),
                            PromptIcon::Exclamation, PromptButtons::Ok});
        failRead();
        return;
    }
    if (readDataFile("Main"))
        start();
}

void PlotsForm::ShowFilename() {
    setWindowTitle(Q(CaptionFor(m_dataFile)));
}

void PlotsForm::Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot) {
    m_engine.Grid(modelX, xMin, xMax, yMin, yMax, iPlot);
}

void PlotsForm::Run() {
    ShowFilename();
    start();
}

void PlotsForm::Next() {
    if (!m_nextAllowed || m_fatal)
        return;
    syncCanvasSize();
    m_canvas.Cls();
    ReportUnusableRanges();
    m_engine.PlotNext();
}

void PlotsForm::Quit() {
    showPage(SetupPage);
    m_engine.reset(); // its bounds stay: the scaling boxes take them from the last plot
    m_nextAllowed = false;
    m_cmdExit->setFocus();
    m_file.Close();
    m_runReady = false;
    if (PlotFileExists(m_dataFile, m_prompter)) {
        if (readDataFile("cmdQuit"))
            m_cmdRun->setEnabled(m_tabs->currentIndex() == SetupPage);
    } else if (!m_dataFile.empty()) {
        // Else "Plot results >>" stays grey without a word of why.
        m_prompter.message({m_dataFile + "\r\n" + kFileGone, RoutineTitle("cmdQuit"),
                            PromptIcon::Exclamation, PromptButtons::Ok});
    }
    EnableSetup(true);
}

void PlotsForm::syncCanvasSize() {
    const QSize size = m_picBox->size();
    if (size.width() > 0 && size.height() > 0 &&
        (size.width() != m_canvas.pixelWidth() || size.height() != m_canvas.pixelHeight()))
        m_canvas.resize(size.width(), size.height());
}

// --- files ----------------------------------------------------------------------------------

void PlotsForm::FileOld() {
    // The open file stays open until another is chosen: a cancelled dialog leaves a run in
    // progress able to read its remaining sections.
    const auto answer = m_prompter.fileDialog(OpenPlotFileRequest(m_openDir));
    if (!answer || answer->path.empty())
        return;
    m_file.Close();
    m_dataFile = answer->path;
    std::string directory;
    SplitDataPath(m_dataFile, directory);
    m_openDir = directory;
    ShowFilename();
    m_cmdRun->setEnabled(true);
    m_engine.reset();
    m_plotted = false;
    m_nextAllowed = false; // the next plot of a new file comes only from a new run
    readDataFile("FileOld");
}

bool PlotsForm::FileSaveAs() {
    std::string directory = m_openDir;
    if (!m_plotFile.empty())
        SplitDataPath(m_plotFile, directory);
    const std::string proposal = SaveAsProposal(m_plotFile);
    const auto answer = m_prompter.fileDialog(SavePlotFileRequest(directory, proposal));
    if (!answer || answer->path.empty() || answer->path == proposal)
        return false;
    const std::string path = WithFilterExtension(answer->path, answer->filterIndex);
    if (FileExists(path) && m_prompter.message(ReplaceQuestion(path)) != PromptAnswer::Yes)
        return false;

    const std::optional<QByteArray> bytes =
        PlotFileBytes(m_canvas.recording(), PlotFileTypeFor(path, answer->filterIndex));
    const StepResult result = RunFileStep(m_prompter, "FileSaveAs", path, kSaveRetries, [&] {
        if (!bytes)
            return FileError{EIO, "The plot could not be encoded"};
        // Written beside the old file and renamed over it: a failed save keeps the old one.
        const int error = ReplaceFileBytes(
            path, std::string_view(bytes->constData(), static_cast<size_t>(bytes->size())), 0644);
        return error ? FileErrorFromErrno(error) : FileError{};
    });
    return result.done;
}

void PlotsForm::Print() {
    if (!m_prompter.printDialog(printer()))
        return;
    if (!TryPrintPlot(printer(), m_canvas.recording(), m_plotFile, m_plotSecondLine)) {
        const std::string where = printer().outputFileName().isEmpty()
                                      ? printer().printerName().toStdString()
                                      : printer().outputFileName().toStdString();
        m_prompter.message({kPrintFailed + where, RoutineTitle("PrintPlot"), PromptIcon::Critical,
                            PromptButtons::Ok});
    }
}

QPrinter& PlotsForm::printer() {
    // Made on first use: finding the printers can take a while, and most runs never print.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

// --- settings -------------------------------------------------------------------------------

PlotSettings PlotsForm::currentSettings() const {
    PlotSettings s;
    s.colours = m_colours;
    s.blackAndWhite = m_chkBlacknWhite->isChecked();
    for (int i = 0; i < 4; ++i) {
        if (m_optGridType[i]->isChecked())
            s.gridType = i;
        if (m_optGridLines[i]->isChecked())
            s.gridLines = i;
    }
    s.fixedX = m_chkXaxis->isChecked();
    s.xMinText = m_txtXmin->text().toStdString();
    s.xStepText = m_txtXstep->text().toStdString();
    s.fixedY = m_chkYaxis->isChecked();
    s.yMinText = m_txtYmin->text().toStdString();
    s.yStepText = m_txtYstep->text().toStdString();
    return s;
}

void PlotsForm::applySettings(const PlotSettings& s) {
    for (int i = 0; i < 6; ++i) {
        m_colours[i] = s.colours[i];
        refreshSwatch(i);
    }
    m_chkBlacknWhite->setChecked(s.blackAndWhite);
    if (s.gridType >= 0 && s.gridType < 4)
        m_optGridType[s.gridType]->setChecked(true);
    if (s.gridLines >= 0 && s.gridLines < 4)
        m_optGridLines[s.gridLines]->setChecked(true);
    m_chkXaxis->setChecked(s.fixedX);
    m_txtXmin->setText(Q(s.xMinText));
    m_txtXstep->setText(Q(s.xStepText));
    m_chkYaxis->setChecked(s.fixedY);
    m_txtYmin->setText(Q(s.yMinText));
    m_txtYstep->setText(Q(s.yStepText));
}

void PlotsForm::LoadSettings() {
    PlotSettings s = currentSettings();
    veltrana::LoadSettings(m_store, s);
    applySettings(s);
    UpdateColorEnabling();
}

void PlotsForm::SaveSettings() {
    const RegError error = veltrana::SaveSettings(m_store, currentSettings());
    if (!error.ok())
        HandleFileError(m_prompter, "SaveSettings", {error.number, error.description},
                        m_store.path());
}

void PlotsForm::refreshSwatch(int slot) {
    const QColor colour = ToQColor(m_colours[slot]);
    m_txtColor[slot]->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: %1; }").arg(colour.name()));
}

void PlotsForm::PickColor(int slot) {
    if (slot < 0 || slot >= 6)
        return;
    if (const auto chosen = m_prompter.colorDialog(m_colours[slot])) {
        m_colours[slot] = *chosen & 0xFFFFFF;
        refreshSwatch(slot);
    }
}

PlotSettings PlotsForm::plotSettings() const {
    return currentSettings();
}

// --- enabling -------------------------------------------------------------------------------

void PlotsForm::EnableSetup(bool flag) {
    // In black and white the colour controls stay off, their captions with them.
    if (flag) {
        UpdateColorEnabling();
    } else {
        for (int i = 0; i < 6; ++i) {
            m_cmdColor[i]->setEnabled(false);
            m_txtColor[i]->setEnabled(false);
        }
    }
    m_chkBlacknWhite->setEnabled(flag);
    m_chkXaxis->setEnabled(flag);
    m_chkYaxis->setEnabled(flag);
    m_cmdSaveOptions->setVisible(flag);
    UpdateXFields();
    UpdateYFields();
}

void PlotsForm::UpdateColorEnabling() {
    const bool colours = !m_chkBlacknWhite->isChecked();
    for (int i = 0; i < 6; ++i) {
        m_txtColor[i]->setEnabled(colours);
        m_cmdColor[i]->setEnabled(colours);
        m_lblColor[i]->setEnabled(colours);
    }
}

// The pair of scaling boxes of one axis: in use on the Setup page with its box checked, else
// shaded in the grey-text colour so that an unused range is not mistaken for the one in force.
void PlotsForm::UpdateAxisFields(QCheckBox* fixed, QLineEdit* min, QLineEdit* step) {
    const bool on = m_tabs->currentIndex() == SetupPage && fixed->isChecked();
    const QPalette& platform = palette();
    const QColor back = on ? platform.color(QPalette::Active, QPalette::Base)
                           : platform.color(QPalette::Disabled, QPalette::Text);
    for (QLineEdit* box : {min, step}) {
        box->setEnabled(on);
        QPalette shaded = box->palette();
        shaded.setColor(QPalette::Base, back);
        box->setPalette(shaded);
    }
    if (on && isVisible())
        min->setFocus();
}

void PlotsForm::UpdateXFields() {
    UpdateAxisFields(m_chkXaxis, m_txtXmin, m_txtXstep);
}

void PlotsForm::UpdateYFields() {
    UpdateAxisFields(m_chkYaxis, m_txtYmin, m_txtYstep);
}

void PlotsForm::ClickXaxis() {
    UpdateXFields();
    // Only a drawn plot has bounds worth proposing.
    if (!m_plotted)
        return;
    // From the true minimum and maximum: the map hands its real axis over upside down.
    const double low = std::min(m_engine.xMin(), m_engine.xMax());
    const double high = std::max(m_engine.xMin(), m_engine.xMax());
    if (m_txtXmin->text().isEmpty())
        m_txtXmin->setText(Q(GeneralNumber(low)));
    if (m_txtXstep->text().isEmpty())
        m_txtXstep->setText(Q(GeneralNumber((high - low) / 10)));
}

void PlotsForm::ClickYaxis() {
    UpdateYFields();
    if (!m_plotted)
        return;
    const double low = std::min(m_engine.yMin(), m_engine.yMax());
    const double high = std::max(m_engine.yMin(), m_engine.yMax());
    if (m_txtYmin->text().isEmpty())
        m_txtYmin->setText(Q(GeneralNumber(low)));
    if (m_txtYstep->text().isEmpty())
        m_txtYstep->setText(Q(GeneralNumber((high - low) / 5)));
}

// A control of a page is usable while its page is shown; "Plot results >>" also needs a file
// read since the last run began and "Next >>" a plot still to come, so that no run starts
// over stale data and the sequence never runs past its end.
bool PlotsForm::allowedByState(QWidget* control) const {
    // The picture is printed and saved under the name of the file it was drawn from; until a
    // plot of the file now open is drawn there is none to offer.
    if (control == m_cmdPrint || control == m_cmdFileSaveAs)
        return m_plotted;
    if (control == m_cmdRun)
        return m_runReady && !m_fatal;
    if (control == m_cmdNext)
        return m_nextAllowed && !m_fatal;
    return true;
}

void PlotsForm::ActivateTabPage() {
    const int shown = m_tabs->currentIndex();
    QWidget* first = nullptr;
    for (int page = 0; page < 3; ++page) {
        for (QWidget* control : m_pageControls[page]) {
            const bool on = page == shown && allowedByState(control);
            control->setEnabled(on);
            if (on && !first && control->isVisible())
                first = control;
        }
    }
    if (first)
        first->setFocus();
    UpdateXFields();
    UpdateYFields();
}

void PlotsForm::showPage(Page page) {
    if (m_tabs->currentIndex() == page)
        ActivateTabPage();
    else
        m_tabs->setCurrentIndex(page); // runs ActivateTabPage
}

// --- PlotHost -------------------------------------------------------------------------------

void PlotsForm::appendOutput(std::string_view text) {
    QString converted = Q(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_tbOutBox->moveCursor(QTextCursor::End);
    m_tbOutBox->insertPlainText(converted);
}

void PlotsForm::showPlotPage() {
    showPage(PlotPage);
    if (m_cmdNext->isEnabled())
        m_cmdNext->setFocus();
}

void PlotsForm::setNextEnabled(bool enabled) {
    m_nextAllowed = enabled;
    m_cmdNext->setEnabled(enabled && m_tabs->currentIndex() == PlotPage);
}

void PlotsForm::plotDrawn() {
    ShowReadout(std::nullopt);
    m_plotted = true;
    m_plotFile = m_dataFile;
    m_plotSecondLine = m_file.data().secondLine;
    // The plot page came up before the plot was drawn.
    for (QWidget* command :
         {static_cast<QWidget*>(m_cmdPrint), static_cast<QWidget*>(m_cmdFileSaveAs)})
        command->setEnabled(m_tabs->currentIndex() == PlotPage);
    m_picBox->update();
}

void PlotsForm::plotRefused(std::string_view reason) {
    m_prompter.message({m_dataFile + "\r\n" + std::string(reason), kPlotRefusedTitle,
                        PromptIcon::Exclamation, PromptButtons::Ok});
    plotDrawn();
}

void PlotsForm::fileDamaged() {
    // The reader has shown its message; the file cannot give a whole run any more.
    m_nextAllowed = false;
    m_dataFile.clear();
    m_cmdRun->setEnabled(false);
}

void PlotsForm::ShowReadout(std::optional<QPointF> pixel) {
    const std::optional<QPointF> values = pixel ? m_engine.ValuesAt(*pixel) : std::nullopt;
    if (values)
        m_lblReadout->setText(Q(ReadoutText(values->x(), values->y())));
    else
        m_lblReadout->setText(m_engine.zoomed() ? QString::fromUtf8(kZoomedHint) : QString());
}

void PlotsForm::ZoomTo(QRectF pixels) {
    if (m_engine.ZoomTo(pixels))
        m_picBox->update();
    ShowReadout(std::nullopt);
}

void PlotsForm::Unzoom() {
    if (m_engine.Unzoom())
        m_picBox->update();
    ShowReadout(std::nullopt);
}

void PlotsForm::ShowFatal(std::string_view text) {
    veltrana::ShowFatal(m_prompter, text);
    m_fatal = true;
    m_nextAllowed = false;
    close();
}

// --- events ---------------------------------------------------------------------------------

void PlotsForm::closeEvent(QCloseEvent* event) {
    // Else veltra would bring this result up again at every start without saying why; but a
    // newer run's file, named since this window took its own, is left for that run.
    if (m_store.KeyExists(RegRoot::CurrentUser, kCompanyKey)) {
        const std::string named = GetFileIn(m_store);
        if (!named.empty() &&
            (m_takenFiles.count(named) > 0 || named == m_dataFile || named == m_plotFile))
            ReportStoreProblem(m_store, SaveFileIn(m_store, ""), m_prompter);
    }
    m_file.Close();
    event->accept();
}

void PlotsForm::ResizeControls() {
    m_resizer.ResizeControls();
    // The plot shown is drawn again at the box's new size, from what it was drawn from.
    if (m_engine.hasPlot()) {
        syncCanvasSize();
        m_engine.Redraw();
        m_picBox->update();
    }
}

bool PlotsForm::checkBox(QLineEdit* box, const char* message) {
    if (!message)
        return true;
    m_checkingStep = true;
    m_prompter.message({message, kMessageTitle, PromptIcon::Exclamation, PromptButtons::Ok});
    m_checkingStep = false;
    // Taking the focus back makes the box now left lose it: with a zero in both step boxes,
    // the two would otherwise ask in turn for ever.
    m_refocusing = box;
    QTimer::singleShot(0, box, [this, box] {
        box->setFocus();
        m_refocusing = nullptr;
    });
    return false;
}

// What is wrong with a scaling box's text, as the message to show; null when nothing is. An
// empty box is accepted: ticking the axis fills it from the last plot.
const char* PlotsForm::boxProblem(QLineEdit* box) const {
    const std::string text = TrimBlanks(box->text().toStdString());
    if (text.empty())
        return nullptr;
    const std::optional<double> value = ParseNumber(text);
    const bool x = box == m_txtXmin || box == m_txtXstep;
    if (box == m_txtXmin || box == m_txtYmin)
        return value ? nullptr : (x ? kXMinMessage : kYMinMessage);
    if (!value || *value == 0)
        return x ? kXStepMessage : kYStepMessage;
    if (*value < 0)
        return x ? kXStepNegative : kYStepNegative;
    return nullptr;
}

void PlotsForm::ReportUnusableRanges() {
    const PlotSettings s = currentSettings();
    const std::array<std::array<std::string, 4>, 2> axes = {
        {{"X", FixedRangeProblem(s.fixedX, s.xMinText, s.xStepText, 10), s.xMinText, s.xStepText},
         {"Y", FixedRangeProblem(s.fixedY, s.yMinText, s.yStepText, 5), s.yMinText, s.yStepText}}};
    for (size_t i = 0; i < axes.size(); ++i) {
        const auto& [axis, problem, min, step] = axes[i];
        // Once for each range, not at every plot of a run.
        const std::string reported = problem.empty() ? "" : min + "\n" + step;
        if (problem.empty() || reported == m_reportedRanges[i]) {
            m_reportedRanges[i] = reported;
            continue;
        }
        m_reportedRanges[i] = reported;
        m_prompter.message({"The " + axis +
                                "-axis range of the Setup page is not used: " + problem +
                                ". The plots take their " + axis + " range from the data.",
                            kMessageTitle, PromptIcon::Exclamation, PromptButtons::Ok});
    }
}

bool PlotsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        ResizeControls();
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
    if (box && event->type() == QEvent::FocusOut && !m_checkingStep && !m_refocusing &&
        box->isEnabled()) {
        if (box == m_txtXstep || box == m_txtYstep || box == m_txtXmin || box == m_txtYmin)
            checkBox(box, boxProblem(box));
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace veltrana
