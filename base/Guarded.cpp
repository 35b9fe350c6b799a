#include "base/Guarded.h"

#include "base/Log.h"

#include <utility>

namespace orvane {

namespace {

std::function<void(const std::string&)>& ErrorBox() {
    static std::function<void(const std::string&)> show;
    return show;
}

} // namespace

std::string CurrentFailureMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown failure";
    }
}

void SetErrorBox(std::function<void(const std::string& message)> show) {
    ErrorBox() = std::move(show);
}

void HandleCurrentFailure(std::string_view where, FailurePolicy policy) noexcept {
    if (policy == FailurePolicy::Silent)
        return;
    try {
        const std::string message = CurrentFailureMessage();
        if (policy == FailurePolicy::ShowError && ErrorBox()) {
            ErrorBox()(message);
            return;
        }
        LogFailure(std::string(where), message);
    } catch (...) {
        // Reporting failed too (no memory, no log): nothing is left to tell.
    }
}

} // namespace orvane
