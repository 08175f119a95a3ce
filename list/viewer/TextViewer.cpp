#include "TextViewer.h"

#include "FindBar.h"
#include "FollowingTextView.h"

#include <QFileInfo>
#include <QStatusBar>
#include <QVBoxLayout>

namespace veltrana {

QString ViewerCaption(const QString& path) {
    return QFileInfo(path).fileName() + QStringLiteral(" - List");
}

TextViewer::TextViewer(const QString& path, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(ViewerCaption(path));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_view = new FollowingTextView(path, 250, central);
    m_view->setObjectName(QStringLiteral("txtText"));
    layout->addWidget(m_view);

    m_findBar = new FindBar(m_view, this);
    layout->addWidget(m_findBar);
    setCentralWidget(central);
    resize(820, 600);
    statusBar()->showMessage(m_view->status());
    connect(m_view, &FollowingTextView::statusChanged, statusBar(),
            [this](const QString& status) { statusBar()->showMessage(status); });
}

void TextViewer::showFindBar() {
    m_findBar->open();
}

bool TextViewer::find(const QString& text, bool backward) {
    return m_findBar->find(text, backward);
}

} // namespace veltrana
