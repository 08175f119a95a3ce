// Saves a picture of each page of the plot window at its designed inner size, at 1.5 times it
// and at a small size, over a sample file, into the folder given on the command line. The
// plot page is shot twice per size: the plot kept from before the resize, then the next plot
// drawn at the new size.

#include "PlotsForm.h"
#include "RegistryStore.h"
#include "Screenshots.h"
#include "ScriptedPrompter.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

using namespace veltrana;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto folder = ShotFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir out = *folder;
    QTemporaryDir temp;
    ScriptedPrompter prompter;
    RegistryStore store(temp.filePath(QStringLiteral("registry")).toStdString());
    SaveFileIn(store, std::string(PLOTS_SAMPLE_DATA) + "/model_m2.dat");
    PlotsForm form(store, prompter);
    if (!form.Main())
        return 1;
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("Plot_Tabs"));
    auto shoot = [&](const QString& name) {
        QApplication::processEvents();
        SaveShot(form, out, name);
    };
    for (const QSize size : {QSize(1000, 720), QSize(1500, 1080), QSize(640, 440)}) {
        form.resize(size);
        const QString w = QString::number(size.width());
        for (int page = 0; page < 3; ++page) {
            tabs->setCurrentIndex(page);
            shoot(QStringLiteral("plots-%1-page%2").arg(w).arg(page));
        }
        form.Next();
        shoot(QStringLiteral("plots-%1-page2-next").arg(w));
    }
    return 0;
}
