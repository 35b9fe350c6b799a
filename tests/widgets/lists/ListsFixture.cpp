#include "tests/widgets/lists/ListsFixture.h"

namespace orvane::test {

namespace {

// One shown form for all tests: under Wine, hiding or destroying a shown
// window waits for the X server for seconds.
TForm* SharedForm() {
    static TForm* form = [] {
        auto* created = CreateForm<TForm>(&App(), "frmLists");
        created->SetBorderStyle(TBorderStyle::None);
        created->SetBounds(40, 40, 400, 300);
        created->Show();
        return created;
    }();
    return form;
}

} // namespace

void ListsTest::SetUp() {
    form_ = SharedForm();
    App().ProcessMessages();
}

void ListsTest::TearDown() {
    while (!form_->Components().empty())
        form_->FreeComponent(form_->Components().back().get());
    App().ProcessMessages();
}

void ListsTest::PaintNow(TControl& control) {
    InvalidateRect(control.Handle(), nullptr, TRUE);
    UpdateWindow(control.Handle());
}

} // namespace orvane::test
