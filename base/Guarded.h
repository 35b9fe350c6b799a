#pragma once
// The program's one error boundary. Failures are exceptions; every window
// procedure, timer, event handler, fill routine and request routine runs its
// body through Guarded, which catches what the body raises and deals with it
// by one of the named policies below. Nothing is retried.
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace orvane {

enum class FailurePolicy {
    // Event handlers, fill and request routines: one work-log line
    // "<where>: <message>" (where is "TfrmStart.InitSystemMenu", "TrayWindowProc",
    // "AutorunAll", ...), then the caller carries on with what it had.
    LogAndContinue,
    // The toolkit's last resort, for a failure that reached a window procedure
    // or a timer without a handler of its own: the application's error box
    // (TApplication::HandleException), then the message loop carries on.
    ShowError,
    // A step whose failure the caller reports in words of its own (a fixed
    // log line, a message box): nothing is written here.
    Silent,
};

// Where ShowError failures go. The application installs its error box here;
// until then (and in programs without one) they are logged like
// LogAndContinue.
void SetErrorBox(std::function<void(const std::string& message)> show);

// Deals with the failure being handled (call inside a catch block only).
void HandleCurrentFailure(std::string_view where, FailurePolicy policy) noexcept;
// The message of the failure being handled (call inside a catch block only).
std::string CurrentFailureMessage();

template <class Report> void ReportCurrentFailure(Report& report) noexcept {
    try {
        report(CurrentFailureMessage());
    } catch (...) {
        // Reporting failed too: nothing is left to tell.
    }
}

// Runs `body`; true when it finished, false when it failed and the failure
// was dealt with by `policy`.
template <class Body>
bool Guarded(std::string_view where, FailurePolicy policy, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        HandleCurrentFailure(where, policy);
        return false;
    }
}

// Runs `body`; on a failure hands its message to `report`, for routines with a
// reporting rule of their own (the tray's limit on logged requests, a
// routine whose log line carries more than the message).
template <class Body, class Report> bool GuardedReport(Body&& body, Report&& report) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        ReportCurrentFailure(report);
        return false;
    }
}

// For bodies that run inside a system loop that cannot be unwound (a popup
// menu's, a modal dialog's): keeps the first failure in `pending` so the code
// that started the loop can raise it again (RethrowPending) once the loop has
// returned.
template <class Body> bool GuardedForLater(std::exception_ptr& pending, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        if (!pending)
            pending = std::current_exception();
        return false;
    }
}

inline void RethrowPending(std::exception_ptr& pending) {
    if (std::exception_ptr failure = std::exchange(pending, nullptr))
        std::rethrow_exception(failure);
}

} // namespace orvane
