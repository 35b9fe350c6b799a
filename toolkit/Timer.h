#pragma once
// A timer on the GUI thread (the taskbar clock's heartbeat). Not a control:
// its ticks arrive through one hidden window shared by all timers, so a timer
// freed from its own OnTimer simply stops getting them.
#include "toolkit/Component.h"

#include <windows.h>

namespace orvane {

class TTimer : public TComponent {
    ORVANE_COMPONENT(TTimer, TComponent)
  public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    // Milliseconds between ticks; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void Update();
    void Tick();

    UINT_PTR id_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
};

} // namespace orvane
