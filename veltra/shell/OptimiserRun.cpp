#include "OptimiserRun.h"

#include "ProgressWindow.h"

#include <QWidget>

namespace veltrana {

namespace {
constexpr int kKillAfterMs = 2000;
constexpr int kStartTimeoutMs = 5000;
} // namespace

OptimiserRun::OptimiserRun(std::function<void(const RunEnd&)> ended, QWidget* windowParent)
    : m_ended(std::move(ended)), m_window(new ProgressWindow(windowParent)) {
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_killTimer.setSingleShot(true);
    connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
    connect(&m_process, &QProcess::finished, this, &OptimiserRun::finished);
    connect(m_window, &ProgressWindow::cancelRequested, this, &OptimiserRun::cancel);
}

OptimiserRun::~OptimiserRun() {
    // Nobody would be left to hear of its end.
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kKillAfterMs);
    }
}

bool OptimiserRun::start(const OptimiserRequest& request) {
    if (running())
        return false;
    QStringList args;
    for (const auto& a : request.arguments)
        args << QString::fromStdString(a);
    m_cancelled = false;
    m_process.setProgram(QString::fromStdString(request.program));
    m_process.setArguments(args);
    m_process.setWorkingDirectory(QString::fromStdString(request.workingDir));
    m_process.start();
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return false;
    m_window->begin(QString::fromStdString(request.inputFile),
                    QString::fromStdString(request.listing));
    m_window->show();
    m_window->raise();
    return true;
}

bool OptimiserRun::running() const {
    return m_process.state() != QProcess::NotRunning;
}

void OptimiserRun::cancel() {
    if (!running())
        return;
    m_cancelled = true;
    m_process.terminate();
    m_killTimer.start(kKillAfterMs);
}

void OptimiserRun::finished(int exitCode, QProcess::ExitStatus status) {
    m_killTimer.stop();
    m_window->finish();
    m_window->hide();
    RunEnd end;
    if (m_cancelled)
        end.how = RunEnd::How::Cancelled;
    else if (status == QProcess::CrashExit)
        end.how = RunEnd::How::Crashed;
    end.exitCode = exitCode;
    m_ended(end);
}

} // namespace veltrana
