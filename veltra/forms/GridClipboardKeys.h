#pragma once

#include "GridClipboard.h"

#include <QObject>

#include <array>

class QLineEdit;
class QTableWidget;
class QWidget;

namespace veltrana {

/// Ctrl+C, Ctrl+V and Ctrl+Z on the main form's two grids and their cell editors, through
/// the system clipboard. An editor keeps its own copy, paste and undo for text inside one
/// cell: selected text, a single value, typing to take back.
class GridClipboardKeys : public QObject {
    Q_OBJECT

public:
    /// Watches the grids PassData and DelayData of `form` and their editors.
    GridClipboardKeys(QWidget* form, FormView& view, GridEditing& grids, ShellState& state,
                      Prompter& prompter);

    GridClipboard& clipboard() { return m_clipboard; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool copy(Grid grid, bool fromEditor);
    bool paste(Grid grid, bool fromEditor);
    bool undo(Grid grid, bool fromEditor);

    GridEditing& m_grids;
    GridClipboard m_clipboard;
    std::array<QTableWidget*, 2> m_tables{};
    std::array<QLineEdit*, 2> m_editors{};
};

} // namespace veltrana
