#pragma once

#include <QMainWindow>

namespace veltrana {

class FindBar;
class FollowingTextView;

/// The suite's text viewer: one file, read-only, in a fixed-pitch font, following the file
/// while another program writes it. Ctrl+F opens the find bar; Enter or F3 finds the next
/// match, Shift+Enter or Shift+F3 the previous one, both wrapping round; Escape closes the
/// bar. The status bar says why the file cannot be shown, when it cannot.
class TextViewer : public QMainWindow {
    Q_OBJECT

public:
    explicit TextViewer(const QString& path, QWidget* parent = nullptr);

    /// Selects the next (or previous) match of `text` after (before) the cursor, wrapping
    /// round the file; false, with the selection left alone, when there is none.
    bool find(const QString& text, bool backward = false);
    void showFindBar();

    FollowingTextView& view() { return *m_view; }

private:
    FollowingTextView* m_view;
    FindBar* m_findBar;
};

/// Caption of the viewer's window for a file.
QString ViewerCaption(const QString& path);

} // namespace veltrana
