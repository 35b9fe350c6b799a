#pragma once
// The shell service objects the system lists for delayed loading: started
// when the tray comes up, closed when it goes.
#include "base/Win32Handles.h"

#include <docobj.h>

#include <vector>

namespace orvane {

class TShellServiceObjects {
  public:
    // Reads the ShellServiceObjectDelayLoad key of HKEY_LOCAL_MACHINE and
    // starts each object it names, in the order of the values. A value that
    // fails is logged with "TTray.Create: " and skipped; no key starts nothing.
    void StartAll();
    // Closes and releases every started object, first to last.
    void StopAll();
    size_t Count() const { return objects_.size(); }

  private:
    std::vector<ComPtr<IOleCommandTarget>> objects_;
};

} // namespace orvane
