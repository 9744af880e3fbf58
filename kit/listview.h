// List views in report view: column headers, rows of a text and sub-items in the order they
// were added (never sorted), one selected row, the real height of a row, and a background
// picture drawn below the column headers.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/control.h"
#include "kit/picture.h"

namespace kit {

// What a list view peer reports besides the common window events, and the texts it draws.
class ListViewEvents {
public:
    virtual ~ListViewEvents() = default;
    // The text of a cell (row 0-based, column 0 the row's own text); empty outside the rows.
    virtual std::string_view cellText(int row, int column) const { return {}; }
    // The user selected a row (0-based; -1: none is selected any more).
    virtual void onRowSelected(int row) {}
    // The user clicked a row (0-based), before the click itself.
    virtual void onRowClicked(int row) {}
};

class ListViewPeer : public ControlPeer {
public:
    virtual void addColumn(const std::string& title, int widthPx) = 0;
    virtual void addRow(const std::string& text) = 0;
    virtual void setCell(int row, int column, const std::string& text) = 0;
    virtual void removeRow(int row) = 0;
    virtual void clearRows() = 0;
    // Rows are 0-based; -1 selects none. Raises nothing.
    virtual void selectRow(int row) = 0;
    // Pixels of one row in the list's font; 0 when it cannot tell.
    virtual int rowHeightPx() const = 0;
    // A bitmap shown behind the rows, its top edge at the first row; 0 for none. The peer
    // keeps no ownership: the control holds the picture while it is shown.
    virtual void setBackground(Handle bitmap) = 0;
};
std::unique_ptr<ListViewPeer> NewListViewPeer(Handle parent, WindowSink* sink, ListViewEvents* events);

class ListView : public Control, public ListViewEvents {
public:
    explicit ListView(Container* parent);

    // Columns: a title and a width in the container's scale.
    void AddColumn(const std::string& title, double width);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& ColumnTitle(int column) const { return columns_.at(column).title; }
    // The column's width in pixels.
    int ColumnWidthPx(int column) const { return columns_.at(column).widthPx; }

    // Rows, counted from 1 as the list shows them. AddRow returns the new row's number.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int AddRow(const std::string& text);
    // Column 0 is the row's own text, 1 up to the last column its sub-items.
    void SetCell(int row, int column, const std::string& text);
    const std::string& Cell(int row, int column) const;
    void RemoveRow(int row);
    void Clear();

    // The selected row's number, 0 when none is selected.
    int SelectedRow() const { return selected_ + 1; }
    void SelectRow(int row);
    // The height of a row in the container's scale; measured on a row the list shows.
    int RowHeight();

    const Picture& picture() const { return picture_; }
    void setPicture(Picture p);
    // Paints the list now.
    void Refresh();

    bool canFocus() const override { return true; }
    // The picture goes with the window: a list made again starts without one.
    void destroyPeer() override;

    // A click on a row (its number), raised before Click.
    std::function<void(int row)> ItemClick;

    // ListViewEvents.
    std::string_view cellText(int row, int column) const override;
    void onRowSelected(int row) override;
    void onRowClicked(int row) override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    struct Column {
        std::string title;
        int widthPx;
    };
    ListViewPeer* listPeer() const { return static_cast<ListViewPeer*>(peer()); }
    int toIndex(int row) const;

    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
    int selected_ = -1;
    Picture picture_;
};

}  // namespace kit
