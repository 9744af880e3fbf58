// Where the headless list view puts its rows, so tests can press on a row as a user would.
#pragma once

namespace kit::headless {

// Pixels in the list view's client area: the column headers on top, then one row after another.
constexpr int kListHeaderPx = 17;
constexpr int kListRowPx = 14;
// The middle of a row (0-based) in client pixels.
constexpr int ListRowCenterY(int row) { return kListHeaderPx + row * kListRowPx + kListRowPx / 2; }

}  // namespace kit::headless
