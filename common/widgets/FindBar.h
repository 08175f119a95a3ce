#pragma once

#include <QTextDocument>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

namespace veltrana {

/// The find bar of a window that shows text: hidden until Ctrl+F; then Enter or F3 finds the
/// next match, Shift+Enter or Shift+F3 the previous one, both wrapping round, and Escape
/// closes the bar. The window's keys are set up on `window`.
class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(QPlainTextEdit* view, QWidget* window);
    FindBar(QTextEdit* view, QWidget* window);

    /// Selects the next (or previous) match of `text` after (before) the cursor, wrapping
    /// round the text; false, with the selection left alone, when there is none.
    bool find(const QString& text, bool backward = false);
    void open();
    /// Hides the bar and gives the focus back to the text.
    void close();

private:
    struct View {
        std::function<bool(const QString&, QTextDocument::FindFlags)> find;
        std::function<QTextCursor()> cursor;
        std::function<void(const QTextCursor&)> setCursor;
        QWidget* widget = nullptr;
    };
    template <class Editor> static View ViewOf(Editor* view);
    FindBar(View view, QWidget* window);
    void findFromBar(bool backward);

    View m_view;
    QLineEdit* m_text = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace veltrana
