#include "tray/ShellServiceObjects.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"

#include <string>

namespace orvane {

namespace {

constexpr char kDelayLoadKey[] =
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
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDelayLoadKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return values;
    UniqueRegKey key(opened);
    for (DWORD index = 0;; ++index) {
        char name[16384];
        BYTE data[1024] = {};
        DWORD nameLength = sizeof name, dataLength = sizeof data - 1, type = 0;
        LONG status =
            RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type, data, &dataLength);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            break;
        std::string text;
        if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
            text.assign(reinterpret_cast<const char*>(data),
                        strnlen(reinterpret_cast<const char*>(data), dataLength));
        values.push_back({name, text});
    }
    return values;
}

CLSID ParseClassId(const std::string& text) {
    std::wstring wide(text.begin(), text.end());
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
