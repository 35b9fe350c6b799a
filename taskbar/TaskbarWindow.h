#pragma once
// The main window of the shell. Creating it is the shell's start: it ends a
// running explorer, opens the work log, makes the shell the default shell and
// installs the shell hook. Closing it ends the shell.
#include "shell/Log.h"

#include <windows.h>
#include <memory>
#include <string>

namespace orvane {

class TfrmTaskbar {
  public:
    TfrmTaskbar();
    TfrmTaskbar(const TfrmTaskbar&) = delete;
    TfrmTaskbar& operator=(const TfrmTaskbar&) = delete;
    ~TfrmTaskbar();

    HWND Handle() const { return handle_; }
    // Enabled only when the start took its normal course.
    bool ClockEnabled() const { return clockEnabled_; }
    bool ExplorerWasRunning() const { return explorerWasRunning_; }
    TLog* Log() const { return log_.get(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormClose();
    void FormPaint();
    void EnableClock();

    HWND handle_ = nullptr;
    std::unique_ptr<TLog> log_;
    bool clockEnabled_ = false;
    bool explorerWasRunning_ = false;
    bool hooked_ = false;
};

} // namespace orvane
