#pragma once
// The system's file dialogs as components: the settings dialog picks group
// items with an open dialog and the wallpaper with a picture dialog that
// previews the selected file.
#include "toolkit/Component.h"
#include "widgets/Image.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

namespace orvane {

class TOpenDialog : public TComponent {
    ORVANE_COMPONENT(TOpenDialog, TComponent)
  public:
    explicit TOpenDialog(TComponent* owner);

    std::string Title;
    // "Description|pattern|Description|pattern...", e.g. "Bitmaps (*.bmp)|*.bmp|All|*.*".
    std::string Filter;
    int FilterIndex = 1; // 1-based, as the system counts
    std::string InitialDir;
    std::string FileName;
    // Appended when the user types a name without extension ("bmp", no dot).
    std::string DefaultExt;
    // OFN_ flags beyond those Execute always sets.
    DWORD Options = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST;

    // Shows the dialog; true with FileName and FilterIndex set when the user
    // chose a file, false when cancelled. A dialog the system cannot show
    // raises ShellError.
    bool Execute();

    // The filter in the system's form (UTF-8 here, wide for the dialog): pairs
    // of zero-terminated strings, then one more zero. A description without a
    // pattern gets "*.*".
    static std::string SystemFilter(const std::string& filter);

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override;
    // The open or the save dialog.
    virtual BOOL RunDialog(OPENFILENAMEW& dialog);
    // Extra setup of the dialog structure (a hook for the preview).
    virtual void Prepare(OPENFILENAMEW& dialog);
};

// An open dialog with a preview of the selected bitmap or icon beside the list.
class TOpenPictureDialog : public TOpenDialog {
    ORVANE_COMPONENT(TOpenPictureDialog, TOpenDialog)
  public:
    explicit TOpenPictureDialog(TComponent* owner);

    // The picture previewed last; empty when the selection is not one.
    const TPicture& Preview() const { return preview_; }

  protected:
    void Prepare(OPENFILENAMEW& dialog) override;

  private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreatePreview(HWND dialog);
    void SelectionChanged(HWND dialog);
    void PaintPreview(HWND window);

    TPicture preview_;
    HWND previewWindow_ = nullptr; // a child of the system dialog, which destroys it
};

// The picture dialog of the saving kind: the user may also type a name that
// does not exist yet.
class TSavePictureDialog : public TOpenPictureDialog {
    ORVANE_COMPONENT(TSavePictureDialog, TOpenPictureDialog)
  public:
    explicit TSavePictureDialog(TComponent* owner);

  protected:
    BOOL RunDialog(OPENFILENAMEW& dialog) override;
};

} // namespace orvane
