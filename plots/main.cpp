#include "ErrorScheme.h"
#include "PlotsForm.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "SuiteIcons.h"
#include "WindowChannel.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(veltrana::SuiteIcon("plots"));
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrana-plots"));
    veltrana::RegistryStore store;

    // One window per family: a window already open takes this start's file and comes to the
    // front; this start then ends.
    std::string fileIn;
    if (store.KeyExists(veltrana::RegRoot::CurrentUser, veltrana::kCompanyKey))
        fileIn = veltrana::GetFileIn(store);
    if (!fileIn.empty())
        fileIn = QFileInfo(QString::fromStdString(fileIn)).absoluteFilePath().toStdString();
    const QString family = qEnvironmentVariable("Quillon", QCoreApplication::applicationDirPath());
    veltrana::WindowChannel channel(veltrana::WindowChannel::ServerName(family.toStdString()));
    if (!channel.HandOverOrListen(fileIn))
        return 0;

    veltrana::QtPrompter prompter;
    veltrana::ShowStoreNotices(store, prompter);
    veltrana::PlotsForm form(store, prompter);
    prompter.setParent(&form);
    QObject::connect(&channel, &veltrana::WindowChannel::pathReceived, &form,
                     &veltrana::PlotsForm::TakeHandedFile);
    // A start while this window closes opens a window of its own rather than hand its file to
    // one that is going.
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &channel,
                     &veltrana::WindowChannel::StopListening);
    veltrana::KeepOnScreen(form);
    if (!form.Main())
        return 0;
    return app.exec();
}
