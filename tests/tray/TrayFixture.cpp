#include "tests/tray/TrayFixture.h"

#include "base/Win32Handles.h"

#include <cstring>
#include <stdexcept>

namespace traytest {

using namespace orvane;

TfrmTrayTest::TfrmTrayTest(TComponent* owner, std::string name) : TForm(owner, std::move(name)) {
    SetBorderStyle(TBorderStyle::None);
    SetBounds(-2000, 10, 300, 30);
    Panel1 = NewComponent<TSkinPanel>(this);
    Panel1->SetName("Panel1");
    Panel1->SetBevelOuter(TPanelBevel::Frame);
    Panel1->SetAlign(TAlign::Client);
    Panel1->SetParent(this);
    plSysTray = NewComponent<TSkinPanel>(this);
    plSysTray->SetName("plSysTray");
    plSysTray->SetBevelOuter(TPanelBevel::Frame);
    plSysTray->SetBounds(0, 0, 18, 23);
    plSysTray->SetAlign(TAlign::Right);
    plSysTray->SetParent(Panel1);
    tbApplButtons = NewComponent<TSkinPanel>(this);
    tbApplButtons->SetName("tbApplButtons");
    tbApplButtons->SetAlign(TAlign::Client);
    tbApplButtons->SetParent(Panel1);
}

std::vector<uint8_t> PlatformBlock(const Request& r) {
    return PlatformBlock(r.command, r.owner, r.id, r.flags, r.callback, r.icon, r.tip);
}

std::vector<uint8_t> WineBlock(const Request& request) {
    std::vector<uint8_t> block(960, 0);
    auto put = [&block](size_t offset, uint32_t value) { Put32(block, offset, value); };
    put(0, Handle32(request.owner));
    put(4, request.id);
    put(8, request.flags);
    put(12, request.callback);
    std::memcpy(block.data() + 16, request.tip.data(),
                std::min<size_t>(request.tip.size(), 127) * sizeof(wchar_t));
    ICONINFO info{};
    if (!request.icon || !GetIconInfo(request.icon, &info))
        return block;
    UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAP colourInfo{};
    GetObjectA(colour.get(), sizeof colourInfo, &colourInfo);
    uint32_t width = colourInfo.bmWidth, height = colourInfo.bmHeight;
    uint32_t bpp = colourInfo.bmBitsPixel;
    put(944, width);
    put(948, height);
    put(952, 1);
    put(956, bpp);
    size_t maskBytes = (width * height + 15) / 16 * 2;
    size_t colourBytes = (width * height * bpp + 15) / 16 * 2;
    block.resize(960 + maskBytes + colourBytes);
    GetBitmapBits(mask.get(), static_cast<LONG>(maskBytes), block.data() + 960);
    GetBitmapBits(colour.get(), static_cast<LONG>(colourBytes), block.data() + 960 + maskBytes);
    return block;
}

LRESULT SendBlock(HWND tray, const void* block, size_t size, ULONG_PTR dwData) {
    COPYDATASTRUCT data{dwData, static_cast<DWORD>(size), const_cast<void*>(block)};
    return SendMessageA(tray, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void TrayTest::SetUp() {
    App();
    form = CreateForm<TfrmTrayTest>(&App(), "frmTrayTest");
    TTray::RunCommand = [this](const std::string& command) {
        commands.push_back(command);
        commandThreads.push_back(GetCurrentThreadId());
    };
    tray = std::make_unique<TTray>(*form->plSysTray, [this] { ++refreshes; });
}

void TrayTest::TearDown() {
    tray.reset();
    App().FreeComponent(form);
    for (HWND owner : owners)
        DestroyWindow(owner);
}

HWND TrayTest::NewOwner() {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    owners.push_back(owner);
    return owner;
}

LRESULT TrayTest::Send(const Request& request) {
    auto block = PlatformBlock(request);
    LRESULT reply = SendBlock(tray->Handle(), block.data(), block.size());
    // What the tray shows follows a moment later; the tests look at once.
    tray->Present();
    return reply;
}

LRESULT TrayTest::Add(HWND owner, uint32_t id, const std::wstring& tip, uint32_t callback) {
    Request request;
    request.owner = owner;
    request.id = id;
    request.tip = tip;
    request.callback = callback;
    request.icon = LoadIcon(nullptr, IDI_WARNING);
    return Send(request);
}

std::vector<TrayTest::Posted> TrayTest::TakePosted(HWND owner) {
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageA(&msg, owner, WM_APP, 0xBFFF, PM_REMOVE))
        posted.push_back({msg.wParam, msg.lParam, msg.message});
    return posted;
}

int TrayTest::IconControlsOnPanel() const {
    int count = 0;
    for (TControl* child : form->plSysTray->Controls())
        count += child->Is<TTrayIconImage>() ? 1 : 0;
    return count;
}

} // namespace traytest
