#include "NoReadOverride.h"
#include "PlotFileRoutines.h"
#include "PlotSettingsStore.h"
#include "PlotsFormFixture.h"
#include "QtPrompter.h"
#include "Settings.h"
#include "Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const std::string kSamples = PLOTS_SAMPLE_DATA;

class PlotsFormTest : public PlotsFormFixture {
protected:
    bool enabled(const char* name) { return control<QWidget>(name)->isEnabled(); }
    int page() { return control<QTabWidget>("Plot_Tabs")->currentIndex(); }
};

TEST_F(PlotsFormTest, StartWithoutAReadableFileOrStore) {
    const std::string missing = in("missing.dat");
    const std::string damaged = kSamples + "/bad_first_record.dat";
    // fileIn (null: no company key, in a damaged store), caption, message title (null: none),
    // into fileIn's folder
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {nullptr, "Plots for Quillon", "Settings store", false},
        {missing.c_str(), "Plots for Quillon", nullptr, true},
        {damaged.c_str(), "Plots from Tamsen Sys.", "Reading data file error at --> ", false},
    };
    for (const auto& [fileIn, caption, promptTitle, intoDirectory] : cases) {
        SCOPED_TRACE(fileIn ? fileIn : "no key");
        prompter = ScriptedPrompter();
        const std::string registry = in(std::string("registry") + (fileIn ? fileIn[1] : 'x'));
        if (!fileIn) {
            std::ofstream(registry) << "not a store";
        }
        store = std::make_unique<RegistryStore>(registry);
        if (fileIn) {
            ASSERT_TRUE(SaveFileIn(*store, fileIn).ok());
        }
        EXPECT_TRUE(startForm());
        EXPECT_FALSE(enabled("cmdRun"));
        EXPECT_EQ(page(), 0);
        EXPECT_EQ(form->windowTitle().toStdString(), caption);
        EXPECT_EQ(form->dataFile(), fileIn && !promptTitle ? fileIn : "");
        ASSERT_EQ(prompter.prompts.size(), promptTitle ? 1u : 0u);
        if (promptTitle) {
            EXPECT_EQ(prompter.prompts[0].title.rfind(promptTitle, 0), 0u);
        }
        if (intoDirectory) {
            EXPECT_EQ(std::filesystem::current_path(), m_dir);
        }
        // A click on another page and back must not start a run over nothing.
        control<QTabWidget>("Plot_Tabs")->setCurrentIndex(1);
        control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
        EXPECT_FALSE(enabled("cmdRun"));
    }
}

TEST_F(PlotsFormTest, NoDataInFileEndsTheProgram) {
    EXPECT_FALSE(startForm("no_rows.dat"));
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Must exit!");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(GetFileIn(*store), ""); // the close cleared it
}

TEST_F(PlotsFormTest, RunCommandsFromQuitToExit) {
    ASSERT_TRUE(startForm("model1.dat"));
    EXPECT_EQ(page(), 2); // the first plot, ready to print and save
    EXPECT_TRUE(enabled("cmdPrint"));
    EXPECT_TRUE(enabled("cmdFileSaveAs"));

    // The scaling boxes keep what they hold (filling from the last plot: after Quit).
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    control<QLineEdit>("txtXmin")->setText("7");
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    EXPECT_EQ(control<QLineEdit>("txtXmin")->text(), "7");
    EXPECT_TRUE(form->plotSettings().fixedY);

    form->Quit();
    EXPECT_EQ(page(), 0);
    control<QLineEdit>("txtYstep")->clear(); // an empty box takes the last plot's range
    control<QCheckBox>("chkYaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    EXPECT_FALSE(control<QLineEdit>("txtYstep")->text().isEmpty());
    EXPECT_EQ(form->engine().plotStep(), 0);
    EXPECT_TRUE(enabled("cmdRun"));
    form->Run();
    EXPECT_GT(form->engine().plotStep(), 0);

    form->close();
    EXPECT_EQ(GetFileIn(*store), "");
    EXPECT_TRUE(store->KeyExists(RegRoot::CurrentUser, kCompanyKey));
}

// Another file opened during a run: the picture shown, and the name Save As proposes for it,
// are still the first file's.
TEST_F(PlotsFormTest, OpenPlotFileDuringARun) {
    ASSERT_TRUE(startForm("model3.dat"));
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    prompter.answerFile(std::nullopt); // Cancel keeps what was there
    form->FileOld();
    EXPECT_EQ(form->dataFile(), in("model3.dat"));
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].filters[prompter.dialogs[0].filterIndex - 1].patterns, "*.dat");

    const std::string file = kSamples + "/model2.dat";
    prompter.answerFile(FileDialogAnswer{file, 2});
    form->FileOld();
    EXPECT_EQ(form->dataFile(), file);
    EXPECT_EQ(form->openDirectory(), kSamples);
    EXPECT_EQ(form->windowTitle().toStdString(), "model2.dat ... Plots from Tamsen Sys.");
    EXPECT_TRUE(enabled("cmdRun"));
    form->showPlotPage();
    EXPECT_FALSE(enabled("cmdPrint"));
    EXPECT_FALSE(enabled("cmdFileSaveAs"));
    prompter.answerFile(std::nullopt);
    EXPECT_FALSE(form->FileSaveAs());
    EXPECT_EQ(prompter.dialogs.back().fileName, "model3.bmp");

    prompter.answerFile(FileDialogAnswer{kSamples + "/truncated_block.dat", 2});
    form->FileOld();
    EXPECT_EQ(form->dataFile(), "");
    EXPECT_FALSE(enabled("cmdRun"));
    EXPECT_EQ(prompter.prompts.size(), 1u);
}

TEST_F(PlotsFormTest, SaveAsWritesTheShownPlotAndAsksBeforeReplacing) {
    ASSERT_TRUE(startForm("model3.dat"));
    // typed name, filter, file there before, answer, saved, name written, how the file starts
    const std::tuple<const char*, int, bool, PromptAnswer, bool, const char*, const char*> cases[] =
        {
            {"plot.bmp", 1, false, PromptAnswer::Ok, true, "plot.bmp", "BM"},
            {"plot.bmp", 1, true, PromptAnswer::No, false, "plot.bmp", "BM"},
            {"plot.bmp", 1, true, PromptAnswer::Yes, true, "plot.bmp", "BM"},
            {"plot", 2, false, PromptAnswer::Ok, true, "plot.png", "\x89PNG"},
            {"plot", 3, false, PromptAnswer::Ok, true, "plot.svg", "<?xml"},
            {"plot", 4, false, PromptAnswer::Ok, true, "plot.pdf", "%PDF"},
            {"plot", 4, true, PromptAnswer::No, false, "plot.pdf", "%PDF"}, // asked for plot.pdf
        };
    for (const auto& [name, filter, exists, replace, saved, written, magic] : cases) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(filter));
        prompter = ScriptedPrompter();
        prompter.answerFile(FileDialogAnswer{in(name), filter});
        if (exists)
            prompter.answer(replace);
        EXPECT_EQ(form->FileSaveAs(), saved);
        ASSERT_EQ(prompter.prompts.size(), exists ? 1u : 0u);
        if (exists) {
            EXPECT_EQ(prompter.prompts[0], ReplaceQuestion(in(written)));
        }
        const std::string bytes = Contents(in(written));
        EXPECT_EQ(bytes.rfind(magic, 0), 0u);
        if (written == std::string("plot.bmp")) {
            const QImage reloaded(QString::fromStdString(in(written)), "BMP");
            EXPECT_EQ(reloaded.convertToFormat(QImage::Format_RGB32),
                      form->canvas().image().convertToFormat(QImage::Format_RGB32));
        }
    }
}

TEST_F(PlotsFormTest, ColoursAndBlackAndWhite) {
    ASSERT_TRUE(startForm());
    prompter.answerColor(0x00FF00);
    prompter.answerColor(std::nullopt);
    form->PickColor(PlotSettings::Curve1);
    form->PickColor(PlotSettings::Curve2);
    EXPECT_EQ(prompter.colorPresets,
              (std::vector<std::uint32_t>{kNoKeyColours[3], kNoKeyColours[4]}));
    EXPECT_EQ(form->plotSettings().colours[PlotSettings::Curve1], 0x00FF00u);
    EXPECT_EQ(form->plotSettings().colours[PlotSettings::Curve2], kNoKeyColours[4]);

    control<QCheckBox>("chkBlacknWhite")->click();
    EXPECT_FALSE(enabled("cmdColor_0"));
}

// Leaving a scaling box checks its number; two boxes holding zero ask once instead of in turn
// for ever.
TEST_F(PlotsFormTest, StepBoxesTakeOnlyNonZeroNumbers) {
    ASSERT_TRUE(startForm());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    QLineEdit* x = control<QLineEdit>("txtXstep");
    QLineEdit* y = control<QLineEdit>("txtYstep");
    const std::tuple<const char*, const char*, size_t> cases[] = {
        {"0", "0", 1}, {"0.0", "1", 1}, {"abc", "1", 1}, {"", "1", 0}, {"1e-3", "1", 0}};
    for (const auto& [xText, yText, prompts] : cases) {
        SCOPED_TRACE(xText);
        prompter = ScriptedPrompter();
        x->setText(xText);
        y->setText(yText);
        x->setFocus();
        y->setFocus(); // leaves the X box
        QTest::qWait(100);
        EXPECT_EQ(prompter.prompts.size(), prompts);
        EXPECT_EQ(x->hasFocus(), prompts > 0); // the X box asks and keeps the focus
    }
}

// The minimum boxes are checked too, and every box takes only a whole number: "1,5" is not
// 1, " 2 5" not 25, "abc" not 0. A step must also be above 0.
TEST_F(PlotsFormTest, ScalingBoxesTakeWholeNumbersAndStepsAboveZero) {
    ASSERT_TRUE(startForm());
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"txtXmin", "1,5", "Please enter a number for X-min value."},
        {"txtYmin", " 2 5", "Please enter a number for Y-min value."},
        {"txtXmin", "abc", "Please enter a number for X-min value."},
        {"txtXmin", " -2.5 ", nullptr},
        {"txtYmin", "", nullptr},
        {"txtXstep", "1,5", "Please enter a non-zero number for X-step size."},
        {"txtYstep", "-1", "Please enter a positive number for Y-step size."},
        {"txtYstep", "2.5", nullptr},
    };
    for (const auto& [name, text, message] : cases) {
        SCOPED_TRACE(std::string(name) + " \"" + text + "\"");
        prompter = ScriptedPrompter();
        QLineEdit* box = control<QLineEdit>(name);
        // Left for a box that holds nothing to check.
        QLineEdit* other =
            control<QLineEdit>(box->objectName() == "txtXmin" ? "txtYmin" : "txtXmin");
        other->clear();
        box->setText(text);
        box->setFocus();
        other->setFocus();
        QTest::qWait(20);
        ASSERT_EQ(prompter.prompts.size(), message ? 1u : 0u);
        if (message) {
            EXPECT_EQ(prompter.prompts[0].text, message);
        }
        EXPECT_EQ(box->hasFocus(), message != nullptr);
        box->clear();
    }
}

// A ticked axis whose range cannot be used is said once per run, not dropped without a word.
TEST_F(PlotsFormTest, AnUnusableFixedRangeIsReportedOnce) {
    ASSERT_TRUE(startForm());
    control<QCheckBox>("chkXaxis")->click(); // no plot yet: the boxes stay empty
    prompter.answerFile(FileDialogAnswer{sample("model3.dat"), 2});
    form->FileOld();
    form->Run();
    form->Next();
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text, "The X-axis range of the Setup page is not used: the "
                                        "minimum is empty. The plots take their X range from "
                                        "the data.");
}

// After the map (whose real axis runs downward) the Y range is proposed the right way up.
TEST_F(PlotsFormTest, RangesProposedFromTheMapAreTheRightWayUp) {
    ASSERT_TRUE(startForm("model_m2.dat"));
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    const double yMin = NumericValue(control<QLineEdit>("txtYmin")->text().toStdString());
    const double yStep = NumericValue(control<QLineEdit>("txtYstep")->text().toStdString());
    EXPECT_EQ(yMin, std::min(form->engine().yMin(), form->engine().yMax()));
    EXPECT_NEAR(yMin + 5 * yStep, std::max(form->engine().yMin(), form->engine().yMax()), 1e-9);
    EXPECT_GT(NumericValue(control<QLineEdit>("txtXstep")->text().toStdString()), 0);
    EXPECT_TRUE(prompter.prompts.empty());
}

// A result file that cannot be read is reported under the routine that tried: the start-up,
// the open command or Quit; one that is gone at Quit is reported, not met with a grey button.
TEST_F(PlotsFormTest, AFileThatCannotBeReadIsReportedUnderTheRoutineThatTried) {
    NoReadOverride unreadable;
    if (!unreadable.ok())
        GTEST_SKIP() << "files cannot be made unreadable here";
    const std::string path = sample("model3.dat");
    const auto lock = [&path] { std::filesystem::permissions(path, std::filesystem::perms::none); };
    // how the file is reached, what happens to it first, the message's title, its text's start
    const std::tuple<const char*, std::function<void()>, const char*, std::string> cases[] = {
        {"start-up", lock, "In 'Main' routine ...", "Unexpected error #13"},
        {"open", lock, "In 'FileOld' routine ...", "Unexpected error #13"},
        {"Quit", lock, "In 'cmdQuit' routine ...", "Unexpected error #13"},
        {"Quit", [&path] { std::filesystem::remove(path); }, "In 'cmdQuit' routine ...",
         path + "\r\nThis result file is no longer there"},
    };
    for (const auto& [when, spoil, title, text] : cases) {
        SCOPED_TRACE(std::string(when) + " " + title + " " + text);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        ASSERT_TRUE(SaveFileIn(*store, path).ok());
        if (std::string(when) == "start-up")
            spoil();
        prompter = ScriptedPrompter();
        form = std::make_unique<PlotsForm>(*store, prompter);
        EXPECT_TRUE(form->Main());
        if (std::string(when) == "open") {
            spoil();
            prompter.answerFile(FileDialogAnswer{path, 2});
            form->FileOld();
        }
        if (std::string(when) == "Quit") {
            spoil();
            form->Quit();
        }
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].title, title);
        EXPECT_EQ(prompter.prompts[0].text.rfind(text, 0), 0u) << prompter.prompts[0].text;
        EXPECT_FALSE(enabled("cmdRun"));
        if (!std::filesystem::exists(path))
            std::filesystem::copy_file(std::string(PLOTS_SAMPLE_DATA) + "/model3.dat", path);
    }
}

// The Output page ends the run's summary with the fit's figures in words; a model without a
// fit to data (an ODE solution) has none.
TEST_F(PlotsFormTest, TheOutputPageSaysWhatTheFitAchieved) {
    const std::tuple<const char*, std::vector<std::string>> cases[] = {
        {"model_m2.dat",
         {"Fit achieved", "Over the 5 pass-band points the error, relative to the largest data value,",
          "The group delay ripples by 0.03 ns peak to peak."}},
        {"model3.dat", {"Fit achieved", "Over the 2 data points"}},
        {"model0.dat", {}},
    };
    for (const auto& [file, words] : cases) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(startForm(file));
        const std::string output = control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString();
        const size_t summaryEnd = output.find("Summary of Run");
        for (const std::string& text : words) {
            ASSERT_NE(output.find(text), std::string::npos) << text << "\n" << output;
            EXPECT_GT(output.find(text), summaryEnd) << text;
        }
        EXPECT_EQ(output.find("Fit achieved") == std::string::npos, words.empty());
        form.reset();
    }
}

// A file handed over by a later start: the window runs it, caption and all; the same file,
// unchanged, only brings the window up, while one rewritten since is read again.
TEST_F(PlotsFormTest, AHandedFileStartsItsRunInThisWindow) {
    ASSERT_TRUE(startForm("model_m2.dat"));
    const std::string other = sample("model3.dat");
    form->TakeHandedFile(other);
    EXPECT_EQ(form->dataFile(), other);
    EXPECT_EQ(form->windowTitle().toStdString(), "model3.dat ... Plots from Tamsen Sys.");
    EXPECT_EQ(page(), 2);
    EXPECT_EQ(form->engine().plotStep(), 2); // its first plot is drawn

    form->Next();
    form->TakeHandedFile(other);
    form->TakeHandedFile("");
    EXPECT_EQ(form->engine().plotStep(), 3); // still where the user left it

    std::ofstream(other, std::ios::app) << "\n"; // a new run wrote it again
    form->TakeHandedFile(other);
    EXPECT_EQ(form->engine().plotStep(), 2);

    form->TakeHandedFile(in("gone.dat"));
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "In 'Main' routine ...");
    EXPECT_EQ(prompter.prompts[0].text, in("gone.dat") + "\r\nThis result file is not there.");
    EXPECT_FALSE(enabled("cmdRun"));
}

// Closing clears fileIn only while it names a file of this window: a newer run's, named
// elsewhere since, is left for that run.
TEST_F(PlotsFormTest, ClosingLeavesANewerRunsFileInAlone) {
    const std::tuple<const char*, bool> cases[] = {
        {"model_m2.dat", true}, // the file it was started with
        {"model3.dat", true},   // a file handed to it
        {"newer.dat", false},   // a run started elsewhere since
    };
    for (const auto& [named, cleared] : cases) {
        SCOPED_TRACE(named);
        ASSERT_TRUE(startForm("model_m2.dat"));
        form->TakeHandedFile(sample("model3.dat"));
        ASSERT_TRUE(SaveFileIn(*store, in(named)).ok());
        form->close();
        EXPECT_EQ(GetFileIn(*store), cleared ? "" : in(named));
        form.reset();
        std::filesystem::remove(in("model_m2.dat"));
        std::filesystem::remove(in("model3.dat"));
    }
}

TEST_F(PlotsFormTest, APlotThatCannotBeDrawnIsSaidWithItsFile) {
    const std::string path = in("huge.dat");
    std::ofstream(path) << "t\ns\nx\n7 0 2\n0 0 1.5e308\n1 0 -1.7e308\n";
    ASSERT_TRUE(SaveFileIn(*store, path).ok());
    ASSERT_TRUE(startForm());
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Plot not drawn");
    EXPECT_EQ(prompter.prompts[0].text,
              path + "\r\nThe Y values of this plot run from -1.7E+308 to 1.5E+308, a range too "
                     "wide to draw.");
    EXPECT_TRUE(enabled("cmdNext")); // the next plot may well be drawn
}

// The pointer's values in the readout; a dragged rectangle zooms, Esc and a double click go
// back; Save As writes the view shown.
TEST_F(PlotsFormTest, ReadoutAndZoomWithTheMouse) {
    ASSERT_TRUE(startForm("model3.dat"));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QWidget* box = control<QWidget>("picBox");
    QLabel* readout = control<QLabel>("lblReadout");
    const QImage whole = form->canvas().image().copy();
    QTest::mouseMove(box, QPoint(300, 200));
    EXPECT_TRUE(readout->text().startsWith("X = ")) << readout->text().toStdString();

    for (const auto& back : {std::function<void()>([] {
                                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                             }),
                             std::function<void()>([box] {
                                 QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
                             })}) {
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 150));
        QTest::mouseMove(box, QPoint(400, 300));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(400, 300));
        ASSERT_TRUE(form->engine().zoomed());
        EXPECT_NE(form->canvas().image(), whole);
        prompter.answerFile(FileDialogAnswer{in("zoomed.png"), 2});
        ASSERT_TRUE(form->FileSaveAs());
        EXPECT_EQ(
            QImage(QString::fromStdString(in("zoomed.png"))).convertToFormat(QImage::Format_RGB32),
            form->canvas().image().convertToFormat(QImage::Format_RGB32));
        std::filesystem::remove(in("zoomed.png"));
        back();
        EXPECT_FALSE(form->engine().zoomed());
        EXPECT_EQ(form->canvas().image(), whole);
    }
    // A click is no rectangle.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(250, 250));
    EXPECT_FALSE(form->engine().zoomed());
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(PlotsFormTest, BlackAndWhiteKeepsTheColourControlsOffDuringARun) {
    ASSERT_TRUE(startForm());
    control<QCheckBox>("chkBlacknWhite")->click();
    prompter.answerFile(FileDialogAnswer{sample("model3.dat"), 2});
    form->FileOld();
    form->Run();
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0); // the run goes on
    for (const char* name : {"cmdColor_3", "txtColor_3", "lblColor_3"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(enabled("chkBlacknWhite"));
}

TEST_F(PlotsFormTest, RealPrintDialogPrintsToThePdfChosenInIt) {
    QtPrompter dialogs;
    ASSERT_TRUE(SaveFileIn(*store, sample("model2.dat")).ok());
    form = std::make_unique<PlotsForm>(*store, dialogs);
    ASSERT_TRUE(form->Main());
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

} // namespace
