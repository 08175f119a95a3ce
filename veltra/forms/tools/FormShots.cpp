// Saves a picture of every tab of the main form, as a person would see it, into the folder
// given on the command line: first with the start values, then with a filled problem.

#include "DesignProblem.h"
#include "MainForm.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

using namespace veltrana;

namespace {

void FillProblem(DesignProblem& p) {
    p.Answers = {"Y",     "76.7",        "-2",          "-2", "Y",    "10", "10", "1  4",
                 ".02",   ".1 .1 .1 .1", ".2 .3 .4 .5", "Y",  ".05",  "N",  "N",  "1 1 0",
                 "1.111", ".01",         ".01",         "1",  ".005", "22", "",   ""};
    const int points = 25;
    p.Answers[22] = std::to_string(points);
    p.Answers[23] = "12";
    p.Freq.assign(points + 1, {});
    p.Yin = p.Yout = p.Weight = p.Freq;
    for (int i = 1; i <= points; ++i) {
        p.Freq[i] = std::to_string(i * 0.4).substr(0, 4);
        p.Yin[i] = "0.98" + std::to_string(i % 10);
        p.Yout[i] = "1.00" + std::to_string(i % 7);
        p.Weight[i] = i % 3 ? "1" : "2.5";
    }
    p.DelFreq.assign(13, {});
    p.TX = p.DelFreq;
    for (int i = 1; i <= 12; ++i) {
        p.DelFreq[i] = std::to_string(i * 0.8).substr(0, 4);
        p.TX[i] = "76." + std::to_string(i);
    }
    p.Note1 = "Fit of the 10 MHz band-pass, second try";
    p.Note2 = "Weights raised at the band edges";
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto dir = ShotFolder(argc, argv);
    if (!dir)
        return 2;
    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    MainForm form(problem, state, prompter);
    form.setWindowTitle(QStringLiteral("Veltrana - Start Up Values"));
    form.show();
    QApplication::processEvents();
    ShootTabs(form, *form.tabs(), *dir, QStringLiteral("start"));

    FillProblem(problem);
    form.tabs()->setCurrentIndex(0);
    form.GetAnswers();
    ShootTabs(form, *form.tabs(), *dir, QStringLiteral("filled"));
    return 0;
}
