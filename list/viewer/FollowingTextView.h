#pragma once

#include "GrowingFile.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace veltrana {

/// A read-only, fixed-pitch view of a text file that follows it while it grows, as a terminal
/// does: it keeps to the end, also when the window is resized, until the reader scrolls up;
/// then it stays where the reader is until the reader scrolls back to the end.
class FollowingTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    /// Shows `path` at once and then polls it every `intervalMs` milliseconds.
    explicit FollowingTextView(const QString& path, int intervalMs = 250,
                               QWidget* parent = nullptr);
    static constexpr int kMaxLines = 200000;

    /// Takes in what was added to the file since the last look; false while it is missing.
    bool refresh();
    bool fileExists() const { return m_exists; }
    QString path() const;

signals:
    /// The file grew or was replaced.
    void changed();

private:
    GrowingFile m_file;
    QTimer m_timer;
    bool m_exists = false;
    bool m_following = true;
    bool m_updating = false; ///< the view itself is scrolling, not the reader
};

} // namespace veltrana
