#include "startpanel/StartPanel.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Utf.h"
#include "paint/Skin.h"
#include "startpanel/VirtualFolders.h"
#include "system/ProgramStart.h"
#include "startpanel/WindowsKey.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "widgets/ComboBox.h"
#include "widgets/ImageList.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinBevel.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"

#include <shlobj.h>

#include <algorithm>

namespace orvane {

namespace {

constexpr int kWidth = 145;
constexpr int kMinWidth = 100;
constexpr int kItemHeight = 19;
constexpr int kTitleHeight = 16;
constexpr int kStripHeight = 4;
constexpr int kBevelHeight = 3;
constexpr int kCollapsedHeight = kTitleHeight + kStripHeight + kBevelHeight;
constexpr int kRunHeight = 41;
constexpr int kSlideStep = 14;
constexpr unsigned kSlideInterval = 40;
constexpr int kHotKeyId = 0x5354;

constexpr COLORREF kListBackground = RGB(242, 242, 242);
constexpr COLORREF kTitleText = RGB(103, 103, 29);

constexpr UINT kTopMostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING;

TFont PanelFont() {
    TFont font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    return font;
}

} // namespace

TfrmStart::TfrmStart(TComponent* owner, TStartPanelHost host)
    : TForm(owner, "frmStart"), host_(std::move(host)) {
    SetCaption("Orvane shell");
    SetRollUpButton(false);
    SetSkinnedFrame(true);
    SetBorderStyle(TBorderStyle::Sizeable);
    SetBorderIcons({false, false, false});
    SetFormStyle(TFormStyle::StayOnTop);
    Font = PanelFont();
    RunCommand = [](const std::string& command) { return RunLine(command); };
    ShowRunFailure = [](const std::string& text) {
        if (TApplication* application = Application())
            application->MessageBox(text, application->Title(), MB_OK | MB_ICONERROR);
    };
    OpenEntryFile = [](HWND owner, const std::string& file, const std::string& folder) {
        OpenMenuEntry(owner, file, folder);
    };
    StartProgram = [](const std::string& command, WORD show) {
        return LaunchProgram(command, show);
    };
}

TfrmStart::~TfrmStart() {
    if (hotKey_ && Handle())
        UnregisterHotKey(Handle(), kHotKeyId);
}

TfrmStart::Section TfrmStart::MakeSection(const char* name, const char* caption) {
    const std::string base = name;
    auto* panel = NewChild<TSkinPanel>(this, this, "pl" + base);
    panel->SetBevelOuter(TPanelBevel::None);
    panel->SetColor(kListBackground);
    panel->SetAlign(TAlign::Top);

    auto* title = NewChild<TSkinPanel>(this, panel, "pl" + base + "Top");
    title->SetBevelOuter(TPanelBevel::None);
    title->SetSkinElement("panel");
    title->SetHeight(kTitleHeight);
    title->SetAlign(TAlign::Top);

    auto* label = NewChild<TLabel>(this, title, "lbl" + base);
    label->Font = PanelFont();
    label->Font.Bold = true;
    label->Font.Color = kTitleText;
    label->SetTransparent(true);
    label->SetCaption(caption);
    label->SetLeft(16);
    label->SetTop(1);

    auto* toggle = NewChild<TSkinButton>(this, title, "sb" + base);
    toggle->SetSkinElement("button");
    toggle->SetFlat(true);
    toggle->SetImages(host_.SectionGlyphs);
    toggle->SetImageIndex(1);
    toggle->SetBounds(Width() - 13 - 3, 1, 13, 14);

    // The lowest first: bottom-aligned controls stack upwards.
    auto* bevel = NewChild<TSkinDivider>(this, panel, "bv" + base);
    bevel->SetHeight(kBevelHeight);
    bevel->SetAlign(TAlign::Bottom);
    auto* strip = NewChild<TSkinPanel>(this, panel, "pl" + base + "Bottom");
    strip->SetBevelOuter(TPanelBevel::None);
    strip->SetHeight(kStripHeight);
    strip->SetAlign(TAlign::Bottom);
    sections_.push_back({panel, title, label, toggle});
    return sections_.back();
}

TListBox* TfrmStart::MakeList(TSkinPanel* section, const char* name) {
    auto* list = NewChild<TListBox>(this, section, name);
    list->SetItemHeight(kItemHeight);
    list->SetColor(kListBackground);
    list->Font = PanelFont();
    list->SetAlign(TAlign::Client);
    lists_.push_back(list);
    FitSection(section, 0);
    return list;
}

void TfrmStart::CreateControls() {
    plPrograms = MakeSection("Programs", "Programs...").panel;
    lbPrograms = MakeList(plPrograms, "lbPrograms");
    plFiles = MakeSection("Files", "Files...").panel;
    lbFiles = MakeList(plFiles, "lbFiles");
    plSystem = MakeSection("System", "System...").panel;
    lbSystem = MakeList(plSystem, "lbSystem");
    plGroups = MakeSection("Groups", "Groups...").panel;
    lbGroups = MakeList(plGroups, "lbGroups");
    plHelp = MakeSection("Help", "Help...").panel;
    lbHelp = MakeList(plHelp, "lbHelp");
    plRun = MakeSection("Run", "Run...").panel;
    MakeRunBox();

    pmStart = NewComponent<TSkinPopupMenu>(this);
    pmStart->SetName("pmStart");

    trrShowStart = NewComponent<TTimer>(this);
    trrShowStart->SetName("trrShowStart");
    trrShowStart->SetEnabled(false);
    trrShowStart->SetInterval(kSlideInterval);
}

void TfrmStart::WireEvents() {
    auto guarded = [this](const char* where, void (TfrmStart::*handler)()) {
        return [this, where, handler] {
            Guarded(where, FailurePolicy::LogAndContinue, [&] { (this->*handler)(); });
        };
    };
    auto on = [guarded](const char* where, void (TfrmStart::*handler)()) {
        return [run = guarded(where, handler)](TComponent&) { run(); };
    };

    // Each section's title: its button, or a double click anywhere on it,
    // collapses or opens the section.
    for (const Section& section : sections_) {
        TSkinButton* toggle = section.toggle;
        toggle->OnClick = [this](TComponent& sender) {
            Guarded("TfrmStart.sbProgramsClick", FailurePolicy::LogAndContinue,
                    [&] { sbProgramsClick(static_cast<TSkinButton&>(sender)); });
        };
        auto forward = [this, toggle](TComponent&) {
            Guarded("TfrmStart.plProgramsTopDblClick", FailurePolicy::LogAndContinue,
                    [&] { sbProgramsClick(*toggle); });
        };
        section.title->OnDblClick = forward;
        section.label->OnDblClick = forward;
    }

    for (TListBox* list : lists_) {
        list->OnDrawItem = [this](TListBox& sender, TCanvas& canvas, int index, RECT rect,
                                  bool selected, bool) {
            lbProgramsDrawItem(sender, canvas, index, rect, selected);
        };
        // The pop-up takes the focus while it is open; its entry stays marked
        // until the pop-up has closed (PopupBeside).
        list->OnExit = [this](TComponent& sender) {
            if (!pmStart || !pmStart->Tracking())
                static_cast<TListBox&>(sender).SetItemIndex(-1);
        };
        list->OnKeyDown = [this](TComponent& sender, WORD& key, TShiftState shift) {
            Guarded("TfrmStart.ListKeyDown", FailurePolicy::LogAndContinue,
                    [&] { ListKeyDown(static_cast<TListBox&>(sender), key, shift.Shift); });
        };
        // A click on an entry is taken from the button's release: the system
        // list reports only a changed selection, so the entry selected already
        // (the first one, at start) would not open.
        list->OnMouseUp = [this](TComponent& sender, TMouseButton button, TShiftState, int x,
                                 int y) {
            auto& clicked = static_cast<TListBox&>(sender);
            auto click = entryClicks_.find(&clicked);
            int index = clicked.ItemAtPos({x, y});
            if (button != TMouseButton::Left || index < 0 || click == entryClicks_.end())
                return;
            clicked.SetItemIndex(index);
            click->second();
        };
    }

    SetEntryClick(lbPrograms, guarded("TfrmStart.lbProgramsClick", &TfrmStart::lbProgramsClick));
    lbPrograms->OnDblClick = on("TfrmStart.lbProgramsDblClick", &TfrmStart::lbProgramsDblClick);
    SetEntryClick(lbFiles, guarded("TfrmStart.lbFilesClick", &TfrmStart::lbFilesClick));
    SetEntryClick(lbGroups, guarded("TfrmStart.lbGroupsClick", &TfrmStart::lbGroupsClick));

    auto systemClick = guarded("TfrmStart.lbSystemClick", &TfrmStart::lbSystemClick);
    auto systemDblClick = guarded("TfrmStart.lbSystemDblClick", &TfrmStart::lbSystemDblClick);
    SetEntryClick(lbSystem, systemClick);
    lbSystem->OnDblClick = [systemDblClick](TComponent&) { systemDblClick(); };
    // Enter opens the pop-up of the entries that have one and runs the others.
    SetEntryEnter(lbSystem, [this, systemClick, systemDblClick] {
        if (HasSystemPopup(lbSystem->ItemIndex()))
            systemClick();
        else
            systemDblClick();
    });
    auto helpDblClick = guarded("TfrmStart.lbHelpDblClick", &TfrmStart::lbHelpDblClick);
    lbHelp->OnDblClick = [helpDblClick](TComponent&) { helpDblClick(); };
    SetEntryEnter(lbHelp, helpDblClick);

    cbRun->OnDropDown = on("TfrmStart.cbRunDropDown", &TfrmStart::LoadRunHistory);
    cbRun->OnKeyPress = [this](TComponent&, char& key) {
        Guarded("TfrmStart.cbRunKeyPress", FailurePolicy::LogAndContinue,
                [&] { cbRunKeyPress(key); });
    };
    cbRun->OnKeyDown = [this](TComponent&, WORD& key, TShiftState shift) {
        if (key == VK_TAB && !cbRun->DroppedDown()) {
            key = 0;
            Guarded("TfrmStart.TabKey", FailurePolicy::LogAndContinue,
                    [&] { FocusNextSection(cbRun, !shift.Shift); });
            return;
        }
        // Escape closes the open history list, or else slides the panel out.
        if (key == VK_ESCAPE) {
            key = 0;
            if (cbRun->DroppedDown())
                cbRun->SetDroppedDown(false);
            else
                SlideOut();
        }
    };

    trrShowStart->OnTimer = on("TfrmStart.trrShowStartTimer", &TfrmStart::trrShowStartTimer);
    OnResize = on("TfrmStart.FormResize", &TfrmStart::FormResize);
    OnPaint = [](TComponent&) {
        // Ends one level of the stepping back of stay-on-top windows that a
        // message box or system dialog asked for.
        if (Application())
            Application()->RestoreTopMosts();
    };
}

void TfrmStart::FormCreate() {
    Guarded("TfrmStart.FormCreate", FailurePolicy::LogAndContinue, [&] {
        const int height = GetSystemMetrics(SM_CYSCREEN) + host_.TaskbarHeight + 150;
        SetBounds(-kWidth, 0, kWidth, height);
        CreateControls();
        WireEvents();

        // The Programs section first: it finds the folder icon the others use.
        Guarded("TfrmStart.InitProgramsMenu", FailurePolicy::LogAndContinue,
                [&] { InitProgramsMenu(); });
        Guarded("TfrmStart.InitFilesMenu", FailurePolicy::LogAndContinue, [&] { InitFilesMenu(); });
        Guarded("TfrmStart.InitSystemMenu", FailurePolicy::LogAndContinue,
                [&] { InitSystemMenu(); });
        Guarded("TfrmStart.InitGroupsMenu", FailurePolicy::LogAndContinue,
                [&] { InitGroupsMenu(); });
        Guarded("TfrmStart.InitHelpMenu", FailurePolicy::LogAndContinue, [&] { InitHelpMenu(); });
        Guarded("TfrmStart.InitRunBox", FailurePolicy::LogAndContinue, [&] { InitRunBox(); });
        lbPrograms->SetItemIndex(0);
        FormResize();

        SetWindowPos(Handle(), HWND_TOP, Left(), Top(), Width(), Height(), SWP_NOACTIVATE);
        hotKey_ = RegisterHotKey(Handle(), kHotKeyId, MOD_CONTROL, VK_ESCAPE) != 0;
        if (host_.StartButton)
            windowsKey_ =
                std::make_unique<TWindowsKeyWatch>([this] { StartKey(); }, [this] { RunKey(); });
    });
}

void TfrmStart::MakeRunBox() {
    cbRun = NewChild<TSkinComboBox>(this, plRun, "cbRun");
    cbRun->SetStyle(TComboBoxStyle::DropDown);
    cbRun->SetAutoComplete(true);
    cbRun->SetDropDownCount(8);
    cbRun->Font.Name = "Arial";
    cbRun->Font.Size = 10;
    cbRun->SetBounds(1, kTitleHeight + 1, Width() - 10, 18);
    SetRunBoxFont();
    plRun->SetHeight(kRunHeight);
}

void TfrmStart::FitSection(TSkinPanel* section, int entries) {
    wantedRows_[section] = entries;
    collapsed_.erase(section);
    LayoutSections();
}

void TfrmStart::LayoutSections() {
    // The sections share what the screen shows above the bar: the panel
    // reaches below it, and a section that ran past it would hide those
    // below. The longest lists give up rows first and scroll.
    int room = GetSystemMetrics(SM_CYSCREEN) - host_.TaskbarHeight;
    // The client area starts below the frame's top edge.
    if (HWND window = Handle()) {
        RECT bounds{};
        POINT origin{0, 0};
        if (GetWindowRect(window, &bounds) && ::ClientToScreen(window, &origin))
            room -= origin.y - bounds.top;
    }
    int fixed = 0;
    std::vector<std::pair<TSkinPanel*, int>> shown;
    for (const Section& section : sections_) {
        auto wanted = wantedRows_.find(section.panel);
        if (wanted == wantedRows_.end() || collapsed_.contains(section.panel)) {
            fixed += wanted == wantedRows_.end() ? section.panel->Height() : kCollapsedHeight;
            continue;
        }
        fixed += kCollapsedHeight;
        shown.emplace_back(section.panel, wanted->second);
    }
    const int rows = std::max(0, room - fixed) / kItemHeight;
    int cap = 0;
    for (const auto& [panel, wanted] : shown)
        cap = std::max(cap, wanted);
    auto needed = [&](int limit) {
        int sum = 0;
        for (const auto& [panel, wanted] : shown)
            sum += std::min(wanted, limit);
        return sum;
    };
    while (cap > 1 && needed(cap) > rows)
        --cap;
    for (const auto& [panel, wanted] : shown)
        panel->SetHeight(std::min(wanted, cap) * kItemHeight + kCollapsedHeight);
}

void TfrmStart::sbProgramsClick(TSkinButton& button) {
    TControl* title = button.Parent();
    auto* section = title ? title->Parent() : nullptr;
    if (!section)
        return;
    for (TControl* child : section->Controls())
        if (child->Is<TCustomComboBox>())
            child->SetVisible(!child->Visible());
    if (section->Height() > kCollapsedHeight) {
        section->Tag = section->Height();
        section->SetHeight(kCollapsedHeight);
        button.SetImageIndex(0);
        collapsed_.insert(static_cast<TSkinPanel*>(section));
        LayoutSections();
    } else if (section->Tag > 0) {
        section->SetHeight(static_cast<int>(section->Tag));
        button.SetImageIndex(1);
        collapsed_.erase(static_cast<TSkinPanel*>(section));
        LayoutSections();
    }
    // An empty section is as high as a collapsed one and has no height to go
    // back to: the toggle leaves it as it is.
}

void TfrmStart::SetControlPanel(std::unique_ptr<TVirtualFolders> folders) {
    controlPanel_ = std::move(folders);
}

void TfrmStart::ClearPopup() {
    if (controlPanel_)
        controlPanel_->SetTargetMenu(nullptr);
    pmStart->Items().Clear();
}

void TfrmStart::OpenControlPanel(TListBox* list) {
    ClearPopup();
    if (!controlPanel_)
        return;
    controlPanel_->SetTargetMenu(pmStart);
    controlPanel_->DrawItem = [this](TMenuItem& item, TCanvas& canvas, RECT rect, bool selected) {
        pmStartDrawItem(item, canvas, rect, selected);
    };
    controlPanel_->OpenSpecialFolder(CSIDL_CONTROLS);
    PopupBeside(list);
}

void TfrmStart::PopupBeside(TListBox* list) {
    POINT top = list->ClientToScreen({0, 0});
    pmStart->Popup(Left() + Width(), top.y + list->ItemIndex() * kItemHeight);
    // The menu took the keyboard to a hidden window of its own and leaves it
    // there: unless the user went to another window (a click outside the
    // menu, a window the chosen entry opened), the list gets it back.
    if (IsWindowVisible(Handle()) && KeyboardLeftWithPopup())
        FocusList(list);
    if (GetFocus() != list->Handle())
        list->SetItemIndex(-1);
}

bool TfrmStart::KeyboardLeftWithPopup() const {
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == Handle())
        return true;
    if (GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId())
        return false;
    wchar_t name[32] = {};
    // The pop-up menu's owner window (widgets/Menu.cpp).
    return GetClassNameW(foreground, name, 32) && lstrcmpW(name, L"TSkinPopupMenu") == 0;
}

void TfrmStart::trrShowStartTimer() {
    if (slide_ == TSlide::In) {
        int left = Left() + kSlideStep;
        if (left > 0) {
            trrShowStart->SetEnabled(false);
            left = 0;
            if (TLog* log = ShellLog())
                log->AddOnce("Main panel is shown first time");
        }
        SetLeft(left);
    } else {
        int left = Left() - kSlideStep;
        if (left <= -Width()) {
            trrShowStart->SetEnabled(false);
            left = -Width();
        }
        SetLeft(left);
    }
}

void TfrmStart::SlideIn() {
    slide_ = TSlide::In;
    trrShowStart->SetEnabled(true);
    Show();
    RaiseTaskbar();
}

void TfrmStart::RaiseTaskbar() {
    if (host_.RaiseTaskbar && Visible())
        host_.RaiseTaskbar();
}

void TfrmStart::SlideOut() {
    if (Left() == -Width())
        return;
    slide_ = TSlide::Out;
    trrShowStart->SetEnabled(true);
}

void TfrmStart::ToggleSlide() {
    if (Left() != 0)
        SlideIn();
    else
        SlideOut();
}

void TfrmStart::SetBelowFullScreen(HWND fullScreen) {
    SetFormStyle(fullScreen ? TFormStyle::Normal : TFormStyle::StayOnTop);
    if (fullScreen)
        SetWindowPos(Handle(), fullScreen, 0, 0, 0, 0, kTopMostFlags);
}

void TfrmStart::FormResize() {
    for (TListBox* list : {lbPrograms, lbFiles, lbGroups, lbSystem})
        if (list)
            list->Invalidate();
    if (cbRun)
        cbRun->SetWidth(Width() - 10);
    for (TListBox* list : lists_) {
        // The toggle buttons keep 3 pixels from the right edge.
        TControl* title = list->Parent()->Controls().front();
        for (TControl* child : title->Controls())
            if (child->Is<TSkinButton>())
                child->SetLeft(title->Width() - 13 - 3);
    }
    if (plRun && !plRun->Controls().empty()) {
        TControl* title = plRun->Controls().front();
        for (TControl* child : title->Controls())
            if (child->Is<TSkinButton>())
                child->SetLeft(title->Width() - 13 - 3);
    }
}

void TfrmStart::SetEntryClick(TListBox* list, std::function<void()> click) {
    entryClicks_[list] = std::move(click);
}

void TfrmStart::SetEntryEnter(TListBox* list, std::function<void()> enter) {
    entryEnters_[list] = std::move(enter);
}

void TfrmStart::AddListEntry(TListBox* list, const std::string& text, UniqueIcon icon,
                             const std::string& file) {
    std::vector<std::string>& files = entryFiles_[list];
    files.resize(static_cast<size_t>(list->Items().Count()));
    files.push_back(file);
    list->Items().Add(text, reinterpret_cast<intptr_t>(icon.get()));
    if (icon)
        listIcons_[list].push_back(std::move(icon));
}

void TfrmStart::AskOwnIcon(TListBox* list, const std::string& path) {
    const int index = list->Items().Count() - 1;
    // Cleared with the list's entries, so `index` is still the entry's.
    listOwnIcons_[list].Ask(path, true, [list, index](HICON icon) {
        list->Items().SetObject(index, reinterpret_cast<intptr_t>(icon));
        list->Invalidate();
    });
}

void TfrmStart::ClearListEntries(TListBox* list) {
    listOwnIcons_[list].Clear();
    entryFiles_[list].clear();
    list->Items().Clear();
    listIcons_[list].clear();
}

LRESULT TfrmStart::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        LRESULT hit = TForm::WndProc(message, wParam, lParam);
        switch (hit) {
        case HTCAPTION:
        case HTLEFT:
        case HTTOP:
        case HTTOPLEFT:
        case HTTOPRIGHT:
        case HTBOTTOM:
        case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT:
            return HTCLIENT;
        default:
            return hit;
        }
    }
    case WM_WINDOWPOSCHANGING: {
        LRESULT result = TForm::WndProc(message, wParam, lParam);
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (position && !(position->flags & SWP_NOSIZE) && position->cx < kMinWidth)
            position->cx = kMinWidth;
        if (position && position->hwndInsertAfter != HWND_TOP &&
            FormStyle() == TFormStyle::StayOnTop)
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopMostFlags);
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT result = TForm::WndProc(message, wParam, lParam);
        // Shown, activated by a click or put on top again: the bar goes
        // back above it.
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (position && (!(position->flags & SWP_NOZORDER) || position->flags & SWP_SHOWWINDOW))
            Guarded("TfrmStart.RaiseTaskbar", FailurePolicy::LogAndContinue,
                    [&] { RaiseTaskbar(); });
        return result;
    }
    case WM_GETMINMAXINFO: {
        LRESULT result = TForm::WndProc(message, wParam, lParam);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = kMinWidth;
        return result;
    }
    case WM_DISPLAYCHANGE:
        Guarded("TfrmStart.WMDisplayChange", FailurePolicy::LogAndContinue, [&] {
            SetHeight(GetSystemMetrics(SM_CYSCREEN));
            LayoutSections();
        });
        return 0;
    case WM_DEVICECHANGE:
        Guarded("TfrmStart.InitFilesMenu", FailurePolicy::LogAndContinue,
                [&] { WMDeviceChange(wParam); });
        break;
    case WM_MOUSELEAVE:
        return 0;
    case WM_HOTKEY:
        if (wParam == kHotKeyId) {
            Guarded("TfrmStart.WMHotKey", FailurePolicy::LogAndContinue, [&] { StartKey(); });
            return 0;
        }
        break;
    default:
        break;
    }
    return TForm::WndProc(message, wParam, lParam);
}

} // namespace orvane
