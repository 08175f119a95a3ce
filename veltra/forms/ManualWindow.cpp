#include "ManualWindow.h"

#include "FindBar.h"
#include "ManualBrowser.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

namespace veltrana {

ManualWindow::ManualWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Veltrana Manual"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_browser = new ManualBrowser(central);
    m_browser->setObjectName(QStringLiteral("txtManual"));
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser);
    m_findBar = new FindBar(m_browser, this);
    layout->addWidget(m_findBar);
    setCentralWidget(central);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this, [this] { close(); });
    resize(860, 760);
}

void ManualWindow::keyPressEvent(QKeyEvent* event) {
    // Escape reaches the window when the find bar is closed (the bar takes it while open).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void ManualWindow::showManual(const std::string& path) {
    m_browser->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    show();
    raise();
    activateWindow();
}

} // namespace veltrana
