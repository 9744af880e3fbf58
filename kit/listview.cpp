#include "kit/listview.h"

#include <algorithm>
#include <cmath>

#include "kit/runtime.h"

namespace kit {

namespace {
// A row's height in a font when no row can be measured: the text and a pixel above and below.
int FallbackRowPx(const Font& f) { return static_cast<int>(std::lround(f.size * 96 / 72)) + 3; }
}  // namespace

ListView::ListView(Container* parent) : Control(parent) { back_ = kSysWindow; fore_ = kSysWindowText; }

std::unique_ptr<ControlPeer> ListView::makePeer(Handle parentWindow) {
    return NewListViewPeer(parentWindow, this, this);
}

void ListView::applyState() {
    Control::applyState();
    ListViewPeer* p = listPeer();
    for (const Column& c : columns_) p->addColumn(c.title, c.widthPx);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        p->addRow(rows_[r][0]);
        for (std::size_t c = 1; c < rows_[r].size(); ++c)
            if (!rows_[r][c].empty()) p->setCell(static_cast<int>(r), static_cast<int>(c), rows_[r][c]);
    }
    p->selectRow(selected_);
    p->setBackground(picture_ ? picture_->handle() : 0);
}

void ListView::destroyPeer() {
    Control::destroyPeer();
    picture_.reset();
}

void ListView::AddColumn(const std::string& title, double width) {
    const int scale = container() ? container()->childScaleMode() : kScaleTwips;
    columns_.push_back({title, ToPixelsX(width, scale)});
    for (auto& row : rows_) row.resize(columns_.size());
    if (listPeer()) listPeer()->addColumn(title, columns_.back().widthPx);
}

int ListView::toIndex(int row) const {
    if (row < 1 || row > RowCount()) throw RuntimeError(kErrSubscript, "list row out of range");
    return row - 1;
}

int ListView::AddRow(const std::string& text) {
    std::vector<std::string> cells(std::max<std::size_t>(columns_.size(), 1));
    cells[0] = text;
    rows_.push_back(std::move(cells));
    if (listPeer()) listPeer()->addRow(text);
    return RowCount();
}

void ListView::SetCell(int row, int column, const std::string& text) {
    const int r = toIndex(row);
    if (column < 0 || column >= static_cast<int>(rows_[r].size()))
        throw RuntimeError(kErrSubscript, "list column out of range");
    rows_[r][column] = text;
    if (listPeer()) listPeer()->setCell(r, column, text);
}

const std::string& ListView::Cell(int row, int column) const {
    const int r = toIndex(row);
    if (column < 0 || column >= static_cast<int>(rows_[r].size()))
        throw RuntimeError(kErrSubscript, "list column out of range");
    return rows_[r][column];
}

void ListView::RemoveRow(int row) {
    const int r = toIndex(row);
    rows_.erase(rows_.begin() + r);
    if (selected_ == r)
        selected_ = -1;
    else if (selected_ > r)
        --selected_;
    if (listPeer()) listPeer()->removeRow(r);
}

void ListView::Clear() {
    rows_.clear();
    selected_ = -1;
    if (listPeer()) listPeer()->clearRows();
}

void ListView::SelectRow(int row) {
    selected_ = row == 0 ? -1 : toIndex(row);
    if (listPeer()) listPeer()->selectRow(selected_);
}

int ListView::RowHeight() {
    int px = listPeer() ? listPeer()->rowHeightPx() : 0;
    if (px <= 0) px = FallbackRowPx(font_);
    return FromPixelsY(px, container() ? container()->childScaleMode() : kScaleTwips);
}

void ListView::setPicture(Picture p) {
    picture_ = std::move(p);
    if (listPeer()) listPeer()->setBackground(picture_ ? picture_->handle() : 0);
}

void ListView::Refresh() {
    if (peer()) peer()->repaint();
}

std::string_view ListView::cellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= static_cast<int>(rows_[row].size()))
        return {};
    return rows_[row][column];
}

void ListView::onRowSelected(int row) { selected_ = row >= 0 && row < RowCount() ? row : -1; }

void ListView::onRowClicked(int row) {
    if (row >= 0 && row < RowCount() && ItemClick) ItemClick(row + 1);
}

}  // namespace kit
