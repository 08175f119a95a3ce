#include "TextViewer.h"

#include "FollowingTextView.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
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

    m_findBar = new QWidget(central);
    m_findBar->setObjectName(QStringLiteral("fraFind"));
    auto* bar = new QHBoxLayout(m_findBar);
    bar->setContentsMargins(6, 2, 6, 4);
    bar->addWidget(new QLabel(tr("Find:"), m_findBar));
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("txtFind"));
    bar->addWidget(m_findText, 1);
    auto* next = new QPushButton(tr("&Next"), m_findBar);
    next->setObjectName(QStringLiteral("cmdFindNext"));
    auto* previous = new QPushButton(tr("&Previous"), m_findBar);
    previous->setObjectName(QStringLiteral("cmdFindPrevious"));
    bar->addWidget(next);
    bar->addWidget(previous);
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("lblFindStatus"));
    m_findStatus->setMinimumWidth(120);
    bar->addWidget(m_findStatus);
    layout->addWidget(m_findBar);
    m_findBar->hide();
    setCentralWidget(central);
    resize(820, 600);
    statusBar()->showMessage(m_view->status());
    connect(m_view, &FollowingTextView::statusChanged, statusBar(),
            [this](const QString& status) { statusBar()->showMessage(status); });

    connect(next, &QPushButton::clicked, this, [this] { findFromBar(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findFromBar(true); });
    connect(m_findText, &QLineEdit::returnPressed, this,
            [this] { findFromBar(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    new QShortcut(QKeySequence::Find, this, [this] { showFindBar(); });
    new QShortcut(QKeySequence::FindNext, this, [this] { findFromBar(false); });
    new QShortcut(QKeySequence::FindPrevious, this, [this] { findFromBar(true); });
    new QShortcut(QKeySequence(Qt::Key_Escape), m_findBar, [this] {
        m_findBar->hide();
        m_view->setFocus();
    });
}

void TextViewer::showFindBar() {
    m_findBar->show();
    m_findText->setFocus();
    m_findText->selectAll();
}

bool TextViewer::find(const QString& text, bool backward) {
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_view->find(text, flags))
        return true;
    // Wrap round: search again from the other end, keeping the old selection on failure.
    const QTextCursor kept = m_view->textCursor();
    QTextCursor from(m_view->document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_view->setTextCursor(from);
    if (m_view->find(text, flags))
        return true;
    m_view->setTextCursor(kept);
    return false;
}

void TextViewer::findFromBar(bool backward) {
    if (!m_findBar->isVisible()) {
        showFindBar();
        return;
    }
    const QString text = m_findText->text();
    m_findStatus->setText(text.isEmpty() || find(text, backward) ? QString() : tr("Not found"));
}

} // namespace veltrana
