#include "QtTestApp.h"

#include <QApplication>
#include <QTimer>

#include <memory>

namespace veltrana::test {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "veltrana-test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 200)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            act(modal);
    });
    timer->start(20);
}

} // namespace veltrana::test
