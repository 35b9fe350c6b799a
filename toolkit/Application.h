#pragma once
// The application object: the hidden "TApplication" window that stands for the
// program, the forms it owns in creation order, the main form, the message
// loop, hints, message boxes and the handler of errors that escape events.
#include "toolkit/Component.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace orvane {

class TForm;

class TApplication : public TComponent {
    ORVANE_COMPONENT(TApplication, TComponent)
  public:
    TApplication();
    ~TApplication() override;

    HWND Handle() const { return handle_; }

    std::string Title() const;
    void SetTitle(const std::string& title);

    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& path) { helpFile_ = path; }

    // Closing the main window ends the message loop.
    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form);

    // The forms this object owns, in the order they were created.
    std::vector<TForm*> Forms() const;

    // Runs the message loop until Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles the messages waiting now (used by modal loops and tests).
    void ProcessMessages();
    // Handles one message, waiting for it; false once the loop should end.
    bool HandleMessage();

    // A message box over the program; stay-on-top windows step back meanwhile.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // An error that escaped an event handler: shown, and the program goes on.
    void HandleException(const std::exception& error);
    void ReportError(const std::string& message);
    // Where HandleException shows its box; tests replace it.
    std::function<void(const std::string& message)> OnException;

    // Stay-on-top windows of this program are lowered while a message box or a
    // system dialog is up, and raised again afterwards.
    void NormalizeTopMosts();
    void RestoreTopMosts();

    // Tooltips for controls.
    void SetHint(HWND control, const std::string& text);
    void RemoveHint(HWND control);
    // Hands a mouse message of a control with a hint to the hint window,
    // which shows and hides the hint from them.
    void RelayHintEvent(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    HWND HintWindow() const { return hintWindow_; }

    // The title the window has before the program sets its own: the executable's
    // file name up to its first dot, all but the first character in lower case.
    static std::string InitialTitle(const std::string& executablePath);

  private:
    void EnsureHintWindow();

    HWND handle_ = nullptr;
    HWND mainWindow_ = nullptr;
    TForm* mainForm_ = nullptr;
    HWND hintWindow_ = nullptr;
    std::string helpFile_;
    bool terminated_ = false;
    int topMostLevel_ = 0;
    std::vector<HWND> loweredTopMosts_;
};

// The process's application object; null before it exists.
TApplication* Application();

} // namespace orvane
