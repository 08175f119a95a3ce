#include "FollowingTextView.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace veltrana {

FollowingTextView::FollowingTextView(const QString& path, int intervalMs, QWidget* parent)
    : QPlainTextEdit(parent), m_file(path.toStdString()) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Nothing is typed here, and undo would keep every line ever shown or dropped.
    setUndoRedoEnabled(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QLatin1Char('i')) !=
        metrics.horizontalAdvance(QLatin1Char('W'))) {
        // Some platforms answer with a proportional font; fontconfig knows "monospace".
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    setFont(font);
    // Keep the cursor visible for keyboard reading and find, though nothing can be typed.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QScrollBar* bar = verticalScrollBar();
    // Only the reader's own scrolling decides whether the view keeps to the end: a change of
    // range (more lines, a resized window, a scroll bar that came or went) never does.
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
        if (!m_updating)
            m_following = value == bar->maximum();
    });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_following) {
            m_updating = true;
            bar->setValue(maximum);
            m_updating = false;
        }
    });
    refresh();
    connect(&m_timer, &QTimer::timeout, this, &FollowingTextView::refresh);
    m_timer.start(intervalMs);
}

QString FollowingTextView::path() const {
    return QString::fromStdString(m_file.path());
}

void FollowingTextView::setStatus(const QString& status) {
    if (status == m_status)
        return;
    m_status = status;
    // Shown while the view is empty, which it is whenever there is a status.
    setPlaceholderText(status);
    viewport()->update(); // a new placeholder over an empty view is not repainted by itself
    emit statusChanged(status);
}

// Listings are read from their end: a file beyond the budget keeps its last lines in view
// rather than the whole file in memory. Lines go from the top in one go, down to nine tenths
// of the budget, so that this happens seldom even while a large file streams in.
void FollowingTextView::dropOldestLines() {
    QTextDocument* doc = document();
    const int lines = doc->blockCount(), chars = doc->characterCount();
    if (chars <= kMaxChars && lines <= kMaxLines)
        return;
    const QTextBlock byChars = doc->findBlock(chars - kMaxChars / 10 * 9);
    const QTextBlock byLines = doc->findBlockByNumber(lines - kMaxLines / 10 * 9);
    const QTextBlock last = byChars.position() > byLines.position() ? byChars : byLines;
    QTextCursor top(doc);
    top.setPosition(last.position(), QTextCursor::KeepAnchor);
    top.removeSelectedText();
}

bool FollowingTextView::refresh() {
    GrowingFile::Update update = m_file.poll();
    m_exists = update.exists;
    m_caughtUp = !update.more;
    setStatus(QString::fromStdString(update.status));
    // A large file comes in pieces: the next one at once, the window staying responsive. A
    // piece may add nothing to show (the rest of a cut line).
    if (update.more && !m_pieceQueued) {
        m_pieceQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_pieceQueued = false;
            refresh();
        });
    }
    if (!update.restart && update.text.empty())
        return m_exists;
    QScrollBar* bar = verticalScrollBar();
    const int kept = bar->value();
    const QTextCursor selection = textCursor();
    m_updating = true;
    if (update.restart)
        clear();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromStdString(update.text));
    dropOldestLines();
    if (m_following) {
        bar->setValue(bar->maximum());
    } else if (!update.restart) {
        setTextCursor(selection);
        bar->setValue(kept);
    }
    m_updating = false;
    emit changed();
    return m_exists;
}

} // namespace veltrana
