#include "ExportCommand.h"
#include "FileBytes.h"
#include "HostileFiles.h"
#include "PlotFileRoutines.h"
#include "PlotSettingsStore.h"
#include "PlotsFormFixture.h"
#include "PromptTitles.h"
#include "QtPrompter.h"
#include "ResizeChecks.h"
#include "Text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const std::string kSamples = PLOTS_SAMPLE_DATA;
using Titles = std::vector<std::string>;

class PlotsFormTest : public PlotsFormFixture {
protected:
    bool enabled(const char* name) { return control<QWidget>(name)->isEnabled(); }
    void setPage(int index) { control<QTabWidget>("Plot_Tabs")->setCurrentIndex(index); }
    bool exportAs(const std::string& name, int filter) {
        prompter.answerFile(FileDialogAnswer{in(name), filter});
        return form->findChild<ExportCommand*>()->Export();
    }
    void innerSize(int w, int h) {
        // The menu bar stands above the inner area.
        form->resize(w, h + (form->menuWidget() ? form->menuWidget()->height() : 0));
        ASSERT_EQ(form->centralWidget()->size(), QSize(w, h));
    }
};

// fileIn naming a file missing, damaged or without data (which ends the program and clears
// fileIn), or a damaged store: nothing to run.
TEST_F(PlotsFormTest, StartWithoutAReadableFileOrStore) {
    // sample named by fileIn (null: no company key, in a damaged store), whether the window
    // stays, the messages
    const std::tuple<const char*, bool, Titles> cases[] = {
        {"missing.dat", true, {}},
        {"bad_first_record.dat", true, {"Reading data file error at --> modelX."}},
        {"no_rows.dat", false, {"Must exit!"}},
        {nullptr, true, {"Settings store"}},
    };
    for (const auto& [file, stays, titles] : cases) {
        SCOPED_TRACE(file ? file : "no key");
        prompter = ScriptedPrompter();
        if (!file)
            std::ofstream(in("registry")) << "not a store";
        store = std::make_unique<RegistryStore>(in("registry"));
        const std::string path = !file ? "" : titles.empty() ? in(file) : sample(file);
        ASSERT_TRUE(!file || SaveFileIn(*store, path).ok());
        EXPECT_EQ(startForm(), stays);
        EXPECT_EQ(PromptTitles(prompter), titles);
        EXPECT_EQ(GetFileIn(*store), stays ? path : "");
        EXPECT_EQ(std::filesystem::current_path(), m_dir); // the file's folder
        // A click on another page and back must not start a run over nothing.
        setPage(1);
        setPage(0);
        EXPECT_FALSE(enabled("cmdRun"));
    }
}

// The Output page ends the run's summary with what the fit achieved, the delay's ripple read
// ahead. The scaling boxes keep what they hold, and take what they lack from the last plot
// (after Quit too); after the map, whose real axis runs downward, the right way up.
TEST_F(PlotsFormTest, RunCommandsFromQuitToExit) {
    ASSERT_TRUE(startForm("model_m2.dat"));
    const std::string output = control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString();
    EXPECT_NE(output.find("ripples by 0.03 ns", output.find("Summary of Run")), output.npos);
    EXPECT_TRUE(enabled("cmdPrint") && enabled("cmdFileSaveAs")); // ready with the first plot
    setPage(0);
    control<QLineEdit>("txtXmin")->setText("7");
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    const auto number = [this](const char* box) {
        return NumericValue(control<QLineEdit>(box)->text().toStdString());
    };
    EXPECT_EQ(number("txtXmin"), 7);
    EXPECT_GT(number("txtXstep"), 0);
    const auto [low, high] = std::minmax({form->engine().yMin(), form->engine().yMax()});
    EXPECT_EQ(number("txtYmin"), low);
    EXPECT_NEAR(number("txtYmin") + 5 * number("txtYstep"), high, 1e-9);

    form->Quit();
    control<QLineEdit>("txtYstep")->clear();
    control<QCheckBox>("chkYaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    EXPECT_FALSE(control<QLineEdit>("txtYstep")->text().isEmpty());
    EXPECT_EQ(form->engine().plotStep(), 0);
    form->Run();
    EXPECT_GT(form->engine().plotStep(), 0);
    EXPECT_TRUE(prompter.prompts.empty());

    // Closing leaves fileIn alone once it names a newer run's file, written since elsewhere.
    ASSERT_TRUE(SaveFileIn(*store, in("newer.dat")).ok());
    form->close();
    EXPECT_EQ(GetFileIn(*store), in("newer.dat"));
}

// Save As, and asks before replacing. Another file opened during a run: the picture shown,
// and the name Save As proposes for it, are still the first file's. For a file without a
// filter Export offers the plot's curves alone.
TEST_F(PlotsFormTest, SaveAsWritesTheShownPlot) {
    ASSERT_TRUE(startForm("model3.dat"));
    EXPECT_FALSE(exportAs("fit.csv", 1));
    EXPECT_EQ(said(), "The result file holds no filter (model 3): only the data of the plot shown "
                      "can be exported.");
    // typed name, filter, answer to the replace question, name written
    const std::tuple<const char*, int, PromptAnswer, const char*> cases[] = {
        {"plot.bmp", 1, PromptAnswer::Ok, "plot.bmp"},
        {"plot.bmp", 1, PromptAnswer::Yes, "plot.bmp"},
        {"plot", 4, PromptAnswer::Ok, "plot.pdf"},
        {"plot", 4, PromptAnswer::No, "plot.pdf"}, // asked for plot.pdf
    };
    for (const auto& [name, filter, replace, written] : cases) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(filter));
        const bool exists = std::filesystem::exists(in(written));
        prompter = ScriptedPrompter();
        prompter.answerFile(FileDialogAnswer{in(name), filter});
        prompter.answer(replace);
        EXPECT_EQ(form->FileSaveAs(), !exists || replace == PromptAnswer::Yes);
        EXPECT_EQ(prompter.prompts,
                  exists ? std::vector{ReplaceQuestion(in(written))} : std::vector<Prompt>{});
        EXPECT_TRUE(filter == 1 ? holdsTheShownPlot(in(written))
                                : Contents(in(written)).starts_with("%PDF"));
    }

    prompter = ScriptedPrompter();
    setPage(0);
    form->FileOld(); // Cancel keeps what was there
    EXPECT_EQ(form->dataFile(), in("model3.dat"));
    open(kSamples + "/model2.dat");
    EXPECT_EQ(form->openDirectory(), kSamples);
    EXPECT_EQ(form->windowTitle(), "model2.dat ... Plots from Tamsen Sys.");
    EXPECT_TRUE(enabled("cmdRun"));
    form->showPlotPage();
    EXPECT_FALSE(enabled("cmdPrint") || enabled("cmdFileSaveAs"));
    EXPECT_FALSE(form->FileSaveAs()); // cancelled
    EXPECT_EQ(prompter.dialogs.back().fileName, "model3.bmp");

    open(kSamples + "/truncated_block.dat");
    EXPECT_EQ(form->dataFile(), "");
    EXPECT_FALSE(enabled("cmdRun"));
    EXPECT_EQ(prompter.prompts.size(), 1u);
}

// Black and white keeps the colour controls off through a run; a ticked axis whose range
// cannot be used is said once per run, not dropped without a word.
TEST_F(PlotsFormTest, SetupChoicesHoldThroughARun) {
    ASSERT_TRUE(startForm());
    prompter.answerColor(0x00FF00);
    form->PickColor(PlotSettings::Curve1);
    EXPECT_EQ(prompter.colorPresets, std::vector<std::uint32_t>{kNoKeyColours[3]});
    EXPECT_EQ(form->plotSettings().colours[PlotSettings::Curve1], 0x00FF00u);

    control<QCheckBox>("chkBlacknWhite")->click();
    control<QCheckBox>("chkXaxis")->click(); // no plot yet: the boxes stay empty
    open(sample("model3.dat"));
    form->Run();
    form->Next();
    EXPECT_EQ(said(), "The X-axis range of the Setup page is not used: the minimum is empty. The "
                      "plots take their X range from the data.");
    setPage(0); // the run goes on
    for (const char* name : {"cmdColor_0", "cmdColor_3", "txtColor_3", "lblColor_3"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(enabled("chkBlacknWhite"));
}

// Leaving a scaling box checks it: only a whole number ("1,5" is not 1, " 2 5" not 25, "abc"
// not 0), and a step above 0; else the box asks and keeps the focus. Two step boxes holding
// zero ask once instead of in turn for ever.
TEST_F(PlotsFormTest, ScalingBoxesTakeWholeNumbersAndStepsAboveZero) {
    ASSERT_TRUE(startForm());
    activate();
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    control<QLineEdit>("txtYstep")->setText("0");
    // box left, its text, the box gone to, the message (empty: none)
    const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
        {"txtXstep", "0", "txtYstep", "Please enter a non-zero number for X-step size."},
        {"txtXstep", "abc", "txtYstep", "Please enter a non-zero number for X-step size."},
        {"txtXmin", "1,5", "txtYmin", "Please enter a number for X-min value."},
        {"txtYmin", " 2 5", "txtXmin", "Please enter a number for Y-min value."},
        {"txtXmin", " -2.5 ", "txtYmin", ""},
        {"txtYstep", "-1", "txtXmin", "Please enter a positive number for Y-step size."},
        {"txtYstep", "2.5", "txtXmin", ""},
    };
    for (const auto& [name, text, next, message] : cases) {
        SCOPED_TRACE(std::string(name) + " \"" + text + "\"");
        prompter = ScriptedPrompter();
        QLineEdit* box = control<QLineEdit>(name);
        box->setText(text);
        box->setFocus();
        control<QLineEdit>(next)->setFocus();
        QTest::qWait(100);
        EXPECT_EQ(said(), message);
        EXPECT_EQ(box->hasFocus(), !message.empty());
        box->clear();
    }
}

// A result file that cannot be read is reported under the routine that tried: the start-up or
// Quit (the open command with every kind of file in the hostile-input tests); one that is gone
// at Quit is reported, not met with a grey button.
TEST_F(PlotsFormTest, AFileThatCannotBeReadIsReportedUnderTheRoutineThatTried) {
    const std::string path = in("model3.dat");
    ASSERT_TRUE(MakeHostile(Hostile::Sparse1G, path));
    ASSERT_TRUE(SaveFileIn(*store, path).ok());
    EXPECT_TRUE(startForm());
    for (bool gone : {false, true}) {
        open(sample("model3.dat"));
        form->Run();
        std::filesystem::remove(path);
        ASSERT_TRUE(gone || MakeHostile(Hostile::Sparse1G, path));
        form->Quit();
    }
    EXPECT_EQ(PromptTitles(prompter), (Titles{"In 'Main' routine ...", "In 'cmdQuit' routine ...",
                                              "In 'cmdQuit' routine ..."}));
    const std::string tooLarge =
        "Unexpected error #27 occured: '" + path + "' is larger than 64 MB";
    EXPECT_EQ(said(), tooLarge + "\n" + tooLarge + "\n" + path +
                          "\r\nThis result file is no longer there, so its plots cannot start "
                          "again. Open a result file with \"Open Plot File ...\".");
    EXPECT_FALSE(enabled("cmdRun"));
}

// A file handed over by a later start: the window runs it, caption and all; the same file,
// unchanged, only brings the window up, while one rewritten since is read again. Closing
// clears fileIn while it names a file of this window, a handed one too.
TEST_F(PlotsFormTest, AHandedFileStartsItsRunInThisWindow) {
    ASSERT_TRUE(startForm("model_m2.dat"));
    const std::string other = sample("model3.dat");
    form->TakeHandedFile(other);
    EXPECT_EQ(form->windowTitle(), "model3.dat ... Plots from Tamsen Sys.");
    EXPECT_EQ(form->engine().plotStep(), 2); // its first plot is drawn

    form->Next();
    form->TakeHandedFile(other);
    form->TakeHandedFile("");
    EXPECT_EQ(form->engine().plotStep(), 3); // still where the user left it

    std::ofstream(other, std::ios::app) << "\n"; // a new run wrote it again
    form->TakeHandedFile(other);
    EXPECT_EQ(form->engine().plotStep(), 2);

    // A plot that cannot be drawn is said with its file; the next may well be drawn.
    const std::string huge = in("huge.dat");
    std::ofstream(huge) << "t\ns\nx\n7 0 2\n0 0 1.5e308\n1 0 -1.7e308\n";
    form->TakeHandedFile(huge);
    EXPECT_TRUE(enabled("cmdNext"));
    form->TakeHandedFile(in("gone.dat"));
    EXPECT_EQ(PromptTitles(prompter), (Titles{"Plot not drawn", "In 'Main' routine ..."}));
    EXPECT_EQ(said(),
              huge +
                  "\r\nThe Y values of this plot run from -1.7E+308 to 1.5E+308, a range too "
                  "wide to draw.\n" +
                  in("gone.dat") + "\r\nThis result file is not there.");
    EXPECT_FALSE(enabled("cmdRun"));
    ASSERT_TRUE(SaveFileIn(*store, other).ok());
    form->close();
    EXPECT_EQ(GetFileIn(*store), "");
}

// The pointer's values in the readout; a dragged rectangle zooms, Esc and a double click go
// back; Save As writes the view shown. Ctrl+P prints only while the plot page is shown.
TEST_F(PlotsFormTest, ReadoutZoomAndKeysOnThePlotPage) {
    ASSERT_TRUE(startForm("model3.dat"));
    activate();
    QWidget* box = control<QWidget>("picBox");
    const QImage whole = form->canvas().image().copy();
    QTest::mouseMove(box, QPoint(300, 200));
    EXPECT_TRUE(control<QLabel>("lblReadout")->text().startsWith("X = "));
    for (int back = 0; back < 2; ++back) {
        SCOPED_TRACE(back ? "double click" : "Esc");
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseMove(box, QPoint(400, 300));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(400, 300));
        ASSERT_TRUE(form->engine().zoomed());
        EXPECT_NE(form->canvas().image(), whole);
        const std::string saved = in("zoomed" + std::to_string(back) + ".png");
        prompter.answerFile(FileDialogAnswer{saved, 2});
        ASSERT_TRUE(form->FileSaveAs());
        EXPECT_TRUE(holdsTheShownPlot(saved));
        if (back)
            QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(form->engine().zoomed());
        EXPECT_EQ(form->canvas().image(), whole);
    }
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(250, 250)); // a click is no rectangle
    EXPECT_FALSE(form->engine().zoomed());

    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    setPage(0);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompter.printDialogs, 1);
}

TEST_F(PlotsFormTest, RealPrintDialogPrintsToThePdfChosenInIt) {
    QtPrompter dialogs;
    ASSERT_TRUE(startForm("model2.dat", &dialogs));
    const std::string pdf = in("chosen.pdf");
    form->printer().setOutputFormat(QPrinter::PdfFormat);
    form->printer().setOutputFileName(QString::fromStdString(pdf));
    for (bool accept : {false, true}) {
        WhenModal([accept](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            accept ? dialog->accept() : dialog->reject();
        });
        form->Print();
        EXPECT_EQ(std::filesystem::exists(pdf) && std::filesystem::file_size(pdf) > 1000, accept);
    }
}

// Every control scales with the window, without drift. The plot shown is drawn again at the
// box's new size from the data it was drawn from: the same plot (no step of the sequence, no
// new log line), its texts scaled with the box.
TEST_F(PlotsFormTest, ResizedWindow) {
    ASSERT_TRUE(startForm("model1.dat"));
    setPage(0);
    const auto design = Snapshot(*form->centralWidget());
    ASSERT_GT(design.size(), 40u);
    innerSize(2000, 1440); // twice the designed inner area
    ExpectScaled(design, 2, 2);
    for (int i = 0; i < 15; ++i)
        innerSize(640 + 77 * i, 440 + 53 * i);
    innerSize(1000, 720);
    ExpectUnchanged(design);

    QWidget* picBox = control<QWidget>("picBox");
    const QRect box = picBox->geometry();
    const std::string log = control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString();
    const int step = form->engine().plotStep();
    std::filesystem::remove(in("model1.dat")); // nothing is read again
    innerSize(1500, 1080);
    form->showPlotPage(); // picBox was on a hidden page
    EXPECT_EQ(picBox->geometry(), QRect(15, 15, box.width() * 3 / 2, box.height() * 3 / 2));
    EXPECT_EQ(form->canvas().image().size(), picBox->size());
    EXPECT_EQ(form->engine().plotStep(), step);
    EXPECT_EQ(control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString(), log);
    EXPECT_GT(form->canvas().textScale(), 1.4);
    EXPECT_TRUE(prompter.prompts.empty());
}

// The constellation (from the map too) and the curves of the plot shown; a name without its
// extension gets the one of the kind chosen; an existing file is replaced only after a Yes,
// and a failed write keeps it.
TEST_F(PlotsFormTest, FileMenuExportsTheConstellationAndTheShownPlot) {
    ASSERT_TRUE(startForm("model_m2.dat")); // the map of poles and zeros is shown
    ASSERT_NE(form->findChild<QAction*>("mnuFileExport"), nullptr);
    ASSERT_TRUE(exportAs("fit.csv", 1));
    const std::string csv = Contents(in("fit.csv"));
    EXPECT_TRUE(csv.starts_with("element,number,real,")) << csv;
    EXPECT_EQ(prompter.dialogs.at(0).filterIndex, 1);
    EXPECT_EQ(prompter.dialogs.at(0).fileName, "model_m2");
    ASSERT_TRUE(exportAs("fit", 2));
    EXPECT_TRUE(Contents(in("fit.json")).starts_with("{\n  \"title\": \"Matched filter for"));
    EXPECT_FALSE(exportAs("map.csv", 3));
    EXPECT_EQ(said(),
              "The map of poles and zeros has no curves: export the constellation instead.");

    form->Next(); // the error amplitude
    ASSERT_TRUE(exportAs("error.csv", 3));
    EXPECT_EQ(prompter.dialogs.back().filterIndex, 3);
    EXPECT_TRUE(Contents(in("error.csv")).starts_with("Frequency (MHz),Error amplitude\r\n"));

    prompter = ScriptedPrompter();
    prompter.answer(PromptAnswer::No);
    EXPECT_FALSE(exportAs("fit.csv", 3));
    prompter.answer(PromptAnswer::Yes);             // replace it
    prompter.fallbackAnswer = PromptAnswer::Cancel; // and give up after the failure
    const SaveFaultHook previous =
        SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write ? ENOSPC : 0; });
    EXPECT_FALSE(exportAs("fit.csv", 1));
    SetSaveFaultHook(previous);
    EXPECT_EQ(Contents(in("fit.csv")), csv);
    const Prompt replace = ReplaceQuestion(in("fit.csv"));
    EXPECT_EQ(PromptTitles(prompter),
              (Titles{replace.title, replace.title, "In 'Export' routine ..."}));

    form->resultFile().Close();
    prompter = ScriptedPrompter();
    EXPECT_FALSE(form->findChild<ExportCommand*>()->Export());
    EXPECT_EQ(said(), "No result file is read: open one with Open Plot File ... first.");
}

} // namespace
