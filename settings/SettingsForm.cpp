#include "settings/SettingsForm.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "settings/SettingsPages.h"
#include "toolkit/Application.h"
#include "widgets/Button.h"
#include "widgets/ComboBox.h"
#include "widgets/Dialogs.h"
#include "widgets/Edit.h"
#include "widgets/GroupBox.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/Notebook.h"
#include "widgets/SkinPanel.h"

namespace orvane {

namespace {

constexpr int kClientWidth = 434;
constexpr int kClientHeight = 325;
constexpr int kListWidth = 121;
constexpr int kStripHeight = 27;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 4;
constexpr int kPageWidth = kClientWidth - kListWidth;
constexpr int kPageHeight = kClientHeight - kStripHeight;
// The group page's buttons hold the longer words of other languages.
constexpr int kGroupButtonWidth = 90;
// Inside a page's group box, below its caption.
constexpr int kInset = 10;
constexpr int kFieldWidth = 285;
constexpr int kFieldHeight = 21;

const char* const kTimeFormats[] = {
    "hh:mm:ss",       "hh:mm AM/PM",       "mmmm d hh:mm:ss", "mmmm hh:mm AM/PM",
    "d mmm hh:mm:ss", "d mmm hh:mm AM/PM", "d| hh:mm:ss",     "d| hh:mm AM/PM",
};

TFont DialogFont() {
    TFont font;
    font.Name = "MS Sans Serif";
    font.Size = 8;
    return font;
}

TLabel* PlaceLabel(TForm* form, TControl* parent, const char* name, const char* caption, int x,
                   int y) {
    auto* label = PlaceChild<TLabel>(form, parent, name, x, y, 0, 0);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

TButton* PlaceButton(TForm* form, TControl* parent, const char* name, const char* caption, int x,
                     int y, int width = kButtonWidth) {
    auto* button = PlaceChild<TButton>(form, parent, name, x, y, width, kButtonHeight);
    button->SetCaption(caption);
    button->ApplyFont();
    return button;
}

TSkinComboBox* PlaceCombo(TForm* form, TControl* parent, const char* name, int y) {
    auto* combo =
        PlaceChild<TSkinComboBox>(form, parent, name, kInset, y, kFieldWidth, kFieldHeight);
    combo->SetStyle(TComboBoxStyle::DropDown);
    return combo;
}

TGroupBox* PlaceGroupBox(TForm* form, TControl* page, const char* name, const char* caption,
                         int height) {
    // Pages not shown yet have no size of their own: the notebook's is used.
    auto* box = PlaceChild<TGroupBox>(form, page, name, 4, 2, kPageWidth - 8, height);
    box->SetCaption(caption);
    return box;
}

} // namespace

TSettingsPlaces TSettingsPlaces::Default() {
    const std::string folder = ProgramFolder();
    return {folder + "\\Links\\Groups", folder + "\\Languages",
            folder + "\\wallpaper\\wallpaper.bmp", ConfigFilePath()};
}

TfrmSettings::TfrmSettings(TComponent* owner, TSettingsHost host, TSettingsPlaces places)
    : TForm(owner, "frmSettings"), host_(std::move(host)), places_(std::move(places)) {
    SetCaption("Settings");
    SetSkinnedDialog();
    SetBorderIcons({true, false, false}); // the system menu and its close box
    Font = DialogFont();
    ChooseGroupItem = [this]() -> std::optional<std::string> {
        if (!odSelGroupItem->Execute())
            return std::nullopt;
        return odSelGroupItem->FileName;
    };
    ChooseWallpaper = [this]() -> std::optional<std::string> {
        if (!spdSelectWallpaper->Execute())
            return std::nullopt;
        return spdSelectWallpaper->FileName;
    };
    Terminate = [this] {
        if (host_.EndShell)
            host_.EndShell();
        else if (Application())
            Application()->Terminate();
    };
    ShowMessage = [this](const std::string& text) {
        if (Application())
            Application()->MessageBox(text, Caption(), MB_OK | MB_ICONINFORMATION);
    };
}

void TfrmSettings::FormCreate() {
    SetClientSize(kClientWidth, kClientHeight);
    CreateControls();
    WireEvents();
}

void TfrmSettings::CreateControls() {
    // Created in the order Tab walks them; the strip at the bottom is laid
    // out before the list and the pages all the same (bottom before left).
    lbxSettings = PlaceChild<TListBox>(this, this, "lbxSettings", 0, 0, kListWidth, kPageHeight);
    lbxSettings->SetItemHeight(18);
    lbxSettings->Items().Assign(SettingsPageLines());
    lbxSettings->SetAlign(TAlign::Left);

    Notebook1 =
        PlaceChild<TNotebook>(this, this, "Notebook1", kListWidth, 0, kPageWidth, kPageHeight);
    Notebook1->SetAlign(TAlign::Client);
    for (const char* page : {"Groups", "Wallpaper", "Language", "Clock"})
        Notebook1->AddPage(page);
    CreateGroupsPage();
    CreateWallpaperPage();
    CreateLanguagePage();
    CreateClockPage();

    plButtons = PlaceChild<TSkinPanel>(this, this, "plButtons", 0, 0, kClientWidth, kStripHeight);
    plButtons->SetBevelOuter(TPanelBevel::None);
    plButtons->SetAlign(TAlign::Bottom);
    const int buttonTop = (kStripHeight - kButtonHeight) / 2;
    int left = kClientWidth - 3 * (kButtonWidth + kButtonGap);
    btnOK = PlaceButton(this, plButtons, "btnOK", "OK", left, buttonTop);
    btnOK->SetDefault(true);
    left += kButtonWidth + kButtonGap;
    btnCancel = PlaceButton(this, plButtons, "btnCancel", "Cancel", left, buttonTop);
    btnCancel->SetCancel(true);
    left += kButtonWidth + kButtonGap;
    btnHelp = PlaceButton(this, plButtons, "btnHelp", "Help", left, buttonTop);

    // The system list box is no tab stop of its own; these lists are reached
    // with Tab like the other fields.
    for (TListBox* list : {lbxSettings, lbGroupItems})
        SetWindowLongW(list->Handle(), GWL_STYLE,
                       GetWindowLongW(list->Handle(), GWL_STYLE) | WS_TABSTOP);

    Notebook1->SetPageIndex(pgGroups);
    lbxSettings->SetItemIndex(0);
}

void TfrmSettings::CreateGroupsPage() {
    TControl* page = Notebook1->Page(pgGroups);
    gbGroups = PlaceGroupBox(this, page, "gbGroups", "Groups", kPageHeight - 4);
    lblGroups = PlaceLabel(this, gbGroups, "lblGroups", "Select group", kInset, 18);
    cbGroups = PlaceCombo(this, gbGroups, "cbGroups", 34);
    lblGroup = PlaceLabel(this, gbGroups, "lblGroup", "Group", kInset, 62);
    edCurrGroup =
        PlaceChild<TSkinEdit>(this, gbGroups, "edCurrGroup", kInset, 78, kFieldWidth, kFieldHeight);
    const int w = kGroupButtonWidth;
    const int step = w + 5;
    btnAddGroup = PlaceButton(this, gbGroups, "btnAddGroup", "Add", kInset, 104, w);
    btnRenameGroup = PlaceButton(this, gbGroups, "btnRenameGroup", "Rename", kInset + step, 104, w);
    btnDelete = PlaceButton(this, gbGroups, "btnDelete", "Delete", kInset + 2 * step, 104, w);
    lblItems = PlaceLabel(this, gbGroups, "lblItems", "Items", kInset, 136);
    lbGroupItems =
        PlaceChild<TListBox>(this, gbGroups, "lbGroupItems", kInset, 152, kFieldWidth, 100);
    btnAddGrItem = PlaceButton(this, gbGroups, "btnAddGrItem", "Add", kInset, 258, w);
    btnDelGrItem = PlaceButton(this, gbGroups, "btnDelGrItem", "Delete", kInset + step, 258, w);

    odSelGroupItem = NewComponent<TOpenDialog>(this);
    odSelGroupItem->SetName("odSelGroupItem");
    odSelGroupItem->Title = "Selection application for group";
    odSelGroupItem->Filter = "Executable files|*.exe|Links|*.lnk|All files|*.*";
}

void TfrmSettings::CreateWallpaperPage() {
    TControl* page = Notebook1->Page(pgWallpaper);
    gbWallpaper = PlaceGroupBox(this, page, "gbWallpaper", "Wallpaper", kPageHeight - 4);
    plWallpaper = PlaceChild<TSkinPanel>(this, gbWallpaper, "plWallpaper", 8, 18, 290, 244);
    plWallpaper->SetBevelOuter(TPanelBevel::Lowered);
    imgWallpaper = PlaceChild<TImage>(this, plWallpaper, "imgWallpaper", 2, 2, 286, 240);
    imgWallpaper->SetStretch(true);
    btnSelectWallpaper =
        PlaceButton(this, gbWallpaper, "btnSelectWallpaper", "Select image", 8, 265, 120);

    spdSelectWallpaper = NewComponent<TSavePictureDialog>(this);
    spdSelectWallpaper->SetName("spdSelectWallpaper");
    spdSelectWallpaper->Title = "Select a wallpaper...";
    spdSelectWallpaper->Filter =
        "Pictures (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
        "JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg|All files|*.*";
}

void TfrmSettings::CreateLanguagePage() {
    TControl* page = Notebook1->Page(pgLanguage);
    gbLanguages = PlaceGroupBox(this, page, "gbLanguages", "Languages", 72);
    lbSelectLang = PlaceLabel(this, gbLanguages, "lbSelectLang", "Select language", kInset, 20);
    cbLang = PlaceCombo(this, gbLanguages, "cbLang", 36);
}

void TfrmSettings::CreateClockPage() {
    TControl* page = Notebook1->Page(pgClock);
    gbClock = PlaceGroupBox(this, page, "gbClock", "Clock", 72);
    lbTimeFormat = PlaceLabel(this, gbClock, "lbTimeFormat", "Time format", kInset, 20);
    cbTimeFormat = PlaceCombo(this, gbClock, "cbTimeFormat", 36);
    for (const char* format : kTimeFormats)
        cbTimeFormat->Items().Add(format);
}

void TfrmSettings::WireEvents() {
    // Each handler logs its own failure under its name and the dialog goes on.
    auto on = [this](const char* where, void (TfrmSettings::*handler)(),
                     FailurePolicy policy = FailurePolicy::LogAndContinue) {
        return [this, where, handler, policy](TComponent&) {
            Guarded(where, policy, [&] { (this->*handler)(); });
        };
    };
    OnShow = on("TfrmSettings.FormShow", &TfrmSettings::FormShow);
    OnHide = on("TfrmSettings.FormHide", &TfrmSettings::FormHide);
    lbxSettings->OnClick = on("TfrmSettings.lbxSettingsClick", &TfrmSettings::lbxSettingsClick);
    cbGroups->OnSelect = on("TfrmSettings.cbGroupsClick", &TfrmSettings::cbGroupsClick);
    btnAddGroup->OnClick = on("TfrmSettings.btnAddGroupClick", &TfrmSettings::btnAddGroupClick);
    btnRenameGroup->OnClick =
        on("TfrmSettings.btnRenameGroupClick", &TfrmSettings::btnRenameGroupClick);
    btnDelete->OnClick = on("TfrmSettings.btnDeleteClick", &TfrmSettings::btnDeleteClick);
    // A shortcut that cannot be written is the user's to know: the error box.
    btnAddGrItem->OnClick = on("TfrmSettings.btnAddGrItemClick", &TfrmSettings::btnAddGrItemClick,
                               FailurePolicy::ShowError);
    btnDelGrItem->OnClick = on("TfrmSettings.btnDelGrItemClick", &TfrmSettings::btnDelGrItemClick);
    btnSelectWallpaper->OnClick =
        on("TfrmSettings.btnSelectWallpaperClick", &TfrmSettings::btnSelectWallpaperClick);
    cbLang->OnDropDown = on("TfrmSettings.cbLangDropDown", &TfrmSettings::cbLangDropDown);
    cbLang->OnSelect = on("TfrmSettings.cbLangClick", &TfrmSettings::cbLangClick);
    btnOK->OnClick = on("TfrmSettings.btnOKClick", &TfrmSettings::btnOKClick);
    btnCancel->OnClick = on("TfrmSettings.btnCancelClick", &TfrmSettings::btnCancelClick);
    // The frame's close box and Alt+F4 take the unsaved choices back, as
    // Cancel does; the window itself is only hidden.
    OnClose = [this](TForm&, TCloseAction& action) {
        action = TCloseAction::Hide;
        Guarded("TfrmSettings.FormClose", FailurePolicy::LogAndContinue, [&] { LoadConfig(); });
    };
}

} // namespace orvane
