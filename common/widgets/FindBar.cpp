#include "FindBar.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>

namespace veltrana {

template <class Editor> FindBar::View FindBar::ViewOf(Editor* view) {
    return {[view](const QString& text, QTextDocument::FindFlags flags) {
                return view->find(text, flags);
            },
            [view] { return view->textCursor(); },
            [view](const QTextCursor& cursor) { view->setTextCursor(cursor); }, view};
}

FindBar::FindBar(QPlainTextEdit* view, QWidget* window) : FindBar(ViewOf(view), window) {}

FindBar::FindBar(QTextEdit* view, QWidget* window) : FindBar(ViewOf(view), window) {}

FindBar::FindBar(View view, QWidget* window) : QWidget(window), m_view(std::move(view)) {
    setObjectName(QStringLiteral("fraFind"));
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(6, 2, 6, 4);
    bar->addWidget(new QLabel(tr("Find:"), this));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("txtFind"));
    bar->addWidget(m_text, 1);
    auto* next = new QPushButton(tr("&Next"), this);
    next->setObjectName(QStringLiteral("cmdFindNext"));
    auto* previous = new QPushButton(tr("&Previous"), this);
    previous->setObjectName(QStringLiteral("cmdFindPrevious"));
    bar->addWidget(next);
    bar->addWidget(previous);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblFindStatus"));
    m_status->setMinimumWidth(120);
    bar->addWidget(m_status);
    hide();

    connect(next, &QPushButton::clicked, this, [this] { findFromBar(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findFromBar(true); });
    connect(m_text, &QLineEdit::returnPressed, this,
            [this] { findFromBar(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    new QShortcut(QKeySequence::Find, window, [this] { open(); });
    new QShortcut(QKeySequence::FindNext, window, [this] { findFromBar(false); });
    new QShortcut(QKeySequence::FindPrevious, window, [this] { findFromBar(true); });
    // Only while the bar has the focus, so that the window may give Escape a meaning of its own.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
    escape->setContext(Qt::WidgetWithChildrenShortcut);
}

void FindBar::open() {
    show();
    m_text->setFocus();
    m_text->selectAll();
}

void FindBar::close() {
    hide();
    m_view.widget->setFocus();
}

bool FindBar::find(const QString& text, bool backward) {
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_view.find(text, flags))
        return true;
    // Wrap round: search again from the other end, keeping the old selection on failure.
    const QTextCursor kept = m_view.cursor();
    QTextCursor from(kept.document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_view.setCursor(from);
    if (m_view.find(text, flags))
        return true;
    m_view.setCursor(kept);
    return false;
}

void FindBar::findFromBar(bool backward) {
    if (!isVisible()) {
        open();
        return;
    }
    const QString text = m_text->text();
    m_status->setText(text.isEmpty() || find(text, backward) ? QString() : tr("Not found"));
}

} // namespace veltrana
