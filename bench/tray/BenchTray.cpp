#include "bench/tray/BenchTray.h"

namespace traybench {

using namespace orvane;

BenchTray::BenchTray() {
    form = CreateForm<TForm>(&application, "frmBench");
    form->SetBorderStyle(TBorderStyle::None);
    form->SetBounds(-2000, 0, 800, 30);
    auto* middle = NewComponent<TSkinPanel>(form);
    middle->SetAlign(TAlign::Client);
    middle->SetParent(form);
    plSysTray = NewComponent<TSkinPanel>(form);
    plSysTray->SetBevelOuter(TPanelBevel::Frame);
    plSysTray->SetBounds(0, 0, 18, 23);
    plSysTray->SetAlign(TAlign::Right);
    plSysTray->SetParent(middle);
    TTray::RunCommand = [](const std::string&) {};
    tray = std::make_unique<TTray>(*plSysTray, [] {});
}

BenchTray::~BenchTray() {
    tray.reset();
    application.FreeComponent(form);
}

} // namespace traybench
