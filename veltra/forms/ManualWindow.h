#pragma once

#include <QMainWindow>

#include <string>

class QTextBrowser;

namespace veltrana {

class FindBar;

/// The user manual in a window of the suite's own, for a desktop with nothing that opens
/// HTML files. Ctrl+F finds text (F3 and Shift+F3 go on); Esc closes the find bar, or the
/// window when the bar is closed; Ctrl+W closes the window.
class ManualWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ManualWindow(QWidget* parent = nullptr);

    /// Shows the manual at `path` (an HTML file); links inside it are followed here.
    void showManual(const std::string& path);

    QTextBrowser* browser() const { return m_browser; }
    FindBar* findBar() const { return m_findBar; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* m_browser = nullptr;
    FindBar* m_findBar = nullptr;
};

} // namespace veltrana
