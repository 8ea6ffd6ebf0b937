#include "app/EditorGrid.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace velta {

namespace {

QString headerText(const std::string& s)
{
    // Header texts may carry a carriage return after their line feed; the
    // header shows the line break only.
    QString t = QString::fromStdString(s);
    t.remove(QLatin1Char('\r'));
    return t;
}

} // namespace

// Remembers the open cell editor so that a pending edit can be committed
// before a command reads the state.
class EditorGridDelegate : public QStyledItemDelegate {
public:
    explicit EditorGridDelegate(EditorGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        grid_->openEditor_ = editor;
        return editor;
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (grid_->openEditor_ == editor) grid_->openEditor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    EditorGrid* grid_;
};

EditorGrid::EditorGrid(GridState& state, bool fixedFirstColumn, QWidget* parent)
    : QTableWidget(parent), state_(state), fixedFirstColumn_(fixedFirstColumn)
{
    setItemDelegate(new EditorGridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setWordWrap(false);

    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (refreshing_) return;
        const int row = item->row() + 1, col = item->column();
        if (row >= state_.rowCount() || col >= state_.columnCount()) return;
        state_.cell(col, row) = item->text().toStdString();
        emit cellEdited(col, row);
    });
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (refreshing_ || row < 0) return;
        state_.currentRow = row + 1;
    });
}

void EditorGrid::refresh()
{
    refreshing_ = true;
    const int keepColumn = currentColumn() < 0 ? (fixedFirstColumn_ ? 1 : 0) : currentColumn();
    const int cols = state_.columnCount();
    const int rows = state_.dataRows();
    if (columnCount() != cols) setColumnCount(cols);
    if (rowCount() != rows) setRowCount(rows);
    QStringList headers;
    for (int c = 0; c < cols; ++c) headers << headerText(state_.cell(c, 0));
    setHorizontalHeaderLabels(headers);
    const QBrush fixedBrush = palette().brush(QPalette::Button);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QString text = QString::fromStdString(state_.cell(c, r + 1));
            QTableWidgetItem* it = item(r, c);
            if (!it) {
                it = new QTableWidgetItem;
                setItem(r, c, it);
            }
            if (it->text() != text) it->setText(text);
            if (fixedFirstColumn_ && c == 0) {
                it->setFlags(Qt::ItemIsEnabled);
                it->setBackground(fixedBrush);
            } else {
                it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
        }
    }
    if (rows > 0) {
        const int row = std::clamp(state_.currentRow, 1, rows) - 1;
        int col = std::clamp(keepColumn, 0, cols - 1);
        if (fixedFirstColumn_ && col == 0 && cols > 1) col = 1;
        // The current cell follows the state without being highlighted.
        selectionModel()->setCurrentIndex(model()->index(row, col), QItemSelectionModel::NoUpdate);
    }
    refreshing_ = false;
}

void EditorGrid::commitPendingEdit()
{
    if (QWidget* editor = openEditor_) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int EditorGrid::stateRowAt(const QPoint& viewportPos) const
{
    const int row = rowAt(viewportPos.y());
    return row < 0 ? 0 : row + 1;
}

} // namespace velta
