#pragma once
// A text grid bound to a GridState: the state's row 0 is shown as the column
// headers, its data rows 1..n as table rows 0..n-1. Column 0 can be made a
// fixed column that looks like a header and cannot be typed into.
#include <QPointer>
#include <QTableWidget>
#include <functional>

#include "forms/Grid.h"

namespace velta {

class EditorGrid : public QTableWidget {
    Q_OBJECT
public:
    EditorGrid(GridState& state, bool fixedFirstColumn, QWidget* parent = nullptr);

    // Rebuilds the table from the state (headers, rows, cells, current row).
    void refresh();
    // Commits the text of a cell editor that is still open into the state.
    void commitPendingEdit();
    // The state row under a widget position of the viewport, or 0 when the
    // position is below the last row.
    int stateRowAt(const QPoint& viewportPos) const;

    GridState& state() { return state_; }

signals:
    // A cell was typed into; the state already holds the new text.
    void cellEdited(int col, int stateRow);

private:
    GridState& state_;
    bool fixedFirstColumn_;
    bool refreshing_ = false;
    QPointer<QWidget> openEditor_;
    friend class EditorGridDelegate;
};

} // namespace velta
