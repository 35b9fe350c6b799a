// Round trips of notify-icon requests, from a second process as programs send
// them, next to a bare WM_COPYDATA round trip to a window that does nothing.
// Run without arguments: the program starts itself as the client and prints
// microseconds per request (median and mean) with 1, 50 and 500 icons present.
#include "bench/BenchSupport.h"
#include "bench/tray/BenchTray.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSignature = 0x34753423;
constexpr int kRounds = 300;

LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA)
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

double Now() {
    return bench::MicrosecondsNow();
}

struct Client {
    HWND tray = nullptr, sink = nullptr, owner = nullptr;
    HICON icons[2] = {};
    std::vector<uint8_t> wineIcons[2];

    LRESULT Send(HWND target, const std::vector<uint8_t>& block, ULONG_PTR dwData = 1) {
        COPYDATASTRUCT data{dwData, static_cast<DWORD>(block.size()),
                            const_cast<uint8_t*>(block.data())};
        return SendMessageA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(owner),
                            reinterpret_cast<LPARAM>(&data));
    }
    std::vector<uint8_t> Block(uint32_t command, uint32_t id, uint32_t flags, HICON icon,
                               const wchar_t* tip) {
        std::vector<uint8_t> block(32 + 128, 0);
        uint32_t fields[8] = {kSignature, command,
                              504,        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)),
                              id,         flags,
                              WM_APP + 1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(icon))};
        std::memcpy(block.data(), fields, sizeof fields);
        std::memcpy(block.data() + 32, tip, std::min<size_t>(wcslen(tip), 63) * 2);
        return block;
    }
    // Wine's layout: the record, then the icon's mask and colour bits.
    std::vector<uint8_t> WineModify(uint32_t id, int which, const wchar_t* tip) {
        std::vector<uint8_t> block(960, 0);
        uint32_t fields[4] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner)), id,
                              NIF_ICON | NIF_TIP, WM_APP + 1};
        std::memcpy(block.data(), fields, sizeof fields);
        std::memcpy(block.data() + 16, tip, std::min<size_t>(wcslen(tip), 127) * 2);
        block.insert(block.end(), wineIcons[which].begin() + 960, wineIcons[which].end());
        std::memcpy(block.data() + 944, wineIcons[which].data() + 944, 16);
        return block;
    }
    static std::vector<uint8_t> WineIconPart(HICON icon) {
        ICONINFO info{};
        GetIconInfo(icon, &info);
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        uint32_t w = colour.bmWidth, h = colour.bmHeight, bpp = colour.bmBitsPixel;
        size_t maskBytes = (w * h + 15) / 16 * 2, colourBytes = (w * h * bpp + 15) / 16 * 2;
        std::vector<uint8_t> block(960 + maskBytes + colourBytes, 0);
        uint32_t format[4] = {w, h, 1, bpp};
        std::memcpy(block.data() + 944, format, sizeof format);
        GetBitmapBits(info.hbmMask, static_cast<LONG>(maskBytes), block.data() + 960);
        GetBitmapBits(info.hbmColor, static_cast<LONG>(colourBytes),
                      block.data() + 960 + maskBytes);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        return block;
    }
};

struct Figure {
    double median, mean;
};

// Times `timed` only; `untimed` runs before it each round (to set the stage).
Figure Measure(int rounds, const std::function<void(int)>& timed,
               const std::function<void(int)>& untimed = nullptr) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        if (untimed)
            untimed(i);
        double start = Now();
        timed(i);
        times.push_back(Now() - start);
    }
    double sum = 0;
    for (double t : times)
        sum += t;
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], sum / static_cast<double>(times.size())};
}

void Print(const char* what, int present, Figure figure, double bare) {
    std::printf("%-34s %4d icons: median %8.1f us  mean %8.1f us  (%.2f x bare)\n", what, present,
                figure.median, figure.mean, figure.median / bare);
}

int RunClient(HWND tray, HWND sink) {
    Client client;
    client.tray = tray;
    client.sink = sink;
    client.owner = CreateWindowExA(0, "STATIC", "bench owner", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, nullptr, nullptr);
    client.icons[0] = static_cast<HICON>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(32515), IMAGE_ICON, 16, 16, LR_SHARED)); // IDI_WARNING
    client.icons[1] = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32516), IMAGE_ICON,
                                                    16, 16, LR_SHARED)); // IDI_INFORMATION
    client.wineIcons[0] = Client::WineIconPart(client.icons[0]);
    client.wineIcons[1] = Client::WineIconPart(client.icons[1]);

    auto small = client.Block(NIM_MODIFY, 1, 0, nullptr, L"bare");
    auto large = client.WineModify(1, 0, L"bare");
    Figure bare = Measure(kRounds * 3, [&](int) { client.Send(sink, small); });
    Figure bareLarge = Measure(kRounds * 3, [&](int) { client.Send(sink, large); });
    std::printf("bare WM_COPYDATA round trip (%zu bytes): median %8.1f us  mean %8.1f us\n",
                small.size(), bare.median, bare.mean);
    std::printf("bare WM_COPYDATA round trip (%zu bytes): median %8.1f us  mean %8.1f us\n",
                large.size(), bareLarge.median, bareLarge.mean);

    const wchar_t* tips[2] = {L"first tip", L"second tip"};
    std::deque<uint32_t> ids; // in display order
    uint32_t nextId = 0;
    auto add = [&](uint32_t id, HICON icon) {
        std::wstring tip = L"present " + std::to_wstring(id); // tips differ, as in life
        client.Send(tray, client.Block(NIM_ADD, id, 7, icon, tip.c_str()));
    };
    auto remove = [&](uint32_t id) {
        client.Send(tray, client.Block(NIM_DELETE, id, 0, nullptr, L""));
    };
    for (uint32_t wanted : {1u, 50u, 500u}) {
        while (ids.size() < wanted) {
            add(nextId, client.icons[0]);
            ids.push_back(nextId++);
        }
        uint32_t middle = ids[wanted / 2];
        // The machine's load drifts: each size gets its own bare figure.
        bare = Measure(kRounds * 2, [&](int) { client.Send(sink, small); });
        std::printf(
            "bare WM_COPYDATA round trip        %4u icons: median %8.1f us  mean %8.1f us\n",
            wanted, bare.median, bare.mean);
        constexpr uint32_t kExtra = 0x10000000;
        Print("add", wanted,
              Measure(
                  kRounds, [&](int) { add(kExtra, client.icons[1]); },
                  [&](int i) {
                      if (i > 0)
                          remove(kExtra);
                  }),
              bare.median);
        remove(kExtra);
        Print("modify tip + icon (handle)", wanted,
              Measure(kRounds,
                      [&](int i) {
                          client.Send(tray, client.Block(NIM_MODIFY, middle, NIF_TIP | NIF_ICON,
                                                         client.icons[i % 2], tips[i % 2]));
                      }),
              bare.median);
        Print("modify tip + icon (Wine bits)", wanted,
              Measure(kRounds,
                      [&](int i) {
                          client.Send(tray, client.WineModify(middle, i % 2, tips[i % 2]),
                                      NIM_MODIFY);
                      }),
              bare.median);
        Print("modify tip only", wanted,
              Measure(kRounds,
                      [&](int i) {
                          client.Send(tray, client.Block(NIM_MODIFY, middle, NIF_TIP, nullptr,
                                                         tips[i % 2]));
                      }),
              bare.median);
        Print(
            "delete last", wanted,
            Measure(
                kRounds, [&](int) { remove(kExtra); }, [&](int) { add(kExtra, client.icons[1]); }),
            bare.median);
        // The first icon: every other icon's picture and tip move one place.
        Print("delete first", wanted,
              Measure(
                  kRounds, [&](int) { remove(ids.front()); },
                  [&](int i) {
                      if (i > 0) {
                          uint32_t id = ids.front();
                          ids.pop_front();
                          add(id, client.icons[0]);
                          ids.push_back(id);
                      }
                  }),
              bare.median);
        uint32_t id = ids.front();
        ids.pop_front();
        add(id, client.icons[0]);
        ids.push_back(id);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--client")
        return RunClient(reinterpret_cast<HWND>(std::stoull(argv[2])),
                         reinterpret_cast<HWND>(std::stoull(argv[3])));
    traybench::BenchTray bench;
    HWND sink = bench::CreateBareWindow("OrvaneBenchSink", SinkProc);
    HANDLE client = bench::StartSelf(
        "--client " + std::to_string(reinterpret_cast<uintptr_t>(bench.tray->Handle())) + " " +
        std::to_string(reinterpret_cast<uintptr_t>(sink)));
    if (!client)
        return 1;
    // The client's requests are handled here, in this thread's message loop.
    while (MsgWaitForMultipleObjects(1, &client, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    DWORD code = 1;
    GetExitCodeProcess(client, &code);
    CloseHandle(client);
    std::printf("icons left on the panel: %d\n", bench.tray->IconCount());
    return static_cast<int>(code);
}
