#pragma once
#include "toolkit/Application.h"

namespace orvane::test {

// The one application object of a test executable.
inline TApplication& App() {
    static TApplication application;
    return application;
}

} // namespace orvane::test
