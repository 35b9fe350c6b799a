// Creation of the tray with and without shell service objects to start, and
// the "TaskbarCreated" broadcast. Changes HKEY_LOCAL_MACHINE: scratch prefix only.
#include "tests/tray/TrayFixture.h"

#include "base/Log.h"
#include "tests/support/TestSupport.h"

#include <docobj.h>

using namespace orvane;
using namespace traytest;

namespace {

constexpr char kDelayLoadKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
constexpr CLSID kFakeServiceId = {
    0x5f3c1e2a, 0x4b7d, 0x4c11, {0x9a, 0x20, 0x61, 0x7e, 0x2b, 0x90, 0x33, 0x41}};

std::vector<DWORD> execCommands;
int liveServices = 0;

class FakeService : public IOleCommandTarget {
  public:
    FakeService() { ++liveServices; }
    virtual ~FakeService() { --liveServices; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleCommandTarget) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD option, VARIANT* in,
                                   VARIANT*) override {
        const GUID shellServiceObject = {0x000214D2, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        if (group && *group == shellServiceObject && option == 0 && in && in->vt == VT_I4 &&
            in->lVal == 0)
            execCommands.push_back(command);
        return S_OK;
    }

  private:
    ULONG references_ = 1;
};

class FakeFactory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) override {
        auto* service = new FakeService;
        HRESULT result = service->QueryInterface(iid, object);
        service->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

TEST_F(TrayTest, ServiceObjectsStartWith2AndStopWith3) {
    FakeFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kFakeServiceId, &factory, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    test::SetRegString(HKEY_LOCAL_MACHINE, kDelayLoadKey, "Broken", "not a guid");
    test::SetRegString(HKEY_LOCAL_MACHINE, kDelayLoadKey, "Fake",
                       "{5F3C1E2A-4B7D-4C11-9A20-617E2B903341}");
    test::SetRegString(HKEY_LOCAL_MACHINE, kDelayLoadKey, "Missing",
                       "{00000000-1111-2222-3333-444444444444}");
    test::ScratchDir folder("tray");
    TLog log(folder / "tray.log");
    SetShellLog(&log);
    tray.reset();
    execCommands.clear();
    tray = std::make_unique<TTray>(*form->plSysTray, [] {});
    EXPECT_EQ(tray->ServiceObjectCount(), 1u);
    EXPECT_EQ(execCommands, std::vector<DWORD>{2});
    EXPECT_EQ(liveServices, 1);
    tray.reset();
    EXPECT_EQ(execCommands, (std::vector<DWORD>{2, 3}));
    EXPECT_EQ(liveServices, 0);
    SetShellLog(nullptr);
    CoRevokeClassObject(cookie);
    test::DeleteRegKey(HKEY_LOCAL_MACHINE, kDelayLoadKey);

    std::string text = test::ReadFileText(log.FileName());
    EXPECT_NE(text.find("TTray.Create: length(TrayInfo) = 0"), std::string::npos);
    EXPECT_NE(text.find("TTray.Create: 'not a guid' is not a valid GUID value"), std::string::npos);
    EXPECT_NE(text.find("TTray.Create: service object {00000000-1111-2222-3333-444444444444}"),
              std::string::npos);
}

TEST_F(TrayTest, WithoutTheKeyNothingStartsAndTaskbarCreatedIsBroadcast) {
    test::DeleteRegKey(HKEY_LOCAL_MACHINE, kDelayLoadKey);
    HWND listener = NewOwner();
    UINT created = RegisterWindowMessageA("TaskbarCreated");
    tray.reset();
    tray = std::make_unique<TTray>(*form->plSysTray, [] {});
    EXPECT_EQ(tray->ServiceObjectCount(), 0u);
    // Posting to every top-level window puts it into this thread's queue at once.
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, listener, created, created, PM_REMOVE));
}

} // namespace
