#pragma once

#include "GrowingFile.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace veltrana {

/// A read-only, fixed-pitch view of a text file that follows it while it grows, as a terminal
/// does: it keeps to the end, also when the window is resized, until the reader scrolls up;
/// then it stays where the reader is until the reader scrolls back to the end.
/// The view holds at most kMaxLines lines and about kMaxChars characters, the file's last
/// ones; when the path holds nothing it can show, status() says why (and so does the empty
/// view).
class FollowingTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    /// Shows `path` at once and then polls it every `intervalMs` milliseconds.
    explicit FollowingTextView(const QString& path, int intervalMs = 250,
                               QWidget* parent = nullptr);
    static constexpr int kMaxLines = 200000;
    static constexpr int kMaxChars = 16 << 20;

    /// Takes in what was added to the file since the last look; false while it is missing.
    bool refresh();
    bool fileExists() const { return m_exists; }
    QString path() const;
    /// True once the view holds the file to its end (a large file comes in pieces).
    bool caughtUp() const { return m_caughtUp; }
    /// Why the file cannot be shown (removed, a directory, a pipe, unreadable); "" when it is.
    const QString& status() const { return m_status; }

signals:
    /// The file grew or was replaced.
    void changed();
    void statusChanged(const QString& status);

private:
    void setStatus(const QString& status);
    void dropOldestLines();

    GrowingFile m_file;
    QTimer m_timer;
    bool m_exists = false;
    bool m_caughtUp = false;
    bool m_pieceQueued = false; ///< the next piece of a large file is on its way
    QString m_status;
    bool m_following = true;
    bool m_updating = false; ///< the view itself is scrolling, not the reader
};

} // namespace veltrana
