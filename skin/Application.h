#pragma once
// The application object: the hidden "TApplication" window that stands for the
// program, its title, the main window and the message loop.
#include <windows.h>
#include <string>

namespace orvane {

class TApplication {
  public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication();

    HWND Handle() const { return handle_; }

    std::string Title() const;
    void SetTitle(const std::string& title);

    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& path) { helpFile_ = path; }

    // Closing the main window ends the message loop.
    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    // Runs the message loop until Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The title the window has before the program sets its own: the executable's
    // file name up to its first dot, all but the first character in lower case.
    static std::string InitialTitle(const std::string& executablePath);

  private:
    HWND handle_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::string helpFile_;
    bool terminated_ = false;
};

// The process's application object; null before it exists.
TApplication* Application();

} // namespace orvane
