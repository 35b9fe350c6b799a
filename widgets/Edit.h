#pragma once
// Single-line edit boxes. The system's EDIT control does the editing; the
// toolkit keeps Text in step with what the user types and tells OnChange.
// The skinned kind draws its border and colours from the skin's "edit"
// element, as the name entry of the file browser and the settings dialog show it.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"
#include "skinfile/SkinModel.h"

#include <string>
#include <utility>

namespace orvane {

// A font for a system control (WM_SETFONT), made from the toolkit's description.
UniqueFont CreateControlFont(const TFont& font);
// The toolkit's description of a skin font.
TFont FontFromSkin(const SkinFont& font);

class TCustomEdit : public TControl {
    ORVANE_COMPONENT(TCustomEdit, TControl)
  public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // 0: no limit beyond the system's. Counted as the system counts, in UTF-16
    // units: a character beyond the BMP takes two, and goes in whole or not at all.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    // The selection in bytes of Text(), UTF-8 as it is.
    void SelectAll();
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);

    // After every change of the text, typed or set.
    TNotifyEvent OnChange;

  protected:
    const char* SystemClass() const override { return "EDIT"; }
    DWORD WindowStyle() const override;
    void HandleCreated() override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PublishProperties(std::vector<TProperty>& properties) override;
    void TypeCharacter(const std::wstring& units, LPARAM lParam) override;
    virtual void Change();
    // The font the window shows its text in.
    virtual TFont EditFont() const { return Font; }
    void ApplyFont();

  private:
    // The selection in UTF-16 units, as the window has it.
    std::pair<DWORD, DWORD> WindowSelection() const;

    bool readOnly_ = false;
    int maxLength_ = 0;
    UniqueFont font_;
};

// The system's look: a sunken client edge.
class TEdit : public TCustomEdit {
    ORVANE_COMPONENT(TEdit, TCustomEdit)
  public:
    using TCustomEdit::TCustomEdit;

  protected:
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }
};

// A flat border in the skin's colour around the skin's face colour.
class TSkinEdit : public TCustomEdit {
    ORVANE_COMPONENT(TSkinEdit, TCustomEdit)
  public:
    explicit TSkinEdit(TComponent* owner);

  protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TFont EditFont() const override;

  private:
    void PaintBorder();
    UniqueBrush face_;
    COLORREF faceColor_ = CLR_INVALID;
};

} // namespace orvane
