#include "widgets/StringGrid.h"

#include "paint/GradientFill.h"
#include "base/ShellError.h"
#include "paint/Skin.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace orvane {

namespace {

HCURSOR SizeCursor() {
    return LoadCursorW(nullptr, IDC_SIZEWE);
}

constexpr int kWheelRows = 3;

} // namespace

TStringGrid::TStringGrid(TComponent* owner) : TControl(owner) {
    SetColor(CurrentSkin().Element("popupmenu").face.start);
    columns_.assign(5, 64);
    rows_.resize(5);
    for (GridRow& row : rows_)
        row.cells.resize(columns_.size());
}

void TStringGrid::SetColCount(int count) {
    count = std::max(count, 1);
    columns_.resize(count, 64);
    for (GridRow& row : rows_)
        row.cells.resize(count);
    Invalidate();
}

void TStringGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    GridRow empty;
    empty.cells.resize(columns_.size());
    rows_.resize(count, empty);
    row_ = std::clamp(row_, 1, std::max(1, count - 1));
    topRow_ = std::clamp(topRow_, 1, MaxTopRow());
    Invalidate();
}

std::string TStringGrid::Cells(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return {};
    return rows_[row].cells[col];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        throw ShellError("TStringGrid: no cell " + std::to_string(col) + ", " +
                         std::to_string(row));
    rows_[row].cells[col] = text;
    RECT cell = CellRect(col, row);
    if (HandleAllocated() && !IsRectEmpty(&cell))
        InvalidateRect(Handle(), &cell, FALSE);
}

intptr_t TStringGrid::Objects(int row) const {
    return row >= 0 && row < RowCount() ? rows_[row].object : 0;
}

void TStringGrid::SetObjects(int row, intptr_t object) {
    if (row < 0 || row >= RowCount())
        throw ShellError("TStringGrid: no row " + std::to_string(row));
    rows_[row].object = object;
    // Only the row's band, and only when it is shown: a listing sets one
    // object per row, thousands at a time.
    RECT band = CellRect(0, row);
    if (HandleAllocated() && !IsRectEmpty(&band)) {
        band.left = 0;
        band.right = ClientWidth();
        InvalidateRect(Handle(), &band, FALSE);
    }
}

int TStringGrid::ColWidths(int col) const {
    return col >= 0 && col < ColCount() ? columns_[col] : 0;
}

void TStringGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= ColCount())
        throw ShellError("TStringGrid: no column " + std::to_string(col));
    width = std::max(width, 0);
    if (columns_[col] == width)
        return;
    columns_[col] = width;
    Invalidate();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    height = std::max(height, 1);
    if (height == rowHeight_)
        return;
    rowHeight_ = height;
    topRow_ = std::clamp(topRow_, 1, MaxTopRow());
    Invalidate();
}

int TStringGrid::VisibleRowCount() const {
    return std::max(1, (ClientHeight() - rowHeight_) / RowPitch());
}

int TStringGrid::MaxTopRow() const {
    return std::max(1, RowCount() - VisibleRowCount());
}

void TStringGrid::SetTopRow(int row) {
    row = std::clamp(row, 1, MaxTopRow());
    if (row == topRow_)
        return;
    topRow_ = row;
    Invalidate();
}

void TStringGrid::SetRow(int row) {
    row = std::clamp(row, 1, std::max(1, RowCount() - 1));
    if (row != row_) {
        row_ = row;
        Invalidate();
    }
    // The selection is always in view.
    if (row_ < topRow_)
        SetTopRow(row_);
    else if (row_ >= topRow_ + VisibleRowCount())
        SetTopRow(row_ - VisibleRowCount() + 1);
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = row = -1;
    RECT client = ClientRect();
    POINT at{x, y};
    if (!PtInRect(&client, at))
        return;
    int left = 0;
    for (int c = 0; c < ColCount(); ++c) {
        int next = left + columns_[c] + GridLineWidth;
        if (x < next) {
            col = c;
            break;
        }
        left = next;
    }
    int slot = y / RowPitch();
    if (slot == 0)
        row = 0;
    else if (int body = topRow_ + slot - 1; body < RowCount())
        row = body;
}

RECT TStringGrid::CellRect(int col, int row) const {
    RECT rect{0, 0, 0, 0};
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return rect;
    int slot = row == 0 ? 0 : row - topRow_ + 1;
    if (row != 0 && (row < topRow_ || slot * RowPitch() >= ClientHeight()))
        return rect;
    int left = 0;
    for (int c = 0; c < col; ++c)
        left += columns_[c] + GridLineWidth;
    rect = {left, slot * RowPitch(), left + columns_[col], slot * RowPitch() + rowHeight_};
    return rect;
}

int TStringGrid::BorderAt(int x, int y) const {
    if (y < 0 || y >= rowHeight_)
        return -1;
    int found = -1, nearest = BorderGrip + 1;
    int line = 0;
    for (int c = 0; c < ColCount(); ++c) {
        line += columns_[c];
        if (int distance = std::abs(x - line); distance < nearest) {
            nearest = distance;
            found = c;
        }
        line += GridLineWidth;
    }
    return found;
}

void TStringGrid::Paint(TCanvas& canvas) {
    RECT client = ClientRect();
    canvas.Brush.Color = Color();
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.FillRect(client);

    int right = 0;
    for (int width : columns_)
        right += width + GridLineWidth;
    right = std::min<int>(right, client.right);

    HDC dc = canvas.Handle();
    int bottom = 0;
    for (int slot = 0;; ++slot) {
        int row = slot == 0 ? 0 : topRow_ + slot - 1;
        int top = slot * RowPitch();
        if (row >= RowCount() || top >= client.bottom)
            break;
        bool selected = row != 0 && row == row_;
        int left = 0;
        for (int col = 0; col < ColCount() && left < client.right; ++col) {
            RECT cell{left, top, left + columns_[col], top + rowHeight_};
            left = cell.right + GridLineWidth;
            if (cell.right <= cell.left)
                continue;
            // A cell's painting stays inside the cell, whatever the handler draws.
            IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
            canvas.Font = Font;
            canvas.Brush.Color = Color();
            canvas.Brush.Style = TBrushStyle::Solid;
            if (OnDrawCell)
                OnDrawCell(*this, canvas, col, row, cell, selected);
            else
                DrawCell(canvas, col, row, cell, selected);
            SelectClipRgn(dc, nullptr);
        }
        bottom = top + RowPitch();
    }

    // The grid lines, right of each column and under each row shown.
    canvas.Pen.Color = CurrentSkin().Element("popupmenu").separator;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::Solid;
    int line = 0;
    for (int width : columns_) {
        line += width;
        canvas.MoveTo(line, 0);
        canvas.LineTo(line, bottom);
        line += GridLineWidth;
    }
    for (int y = rowHeight_; y < bottom; y += RowPitch()) {
        canvas.MoveTo(0, y);
        canvas.LineTo(right, y);
    }
}

void TStringGrid::DrawCell(TCanvas& canvas, int col, int row, RECT rect, bool selected) {
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    canvas.Font.Color = Font.Color;
    if (row == 0) {
        const TSkinElement& header = CurrentSkin().Element("panel");
        PaintSkinFill(canvas.Handle(), rect, header.face);
        canvas.Font.Bold = true;
        canvas.Font.Color = header.font.color;
    } else if (selected) {
        PaintSkinFill(canvas.Handle(), rect, look.selected);
        canvas.Brush.Color = look.selectedFrame;
        canvas.FrameRect(rect);
        canvas.Font.Color = look.selectedFontColor;
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    RECT text{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
    canvas.DrawText(text, Cells(col, row),
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TStringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (HandleAllocated() && GetFocus() != Handle())
        SetFocus();
    swallowClick_ = false;
    if (button == TMouseButton::Left && !shift.Double) {
        if (int border = BorderAt(x, y); border >= 0) {
            resizingCol_ = border;
            resizeStartX_ = x;
            resizeStartWidth_ = columns_[border];
            SetCursor(SizeCursor());
        }
    }
    // Only the left button selects: a right click leaves the selection for
    // the pop-up menu it opens.
    if (button == TMouseButton::Left && resizingCol_ < 0) {
        int col, row;
        MouseToCell(x, y, col, row);
        if (row >= 1)
            SetRow(row);
    }
    TControl::MouseDown(button, shift, x, y);
}

void TStringGrid::MouseMove(TShiftState shift, int x, int y) {
    if (resizingCol_ >= 0) {
        SetColWidths(resizingCol_, std::max(MinColWidth, resizeStartWidth_ + x - resizeStartX_));
        Update();
    }
    if (resizingCol_ >= 0 || BorderAt(x, y) >= 0)
        SetCursor(SizeCursor());
    TControl::MouseMove(shift, x, y);
}

void TStringGrid::FinishResize() {
    if (resizingCol_ < 0)
        return;
    int col = resizingCol_;
    resizingCol_ = -1;
    // Letting go of a border is not a click on the grid.
    swallowClick_ = true;
    if (columns_[col] != resizeStartWidth_ && OnColumnResized)
        OnColumnResized(*this, col);
}

void TStringGrid::Click() {
    if (std::exchange(swallowClick_, false))
        return;
    TControl::Click();
}

void TStringGrid::Resized() {
    topRow_ = std::clamp(topRow_, 1, MaxTopRow());
    Invalidate();
    TControl::Resized();
}

void TStringGrid::Scroll(int rows) {
    SetTopRow(topRow_ + rows);
}

bool TStringGrid::HandleKey(WORD key) {
    switch (key) {
    case VK_UP:
        SetRow(row_ - 1);
        return true;
    case VK_DOWN:
        SetRow(row_ + 1);
        return true;
    case VK_PRIOR:
        SetRow(row_ - VisibleRowCount());
        return true;
    case VK_NEXT:
        SetRow(row_ + VisibleRowCount());
        return true;
    case VK_HOME:
        SetRow(1);
        return true;
    case VK_END:
        SetRow(RowCount() - 1);
        return true;
    default:
        return false;
    }
}

LRESULT TStringGrid::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        return WMKeyDown(wParam, lParam);
    case WM_MOUSEWHEEL:
        WMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && WMSetCursor())
            return TRUE;
        break;
    case WM_LBUTTONUP:
        // Before the general handling, which lets the mouse go and would end
        // the drag as lost.
        FinishResize();
        break;
    case WM_CAPTURECHANGED:
        // Losing the mouse mid-drag (a message box, Alt+Tab) ends the drag
        // where it stands.
        if (reinterpret_cast<HWND>(lParam) != Handle())
            FinishResize();
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

LRESULT TStringGrid::WMKeyDown(WPARAM wParam, LPARAM lParam) {
    WORD key = static_cast<WORD>(wParam);
    if (OnKeyDown) {
        TShiftState shift = KeyboardShift();
        OnKeyDown(*this, key, shift);
        if (key == 0)
            return 0;
    }
    if (HandleKey(key))
        return 0;
    return DefaultHandler(WM_KEYDOWN, key, lParam);
}

void TStringGrid::WMMouseWheel(int delta) {
    // Fine-grained wheels send parts of a notch; they add up to whole rows.
    wheelRemainder_ += delta;
    int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    Scroll(-notches * kWheelRows);
}

// The sizing cursor over a column border and while dragging one; true when set.
bool TStringGrid::WMSetCursor() {
    POINT at;
    GetCursorPos(&at);
    at = ScreenToClient(at);
    if (resizingCol_ < 0 && BorderAt(at.x, at.y) < 0)
        return false;
    SetCursor(SizeCursor());
    return true;
}

void TStringGrid::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(IntegerProperty(
        "ColCount", [this] { return ColCount(); },
        [this](int64_t v) { SetColCount(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "RowCount", [this] { return RowCount(); },
        [this](int64_t v) { SetRowCount(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "DefaultRowHeight", [this] { return rowHeight_; },
        [this](int64_t v) { SetDefaultRowHeight(static_cast<int>(v)); }));
}

} // namespace orvane
