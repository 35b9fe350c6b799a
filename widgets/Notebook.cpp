#include "widgets/Notebook.h"

#include <algorithm>

namespace orvane {

TPage::TPage(TComponent* owner) : TControl(owner) {
    // A page shows the notebook behind it, which in turn shows the dialog.
    SetTransparent(true);
    SetAlign(TAlign::Client);
}

TNotebook::TNotebook(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 150, 150);
    SetTransparent(true);
    names_.OnChange = [this] { NamesChanged(); };
}

TPage* TNotebook::NewPage(const std::string& name) {
    TPage* page = NewComponent<TPage>(this);
    page->SetCaption(name);
    page->SetVisible(false);
    page->SetParent(this);
    pages_.push_back(page);
    return page;
}

TControl* TNotebook::AddPage(const std::string& name) {
    syncing_ = true;
    names_.Add(name);
    syncing_ = false;
    TPage* page = NewPage(name);
    if (pageIndex_ < 0)
        SetPageIndex(0);
    return page;
}

TControl* TNotebook::Page(int index) const {
    if (index < 0 || index >= PageCount())
        return nullptr;
    return pages_[static_cast<size_t>(index)];
}

void TNotebook::NamesChanged() {
    if (syncing_)
        return;
    int named = std::min(PageCount(), names_.Count());
    for (int i = 0; i < named; ++i)
        pages_[static_cast<size_t>(i)]->SetCaption(names_[i]);
    while (PageCount() < names_.Count())
        NewPage(names_[PageCount()]);
    if (pageIndex_ < 0 && PageCount() > 0)
        pageIndex_ = 0;
    ShowCurrent();
}

void TNotebook::SetPageIndex(int index) {
    if (index < 0 || index >= PageCount())
        return;
    bool changed = index != pageIndex_;
    pageIndex_ = index;
    ShowCurrent();
    if (changed && OnPageChanged)
        OnPageChanged(*this);
}

void TNotebook::ShowCurrent() {
    // The new page first, so the notebook never shows an empty moment.
    if (TControl* current = Page(pageIndex_)) {
        current->SetVisible(true);
        current->BringToFront();
    }
    for (int i = 0; i < PageCount(); ++i)
        if (i != pageIndex_)
            pages_[static_cast<size_t>(i)]->SetVisible(false);
    Realign();
}

std::string TNotebook::ActivePage() const {
    TControl* page = Page(pageIndex_);
    return page ? page->Caption() : std::string();
}

void TNotebook::SetActivePage(const std::string& name) {
    SetPageIndex(names_.IndexOf(name));
}

void TNotebook::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(ListProperty("Pages", [this] { return &names_; }));
    properties.push_back(IntegerProperty(
        "PageIndex", [this] { return pageIndex_; },
        [this](int64_t v) { SetPageIndex(static_cast<int>(v)); }));
    properties.push_back(StringProperty(
        "ActivePage", [this] { return ActivePage(); },
        [this](const std::string& v) { SetActivePage(v); }));
}

} // namespace orvane
