#include "taskbar/TaskButtons.h"

#include "system/ShellIcons.h"
#include "system/TaskWindows.h"
#include "base/Win32Handles.h"
#include "paint/Canvas.h"
#include "widgets/ImageList.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinToolBar.h"
#include "toolkit/Timer.h"

#include <algorithm>
#include <optional>

namespace orvane {

namespace {

constexpr COLORREF kNewFontColor = RGB(87, 112, 56);
constexpr COLORREF kActiveFontColor = RGB(136, 136, 68);
constexpr COLORREF kInactiveFontColor = RGB(96, 129, 35);
constexpr COLORREF kFlashFontColor = RGB(214, 96, 16);
constexpr int kInitialWidth = 140;
constexpr int kMargin = 2;
constexpr int kSpacing = 3;
// Glyph and the button's frame beside margin and spacing.
constexpr int kGlyphAndFrame = 34;
constexpr char kEllipsis[] = "...";
// A changed window icon shows within this time under Wine.
constexpr ULONGLONG kIconCheckInterval = 1000;

std::string TrimTitle(const std::string& title) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    auto first = std::find_if_not(title.begin(), title.end(), blank);
    auto last = std::find_if_not(title.rbegin(), title.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// Byte offsets at which the characters of UTF-8 `text` begin, and its end.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// Long enough for the events of a burst of windows to be handled first.
constexpr unsigned kSpareDelay = 30;

} // namespace

std::string ShortenCaption(const std::string& text,
                           const std::function<bool(const std::string&)>& fits) {
    if (fits(text))
        return text;
    // k counts whole characters: a caption never ends in part of one.
    const std::vector<size_t> starts = CharacterStarts(text);
    auto candidate = [&](size_t k) {
        return text.substr(0, starts[std::min(k, starts.size() - 1)]) + kEllipsis;
    };
    // Widths grow with k, so the longest fitting k is found by bisection: the
    // same caption as trying every k, with log(n) measurements.
    size_t low = 1, high = starts.size() - 1;
    if (high == 0 || !fits(candidate(1)))
        return candidate(1);
    while (low < high) {
        size_t middle = (low + high + 1) / 2;
        if (fits(candidate(middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return candidate(low);
}

TTaskButtons::TTaskButtons(TSkinToolBar& bar, HWND applicationWindow)
    : bar_(bar), applicationWindow_(applicationWindow) {}

bool TTaskButtons::Qualifies(HWND window) const {
    if (window == applicationWindow_)
        return false;
    if (IsTaskWindow(window))
        return true;
    bool appWindow = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    return appWindow && IsWindowVisible(window);
}

void TTaskButtons::AddTaskButton(HWND window) {
    // The hook's notice and the watcher's scan may both report one window, in
    // either order: the second report finds its button.
    if (ButtonOf(window) || !Qualifies(window))
        return;
    std::string title = WindowTitle(window);
    TSkinSpeedButton* button = TakeButton();
    button->SetFlat(bar_.Flat());
    button->SetHint(TrimTitle(title));
    button->Tag = reinterpret_cast<intptr_t>(window);
    AskIcon(*button, 0);
}

TSkinSpeedButton* TTaskButtons::MakeHiddenButton() {
    auto* button = NewComponent<TSkinSpeedButton>(&bar_);
    button->SetSkinElement("resizebutton");
    button->SetUseSkinFont(false);
    button->Font.Color = kNewFontColor;
    button->SetGroupIndex(1);
    button->SetMargin(kMargin);
    button->SetSpacing(kSpacing);
    button->SetBounds(bar_.Width(), 0, kInitialWidth, bar_.ButtonHeight());
    // The type icon comes from a list all buttons share: no picture is
    // copied while the button is made.
    button->SetImages(TypeImages());
    button->SetImageIndex(0);
    button->OnMouseDown = [this](TComponent& sender, TMouseButton, TShiftState, int, int) {
        TaskButtonMouseDown(static_cast<TSkinSpeedButton&>(sender));
    };
    button->Hide();
    button->SetParent(&bar_);
    return button;
}

TSkinSpeedButton* TTaskButtons::TakeButton() {
    TSkinSpeedButton* button = spare_ ? spare_ : MakeHiddenButton();
    spare_ = nullptr;
    MakeSpareLater();
    return button;
}

void TTaskButtons::MakeSpareLater() {
    if (!spareTimer_) {
        spareTimer_ = NewComponent<TTimer>(&bar_);
        spareTimer_->SetInterval(kSpareDelay);
        spareTimer_->OnTimer = [this](TComponent&) {
            spareTimer_->SetEnabled(false);
            if (!spare_)
                spare_ = MakeHiddenButton();
        };
    }
    spareTimer_->SetEnabled(true);
}

bool TTaskButtons::KeepAsSpare(TSkinSpeedButton& button) {
    if (spare_)
        return false;
    // A button under the pointer or holding the mouse would come back lit or
    // pressed for another window.
    POINT pointer{};
    RECT bounds{};
    if (!button.Handle() || GetCapture() == button.Handle() ||
        (GetCursorPos(&pointer) && GetWindowRect(button.Handle(), &bounds) &&
         PtInRect(&bounds, pointer)))
        return false;
    button.Hide();
    button.Tag = 0;
    button.SetHint(std::string());
    button.SetCaption(std::string());
    button.SetGlyph(nullptr);
    button.SetDown(false);
    button.Font.Color = kNewFontColor;
    button.Font.Bold = false;
    button.SetBounds(bar_.Width(), 0, kInitialWidth, bar_.ButtonHeight());
    spare_ = &button;
    return true;
}

TImageList* TTaskButtons::TypeImages() {
    // The type's icon is the same for every program: looked up once.
    if (!typeImages_) {
        typeImages_ = NewComponent<TImageList>(&bar_);
        UniqueIcon icon = GetFileIcon("program.exe", true);
        typeImages_->AddIcon(icon ? icon.get() : LoadIconW(nullptr, IDI_APPLICATION));
    }
    return typeImages_;
}

void TTaskButtons::AskIcon(TSkinSpeedButton& button, uintptr_t known) {
    TButtonIcon& icon = icons_[&button];
    // The request goes with the button, so `button` is alive when it answers.
    icon.request =
        IconLookup().WindowIcon(WindowOf(button), known, [this, &button](TIconFound& found) {
            OwnIconArrived(button, found);
        });
}

void TTaskButtons::OwnIconArrived(TSkinSpeedButton& button, TIconFound& found) {
    if (found.unchanged)
        return;
    icons_[&button].signature = found.signature;
    // The button keeps a copy of the picture; the icon itself is not kept.
    // Without an icon of its own the button falls back to the shared type icon.
    button.SetGlyph(found.glyph ? found.glyph.get() : nullptr);
}

void TTaskButtons::CheckIcons() {
    const ULONGLONG now = GetTickCount64();
    if (now - lastIconCheck_ < kIconCheckInterval)
        return;
    lastIconCheck_ = now;
    for (TSkinSpeedButton* button : Buttons()) {
        TButtonIcon& icon = icons_[button];
        if (icon.signature != 0 && !icon.request.Pending())
            AskIcon(*button, icon.signature);
    }
}

std::vector<TSkinSpeedButton*> TTaskButtons::Buttons() const {
    std::vector<TSkinSpeedButton*> buttons;
    for (TControl* control : bar_.Controls())
        if (control->Is<TSkinSpeedButton>() && control != spare_)
            buttons.push_back(static_cast<TSkinSpeedButton*>(control));
    return buttons;
}

std::vector<HWND> TTaskButtons::Windows() const {
    std::vector<HWND> windows;
    for (TSkinSpeedButton* button : Buttons())
        windows.push_back(WindowOf(*button));
    return windows;
}

HWND TTaskButtons::WindowOf(const TSkinSpeedButton& button) {
    return reinterpret_cast<HWND>(button.Tag);
}

TSkinSpeedButton* TTaskButtons::ButtonOf(HWND window) const {
    for (TSkinSpeedButton* button : Buttons())
        if (WindowOf(*button) == window)
            return button;
    return nullptr;
}

void TTaskButtons::RefreshTaskButtons() {
    std::vector<TSkinSpeedButton*> buttons = Buttons();
    if (buttons.empty())
        return;
    const int n = static_cast<int>(buttons.size());
    const int barWidth = bar_.Width();
    const int w = (barWidth - 1) / n;
    const int room = w - (kMargin + kSpacing + kGlyphAndFrame);

    // Buttons are placed where the row will have them, so that closing the
    // update moves none of them a second time.
    bar_.BeginUpdate();
    int left = 0;
    for (int i = 0; i < n; ++i) {
        TSkinSpeedButton* button = buttons[static_cast<size_t>(i)];
        int width = i + 1 < n ? w : barWidth - (n - 1) * w - 1;
        button->SetBounds(left, button->Top(), width, bar_.ButtonHeight());
        left += width;

        FitCaption(*button, room);
        // A new button shows once it has its place and caption.
        if (!button->Visible())
            button->Show();
    }
    bar_.EndUpdate();
}

void TTaskButtons::FitCaption(TSkinSpeedButton& button, int room) {
    // Compared in place: a hundred buttons are checked on every event.
    auto known = captionLayouts_.find(&button);
    if (known != captionLayouts_.end() && known->second.room == room &&
        known->second.hint == button.Hint() && known->second.font == button.Font)
        return;
    std::string caption;
    if (room < 0) {
        // No text fits in no room: the shortest form, without measuring.
        caption = ShortenCaption(button.Hint(), [](const std::string&) { return false; });
    } else {
        // One device context measures every caption; made the first time one
        // must be fitted (most events change none).
        if (!measuring_) {
            measuringDc_.reset(CreateCompatibleDC(nullptr));
            measuring_.emplace(measuringDc_.get());
        }
        TCanvas& canvas = *measuring_;
        canvas.Font = button.Font;
        caption = ShortenCaption(
            button.Hint(), [&](const std::string& text) { return canvas.TextWidth(text) <= room; });
    }
    if (caption != button.Caption())
        button.SetCaption(caption);
    captionLayouts_[&button] = TCaptionLayout{button.Hint(), room, button.Font};
}

void TTaskButtons::TaskButtonMouseDown(TSkinSpeedButton& button) {
    HWND window = WindowOf(button);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    if (placement.showCmd == SW_SHOWMINIMIZED)
        ShowWindow(window, SW_RESTORE);
    else if (window == lastActiveWindow_)
        ShowWindow(window, SW_MINIMIZE);
    else
        BringWindowToTop(window);
}

void TTaskButtons::DestroyButton(TSkinSpeedButton* button) {
    flashing_.erase(WindowOf(*button));
    captionLayouts_.erase(button);
    icons_.erase(button);
    if (!KeepAsSpare(*button))
        bar_.FreeComponent(button);
}

void TTaskButtons::Activate(HWND window) {
    flashing_.erase(window);
    std::vector<TSkinSpeedButton*> buttons = Buttons();
    for (TSkinSpeedButton* button : buttons) {
        HWND own = WindowOf(*button);
        if (!IsWindow(own)) {
            DestroyButton(button);
            continue;
        }
        bool active = own == window;
        COLORREF colour = active                 ? kActiveFontColor
                          : flashing_.count(own) ? kFlashFontColor
                                                 : kInactiveFontColor;
        if (button->Font.Color != colour || button->Font.Bold != active) {
            button->Font.Color = colour;
            button->Font.Bold = active;
            button->Invalidate();
        }
        button->SetDown(active);
        if (active)
            lastActiveWindow_ = window;
    }
}

void TTaskButtons::HookNotify(HWND window, LPARAM code) {
    if (window == applicationWindow_)
        return;
    switch (code) {
    case kWindowCreated:
        AddTaskButton(window);
        break;
    case kWindowDestroyed:
        if (TSkinSpeedButton* button = ButtonOf(window))
            DestroyButton(button);
        break;
    case kWindowActivated:
        Activate(window);
        break;
    case kWindowFlash:
    case kWindowRedraw:
        if (TSkinSpeedButton* button = ButtonOf(window)) {
            if (code == kWindowFlash && window != lastActiveWindow_) {
                flashing_.insert(window);
                button->Font.Color = kFlashFontColor;
                button->Invalidate();
            }
            button->SetHint(GetWindowCaption(window));
            // A redraw notice also comes with a new icon.
            AskIcon(*button, icons_[button].signature);
        }
        break;
    default:
        break;
    }
    RefreshTaskButtons();
}

} // namespace orvane
