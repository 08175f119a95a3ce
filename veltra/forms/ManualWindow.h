#pragma once

#include <QMainWindow>

#include <string>

class QTextBrowser;

namespace veltrana {

/// The user manual in a window of the suite's own, for a desktop with nothing that opens
/// HTML files.
class ManualWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ManualWindow(QWidget* parent = nullptr);

    /// Shows the manual at `path` (an HTML file); links inside it are followed here.
    void showManual(const std::string& path);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};

} // namespace veltrana
