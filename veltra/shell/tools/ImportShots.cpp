// Saves pictures of the import dialog for a Touchstone file and for a text table, the main
// form after the import, and a refused paste with its message, into the folder given on the
// command line; with the built manual.html as second argument also the manual window at the
// chapter on importing, finding a word.

#include "DesignProblem.h"
#include "FindBar.h"
#include "FormTexts.h"
#include "ImportDialog.h"
#include "ImportedTables.h"
#include "MainForm.h"
#include "ManualWindow.h"
#include "QtPrompter.h"
#include "Screenshots.h"
#include "ShellState.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

using namespace veltrana;

namespace {

// A band-pass of two resonators, 0 to 1 GHz in 401 points, as a network analyser writes it.
std::string BandPassS2p() {
    std::string text = "! Agilent Technologies,E5071C\n! Date: Monday, March 4, 2024\n"
                       "# Hz S RI R 50\n";
    const double w1 = 2 * std::numbers::pi * 200e6, w2 = 2 * std::numbers::pi * 260e6;
    for (int k = 0; k <= 400; ++k) {
        const double f = k * 2.5e6;
        const std::complex<double> s(0, 2 * std::numbers::pi * f);
        const std::complex<double> h = (w1 / 4 * s) / (s * s + w1 / 4 * s + w1 * w1) *
                                       (w2 / 4 * s) / (s * s + w2 / 4 * s + w2 * w2) * 2.0;
        char line[200];
        std::snprintf(line, sizeof line, "%.0f %+.6e %+.6e %+.6e %+.6e %+.6e %+.6e 0 0\n", f, 0.1,
                      0.0, h.real(), h.imag(), h.real(), h.imag());
        text += line;
    }
    return text;
}

std::string AttenuatorCsv() {
    std::string text = "Frequency (kHz);Gain (dB);Phase (deg)\n";
    for (int k = 1; k <= 60; ++k) {
        char line[80];
        std::snprintf(line, sizeof line, "%d;%.2f;%.1f\n", k * 500,
                      -0.5 - 30.0 / (1 + std::pow(30.0 / k, 4)), -3.0 * k);
        std::string row(line);
        for (char& c : row)
            if (c == '.')
                c = ',';
        text += row;
    }
    return text;
}

bool Shoot(QWidget& widget, const QDir& dir, const char* name) {
    widget.show();
    QApplication::processEvents();
    return SaveShot(widget, dir, QString::fromLatin1(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto dir = ShotFolder(argc, argv);
    if (!dir)
        return 2;
    bool ok = true;

    MeasuredFile touchstone, table;
    ImportError error;
    if (!ParseMeasuredFile("bandpass.s2p", BandPassS2p(), touchstone, error) ||
        !ParseMeasuredFile("attenuator.csv", AttenuatorCsv(), table, error)) {
        std::fprintf(stderr, "%s\n", error.text().c_str());
        return 1;
    }
    {
        ImportDialog dialog(touchstone);
        dialog.findChild<QLineEdit*>("txtFrom")->setText("100");
        dialog.findChild<QLineEdit*>("txtTo")->setText("400");
        dialog.findChild<QSpinBox*>("spnMaxPoints")->setValue(60);
        dialog.findChild<QCheckBox*>("chkDelay")->setChecked(true);
        ok &= Shoot(dialog, *dir, "import-touchstone");
    }
    {
        ImportDialog dialog(table);
        ok &= Shoot(dialog, *dir, "import-table");
        dialog.findChild<QComboBox*>("cboYoutColumn")->setCurrentIndex(2);
        ok &= Shoot(dialog, *dir, "import-table-phase");
    }

    DesignProblem problem;
    ShellState state;
    QtPrompter prompter;
    MainForm form(problem, state, prompter);
    prompter.setParent(&form);
    form.setWindowTitle(QStringLiteral("bandpass.1 ... Veltrana, a Quenlith based program"));
    ImportChoices choices;
    choices.range = {100, 400, 60};
    choices.delay = true;
    ImportedTables tables;
    ImportTablesOf(touchstone, choices, tables, error);
    ApplyImport(problem, tables);
    form.GetAnswers();
    form.tabs()->setCurrentIndex(forms::kPassTab);
    ok &= Shoot(form, *dir, "import-passband");

    // A paste with a word in it: the message box is taken while it is up, then answered.
    QApplication::clipboard()->setText(QStringLiteral("100\t1\t0.5\n110\t1\tn/a\n120\t1\t0.4\n"));
    QTimer::singleShot(400, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ok &= SaveShot(*box, *dir, QStringLiteral("paste-error-message"));
            ok &= SaveShot(form, *dir, QStringLiteral("paste-error-form"));
            box->close();
        } else {
            std::fprintf(stderr, "no message box came up\n");
            ok = false;
        }
    });
    QTest::keyClick(form.findChild<QLineEdit*>("txtPassCellEditor"), Qt::Key_V,
                    Qt::ControlModifier);

    if (argc > 2) {
        ManualWindow manual;
        manual.showManual(QDir().absoluteFilePath(QString::fromLocal8Bit(argv[2])).toStdString());
        // The contents' link to the chapter, as a click follows it.
        manual.browser()->setSource(QUrl(QStringLiteral("#10-measured-data-in-results-out")));
        ok &= Shoot(manual, *dir, "manual-chapter");
        manual.findBar()->open();
        auto* text = manual.findChild<QLineEdit*>("txtFind");
        text->setText(QStringLiteral("Touchstone"));
        QTest::keyClick(text, Qt::Key_Return);
        ok &= Shoot(manual, *dir, "manual-import");
    }
    return ok ? 0 : 1;
}
