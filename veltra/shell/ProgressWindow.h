#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace veltrana {

class FollowingTextView;

/// The window that keeps the user company while the optimiser runs: the input file, the
/// listing as it grows, the elapsed time, and Cancel. It does not block the main window.
/// Closing it counts as Cancel.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    /// Starts showing a run of `inputFile` that writes `listing`.
    void begin(const QString& inputFile, const QString& listing);
    /// Takes in the listing's last lines and stops the clock.
    void finish();
    /// "m:ss" (or "h:mm:ss" from an hour on) for a number of seconds.
    static QString ElapsedText(qint64 seconds);

signals:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void tick();

    QLabel* m_input;
    QLabel* m_elapsed;
    QPushButton* m_cancel;
    FollowingTextView* m_listing = nullptr;
    QElapsedTimer m_clock;
    QTimer m_ticker;
    bool m_running = false;
};

} // namespace veltrana
