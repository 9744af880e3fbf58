// Headless list views: a press on a row selects it before the control hears of the press, as
// the native list does; the release raises the row click and then the click; the arrow keys,
// Home and End move the selection. It paints its background picture below the headers.
#include <algorithm>

#include "kit/gdi.h"
#include "kit/headless/headless_listview.h"
#include "kit/headless/press_first.h"
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/listview.h"

namespace kit::headless {
namespace {

class HeadlessListViewPeer : private PressFirstHolder, public HeadlessPeer<ListViewPeer> {
public:
    HeadlessListViewPeer(Handle parent, WindowSink* sink, ListViewEvents* events)
        : HeadlessPeer<ListViewPeer>(parent, &pressFirst, "listview"), list_(events) {
        border = 2;
        pressFirst.next = sink;
        pressFirst.press = [this](int button, int x, int y) { press(button, x, y); };
    }

    void addColumn(const std::string& title, int widthPx) override { columns_.push_back({title, widthPx}); }
    void addRow(const std::string& text) override {
        rows_.push_back({text});
        rows_.back().resize(std::max<std::size_t>(columns_.size(), 1));
    }
    void setCell(int row, int column, const std::string& text) override {
        if (row < 0 || row >= static_cast<int>(rows_.size())) return;
        if (column >= static_cast<int>(rows_[row].size())) rows_[row].resize(column + 1);
        rows_[row][column] = text;
    }
    void removeRow(int row) override {
        if (row < 0 || row >= static_cast<int>(rows_.size())) return;
        rows_.erase(rows_.begin() + row);
        if (selected_ == row)
            selected_ = -1;
        else if (selected_ > row)
            --selected_;
    }
    void clearRows() override {
        rows_.clear();
        selected_ = -1;
    }
    void selectRow(int row) override { selected_ = row; }
    int rowHeightPx() const override { return rows_.empty() ? 0 : kListRowPx; }
    void setBackground(Handle bitmap) override { background_ = bitmap; }

    bool takesFocus() const override { return true; }
    void nativeClick(int button, int, int) override {
        const int row = pressed_;
        pressed_ = -1;
        if (button != kLeftButton) return;
        if (row >= 0) list_->onRowClicked(row);
        pressFirst.next->onClick();
    }
    void nativeKey(int keyCode, int shift) override {
        const int last = static_cast<int>(rows_.size()) - 1;
        if (last < 0) return;
        int row = selected_;
        if (keyCode == kKeyDown) row = std::min(row + 1, last);
        else if (keyCode == kKeyUp) row = std::max(row - 1, 0);
        else if (keyCode == kKeyHome) row = 0;
        else if (keyCode == kKeyEnd) row = last;
        else return;
        if (row == selected_) return;
        selected_ = row;
        list_->onRowSelected(row);
        list_->onRowClicked(row);
    }

    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, back);
        if (background_) {
            Gdi& g = gdi();
            Handle mem = g.createCompatibleDC(dc);
            Handle old = g.selectObject(mem, background_);
            g.bitBlt(dc, 0, kListHeaderPx, w, h - kListHeaderPx, mem, 0, 0, kSrcCopy);
            g.selectObject(mem, old);
            g.deleteDC(mem);
        }
        int x = 0;
        for (const auto& c : columns_) {
            FillBox(dc, x, 0, x + c.widthPx, kListHeaderPx, 0xC0C0C0);
            DrawLines(dc, {c.title}, x + 2, 2, c.widthPx - 4, 0, 0x000000, false);
            x += c.widthPx;
        }
        for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
            const int top = kListHeaderPx + r * kListRowPx;
            if (top >= h) break;
            if (r == selected_) FillBox(dc, 0, top, w, top + kListRowPx, 0x800000);
            int cx = 0;
            for (std::size_t c = 0; c < columns_.size() && c < rows_[r].size(); ++c) {
                DrawLines(dc, {rows_[r][c]}, cx + 2, top + 1, columns_[c].widthPx - 4, 0,
                          r == selected_ ? 0xFFFFFF : fore, false);
                cx += columns_[c].widthPx;
            }
        }
    }

private:
    struct Column {
        std::string title;
        int widthPx;
    };

    void press(int button, int x, int y) {
        if (button != kLeftButton && button != kRightButton) return;
        const int row = y >= kListHeaderPx ? (y - kListHeaderPx) / kListRowPx : -1;
        pressed_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
        if (y < kListHeaderPx) return;  // the headers do not touch the selection
        if (pressed_ == selected_) return;
        selected_ = pressed_;
        list_->onRowSelected(selected_);
    }

    ListViewEvents* list_;
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
    int selected_ = -1;
    int pressed_ = -1;
    Handle background_ = 0;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<ListViewPeer> NewListViewPeer(Handle parent, WindowSink* sink, ListViewEvents* events) {
    return std::make_unique<headless::HeadlessListViewPeer>(parent, sink, events);
}
}  // namespace kit
