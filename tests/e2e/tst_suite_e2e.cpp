// veltra, the optimiser and plots as installed: an example problem is opened and submitted,
// or run as a demo, fitted, and its result comes up in plots. Run by run-e2e.sh, which installs the
// suite and provides the X display that plots shows its window on.
#include "FormTexts.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "ResultFile.h"
#include "ResultFileName.h"
#include "RunSummary.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <complex>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

constexpr const char* kExample = "Ex-Yzero.01";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

QString Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

struct ShownWindow {
    QString id;
    QString title;
};

// The windows shown on the X display (this test's own windows are offscreen).
std::vector<ShownWindow> ShownWindows() {
    std::vector<ShownWindow> shown;
    static const QRegularExpression child(QString::fromLatin1(R"re(^\s+(0x[0-9a-f]+) "(.*)":)re"));
    for (const QString& line : Output("xwininfo", {"-root", "-children"}).split('\n')) {
        auto m = child.match(line);
        if (m.hasMatch() &&
            Output("xwininfo", {"-id", m.captured(1)}).contains("Map State: IsViewable"))
            shown.push_back({m.captured(1), m.captured(2)});
    }
    return shown;
}

QString Titles(const std::vector<ShownWindow>& windows) {
    QStringList titles;
    for (const auto& w : windows)
        titles << w.title;
    return titles.join(" | ");
}

// The share of a window's pixels that have exactly the colour `rgb`.
double ColourShare(const QString& windowId, QRgb rgb, const fs::path& scratch) {
    const QString file = QString::fromStdString((scratch / "window.png").string());
    Output("import", {"-window", windowId, file});
    QImage image(file);
    if (image.isNull())
        return 0;
    image = image.convertToFormat(QImage::Format_RGB32);
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
    return double(count) / (double(image.width()) * image.height());
}

void Shot(QWidget* w, const char* name) {
    const std::string dir = Env("E2E_SHOTS");
    if (!dir.empty())
        w->grab().save(QString::fromStdString(dir) + "/" + name + ".png");
}

class SuiteEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tst_suite_e2e";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            new QApplication(argc, argv); // one for the whole program, until exit
    }

    void SetUp() override {
        family = Env("E2E_FAMILY");
        ASSERT_FALSE(family.empty()) << "run through run-e2e.sh";
        user = family / "Veltr.hz/User";
        // The plots window of an earlier test has gone.
        ASSERT_TRUE(QTest::qWaitFor([] { return ShownWindows().empty(); }, 10000));
        // plots clears it when its window closes; a killed plots leaves it for veltra's start.
        RegistryStore store;
        SaveFileIn(store, "");
        env = SystemEnvironment();
        env.launch = [this](const std::string& program) {
            launched.push_back(program);
            QProcess p;
            p.setProgram(QString::fromStdString(program));
            // plots shows its window on the X display, where the test can see it.
            QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
            e.insert("QT_QPA_PLATFORM", "xcb");
            p.setProcessEnvironment(e);
            return p.startDetached(&plotsPid);
        };
    }

    void TearDown() override {
        if (plotsPid > 0)
            ::kill(static_cast<pid_t>(plotsPid), SIGTERM);
    }

    /// Waits for the run to end, then checks that the result of `example` is where plots
    /// looks for it, that plots' own reader takes all of it, and that plots comes up with it.
    void expectResultInPlots(VeltraShell& shell, const std::string& example) {
        QTest::qWait(300);
        Shot(&shell.optimiserRun().window(), ("progress-" + example).c_str());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.runCommands().running(); }, 240000));
        for (const auto& p : prompter.prompts)
            ADD_FAILURE() << p.title << ": " << p.text;

        const std::string result = ResultFilePath(example, user.string());
        EXPECT_EQ(GetFileIn(RegistryStore()), result);
        ScriptedPrompter quiet;
        ResultFile file(quiet);
        ASSERT_EQ(file.ReadResultFile(result), ReadStatus::Ok);
        const std::string summary = WriteRunSummary(file.data());
        EXPECT_EQ(file.data().modelX, -2);
        EXPECT_NE(summary.find("Poles used were ..."), std::string::npos) << summary;
        EXPECT_NE(summary.find("   Gain: " + file.data().gainText), std::string::npos) << summary;
        EXPECT_GT(file.data().nPolePairs + file.data().nSigmaPoles, 0);
        EXPECT_TRUE(quiet.prompts.empty());

        // plots comes up, draws the first plot and stays up without a complaint. A result it
        // cannot read would show a message box (a second window) and leave the caption of a
        // failed read, or leave the picture box unpainted.
        ASSERT_EQ(launched, std::vector<std::string>{(family / "plots").string()});
        ASSERT_TRUE(QTest::qWaitFor([] { return !ShownWindows().empty(); }, 20000));
        // The plot's background, as plots draws it without saved settings (a loaded machine
        // may take a while to draw it).
        const QString shown = ShownWindows().front().id;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ColourShare(shown, qRgb(232, 232, 232), family) > 0.3; }, 20000));
        QTest::qWait(500); // a message box would come up by now
        const std::vector<ShownWindow> windows = ShownWindows();
        ASSERT_EQ(windows.size(), 1u) << Titles(windows).toStdString();
        EXPECT_NE(windows[0].title, "Plots from Tamsen Sys.");
        if (!Env("E2E_SHOTS").empty())
            Output("import",
                   {"-window", "root",
                    QString::fromStdString(Env("E2E_SHOTS") + "/plots-" + example + ".png")});
    }

    fs::path family, user;
    qint64 plotsPid = 0;
    std::vector<std::string> launched;
    StartupEnvironment env;
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(SuiteEndToEnd, ExampleProblemIsFittedAndItsResultComesUpInPlots) {
    VeltraShell shell(&prompter, env);
    ASSERT_TRUE(shell.start());
    prompter.answerFile(FileDialogAnswer{(user / kExample).string(), 2});
    shell.commands().runMenu(FileCommands::MenuCommand::Open);
    ASSERT_EQ(shell.state().currentFileName, kExample);
    // A frequency typed with a decimal comma is refused where it is typed; typed again with a
    // point, it is the value the file holds, and the example runs as it is.
    shell.form().show();
    shell.form().tabs()->setCurrentIndex(forms::kPassTab);
    auto* editor = shell.form().findChild<QLineEdit*>("txtPassCellEditor");
    ASSERT_EQ(editor->text(), "0.5");
    editor->selectAll();
    QTest::keyClicks(editor, "0,5");
    QTest::keyClick(editor, Qt::Key_Tab);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Not a number");
    EXPECT_EQ(editor->text(), "0,5");
    editor->selectAll();
    QTest::keyClicks(editor, "0.5");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_FALSE(shell.state().dataChanged);
    prompter.prompts.clear();
    shell.form().findChild<QPushButton*>("cmdSubmit")->click();
    ASSERT_TRUE(shell.runCommands().running())
        << (prompter.prompts.empty() ? "" : prompter.prompts[0].text);
    expectResultInPlots(shell, kExample);
}

TEST_F(SuiteEndToEnd, DemoRunEndsInPlotsShowingTheExample) {
    VeltraShell shell(&prompter, env);
    ASSERT_TRUE(shell.start());
    const std::string formFile = shell.state().currentFileName;
    shell.DemosMenuRun();
    // Ex-Delay.01 equalises group delay: its plots include the ripple section.
    auto options = shell.form().findChildren<QRadioButton*>();
    auto delay = std::find_if(options.begin(), options.end(),
                              [](QRadioButton* b) { return b->text().startsWith("Ex-Delay.01"); });
    ASSERT_NE(delay, options.end());
    (*delay)->click();
    shell.form().findChild<QPushButton*>("cmdRunDemo")->click();
    ASSERT_TRUE(shell.runCommands().running())
        << (prompter.prompts.empty() ? "" : prompter.prompts[0].text);
    EXPECT_EQ(shell.state().currentFileName, formFile); // the form's file stays
    expectResultInPlots(shell, "Ex-Delay.01");
}

// A measured response made from a known filter: two pole pairs (normalised by the 10 MHz of
// the template's question 5) give |S21|, written as a network analyser writes a two-port.
TEST_F(SuiteEndToEnd, ImportedMeasurementIsFittedAndItsResultComesUpInPlots) {
    auto s21 = [](double mhz) {
        const std::complex<double> s(0, mhz / 10);
        std::complex<double> h = 1;
        for (auto [a, b] : {std::pair{.35, .45}, std::pair{.15, .95}})
            h *= (a * a + b * b) / ((s + a) * (s + a) + b * b);
        return h;
    };
    std::string text = "! Made from a known H(s)\n# GHz S RI R 50\n";
    std::vector<double> magnitude;
    for (int k = 0; k <= 60; ++k) {
        const double mhz = k * 0.25;
        const std::complex<double> h = s21(mhz);
        magnitude.push_back(std::abs(h));
        char line[160];
        std::snprintf(line, sizeof line, "%.6f 0 0 %+.9e %+.9e 0 0 0 0\n", mhz / 1000, h.real(),
                      h.imag());
        text += line;
        if (k % 20 == 0)
            text += "! a comment between the points\n";
    }
    std::ofstream(user / "measured.S2P") << text;

    const std::string imported = "Imported.1";
    QProcess import;
    import.start(QString::fromStdString((family / "import-data").string()),
                 {"--to", "12", QString::fromStdString((user / "measured.S2P").string()),
                  QString::fromStdString((user / kExample).string()),
                  QString::fromStdString((user / imported).string())});
    ASSERT_TRUE(import.waitForFinished(10000));
    ASSERT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();

    VeltraShell shell(&prompter, env);
    ASSERT_TRUE(shell.start());
    prompter.answerFile(FileDialogAnswer{(user / imported).string(), 2});
    shell.commands().runMenu(FileCommands::MenuCommand::Open);
    ASSERT_EQ(shell.state().currentFileName, imported);
    ASSERT_EQ(shell.problem().nFreqPoints, 48); // 0.25 to 12 MHz: the 0 Hz point is left out
    shell.form().findChild<QPushButton*>("cmdSubmit")->click();
    ASSERT_TRUE(shell.runCommands().running())
        << (prompter.prompts.empty() ? "" : prompter.prompts[0].text);
    expectResultInPlots(shell, imported);

    // The fit's data are the measured magnitudes (plots draws columns 2 + 3 as the data).
    ScriptedPrompter quiet;
    ResultFile file(quiet);
    ASSERT_EQ(file.ReadResultFile(ResultFilePath(imported, user.string())), ReadStatus::Ok);
    const ResultData& d = file.data();
    ASSERT_EQ(d.nPoints, 48);
    for (int i = 0; i < d.nPoints; ++i) {
        EXPECT_DOUBLE_EQ(d.pointX[i], 0.25 * (i + 1));
        EXPECT_NEAR(d.pointY1[i] + d.pointY2[i], magnitude[i + 1], 1e-8);
    }
}
