#pragma once
// The tray as the benchmarks run it: a hidden form with the notification panel
// laid out as in the taskbar, and a tray on it that starts no commands.
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "widgets/SkinPanel.h"
#include "tray/Tray.h"

#include <memory>

namespace traybench {

struct BenchTray {
    BenchTray();
    ~BenchTray();
    orvane::TApplication application;
    orvane::TForm* form = nullptr;
    orvane::TSkinPanel* plSysTray = nullptr;
    std::unique_ptr<orvane::TTray> tray;
};

} // namespace traybench
