#pragma once

#include "FileStamp.h"
#include "FormResizer.h"
#include "PlotCanvas.h"
#include "PlotEngine.h"
#include "PlotHost.h"
#include "PlotSettings.h"
#include "ResultFile.h"

#include <QMainWindow>

#include <QPointF>
#include <QRectF>

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace veltrana {

class PlotBox;
class Prompter;

class RegistryStore;

/// frmPlots: the plot window. It reads the result file named by `fileIn`, starts the plot
/// run, steps through the plots, prints them, saves them as bitmaps and keeps the plot
/// settings. Every control carries its name as objectName; control arrays are "name_index".
class PlotsForm : public QMainWindow, public PlotHost {
    Q_OBJECT

public:
    /// Loads the form: Setup page, default and stored settings, commands of a window
    /// without a file. Main shows it.
    PlotsForm(RegistryStore& store, Prompter& prompter, QWidget* parent = nullptr);
    ~PlotsForm() override;

    /// The start-up: shows the window, reads the file named by `fileIn` and starts the run.
    /// False when the program must end at once (the file held no data).
    bool Main();

    /// A result file handed over by a later start of plots: the window comes to the front and,
    /// unless `path` is empty, opens it through the usual checks and starts its run (after any
    /// dialog of its own that is open).
    void TakeHandedFile(const std::string& path);

    /// Begins a plot run over the file read; does nothing unless a file was read since the
    /// last run started.
    void start();
    void ShowFilename();
    /// Axes, grid and labels of the current plot.
    void Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot);

    // Commands, as the buttons run them.
    void FileOld();
    bool FileSaveAs();
    void Run();
    void Next();
    void Quit();
    void Print();
    void SaveSettings();
    void PickColor(int slot);
    void ClickXaxis();
    void ClickYaxis();
    /// The values under the pointer on the Plot page (nothing: the pointer left the plot).
    void ShowReadout(std::optional<QPointF> pixel);
    /// Zooms the plot shown into a rectangle of its pixels, and back to the whole plot.
    void ZoomTo(QRectF pixels);
    void Unzoom();

    void LoadSettings();
    void EnableSetup(bool flag);
    void UpdateColorEnabling();
    void UpdateXFields();
    void UpdateYFields();
    void ActivateTabPage();
    /// Scales every control to the window's inner area (run on every resize of it).
    void ResizeControls();

    const std::string& dataFile() const { return m_dataFile; }
    const std::string& openDirectory() const { return m_openDir; }
    PlotCanvas& canvas() { return m_canvas; }
    PlotEngine& engine() { return m_engine; }
    ResultFile& resultFile() { return m_file; }
    /// The printer the print dialog sets up; kept for the session so the choice stays.
    QPrinter& printer();
    /// The settings the form shows.
    PlotSettings currentSettings() const;
    void applySettings(const PlotSettings& settings);

    // PlotHost
    PlotSettings plotSettings() const override;
    void appendOutput(std::string_view text) override;
    void showPlotPage() override;
    void setNextEnabled(bool enabled) override;
    void plotDrawn() override;
    void ShowFatal(std::string_view text) override;
    void plotRefused(std::string_view reason) override;
    void fileDamaged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateAxisFields(QCheckBox* fixed, QLineEdit* min, QLineEdit* step);
    enum Page { SetupPage = 0, OutputPage = 1, PlotPage = 2 };

    void buildSetupPage(QWidget* page);
    void buildOutputPage(QWidget* page);
    void buildPlotPage(QWidget* page);
    void connectControls();
    void showPage(Page page);
    /// Reads the data file from its start; `routine` titles the message of a file that cannot
    /// be opened. Only a complete read lets a run start.
    bool readDataFile(const char* routine);
    void failRead();
    /// What the fit achieved, in words, after the run summary.
    void appendFitSummary();
    void syncCanvasSize();
    void refreshSwatch(int slot);
    bool checkBox(QLineEdit* box, const char* message);
    const char* boxProblem(QLineEdit* box) const;
    /// Says when a ticked axis's range cannot be used, once for each such range.
    void ReportUnusableRanges();
    bool allowedByState(QWidget* control) const;
    void placePages();

    RegistryStore& m_store;
    Prompter& m_prompter;
    PlotCanvas m_canvas;
    ResultFile m_file;
    PlotEngine m_engine;
    std::unique_ptr<QPrinter> m_printer;

    std::string m_dataFile;
    std::string m_openDir;
    std::array<Rgb, 6> m_colours{};
    bool m_runReady = false;    // a file was read and no run has started from it yet
    bool m_nextAllowed = false; // the plot sequence has a next plot
    bool m_plotted = false;     // a plot was drawn: the scaling boxes may be filled from it
    bool m_fatal = false;
    bool m_checkingStep = false;
    QLineEdit* m_refocusing = nullptr; ///< a step box taking the focus back after its message
    std::string m_plotFile;            ///< the file the shown plot was drawn from
    std::string m_plotSecondLine;      ///< and its second line, for the printed footer
    std::array<std::string, 2> m_reportedRanges; ///< X and Y ranges last reported unusable
    std::set<std::string> m_takenFiles; ///< the files this window took from fileIn or was handed
    std::string m_pendingHandOver;      ///< handed over while a dialog was open
    FileStamp m_readStamp;              ///< the data file as it was when last read whole
    FormResizer m_resizer;

    QTabWidget* m_tabs = nullptr;
    std::array<std::vector<QWidget*>, 3> m_pageControls; // in tab order
    QFrame* m_picCanvas = nullptr;
    QPushButton* m_cmdSaveOptions = nullptr;
    QPushButton* m_cmdRun = nullptr;
    QPushButton* m_cmdFileOpen = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QPlainTextEdit* m_tbOutBox = nullptr;
    QPushButton* m_cmdQuit = nullptr;
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdFileSaveAs = nullptr;
    PlotBox* m_picBox = nullptr;
    QLabel* m_lblReadout = nullptr;
    QCheckBox* m_chkXaxis = nullptr;
    QCheckBox* m_chkYaxis = nullptr;
    QLineEdit* m_txtXmin = nullptr;
    QLineEdit* m_txtXstep = nullptr;
    QLineEdit* m_txtYmin = nullptr;
    QLineEdit* m_txtYstep = nullptr;
    QCheckBox* m_chkBlacknWhite = nullptr;
    std::array<QRadioButton*, 4> m_optGridType{};
    std::array<QRadioButton*, 4> m_optGridLines{};
    std::array<QLabel*, 6> m_lblColor{};
    std::array<QLineEdit*, 6> m_txtColor{};
    std::array<QPushButton*, 6> m_cmdColor{};
};

} // namespace veltrana
