#pragma once

#include "RunCommands.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <functional>

class QWidget;

namespace veltrana {

class ProgressWindow;

/// The optimiser as a child process, with the progress window that follows it. One run at a
/// time; the window stays open while the run goes on and closes when it ends.
class OptimiserRun : public QObject {
    Q_OBJECT

public:
    /// `ended` is called once per started run, after the child has gone.
    explicit OptimiserRun(std::function<void(const RunEnd&)> ended, QWidget* windowParent);
    ~OptimiserRun() override;

    /// Starts the child and shows the progress window; false when it could not be started.
    bool start(const OptimiserRequest& request);
    bool running() const;
    /// Ends the child: asked to stop first, killed when it does not within two seconds.
    void cancel();

    ProgressWindow& window() { return *m_window; }

private:
    void finished(int exitCode, QProcess::ExitStatus status);

    std::function<void(const RunEnd&)> m_ended;
    QProcess m_process;
    ProgressWindow* m_window;
    QTimer m_killTimer;
    bool m_cancelled = false;
};

} // namespace veltrana
