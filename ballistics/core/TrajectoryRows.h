// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The table of a real-trajectory run without any window: ten texts per step as
// the integrator formats them, packed so that a run of two million steps fits,
// and the ten columns' captions and design widths. The window's table model
// shows these rows; the command line, the report's digest and the CSV read them
// directly.
//
//   TrajectoryRows rows;
//   rows.AppendRow({"1", "0.01", "0.699", ...});
//   rows.Cell(0, 2)                 // "0.699"
//   TrajectoryColumns()[1].Caption  // "T (seg)"
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Rows of texts packed one after another into large blocks: a row costs its
// texts' bytes, a length byte per text and eight bytes of bookkeeping, where a
// string per cell would cost about fifty bytes more per cell. A run of two
// million steps keeps its table this way in a few hundred megabytes. Blocks
// are never moved once written, so a long table grows without ever copying
// what it holds.
class TPackedRows {
public:
    // Appends one row of `count` texts (UTF-8).
    void Append(const std::string_view* cells, int count);
    void RemoveLast();
    void Clear();
    int Count() const { return static_cast<int>(starts_.size()); }
    // The text of a cell; throws std::out_of_range for a row that does not exist.
    std::string_view Cell(int row, int column) const;

private:
    static constexpr std::size_t kBlockBytes = 256 * 1024;
    struct Position {
        std::uint32_t block;
        std::uint32_t offset;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity;
    };
    char* Reserve(std::size_t bytes);

    std::vector<Block> blocks_;
    std::size_t used_ = 0; // bytes written into the last block
    std::deque<Position> starts_;
};

inline constexpr int kTrajectoryColumnCount = 10;

struct TrajectoryColumn {
    const char* Caption; // UTF-8
    int Width;           // design width in pixels
    bool Centred;        // else left-aligned
};
// "Iteración:", "T (seg)", "X (m)", "Y (m)", "Ax (m/s)", "Ay (m/s)", "Vfx (m/s)",
// "Vfy (m/s)", "Ec (Joules)", "Ec (kg·m2/s2)".
const std::array<TrajectoryColumn, kTrajectoryColumnCount>& TrajectoryColumns();

// A run's rows: TPackedRows of ten texts each.
class TrajectoryRows : public TPackedRows {
public:
    void AppendRow(const std::array<std::string, kTrajectoryColumnCount>& texts);
};

} // namespace korvo
