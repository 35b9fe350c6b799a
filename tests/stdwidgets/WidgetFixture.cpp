#include "WidgetFixture.h"
#include "shell/Dib.h"

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

ClientCapture::ClientCapture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    void* bits = nullptr;
    bitmap_ = orvane::CreateTopDownDib(width_, height_, &bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    SelectObject(dc_.get(), bitmap_.get());
    // Magenta first, so a control that paints nothing cannot pass for one that does.
    UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc_.get(), &client, magenta.get());
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
}

int ClientCapture::CountOtherThan(COLORREF color) const {
    int count = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != color)
                ++count;
    return count;
}

} // namespace orvane::test
