// The string grid: hit testing of cells, resizing columns by their header
// border, moving the selection by keys with the rows shown following it, and
// the cells handed to the drawing handler.
#include "widgets/StringGrid.h"
#include "tests/widgets/lists/ListsFixture.h"

#include <initializer_list>
#include <tuple>
#include <vector>

using namespace orvane;
using orvane::test::App;
using orvane::test::ListsTest;

namespace {

constexpr int kRowHeight = 16;
constexpr int kPitch = kRowHeight + 1; // a row and its grid line

class StringGridTest : public ListsTest {
  protected:
    // Columns 50, 30 and 40 wide; `bodyRows` whole body rows fit under the header.
    TStringGrid* MakeGrid(int rowCount, int bodyRows) {
        auto* grid = NewComponent<TStringGrid>(form_);
        grid->SetName("sgProbe");
        grid->SetColCount(3);
        grid->SetRowCount(rowCount);
        grid->SetDefaultRowHeight(kRowHeight);
        for (int col = 0; col < 3; ++col)
            grid->SetColWidths(col, std::vector<int>{50, 30, 40}[col]);
        grid->SetBounds(0, 0, 200, kRowHeight + bodyRows * kPitch);
        grid->SetParent(form_);
        return grid;
    }

    static std::pair<int, int> CellAt(const TStringGrid& grid, int x, int y) {
        int col = -2, row = -2;
        grid.MouseToCell(x, y, col, row);
        return {col, row};
    }

    // A press at the first point, moves to the others, the release at the last.
    static void Drag(HWND window, std::initializer_list<POINT> points) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(points.begin()->x, points.begin()->y));
        for (auto point = points.begin() + 1; point != points.end(); ++point)
            SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point->x, point->y));
        const POINT last = *(points.end() - 1);
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
    }

    static void Key(TStringGrid& grid, WORD key) {
        SendMessageA(grid.Handle(), WM_KEYDOWN, key, 1);
    }
};

using Cell = std::pair<int, int>;

} // namespace

TEST_F(StringGridTest, MouseToCellFindsHeaderAndBodyCells) {
    TStringGrid* grid = MakeGrid(4, 5);
    EXPECT_EQ(grid->VisibleRowCount(), 5);
    EXPECT_EQ(CellAt(*grid, 10, 5), Cell(0, 0));
    EXPECT_EQ(CellAt(*grid, 49, 5), Cell(0, 0));
    EXPECT_EQ(CellAt(*grid, 51, 5), Cell(1, 0)); // past column 0 and its line
    EXPECT_EQ(CellAt(*grid, 82, kPitch), Cell(2, 1));
    EXPECT_EQ(CellAt(*grid, 121, kPitch * 3 + 15), Cell(2, 3));
    EXPECT_EQ(CellAt(*grid, 123, 5), Cell(-1, 0));         // right of the last column
    EXPECT_EQ(CellAt(*grid, 10, kPitch * 4), Cell(0, -1)); // below the last row
    EXPECT_EQ(CellAt(*grid, -1, 5), Cell(-1, -1));

    // Rows scrolled out of view are skipped; the header stays.
    grid->SetRowCount(20);
    grid->SetTopRow(6);
    EXPECT_EQ(grid->TopRow(), 6);
    EXPECT_EQ(CellAt(*grid, 10, 2), Cell(0, 0));
    EXPECT_EQ(CellAt(*grid, 10, kPitch + 2), Cell(0, 6));
    RECT rect = grid->CellRect(1, 7);
    EXPECT_EQ(rect.left, 51);
    EXPECT_EQ(rect.top, 2 * kPitch);
    EXPECT_EQ(rect.right - rect.left, 30);
    EXPECT_EQ(rect.bottom - rect.top, kRowHeight);
}

TEST_F(StringGridTest, DraggingAHeaderBorderResizesThatColumn) {
    TStringGrid* grid = MakeGrid(6, 5);
    std::vector<int> resized;
    int clicks = 0, mouseUps = 0;
    grid->OnColumnResized = [&](TStringGrid&, int col) { resized.push_back(col); };
    grid->OnClick = [&](TComponent&) { ++clicks; };
    grid->OnMouseUp = [&](TComponent&, TMouseButton, TShiftState, int, int) { ++mouseUps; };
    HWND window = grid->Handle();

    // The pointer over the border between columns 1 and 2 becomes the sizing arrow.
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(82, 6));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));

    // The border of column 1 lies at x 81 (50 + 1 + 30); taken 1 pixel off it.
    Drag(window, {{82, 6}, {95, 6}, {107, 30}});
    EXPECT_EQ(grid->ColWidths(1), 30 + 25);
    EXPECT_EQ(grid->ColWidths(0), 50);
    EXPECT_EQ(grid->ColWidths(2), 40);
    EXPECT_EQ(resized, std::vector<int>{1});
    EXPECT_EQ(clicks, 0);      // letting go of a border is no click
    EXPECT_EQ(mouseUps, 1);    // but the release is reported
    EXPECT_EQ(grid->Row(), 1); // and the row under the pointer is not selected

    // Dragged far to the left, a column keeps a few pixels.
    Drag(window, {{50, 6}, {-100, 6}});
    EXPECT_EQ(grid->ColWidths(0), TStringGrid::MinColWidth);

    // Inside a header cell, a drag resizes nothing and a click is a click.
    Drag(window, {{30, 6}, {40, 6}});
    EXPECT_EQ(grid->ColWidths(1), 55);
    EXPECT_EQ(resized.size(), 2u);
    EXPECT_EQ(clicks, 1);
}

TEST_F(StringGridTest, KeysMoveTheSelectionAndTheShownRowsFollowIt) {
    TStringGrid* grid = MakeGrid(10, 3); // body rows 1..9, three shown
    EXPECT_EQ(grid->VisibleRowCount(), 3);
    auto state = [&] { return std::make_tuple(grid->Row(), grid->TopRow()); };

    // Each key with the selected row and the top row shown after it.
    const std::tuple<WORD, int, int> steps[] = {
        {VK_DOWN, 2, 1},  {VK_DOWN, 3, 1}, {VK_DOWN, 4, 2}, // past the last row shown
        {VK_NEXT, 7, 5},  {VK_END, 9, 7},  {VK_DOWN, 9, 7},
        {VK_PRIOR, 6, 6}, {VK_UP, 5, 5}, // above the first row shown
        {VK_HOME, 1, 1},  {VK_UP, 1, 1}};
    for (const auto& [key, row, top] : steps) {
        Key(*grid, key);
        EXPECT_EQ(state(), std::make_tuple(row, top)) << "after key " << key;
    }

    // A key the handler takes does not move the selection.
    grid->OnKeyDown = [](TComponent&, WORD& key, TShiftState) {
        if (key == VK_DOWN)
            key = 0;
    };
    Key(*grid, VK_DOWN);
    EXPECT_EQ(state(), std::make_tuple(1, 1));

    // The wheel scrolls the rows without moving the selection.
    SendMessageA(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(state(), std::make_tuple(1, 4));
}

TEST_F(StringGridTest, EveryShownCellIsDrawnWithItsRectangle) {
    TStringGrid* grid = MakeGrid(10, 3);
    grid->SetCells(0, 4, "report.txt");
    grid->SetObjects(4, 77);
    grid->SetRow(4); // scrolls rows 2..4 into view
    ASSERT_EQ(grid->TopRow(), 2);

    struct Call {
        int col, row;
        RECT rect;
        bool selected;
    };
    std::vector<Call> calls;
    grid->OnDrawCell = [&](TStringGrid& sender, TCanvas&, int col, int row, RECT rect,
                           bool selected) {
        if (row == 4 && col == 0) {
            EXPECT_EQ(sender.Cells(col, row), "report.txt");
            EXPECT_EQ(sender.Objects(row), 77);
        }
        calls.push_back({col, row, rect, selected});
    };
    App().ProcessMessages();
    calls.clear();
    PaintNow(*grid);

    std::vector<Cell> expected;
    for (int row : {0, 2, 3, 4})
        for (int col = 0; col < 3; ++col)
            expected.emplace_back(col, row);
    std::vector<Cell> drawn;
    for (const Call& call : calls) {
        drawn.emplace_back(call.col, call.row);
        SCOPED_TRACE(testing::Message() << call.col << "," << call.row);
        RECT rect = grid->CellRect(call.col, call.row);
        EXPECT_TRUE(EqualRect(&rect, &call.rect));
        EXPECT_EQ(call.selected, call.row == 4);
    }
    EXPECT_EQ(drawn, expected);
    ASSERT_EQ(calls.size(), 12u);
    EXPECT_EQ(calls[3].rect.top, kPitch);      // row 2 right under the header
    EXPECT_EQ(calls[11].rect.left, 82);        // column 2 of row 4
    EXPECT_EQ(calls[11].rect.top, 3 * kPitch); // third row shown
}
