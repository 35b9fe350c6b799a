#pragma once
// The settings dialog: the start panel's groups (folders of shortcuts), the
// desktop wallpaper, the language and the taskbar clock's pattern. Group
// changes act on the disk at once; the wallpaper shows on the desktop at once
// and is written by OK, taken back by Cancel; a language applies to every
// window at once and is stored by OK; the clock pattern is handed over and
// stored by OK.
#include "toolkit/Form.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class TButton;
class TGroupBox;
class TImage;
class TLabel;
class TListBox;
class TNotebook;
class TOpenDialog;
class TPicture;
class TSavePictureDialog;
class TSkinComboBox;
class TSkinEdit;
class TSkinPanel;

// Where the dialog's files live; the defaults are below the program folder.
struct TSettingsPlaces {
    std::string groupsFolder;    // Links\Groups
    std::string languagesFolder; // Languages
    std::string wallpaperFile;   // wallpaper\wallpaper.bmp
    std::string configFile;
    static TSettingsPlaces Default();
};

// What the dialog needs of the other windows, filled in by the shell's run.
struct TSettingsHost {
    // The picture the desktop shows, which the Wallpaper page changes; null
    // (or no function) when there is no desktop to change.
    std::function<TPicture*()> DesktopPicture;
    // The desktop paints itself again over a changed picture.
    std::function<void()> DesktopPictureChanged;
    // Rebuilds the start panel's Groups section.
    std::function<void()> InitGroupsMenu;
    // The taskbar clock's pattern.
    std::function<std::string()> TimeFormat;
    std::function<void(const std::string&)> SetTimeFormat;
    // Ends the shell the way its taskbar closes (after a configuration file
    // that cannot be opened); without it the application is asked to end.
    std::function<void()> EndShell;
};

class TfrmSettings : public TForm {
    ORVANE_COMPONENT(TfrmSettings, TForm)
  public:
    TfrmSettings(TComponent* owner, TSettingsHost host,
                 TSettingsPlaces places = TSettingsPlaces::Default());

    TListBox* lbxSettings = nullptr;
    TSkinPanel* plButtons = nullptr;
    TButton* btnHelp = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnOK = nullptr;
    TNotebook* Notebook1 = nullptr;
    // Groups
    TGroupBox* gbGroups = nullptr;
    TLabel* lblGroups = nullptr;
    TSkinComboBox* cbGroups = nullptr;
    TLabel* lblGroup = nullptr;
    TSkinEdit* edCurrGroup = nullptr;
    TButton* btnAddGroup = nullptr;
    TButton* btnRenameGroup = nullptr;
    TButton* btnDelete = nullptr;
    TLabel* lblItems = nullptr;
    TListBox* lbGroupItems = nullptr;
    TButton* btnAddGrItem = nullptr;
    TButton* btnDelGrItem = nullptr;
    TOpenDialog* odSelGroupItem = nullptr;
    // Wallpaper
    TGroupBox* gbWallpaper = nullptr;
    TSkinPanel* plWallpaper = nullptr;
    TImage* imgWallpaper = nullptr;
    TButton* btnSelectWallpaper = nullptr;
    TSavePictureDialog* spdSelectWallpaper = nullptr;
    // Language
    TGroupBox* gbLanguages = nullptr;
    TLabel* lbSelectLang = nullptr;
    TSkinComboBox* cbLang = nullptr;
    // Clock
    TGroupBox* gbClock = nullptr;
    TLabel* lbTimeFormat = nullptr;
    TSkinComboBox* cbTimeFormat = nullptr;

    // True once a wallpaper file was picked since the dialog was last shown.
    bool WallpaperChanged = false;

    // The file the user picks in the dialogs; nothing when cancelled. They
    // run the system's dialogs; tests replace them.
    std::function<std::optional<std::string>()> ChooseGroupItem;
    std::function<std::optional<std::string>()> ChooseWallpaper;
    // Ends the program after a configuration file that cannot be opened.
    std::function<void()> Terminate;
    // Tells the user something (an item the group holds already); tests
    // replace it.
    std::function<void(const std::string& text)> ShowMessage;

    // Events.
    void FormShow();
    void FormHide();
    void lbxSettingsClick();
    void cbGroupsClick();
    void btnAddGroupClick();
    void btnRenameGroupClick();
    void btnDeleteClick();
    void btnAddGrItemClick();
    void btnDelGrItemClick();
    void btnSelectWallpaperClick();
    void cbLangDropDown();
    void cbLangClick();
    void btnOKClick();
    void btnCancelClick();

    // False when nothing was stored: the configuration file cannot be
    // opened (the program ends), or the picked wallpaper cannot be written
    // (the user is told, and the dialog stays open).
    bool SaveConfig();
    void LoadConfig();
    void FillGroups();

    const TSettingsPlaces& Places() const { return places_; }

    // Showing the open dialog only brings it forward.
    void SetVisible(bool visible) override;

  protected:
    void FormCreate() override;

  private:
    void CreateControls();
    void CreateGroupsPage();
    void CreateWallpaperPage();
    void CreateLanguagePage();
    void CreateClockPage();
    void WireEvents();
    TPicture* DesktopPicture() const;
    void ShowDesktopWallpaper();
    void RepaintDesktop();
    void RestoreWallpaper();
    bool SaveWallpaper();
    void CheckConfigReadable() const;
    void InitGroupsMenu();

    TSettingsHost host_;
    TSettingsPlaces places_;
    // What lbGroupItems shows: the group's folder and each line's file, as
    // listed (the group field may be edited since).
    std::string itemsFolder_;
    std::vector<std::string> itemFiles_;
};

// The settings dialog; null before it exists.

} // namespace orvane
