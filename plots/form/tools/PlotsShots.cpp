// Saves a picture of each page of the plot window into the folder given on the command line:
// the Setup page before a run, then the Output page and the plots of a run over a sample file,
// the second plot with the readout of the pointer and zoomed, and that zoomed view printed to
// a PDF file.

#include "PlotsForm.h"
#include "RegistryStore.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace veltrana;

namespace {

void Shoot(PlotsForm& form, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    SaveShot(form, dir, name);
}

void ShowPage(PlotsForm& form, int page) {
    form.findChild<QTabWidget*>(QStringLiteral("Plot_Tabs"))->setCurrentIndex(page);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto folder = ShotFolder(argc, argv, "<output folder> [result file]");
    if (!folder)
        return 2;
    const QDir out = *folder;
    const std::string sample =
        argc > 2 ? argv[2] : std::string(PLOTS_SAMPLE_DATA) + "/model_m2.dat";
    QTemporaryDir temp;
    ScriptedPrompter prompter;

    {
        RegistryStore store(temp.filePath(QStringLiteral("empty")).toStdString());
        PlotsForm form(store, prompter);
        form.Main();
        Shoot(form, out, QStringLiteral("1-setup"));
        form.findChild<QCheckBox*>(QStringLiteral("chkXaxis"))->click();
        form.findChild<QCheckBox*>(QStringLiteral("chkBlacknWhite"))->click();
        Shoot(form, out, QStringLiteral("1-setup-checked"));
        form.close();
    }

    RegistryStore store(temp.filePath(QStringLiteral("registry")).toStdString());
    SaveFileIn(store, sample);
    PlotsForm form(store, prompter);
    if (!form.Main())
        return 1;
    ShowPage(form, 1);
    Shoot(form, out, QStringLiteral("2-output"));
    ShowPage(form, 2);
    // Every plot of the run, the last one (drawn as Next is disabled) included.
    for (int i = 1; i <= 8; ++i) {
        Shoot(form, out, QStringLiteral("3-plot%1").arg(i));
        if (i == 2) {
            // The readout under the pointer, then a zoomed part of the plot, printed as the
            // print dialog's PDF printer writes it.
            auto* box = form.findChild<QWidget*>(QStringLiteral("picBox"));
            QTest::mouseMove(box, QPoint(box->width() / 3, box->height() / 3));
            Shoot(form, out, QStringLiteral("3-plot2-readout"));
            const QPoint from(box->width() / 2, box->height() / 3);
            const QPoint to(box->width() * 9 / 10, box->height() * 98 / 100);
            QTest::mousePress(box, Qt::LeftButton, {}, from);
            QTest::mouseMove(box, to);
            QTest::mouseRelease(box, Qt::LeftButton, {}, to);
            Shoot(form, out, QStringLiteral("3-plot2-zoomed"));
            form.printer().setOutputFormat(QPrinter::PdfFormat);
            form.printer().setOutputFileName(out.filePath(QStringLiteral("4-print.pdf")));
            prompter.answerPrint(true);
            form.Print();
            form.Unzoom();
        }
        if (!form.findChild<QWidget*>(QStringLiteral("cmdNext"))->isEnabled())
            break;
        form.Next();
    }
    ShowPage(form, 1);
    Shoot(form, out, QStringLiteral("2-output-after"));
    form.close();
    return 0;
}
