#pragma once
// What the tray tests share: the application, a small form laid out like the
// middle of the taskbar, notify-icon blocks, owner windows and their mail.
#include "tests/support/TestApp.h"
#include "toolkit/Form.h"
#include "widgets/SkinPanel.h"
#include "tray/Tray.h"
#include "tray/TrayIconImage.h"
#include "tests/tray/TrayBlocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace traytest {

using orvane::test::App;

// Panel1 holds a client-aligned stand-in for the task button bar and the
// notification panel aligned right, 18 wide, as the taskbar lays them out.
class TfrmTrayTest : public orvane::TForm {
    ORVANE_COMPONENT(TfrmTrayTest, orvane::TForm)
  public:
    TfrmTrayTest(orvane::TComponent* owner, std::string name);
    orvane::TSkinPanel* Panel1 = nullptr;
    orvane::TSkinPanel* tbApplButtons = nullptr;
    orvane::TSkinPanel* plSysTray = nullptr;
};

// One request in the platform's block layout.
struct Request {
    uint32_t command = NIM_ADD;
    HWND owner = nullptr;
    uint32_t id = 0;
    uint32_t flags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    uint32_t callback = WM_APP + 1;
    HICON icon = nullptr;
    std::wstring tip;
};
std::vector<uint8_t> PlatformBlock(const Request& request);
LRESULT SendBlock(HWND tray, const void* block, size_t size, ULONG_PTR dwData = 1);

// Wine's layout of the same request, the icon sent as its bitmap bits.
std::vector<uint8_t> WineBlock(const Request& request);

class TrayTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A hidden top-level window of this thread, destroyed at the end of the test.
    HWND NewOwner();
    LRESULT Send(const Request& request);
    LRESULT Add(HWND owner, uint32_t id, const std::wstring& tip = L"tip",
                uint32_t callback = WM_APP + 1);
    // The callback messages posted to `owner` so far, as (wParam, lParam, message).
    struct Posted {
        WPARAM id;
        LPARAM mouse;
        UINT message;
    };
    std::vector<Posted> TakePosted(HWND owner);
    // The icon's control, with the tray's last change shown.
    orvane::TTrayIconImage& Icon(int index) {
        tray->Present();
        return *tray->TrayInfo().at(index).Control;
    }
    int IconControlsOnPanel() const;
    // The icons once the tray has shown its last change; -1 before.
    int ShownIcons() const { return tray->PresentPending() ? -1 : tray->IconCount(); }

    TfrmTrayTest* form = nullptr;
    std::unique_ptr<orvane::TTray> tray;
    std::vector<std::string> commands;
    std::vector<DWORD> commandThreads;
    int refreshes = 0;
    std::vector<HWND> owners;
};

} // namespace traytest
