// Saves pictures of the plot window at three inner sizes, 640 x 440, its designed size and
// 2560 x 1600, into the folder given on the command line: at each size the window's pages
// once, then every plot of a run over each result file named after the folder (a sample file
// when none is), as the plot box shows it: <file>-<width>-<n>.png.

#include "PlotsForm.h"
#include "RegistryStore.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto folder = ShotFolder(argc, argv, "<output folder> [result file ...]");
    if (!folder)
        return 2;
    const QDir out = *folder;
    std::vector<std::string> files(argv + 2, argv + argc);
    if (files.empty())
        files.push_back(std::string(PLOTS_SAMPLE_DATA) + "/model_m2.dat");

    QTemporaryDir temp;
    int failed = 0;
    for (const std::string& file : files) {
        ScriptedPrompter prompter;
        RegistryStore store(temp.filePath(QStringLiteral("registry")).toStdString());
        SaveFileIn(store, file);
        PlotsForm form(store, prompter);
        if (!form.Main()) {
            std::fprintf(stderr, "%s: no plot\n", file.c_str());
            ++failed;
            continue;
        }
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("Plot_Tabs"));
        auto* picBox = form.findChild<QWidget*>(QStringLiteral("picBox"));
        const QString name = QFileInfo(QString::fromStdString(file)).completeBaseName();
        for (const QSize size : {QSize(640, 440), QSize(1000, 720), QSize(2560, 1600)}) {
            form.resize(size);
            const QString w = QString::number(size.width());
            if (&file == &files.front()) {
                for (int page = 0; page < 3; ++page) {
                    tabs->setCurrentIndex(page);
                    QApplication::processEvents();
                    SaveShot(form, out, QStringLiteral("window-%1-page%2").arg(w).arg(page));
                }
            }
            form.Quit();
            form.Run();
            for (int plot = 1; plot <= 8; ++plot) {
                QApplication::processEvents();
                SaveShot(*picBox, out, QStringLiteral("%1-%2-%3").arg(name, w).arg(plot));
                if (!form.findChild<QWidget*>(QStringLiteral("cmdNext"))->isEnabled())
                    break;
                form.Next();
            }
        }
        for (const Prompt& p : prompter.prompts)
            std::fprintf(stderr, "%s: %s: %s\n", file.c_str(), p.title.c_str(), p.text.c_str());
        form.close();
    }
    return failed ? 1 : 0;
}
