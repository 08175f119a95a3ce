#include "FollowingTextView.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextCursor>

namespace veltrana {

FollowingTextView::FollowingTextView(const QString& path, int intervalMs, QWidget* parent)
    : QPlainTextEdit(parent), m_file(path.toStdString()) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Listings are read from their end; a file beyond this keeps its last lines in view
    // rather than the whole file in memory.
    setMaximumBlockCount(kMaxLines);
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

bool FollowingTextView::refresh() {
    GrowingFile::Update update = m_file.poll();
    m_exists = update.exists;
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
    if (m_following) {
        bar->setValue(bar->maximum());
    } else if (!update.restart) {
        setTextCursor(selection);
        bar->setValue(kept);
    }
    m_updating = false;
    emit changed();
    // A large file comes in pieces: the next one at once, the window staying responsive.
    if (update.more)
        QTimer::singleShot(0, this, &FollowingTextView::refresh);
    return m_exists;
}

} // namespace veltrana
