#include "OptimiserRun.h"

#include "ProgressWindow.h"
#include "RunLock.h"

#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace veltrana {

namespace {
constexpr int kKillAfterMs = 2000;
constexpr int kStartTimeoutMs = 5000;
// The end of the child's error output is its last word; the rest is kept no longer.
constexpr std::size_t kErrorOutputBytes = 4096;
} // namespace

OptimiserRun::OptimiserRun(std::function<void(const RunEnd&)> ended, QWidget* windowParent)
    : m_ended(std::move(ended)), m_window(new ProgressWindow(windowParent)) {
    m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    m_killTimer.setSingleShot(true);
    connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
    connect(&m_process, &QProcess::finished, this, &OptimiserRun::finished);
    connect(&m_process, &QProcess::readyReadStandardError, this, &OptimiserRun::takeErrorOutput);
    connect(m_window, &ProgressWindow::cancelRequested, this, &OptimiserRun::cancel);
}

OptimiserRun::~OptimiserRun() {
    endForExit();
}

void OptimiserRun::endForExit() {
    // Nobody would be left to hear of its end.
    m_process.disconnect(this);
    m_killTimer.stop();
    if (m_process.state() == QProcess::NotRunning)
        return;
    // As Cancel does: the optimiser removes its temporary file and says so in its listing.
    m_process.terminate();
    if (!m_process.waitForFinished(kKillAfterMs)) {
        m_process.kill();
        m_process.waitForFinished(kKillAfterMs);
    }
}

void OptimiserRun::takeErrorOutput() {
    m_errorOutput += m_process.readAllStandardError().toStdString();
    if (m_errorOutput.size() > kErrorOutputBytes)
        m_errorOutput.erase(0, m_errorOutput.size() - kErrorOutputBytes);
}

bool OptimiserRun::start(const OptimiserRequest& request) {
    if (running())
        return false;
    QStringList args;
    for (const auto& a : request.arguments)
        args << QString::fromStdString(a);
    m_cancelled = false;
    m_errorOutput.clear();
    m_process.setProgram(QString::fromStdString(request.program));
    m_process.setArguments(args);
    m_process.setWorkingDirectory(QString::fromStdString(request.workingDir));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (request.lockFd >= 0)
        environment.insert(kRunLockFdVariable, QString::number(request.lockFd));
    else
        environment.remove(kRunLockFdVariable);
    m_process.setProcessEnvironment(environment);
    // In the child, before the program starts: only async-signal-safe calls.
    const pid_t parent = ::getpid();
    const int lockFd = request.lockFd;
    m_process.setChildProcessModifier([parent, lockFd] {
        // A killed veltra must not leave its optimiser writing on, nor a result behind it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) // the parent died before that took hold
            ::_exit(127);
        // The optimiser runs under veltra's lock; everything else veltra starts must not.
        if (lockFd >= 0)
            ::fcntl(lockFd, F_SETFD, 0);
    });
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
    takeErrorOutput();
    end.errorOutput = m_errorOutput;
    m_ended(end);
}

} // namespace veltrana
