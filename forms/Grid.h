#pragma once
// What an editable text grid holds: row 0 is the fixed header row and
// column 0 a fixed column; data rows are 1..rowCount()-1.
#include <string>
#include <vector>

namespace velta {

class GridState {
public:
    explicit GridState(int columns = 1) : columns_(columns)
    {
        rows_.assign(1, std::vector<std::string>(columns));
        tags_.assign(1, kNoTag);
    }

    // A row's tag says which stored row the grid row was loaded from, so that
    // what belongs to that row can follow it when rows are inserted, removed
    // or moved; rows added afterwards carry kNoTag.
    static constexpr int kNoTag = -1;
    int rowTag(int row) const { return row >= 0 && row < rowCount() ? tags_[row] : kNoTag; }
    void setRowTag(int row, int tag) { tags_.at(row) = tag; }

    int columnCount() const { return columns_; }
    void setColumnCount(int n)
    {
        columns_ = n;
        for (auto& r : rows_) r.resize(n);
    }
    // Rows including the header row.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int dataRows() const { return rowCount() - 1; }
    // Keeps the header; new rows are empty, removed rows are forgotten.
    void setDataRows(int n)
    {
        if (n < 0) n = 0;
        rows_.resize(n + 1, std::vector<std::string>(columns_));
        tags_.resize(n + 1, kNoTag);
    }
    std::string& cell(int col, int row) { return rows_.at(row).at(col); }
    // A data cell's text, or an empty text for a cell the grid does not have.
    std::string cellOrEmpty(int col, int row) const
    {
        if (row < 1 || row >= rowCount() || col < 0 || col >= columnCount()) return {};
        return cell(col, row);
    }
    const std::string& cell(int col, int row) const { return rows_.at(row).at(col); }
    // Inserts an empty row so that it becomes row `at` (1..rowCount()).
    void insertRow(int at)
    {
        rows_.insert(rows_.begin() + at, std::vector<std::string>(columns_));
        tags_.insert(tags_.begin() + at, kNoTag);
    }
    void removeRow(int at)
    {
        rows_.erase(rows_.begin() + at);
        tags_.erase(tags_.begin() + at);
    }
    void clearCells()
    {
        for (size_t r = 1; r < rows_.size(); ++r)
            for (auto& c : rows_[r]) c.clear();
    }

    int currentRow = 1;

private:
    int columns_;
    std::vector<std::vector<std::string>> rows_;
    std::vector<int> tags_;
};

}  // namespace velta
