// Asks a button window of another process for its down state and its
// component name, as an accessibility tool would. Usage: probe HWND OUTFILE.
// The exit code is 100 + BM_GETCHECK's answer; OUTFILE gets the name.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    HWND window =
        reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[1], nullptr, 10)));
    if (!IsWindow(window))
        return 3;
    DWORD_PTR check = 0;
    if (!SendMessageTimeoutA(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check))
        return 4;
    char name[256] = {};
    auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropA(window, "ComponentName")));
    if (atom)
        GlobalGetAtomNameA(atom, name, sizeof name);
    FILE* out = std::fopen(argv[2], "w");
    if (!out)
        return 5;
    std::fputs(name, out);
    std::fclose(out);
    return 100 + static_cast<int>(check);
}
