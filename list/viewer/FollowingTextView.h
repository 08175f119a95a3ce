#pragma once

#include "GrowingFile.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace veltrana {

/// A read-only, fixed-pitch view of a text file that follows it while it grows. When the
/// view was scrolled to the end it stays at the end; otherwise it stays where the reader is.
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
};

} // namespace veltrana
