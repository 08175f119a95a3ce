#include "PlotsForm.h"
#include "QtPrompter.h"
#include "RegistryStore.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    veltrana::RegistryStore store;
    veltrana::QtPrompter prompter;
    veltrana::PlotsForm form(store, prompter);
    prompter.setParent(&form);
    if (!form.Main())
        return 0;
    return app.exec();
}
