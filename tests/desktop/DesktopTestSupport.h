#pragma once
// A desktop over scratch folders: the two desktop folders, Links\Desktop,
// the wallpaper folder and the configuration file all live in one scratch
// folder, and the run's log is a scratch file.
#include "base/Log.h"
#include "desktop/DesktopForm.h"
#include "tests/support/TestSupport.h"

#include <memory>
#include <string>

namespace orvane::test {

class DesktopFixture {
  public:
    DesktopFixture();
    ~DesktopFixture();

    TDesktopPlaces Places() const;
    // Creates the desktop (replacing one made before).
    TfrmDesktop& Create();
    TfrmDesktop& desktop() { return *desktop_; }
    void Destroy();

    std::string User(const std::string& name) const { return Places().userDesktop + "\\" + name; }
    std::string Common(const std::string& name) const {
        return Places().commonDesktop + "\\" + name;
    }
    void SetSaved(const std::string& caption, const std::string& value) const;
    std::string Saved(const std::string& caption) const;
    TLink* Find(const std::string& caption) const;
    std::string LogText() const { return ReadFileText(logPath_); }

  private:
    ScratchDir dir_;
    std::string logPath_;
    std::unique_ptr<TLog> log_;
    TfrmDesktop* desktop_ = nullptr;
};

// The desktop window size the placement cases were written for.
bool ScreenIs1024x768();

// Where Wine's Recycle Bin puts what it is given (a Windows path), or ""
// unless that trash lies inside the prefix: tests that delete run only then.
std::string PrefixTrashFolder();

} // namespace orvane::test
