// Pasting 5,000 rows from the clipboard into the pass-band grid with Ctrl+V, as the user does
// it: the clipboard read, the checks, the cells written and the grid shown again.
// Run with QT_QPA_PLATFORM=offscreen.

#include "DesignProblem.h"
#include "FormTexts.h"
#include "MainForm.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace veltrana;

namespace {

void BM_PastePassBandRows(benchmark::State& bench) {
    const int rows = static_cast<int>(bench.range(0));
    QString text;
    for (int i = 1; i <= rows; ++i)
        text += QStringLiteral("%1\t0.9871\t%2\n").arg(i * 0.001).arg(1.0 / i);
    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    MainForm form(problem, state, prompter);
    form.show();
    form.tabs()->setCurrentIndex(forms::kPassTab);
    auto* editor = form.findChild<QLineEdit*>("txtPassCellEditor");
    auto* grid = form.findChild<QTableWidget*>("PassData");
    for (auto _ : bench) {
        bench.PauseTiming();
        problem = DesignProblem{};
        form.GetAnswers();
        QApplication::clipboard()->setText(text);
        QApplication::processEvents();
        bench.ResumeTiming();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        bench.PauseTiming();
        if (!prompter.prompts.empty() || !grid->item(rows - 1, 2))
            bench.SkipWithError("not pasted");
        bench.ResumeTiming();
    }
    bench.counters["rows"] = rows;
}
BENCHMARK(BM_PastePassBandRows)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
