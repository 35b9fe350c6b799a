#pragma once
// A stack of pages of which one is shown at a time (the settings dialog's
// pages, picked from its page list). Each page is a plain container control
// filling the notebook.
#include "toolkit/Control.h"
#include "toolkit/StringList.h"

#include <string>
#include <vector>

namespace orvane {

class TPage : public TControl {
    ORVANE_COMPONENT(TPage, TControl)
  public:
    explicit TPage(TComponent* owner);

  protected:
};

class TNotebook : public TControl {
    ORVANE_COMPONENT(TNotebook, TControl)
  public:
    explicit TNotebook(TComponent* owner);

    // A new last page named `name`; the first page added is shown.
    TControl* AddPage(const std::string& name);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TControl* Page(int index) const;

    // The names of the pages in order. Adding a line adds a page and changing
    // one renames its page; removing lines leaves the pages alone, as their
    // controls would go with them.
    TStringList& Pages() { return names_; }

    // -1 while there are no pages. Out-of-range values are ignored.
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index);
    std::string ActivePage() const;
    void SetActivePage(const std::string& name);

    TNotifyEvent OnPageChanged;

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    void NamesChanged();
    TPage* NewPage(const std::string& name);
    void ShowCurrent();

    TStringList names_;
    std::vector<TPage*> pages_;
    int pageIndex_ = -1;
    bool syncing_ = false;
};

} // namespace orvane
