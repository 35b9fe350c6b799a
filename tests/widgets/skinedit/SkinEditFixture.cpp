#include "tests/widgets/skinedit/SkinEditFixture.h"

#include "tests/support/TestSupport.h"

namespace orvane::test {

void SkinEditTest::SetUp() {
    form = CreateForm<TForm>(&App(), "frmEditTest");
    form->SetBounds(40, 40, 320, 240);
    form->Show();
}

void SkinEditTest::TearDown() {
    App().FreeComponent(form);
    PumpMessagesFor(10);
}

void TypeChar(HWND window, char key) {
    SendMessageA(window, WM_CHAR, static_cast<unsigned char>(key), 1);
}

void TypeText(HWND window, const char* text) {
    for (; *text; ++text)
        TypeChar(window, *text);
}

void TypeWide(HWND window, const std::wstring& text) {
    for (wchar_t unit : text)
        SendMessageW(window, WM_CHAR, unit, 1);
}

std::pair<DWORD, DWORD> EditSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

} // namespace orvane::test
