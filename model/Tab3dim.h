#pragma once
// A fixed table of text cells [unit system 0..1][column 0..7][row 0..10].
// Row 0 is the lowest elevation; an empty string is an empty cell.
#include <array>
#include <string>

namespace velta {

inline constexpr int kUnitCopies = 2;
inline constexpr int kTabColumns = 8;
inline constexpr int kTabRows = 11;

struct Tab3dim {
    std::array<std::array<std::array<std::string, kTabRows>, kTabColumns>, kUnitCopies> cells{};

    std::string& operator()(int u, int col, int row) { return cells[u][col][row]; }
    const std::string& operator()(int u, int col, int row) const { return cells[u][col][row]; }

    // Empties columns [0, lastCol] of every row of both unit copies.
    void clearColumns(int lastCol = kTabColumns - 1)
    {
        for (auto& unit : cells)
            for (int c = 0; c <= lastCol; ++c)
                for (auto& cell : unit[c]) cell.clear();
    }
    bool operator==(const Tab3dim&) const = default;
};

}  // namespace velta
