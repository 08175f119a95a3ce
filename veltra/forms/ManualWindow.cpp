#include "ManualWindow.h"

#include "ManualBrowser.h"

#include <QUrl>

namespace veltrana {

ManualWindow::ManualWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Veltrana Manual"));
    m_browser = new ManualBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtManual"));
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);
    resize(860, 760);
}

void ManualWindow::showManual(const std::string& path) {
    m_browser->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    show();
    raise();
    activateWindow();
}

} // namespace veltrana
