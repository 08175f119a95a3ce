#include "ProgressWindow.h"

#include "FollowingTextView.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrana {

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProgress"));
    auto* layout = new QVBoxLayout(this);
    m_input = new QLabel(this);
    m_input->setObjectName(QStringLiteral("lblInputFile"));
    m_input->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_input);
    auto* row = new QHBoxLayout;
    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("lblElapsed"));
    row->addWidget(m_elapsed, 1);
    m_cancel = new QPushButton(tr("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    row->addWidget(m_cancel);
    layout->addLayout(row);
    resize(760, 480);
    KeepOnScreen(*this);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::cancelRequested);
    connect(&m_ticker, &QTimer::timeout, this, &ProgressWindow::tick);
}

QString ProgressWindow::ElapsedText(qint64 seconds) {
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    auto two = [](qint64 v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    return h > 0 ? QStringLiteral("%1:%2:%3").arg(h).arg(two(m), two(s))
                 : QStringLiteral("%1:%2").arg(m).arg(two(s));
}

void ProgressWindow::begin(const QString& inputFile, const QString& listing) {
    setWindowTitle(tr("Optimiser running - %1").arg(inputFile.section(QLatin1Char('/'), -1)));
    m_input->setText(tr("Input file: %1").arg(inputFile));
    // A fresh view per run: the listing is a new file each time.
    delete m_listing;
    m_listing = new FollowingTextView(listing, 200, this);
    m_listing->setObjectName(QStringLiteral("txtListing"));
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, m_listing, 1);
    m_cancel->setEnabled(true);
    m_running = true;
    m_clock.start();
    tick();
    m_ticker.start(250);
}

void ProgressWindow::finish() {
    m_running = false;
    m_ticker.stop();
    tick();
    if (m_listing)
        m_listing->refresh();
    m_cancel->setEnabled(false);
}

void ProgressWindow::tick() {
    m_elapsed->setText(tr("Elapsed time: %1").arg(ElapsedText(m_clock.elapsed() / 1000)));
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        emit cancelRequested();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace veltrana
