// Saves a picture of every tab of the main form at its designed inner size, at 1.5 times it
// and at a small size, with a filled problem and the pass-band editor open, into the folder
// given on the command line.

#include "DesignProblem.h"
#include "MainForm.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <string>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto dir = ShotFolder(argc, argv);
    if (!dir)
        return 2;
    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    MainForm form(problem, state, prompter);
    problem.Answers[4] = "Y";
    problem.Answers[22] = "30";
    problem.Freq.assign(31, {});
    problem.Yin = problem.Yout = problem.Weight = problem.Freq;
    for (int i = 1; i <= 30; ++i) {
        problem.Freq[i] = std::to_string(i * 0.25).substr(0, 4);
        problem.Yin[i] = "0.98" + std::to_string(i % 10);
        problem.Yout[i] = "1.00" + std::to_string(i % 7);
        problem.Weight[i] = "1";
    }
    form.GetAnswers();
    form.show();
    for (const QSize size : {QSize(800, 560), QSize(1200, 840), QSize(640, 440)}) {
        form.resize(size);
        ShootTabs(form, *form.tabs(), *dir, QStringLiteral("main-%1").arg(size.width()));
    }
    return 0;
}
