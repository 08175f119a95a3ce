#include "PlotSettingsStore.h"
#include "PlotsForm.h"
#include "QtPrompter.h"
#include "ScriptedPrompter.h"
#include "Settings.h"

#include "TempDirTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const std::string kSamples = PLOTS_SAMPLE_DATA;

class PlotsFormTest : public TempDirTest {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tst_plots_form";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv); // one for the whole program, until exit
        TempDirTest::SetUp();
        store = std::make_unique<RegistryStore>(in("registry"));
    }
    void TearDown() override {
        form.reset();
        TempDirTest::TearDown();
    }

    /// fileIn as veltra leaves it; nothing at all when `path` is null.
    void setFileIn(const char* path) {
        if (path) {
            ASSERT_TRUE(SaveFileIn(*store, path).ok());
        }
    }
    std::string sample(const std::string& file) {
        std::filesystem::copy_file(kSamples + "/" + file, in(file));
        return in(file);
    }
    bool startForm() {
        form = std::make_unique<PlotsForm>(*store, prompter);
        return form->Main();
    }
    template <class W> W* control(const char* name) {
        W* w = form->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool enabled(const char* name) { return control<QWidget>(name)->isEnabled(); }
    int page() { return control<QTabWidget>("Plot_Tabs")->currentIndex(); }

    std::unique_ptr<RegistryStore> store;
    ScriptedPrompter prompter;
    std::unique_ptr<PlotsForm> form;
};

TEST_F(PlotsFormTest, StartWithoutAReadableFile) {
    struct Case {
        const char* fileIn; // null: no company key
        const char* caption;
        const char* promptTitle; // null: no message
        bool intoDirectory;
    };
    const std::string missing = in("missing.dat");
    const std::string damaged = kSamples + "/bad_first_record.dat";
    const Case cases[] = {
        {nullptr, "Plots for Quillon", nullptr, false},
        {missing.c_str(), "Plots for Quillon", nullptr, true},
        {damaged.c_str(), "Plots from Tamsen Sys.", "Reading data file error at --> ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileIn ? c.fileIn : "no key");
        prompter = ScriptedPrompter();
        store = std::make_unique<RegistryStore>(
            in(std::string("registry") + (c.fileIn ? c.fileIn[1] : 'x')));
        setFileIn(c.fileIn);
        EXPECT_TRUE(startForm());
        EXPECT_FALSE(enabled("cmdRun"));
        EXPECT_TRUE(enabled("cmdFileOpen"));
        EXPECT_EQ(page(), 0);
        EXPECT_EQ(form->windowTitle().toStdString(), c.caption);
        EXPECT_EQ(form->dataFile(), c.fileIn && !c.promptTitle ? c.fileIn : "");
        ASSERT_EQ(prompter.prompts.size(), c.promptTitle ? 1u : 0u);
        if (c.promptTitle) {
            EXPECT_EQ(prompter.prompts[0].title.rfind(c.promptTitle, 0), 0u);
        }
        if (c.intoDirectory) {
            EXPECT_EQ(std::filesystem::current_path(), m_dir);
        }
        // A click on another page and back must not start a run over nothing.
        control<QTabWidget>("Plot_Tabs")->setCurrentIndex(1);
        control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
        EXPECT_FALSE(enabled("cmdRun"));
    }
}

TEST_F(PlotsFormTest, NoDataInFileEndsTheProgram) {
    setFileIn(sample("no_rows.dat").c_str());
    EXPECT_FALSE(startForm());
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Must exit!");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(GetFileIn(*store), ""); // the close cleared it
}

TEST_F(PlotsFormTest, EverySampleFileStartsARunAndDrawsItsFirstPlot) {
    for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("model", 0) != 0)
            continue;
        SCOPED_TRACE(file);
        prompter = ScriptedPrompter();
        setFileIn(sample(file).c_str());
        ASSERT_TRUE(startForm());
        EXPECT_EQ(prompter.prompts.size(), 0u);
        EXPECT_EQ(form->dataFile(), in(file));
        EXPECT_EQ(form->windowTitle().toStdString(), "Plots for Quillon");
        EXPECT_FALSE(control<QPlainTextEdit>("tbOutBox")->toPlainText().isEmpty());
        EXPECT_EQ(form->engine().plotStep() > 0, true);
        EXPECT_FALSE(enabled("cmdRun"));
        const QImage& image = form->canvas().image();
        int drawn = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                drawn += image.pixel(x, y) != image.pixel(0, 0);
        EXPECT_GT(drawn, 200);
        form.reset();
    }
}

TEST_F(PlotsFormTest, RunCommandsFromQuitToExit) {
    setFileIn(sample("model1.dat").c_str());
    ASSERT_TRUE(startForm());
    form->showPlotPage();
    EXPECT_TRUE(enabled("cmdQuit"));
    EXPECT_TRUE(enabled("cmdPrint"));

    // The scaling boxes fill from the last plot, and keep what they hold.
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    control<QLineEdit>("txtXmin")->setText("7");
    control<QCheckBox>("chkXaxis")->click();
    control<QCheckBox>("chkYaxis")->click();
    EXPECT_EQ(control<QLineEdit>("txtXmin")->text(), "7");
    EXPECT_FALSE(control<QLineEdit>("txtXstep")->text().isEmpty());
    EXPECT_FALSE(control<QLineEdit>("txtYmin")->text().isEmpty());
    EXPECT_TRUE(form->plotSettings().fixedY);

    form->Quit();
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(form->engine().plotStep(), 0);
    EXPECT_TRUE(enabled("cmdRun"));
    EXPECT_TRUE(form->resultFile().isOpen());
    form->Run();
    EXPECT_GT(form->engine().plotStep(), 0);
    EXPECT_EQ(form->windowTitle().toStdString(), "model1.dat ... Plots from Tamsen Sys.");

    form->close();
    EXPECT_EQ(GetFileIn(*store), "");
    EXPECT_TRUE(store->KeyExists(RegRoot::CurrentUser, kCompanyKey));
}

TEST_F(PlotsFormTest, SettingsSurviveARestart) {
    ASSERT_TRUE(startForm());
    PlotSettings chosen = form->currentSettings();
    chosen.gridType = 3;
    chosen.gridLines = 2;
    chosen.fixedY = true;
    chosen.yMinText = "-2";
    chosen.yStepText = ".5";
    chosen.colours[PlotSettings::Background] = 0x203040;
    form->applySettings(chosen);
    form->SaveSettings();
    form.reset();
    ASSERT_TRUE(startForm());
    EXPECT_EQ(form->currentSettings(), chosen);
}

TEST_F(PlotsFormTest, OpenPlotFile) {
    ASSERT_TRUE(startForm());
    prompter.answerFile(std::nullopt); // Cancel keeps what was there
    form->FileOld();
    EXPECT_EQ(form->dataFile(), "");
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].title, "Open Response Input File");
    EXPECT_EQ(prompter.dialogs[0].filters[prompter.dialogs[0].filterIndex - 1].patterns, "*.dat");

    const std::string file = sample("model2.dat");
    prompter.answerFile(FileDialogAnswer{file, 2});
    form->FileOld();
    EXPECT_EQ(form->dataFile(), file);
    EXPECT_EQ(form->openDirectory(), m_dir.string());
    EXPECT_EQ(form->windowTitle().toStdString(), "model2.dat ... Plots from Tamsen Sys.");
    EXPECT_TRUE(enabled("cmdRun"));

    prompter.answerFile(FileDialogAnswer{kSamples + "/truncated_block.dat", 2});
    form->FileOld();
    EXPECT_EQ(form->dataFile(), "");
    EXPECT_FALSE(enabled("cmdRun"));
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title.rfind("Reading data file error at --> ", 0), 0u);
}

TEST_F(PlotsFormTest, SaveAsWritesTheShownPicture) {
    setFileIn(sample("model3.dat").c_str());
    ASSERT_TRUE(startForm());
    struct Case {
        const char* name;
        int filter;
        bool exists;
        PromptAnswer replace;
        bool saved;
        const char* format;
    };
    const Case cases[] = {
        {"plot.bmp", 1, false, PromptAnswer::Ok, true, "bmp"},
        {"plot.bmp", 1, true, PromptAnswer::No, false, "bmp"},
        {"plot.bmp", 1, true, PromptAnswer::Yes, true, "bmp"},
        {"plot", 2, false, PromptAnswer::Ok, true, "png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter = ScriptedPrompter();
        prompter.answerFile(FileDialogAnswer{in(c.name), c.filter});
        if (c.exists)
            prompter.answer(c.replace);
        EXPECT_EQ(form->FileSaveAs(), c.saved);
        EXPECT_EQ(prompter.dialogs[0].fileName, "model3.bmp");
        EXPECT_EQ(prompter.prompts.size(), c.exists ? 1u : 0u);
        const QImage reloaded(QString::fromStdString(in(c.name)), c.format);
        ASSERT_FALSE(reloaded.isNull());
        EXPECT_EQ(reloaded.convertToFormat(QImage::Format_RGB32),
                  form->canvas().image().convertToFormat(QImage::Format_RGB32));
    }
    prompter.answerFile(std::nullopt);
    EXPECT_FALSE(form->FileSaveAs());
}

TEST_F(PlotsFormTest, PrintGoesToThePdfChosen) {
    setFileIn(sample("model1.dat").c_str());
    ASSERT_TRUE(startForm());
    const std::string pdf = in("plot.pdf");
    form->printer().setOutputFormat(QPrinter::PdfFormat);
    form->printer().setOutputFileName(QString::fromStdString(pdf));
    prompter.answerPrint(false);
    form->Print();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    prompter.answerPrint(true);
    form->Print();
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    EXPECT_EQ(prompter.prompts.size(), 0u);
}

TEST_F(PlotsFormTest, ColoursAndStepBoxes) {
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
    EXPECT_FALSE(enabled("lblColor_5"));

    control<QCheckBox>("chkXaxis")->click();
    QLineEdit* step = control<QLineEdit>("txtXstep");
    const std::pair<const char*, bool> texts[] = {
        {"0.0", false}, {"abc", false}, {"", true}, {"1e-3", true}};
    for (const auto& [text, accepted] : texts) {
        prompter = ScriptedPrompter();
        step->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(step, &out);
        ASSERT_EQ(prompter.prompts.size(), accepted ? 0u : 1u) << text;
        if (!accepted) {
            EXPECT_EQ(prompter.prompts[0].text, "Please enter a non-zero number for X-step size.");
        }
    }
}

} // namespace

namespace {

// Runs `act` on the next modal widget once it is up; gives up after a few seconds.
void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 200)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            act(modal);
    });
    timer->start(20);
}

TEST_F(PlotsFormTest, RealPrintDialogPrintsToThePdfChosenInIt) {
    QtPrompter dialogs;
    setFileIn(sample("model2.dat").c_str());
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
        EXPECT_EQ(std::filesystem::exists(pdf), accept);
    }
}

} // namespace
