#include "GridClipboardKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>

#include <algorithm>

namespace veltrana {

GridClipboardKeys::GridClipboardKeys(QWidget* form, FormView& view, GridEditing& grids,
                                     ShellState& state, Prompter& prompter)
    : QObject(form), m_grids(grids), m_clipboard(view, grids, state, prompter) {
    setObjectName(QStringLiteral("GridClipboardKeys"));
    m_tables = {form->findChild<QTableWidget*>(QStringLiteral("PassData")),
                form->findChild<QTableWidget*>(QStringLiteral("DelayData"))};
    m_editors = {form->findChild<QLineEdit*>(QStringLiteral("txtPassCellEditor")),
                 form->findChild<QLineEdit*>(QStringLiteral("txtDelayCellEditor"))};
    for (QObject* watched :
         {static_cast<QObject*>(m_tables[0]), static_cast<QObject*>(m_tables[1]),
          static_cast<QObject*>(m_editors[0]), static_cast<QObject*>(m_editors[1])})
        watched->installEventFilter(this);
}

bool GridClipboardKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    for (std::size_t i = 0; i < 2; ++i) {
        const Grid grid = i == 0 ? Grid::PassData : Grid::DelayData;
        const bool editor = watched == m_editors[i];
        if (!editor && watched != m_tables[i])
            continue;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return paste(grid, editor);
        if (key->matches(QKeySequence::Copy))
            return copy(grid, editor);
        if (key->matches(QKeySequence::Undo))
            return undo(grid, editor);
    }
    return false;
}

bool GridClipboardKeys::copy(Grid grid, bool fromEditor) {
    const std::size_t i = grid == Grid::PassData ? 0 : 1;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (fromEditor) {
        if (m_editors[i]->hasSelectedText())
            return false;
        clipboard->setText(m_editors[i]->text());
        return true;
    }
    const QList<QTableWidgetSelectionRange> ranges = m_tables[i]->selectedRanges();
    CellRange range;
    if (ranges.isEmpty()) {
        range.top = range.bottom = m_tables[i]->currentRow() + 1;
        range.left = range.right = m_tables[i]->currentColumn() + 1;
    } else {
        // Spreadsheets copy the block that takes in every selected cell.
        range = {ranges[0].topRow() + 1, ranges[0].leftColumn() + 1, ranges[0].bottomRow() + 1,
                 ranges[0].rightColumn() + 1};
        for (const auto& r : ranges) {
            range.top = std::min(range.top, r.topRow() + 1);
            range.left = std::min(range.left, r.leftColumn() + 1);
            range.bottom = std::max(range.bottom, r.bottomRow() + 1);
            range.right = std::max(range.right, r.rightColumn() + 1);
        }
    }
    if (range.top < 1 || range.left < 1)
        return true;
    clipboard->setText(QString::fromStdString(m_clipboard.CopyText(grid, range)));
    return true;
}

bool GridClipboardKeys::paste(Grid grid, bool fromEditor) {
    const std::size_t i = grid == Grid::PassData ? 0 : 1;
    const QString text = QGuiApplication::clipboard()->text();
    // One value goes into the editor's text where the caret stands.
    if (fromEditor && !text.trimmed().contains(QRegularExpression(QStringLiteral("[\\s,;]"))))
        return false;
    GridCell at{m_tables[i]->currentRow() + 1, m_tables[i]->currentColumn() + 1};
    if (fromEditor)
        at = m_grids.editCell(grid);
    if (at.row < 1 || at.column < 1)
        at = {1, 1};
    m_clipboard.Paste(grid, at, text.toStdString());
    return true;
}

bool GridClipboardKeys::undo(Grid grid, bool fromEditor) {
    const std::size_t i = grid == Grid::PassData ? 0 : 1;
    if (fromEditor && m_editors[i]->isUndoAvailable())
        return false;
    m_clipboard.UndoPaste();
    return true;
}

} // namespace veltrana
