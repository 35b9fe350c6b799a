#pragma once
// The grid of the file browser: a header row over rows of text cells, the
// whole row selected at once, columns resized by dragging the border between
// two header cells. It has no scroll bars: the keys and the mouse wheel move
// the rows shown, and the selection is always kept in view.
//
// Geometry: cells are separated by one-pixel grid lines. Column c spans
// ColWidths(c) pixels and is followed by its line; every row, the header
// included, is DefaultRowHeight pixels high and followed by its line.
#include "toolkit/Control.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

class TStringGrid;

// `rect` is the cell without its grid lines, in client coordinates.
using TDrawCellEvent = std::function<void(TStringGrid& sender, TCanvas& canvas, int col, int row,
                                          RECT rect, bool selected)>;
using TColumnResizedEvent = std::function<void(TStringGrid& sender, int col)>;

class TStringGrid : public TControl {
    ORVANE_COMPONENT(TStringGrid, TControl)
  public:
    static constexpr int GridLineWidth = 1;
    // A border can be taken this many pixels either side of its line.
    static constexpr int BorderGrip = 3;
    static constexpr int MinColWidth = 4;

    explicit TStringGrid(TComponent* owner);

    int ColCount() const { return static_cast<int>(columns_.size()); }
    void SetColCount(int count);
    // Row 0 is the header, so there is always at least one row.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int count);

    // Reading a cell outside the grid gives ""; writing one raises ShellError.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    // One object per row (an icon handle, for instance); 0 when none is set.
    intptr_t Objects(int row) const;
    void SetObjects(int row, intptr_t object);

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int DefaultRowHeight() const { return rowHeight_; }
    void SetDefaultRowHeight(int height);

    // The selected row, 1 or more (1 also while the header is the only row).
    int Row() const { return row_; }
    void SetRow(int row);
    // The first body row shown under the header.
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // Body rows that fit wholly under the header, at least one.
    int VisibleRowCount() const;

    // The cell at a client point: col -1 right of the last column, row -1
    // below the last row; both -1 outside the client area.
    void MouseToCell(int x, int y, int& col, int& row) const;
    // The cell's rectangle without grid lines; empty for a body row not shown.
    RECT CellRect(int col, int row) const;

    TDrawCellEvent OnDrawCell;
    // A column's width was changed by dragging its border.
    TColumnResizedEvent OnColumnResized;

    void Click() override;

  protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Resized() override;
    void PublishProperties(std::vector<TProperty>& properties) override;

    // The look of a cell when no OnDrawCell is set.
    virtual void DrawCell(TCanvas& canvas, int col, int row, RECT rect, bool selected);

  private:
    struct GridRow {
        std::vector<std::string> cells;
        intptr_t object = 0;
    };

    int RowPitch() const { return rowHeight_ + GridLineWidth; }
    int MaxTopRow() const;
    // The column whose right border lies under x in the header, else -1.
    int BorderAt(int x, int y) const;
    bool HandleKey(WORD key);
    void FinishResize();
    LRESULT WMKeyDown(WPARAM wParam, LPARAM lParam);
    void WMMouseWheel(int delta);
    bool WMSetCursor();
    void Scroll(int rows);

    std::vector<int> columns_;
    std::vector<GridRow> rows_;
    int rowHeight_ = 16;
    int row_ = 1;
    int topRow_ = 1;

    int resizingCol_ = -1;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
    bool swallowClick_ = false;
    int wheelRemainder_ = 0;
};

} // namespace orvane
