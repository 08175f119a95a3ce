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
/// time; the window stays open while the run goes on and closes when it ends. The child ends
/// with this process: it gets SIGTERM when its parent dies, however that happens.
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
    /// The program ends: the child is ended as by cancel(), waiting for it here, and nobody
    /// hears of its end.
    void endForExit();

    ProgressWindow& window() { return *m_window; }

private:
    void finished(int exitCode, QProcess::ExitStatus status);
    void takeErrorOutput();

    std::function<void(const RunEnd&)> m_ended;
    QProcess m_process;
    ProgressWindow* m_window;
    QTimer m_killTimer;
    bool m_cancelled = false;
    std::string m_errorOutput;
};

} // namespace veltrana
