#include "ErrorScheme.h"
#include "PlotsForm.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "SuiteIcons.h"
#include "WindowPlacement.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(veltrana::SuiteIcon("plots"));
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrana-plots"));
    veltrana::RegistryStore store;
    veltrana::QtPrompter prompter;
    veltrana::ShowStoreNotices(store, prompter);
    veltrana::PlotsForm form(store, prompter);
    prompter.setParent(&form);
    veltrana::KeepOnScreen(form);
    if (!form.Main())
        return 0;
    return app.exec();
}
