// One form showing every widget of the toolkit in the shell's skin, captured
// from the screen into the build tree (gallery\gallery.bmp) to be looked at.
#include "paint/GradientFill.h"
#include "paint/Dib.h"
#include "toolkit/Application.h"
#include "widgets/Button.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "toolkit/Form.h"
#include "widgets/GroupBox.h"
#include "widgets/Image.h"
#include "widgets/ImageList.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/Notebook.h"
#include "widgets/PaintBox.h"
#include "paint/Skin.h"
#include "widgets/SkinBevel.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "widgets/SkinStatusBar.h"
#include "widgets/SkinToolBar.h"
#include "widgets/StringGrid.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvane;

namespace {

class TfrmGallery : public TForm {
    ORVANE_COMPONENT(TfrmGallery, TForm)
  public:
    TfrmGallery(TComponent* owner, std::string name) : TForm(owner, std::move(name)) {
        // As designed: the frame is the skin's from the start.
        SetSkinnedFrame(true);
        SetBorderStyle(TBorderStyle::Sizeable);
        SetFormStyle(TFormStyle::StayOnTop);
    }
};

template <typename T> T* Place(TControl* parent, const char* name, int x, int y, int w, int h) {
    auto* control = NewComponent<T>(parent);
    control->SetName(name);
    control->SetBounds(x, y, w, h);
    control->SetParent(parent);
    return control;
}

// The screen's pixels under a window, as 32-bit BGRA rows, and saved as a BMP.
std::vector<uint32_t> CaptureWindow(HWND window, const std::string& bmpPath, SIZE& size) {
    RECT rect;
    GetWindowRect(window, &rect);
    size = {rect.right - rect.left, rect.bottom - rect.top};
    BITMAPINFO info = orvane::TopDownDibInfo(size.cx, size.cy);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, size.cx, size.cy, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits),
                                 static_cast<uint32_t*>(bits) + size.cx * size.cy);
    SelectObject(memory, old);
    // GDI leaves the alpha byte 0; viewers would take that as transparent.
    for (uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;

    orvane::test::WriteBmp(bmpPath, size.cx, size.cy, pixels);

    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void BuildGallery(TfrmGallery& form) {
    auto* images = NewComponent<TImageList>(&form);
    images->AddIcon(LoadIcon(nullptr, IDI_APPLICATION));
    images->AddIcon(LoadIcon(nullptr, IDI_INFORMATION));
    images->AddIcon(LoadIcon(nullptr, IDI_WARNING));

    auto* bar = Place<TSkinToolBar>(&form, "tbQuick", 0, 0, 100, 30);
    bar->SetAlign(TAlign::Top);
    bar->SetImages(images);
    bar->SetShowCaptions(true);
    bar->SetButtonWidth(90);
    bar->AddButton("Programs", 0);
    bar->AddButton("Files", 1);
    bar->AddButton("System", 2);

    auto* status = Place<TSkinStatusBar>(&form, "sbGallery", 0, 0, 100, 22);
    status->SetAlign(TAlign::Bottom);
    status->AddPanel("Ready", 200);
    status->AddPanel("Orvane Shell widget gallery · Галерея", 300);

    auto* left = Place<TSkinPanel>(&form, "plLeft", 0, 0, 250, 100);
    left->SetAlign(TAlign::Left);
    left->SetBevelOuter(TPanelBevel::Lowered);

    auto* start = Place<TSkinButton>(left, "bbStart", 10, 10, 78, 21);
    start->SetCaption("Start");
    start->SetImages(images);
    start->SetImageIndex(0);
    start->Font.Name = "Arial";
    start->Font.Bold = true;
    start->Font.Color = RGB(96, 129, 35);
    for (int i = 0; i < 3; ++i) {
        auto* task = Place<TSkinSpeedButton>(left, ("sbTask" + std::to_string(i)).c_str(), 10,
                                             40 + i * 26, 140, 24);
        task->SetCaption(i == 1 ? "Notepad - note.txt" : i == 0 ? "Calculator" : "Explorer");
        task->SetGroupIndex(1);
        task->SetImages(images);
        task->SetImageIndex(i);
        if (i == 1)
            task->SetDown(true);
    }
    auto* divider = Place<TSkinDivider>(left, "dvLeft", 10, 122, 220, 4);
    (void)divider;
    auto* label = Place<TLabel>(left, "lblName", 10, 132, 220, 16);
    label->SetCaption("A transparent label on a panel");
    label->SetTransparent(true);
    auto* edit = Place<TSkinEdit>(left, "edName", 10, 152, 220, 22);
    edit->SetText("Skinned edit box");
    auto* combo = Place<TSkinComboBox>(left, "cbRun", 10, 180, 220, 200);
    for (const char* item : {"notepad", "calc", "cmd"})
        combo->Items().Add(item);
    combo->SetText("notepad");
    auto* plainCombo = Place<TComboBox>(left, "cbPlain", 10, 208, 220, 200);
    plainCombo->Items().Add("hh:mm:ss");
    plainCombo->SetItemIndex(0);
    auto* group = Place<TGroupBox>(left, "gbOptions", 10, 238, 220, 80);
    group->SetCaption("Group box");
    auto* inGroup = Place<TLabel>(group, "lblInGroup", 10, 24, 190, 16);
    inGroup->SetCaption("Label inside a group box");
    inGroup->SetTransparent(true);
    auto* ok = Place<TButton>(left, "btnOK", 10, 326, 100, 26);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Place<TButton>(left, "btnCancel", 120, 326, 100, 26);
    cancel->SetCaption("Cancel");
    auto* bevel = Place<TSkinBevel>(left, "bvFrame", 10, 360, 220, 40);
    bevel->SetShape(TSkinBevelShape::Frame);

    auto* right = Place<TSkinPanel>(&form, "plRight", 0, 0, 100, 100);
    right->SetAlign(TAlign::Client);
    right->SetBevelOuter(TPanelBevel::Frame);

    auto* list = Place<TListBox>(right, "lbPrograms", 10, 10, 220, 130);
    list->SetItemHeight(20);
    for (const char* item :
         {"Accessories", "Games", "Internet Explorer", "Wine", "Orvane Shell", "Программы 日本語"})
        list->Items().Add(item);
    list->SetItemIndex(2);

    auto* grid = Place<TStringGrid>(right, "sgFiles", 240, 10, 290, 130);
    grid->SetColCount(4);
    grid->SetRowCount(6);
    const char* headers[] = {"Name", "Ext", "Size", "Date"};
    for (int c = 0; c < 4; ++c)
        grid->SetCells(c, 0, headers[c]);
    grid->SetColWidths(0, 110);
    const char* names[] = {"Program Files", "windows", "autoexec", "readme", "wallpaper"};
    const char* exts[] = {"", "", "bat", "txt", "bmp"};
    for (int r = 1; r < 6; ++r) {
        grid->SetCells(0, r, names[r - 1]);
        grid->SetCells(1, r, exts[r - 1]);
        grid->SetCells(2, r, r > 2 ? std::to_string(r * 1024) : "");
        grid->SetCells(3, r, "09.12.2026");
    }
    grid->SetRow(2);

    auto* notebook = Place<TNotebook>(right, "nbPages", 10, 150, 220, 90);
    TControl* page = notebook->AddPage("General");
    notebook->AddPage("Groups");
    auto* pageLabel = Place<TLabel>(page, "lblPage", 4, 4, 200, 16);
    pageLabel->SetCaption("Page 1 of a notebook");
    notebook->SetPageIndex(0);

    auto* scripts = Place<TLabel>(right, "lblScripts", 10, 250, 520, 18);
    scripts->SetCaption("Any script: 日本語 · Привет · ελληνικά · 📁 · Ünïcödé");
    scripts->SetTransparent(true);
    auto* scriptsEdit = Place<TSkinEdit>(right, "edScripts", 10, 272, 250, 22);
    scriptsEdit->SetText("Папка «Документы» 📁");

    auto* image = Place<TImage>(right, "imgLogo", 240, 150, 40, 40);
    image->Picture().SetIcon(LoadIcon(nullptr, IDI_INFORMATION));

    auto* paint = Place<TPaintBox>(right, "pbGradient", 290, 150, 240, 90);
    paint->OnPaint = [](TPaintBox& box, TCanvas& canvas) {
        RECT r{0, 0, box.Width(), box.Height()};
        GradientFill(canvas.Handle(), r, true,
                     {RGB(160, 204, 11), RGB(143, 159, 51), RGB(96, 129, 35)});
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.Font.Color = RGB(255, 255, 255);
        canvas.Font.Bold = true;
        canvas.TextOut(8, 8, "Paint box with a gradient");
    };
}

} // namespace

TEST(Gallery, EveryWidgetShowsInTheSkin) {
    static TApplication app;
    std::string skin = orvane::test::StageDir() + "\\Skins\\Orvane.skn";
    CurrentSkin().LoadFromFile(skin);

    auto* form = CreateForm<TfrmGallery>(&app, "frmGallery");
    form->SetCaption("Orvane Shell - widget gallery · Галерея виджетов");
    form->SetBounds(0, 0, 800, 480);
    BuildGallery(*form);
    form->Show();
    orvane::test::PumpMessagesFor(500);
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    orvane::test::PumpMessagesFor(1000);

    std::string folder = orvane::test::BinDir() + "\\..\\gallery";
    CreateDirectoryA(folder.c_str(), nullptr);
    SIZE size{};
    auto pixels = CaptureWindow(form->Handle(), folder + "\\gallery.bmp", size);
    ASSERT_EQ(size.cx, 800);

    // A skinned screen has many colours and the shell's greens in it.
    std::set<uint32_t> colours;
    int green = 0;
    for (uint32_t p : pixels) {
        colours.insert(p & 0xFFFFFF);
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (g > r && g > b + 30)
            ++green;
    }
    EXPECT_GT(colours.size(), 40u);
    EXPECT_GT(green, static_cast<int>(pixels.size() / 20));
    app.FreeComponent(form);
}
