#include "tray/ShellServiceObjects.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "system/Registry.h"

#include <string>

namespace orvane {

namespace {

constexpr const char* kDelayLoadKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
constexpr DWORD kStartCommand = 2;
constexpr DWORD kStopCommand = 3;

// CGID_ShellServiceObject
constexpr GUID kShellServiceObjectGroup = {
    0x000214D2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct NamedValue {
    std::string name;
    std::string text;
};

std::vector<NamedValue> DelayLoadValues() {
    std::vector<NamedValue> values;
    UniqueRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kDelayLoadKey, KEY_READ);
    if (!key)
        return values;
    for (std::string& name : RegValueNames(key.get())) {
        // A value of another type than text names no object: its text is empty.
        std::string text;
        Guarded("TTray.Create", FailurePolicy::Silent,
                [&] { text = ReadRegText(key.get(), name).value_or(std::string()); });
        values.push_back({std::move(name), std::move(text)});
    }
    return values;
}

CLSID ParseClassId(const std::string& text) {
    std::wstring wide = Wide(text);
    CLSID id{};
    if (text.empty() || FAILED(CLSIDFromString(wide.data(), &id)))
        throw ShellError("'" + text + "' is not a valid GUID value");
    return id;
}

void RunCommand(IOleCommandTarget& object, DWORD command) {
    VARIANT input;
    VariantInit(&input);
    input.vt = VT_I4;
    input.lVal = 0;
    VARIANT output;
    VariantInit(&output);
    // What the object answers is its own business.
    object.Exec(&kShellServiceObjectGroup, command, 0, &input, &output);
    VariantClear(&output);
}

} // namespace

void TShellServiceObjects::StartAll() {
    for (const NamedValue& value : DelayLoadValues()) {
        Guarded("TTray.Create", FailurePolicy::LogAndContinue, [&] {
            CLSID id = ParseClassId(value.text);
            ComPtr<IOleCommandTarget> object;
            HRESULT result =
                CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                 IID_IOleCommandTarget, object.putVoid());
            if (FAILED(result) || !object)
                throw ShellError(
                    "service object " + value.text + " (" + value.name +
                    ") cannot be created: " + SystemErrorText(static_cast<DWORD>(result)));
            RunCommand(*object.get(), kStartCommand);
            objects_.push_back(std::move(object));
        });
    }
}

void TShellServiceObjects::StopAll() {
    for (auto& object : objects_) {
        RunCommand(*object.get(), kStopCommand);
        object.reset();
    }
    objects_.clear();
}

} // namespace orvane
