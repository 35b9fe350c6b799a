#pragma once
// Status bars: a strip along the bottom of a window divided into sunken
// panels of text. Without panels it shows its caption across the whole strip.
#include "toolkit/Control.h"

#include <string>
#include <vector>

namespace orvane {

struct TStatusPanel {
    std::string Text;
    int Width = 50; // the last panel reaches the right edge whatever its width
};

class TSkinStatusBar : public TControl {
    ORVANE_COMPONENT(TSkinStatusBar, TControl)
  public:
    // Aligned to the bottom, 19 pixels high.
    explicit TSkinStatusBar(TComponent* owner);

    const std::vector<TStatusPanel>& Panels() const { return panels_; }
    int AddPanel(const std::string& text, int width);
    // Raise ShellError for an index out of range.
    void SetPanelText(int index, const std::string& text);
    void SetPanelWidth(int index, int width);
    void ClearPanels();

    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);

    // Where the panel is drawn, in client coordinates.
    RECT PanelRect(int index) const;

  protected:
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    TStatusPanel& PanelAt(int index);

    std::vector<TStatusPanel> panels_;
    std::string skinElement_ = "statusbar";
};

} // namespace orvane
