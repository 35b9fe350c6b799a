#pragma once
// Combo boxes: the system's COMBOBOX with its list kept in a TStringList, so
// code fills Items and the window follows (and the other way round). The
// editable kind completes typed text from its list and passes the keys typed
// into its edit field to OnKeyPress, as the run box needs.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"
#include "toolkit/StringList.h"

#include <string>

namespace orvane {

enum class TComboBoxStyle { DropDown, DropDownList };

class TCustomComboBox : public TControl {
    ORVANE_COMPONENT(TCustomComboBox, TControl)
  public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }

    // -1 when no line is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // A list-only box shows the line whose text is set, or none.
    void SetCaption(const std::string& caption) override;

    // Editable (DropDown) or list only; changing it remakes the window.
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool autoComplete) { autoComplete_ = autoComplete; }
    // The most lines the open list shows at once.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count);

    // Opening does nothing while the list is empty.
    void SetDroppedDown(bool dropped);
    bool DroppedDown() const;

    // The edit field of an editable box; null otherwise.
    HWND EditHandle() const { return edit_; }

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    // The text changed, typed or picked from the list.
    TNotifyEvent OnChange;
    // A line was picked from the list.
    TNotifyEvent OnSelect;

  protected:
    const char* SystemClass() const override { return "COMBOBOX"; }
    DWORD WindowStyle() const override;
    void HandleCreated() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PublishProperties(std::vector<TProperty>& properties) override;
    // The font the window shows its text in.
    virtual TFont ComboFont() const { return Font; }
    virtual void DropDown();
    virtual void Change();
    // The edit field's messages, before the system sees them; true when handled.
    // A character beyond the BMP comes to OnKeyPress and to the completion
    // once, with its second half.
    virtual bool EditMessage(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result);

  private:
    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PushItems();
    void PullItem(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result);
    void SyncTextFromWindow();
    void FitDropDownHeight();
    bool Complete(const std::wstring& character);
    void HookEdit();
    void UnhookEdit();

    TStringList items_;
    TComboBoxStyle style_ = TComboBoxStyle::DropDown;
    bool autoComplete_ = true;
    int dropDownCount_ = 8;
    int itemIndex_ = -1; // while there is no window
    bool syncing_ = false;
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    TTypedCharacter editTyped_;
    UniqueFont font_;
};

class TComboBox : public TCustomComboBox {
    ORVANE_COMPONENT(TComboBox, TCustomComboBox)
  public:
    using TCustomComboBox::TCustomComboBox;
};

// Colours and font of the skin's "combobox" element, a flat border in its
// border colour and a button in its face over the system's.
class TSkinComboBox : public TCustomComboBox {
    ORVANE_COMPONENT(TSkinComboBox, TCustomComboBox)
  public:
    explicit TSkinComboBox(TComponent* owner);

  protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TFont ComboFont() const override;

  private:
    LRESULT CtlColor(HDC dc);
    void PaintFrame();
    UniqueBrush face_;
};

} // namespace orvane
