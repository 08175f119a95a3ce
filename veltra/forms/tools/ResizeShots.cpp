// Saves a picture of every tab of the main form at its designed inner size, at 1.5 times it
// and at a small size, with a filled problem and the pass-band editor open, into the folder
// given on the command line.

#include "DesignProblem.h"
#include "MainForm.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>
#include <string>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
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
        for (int i = 0; i < form.tabs()->count(); ++i) {
            form.tabs()->setCurrentIndex(i);
            QApplication::processEvents();
            const QString file =
                dir.filePath(QStringLiteral("main-%1-tab%2.png").arg(size.width()).arg(i));
            if (!form.grab().save(file))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        }
    }
    return 0;
}
