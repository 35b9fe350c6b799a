#include "WidgetFixture.h"

namespace orvane::test {

TApplication& TheApplication() {
    static TApplication application;
    static bool configured = false;
    if (!configured) {
        // An escaped error must fail the test, not wait in a message box.
        application.OnException = [](const std::string& message) {
            ADD_FAILURE() << "error escaped an event: " << message;
        };
        configured = true;
    }
    return application;
}

void WidgetTest::SetUp() {
    form = CreateForm<TForm>(&TheApplication(), "frmWidgets");
    form->SetBounds(0, 0, 400, 300);
}

void WidgetTest::TearDown() {
    TheApplication().FreeComponent(form);
}

} // namespace orvane::test
