// winwatch_block_helper OUTFILE: loads winwatch.dll (import table), opens the
// shared block by its name and writes its two fields as signed 32-bit decimal
// numbers, "window hook", to OUTFILE. Exit code 0 on success, 2 wrong usage,
// 3 no block, 4 no view, 5 cannot write.
#include "winwatch/winwatch.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    // The import makes the system load winwatch.dll, whose process attach
    // opens the block; take an address from it so the import stays.
    volatile auto keep = &SetShellHook;
    (void)keep;
    HANDLE mapping =
        OpenFileMappingA(FILE_MAP_READ, FALSE, "(2E662583-74C4-45DB-B6DF-FE358C94258D}");
    if (!mapping)
        return 3;
    const volatile LONG* fields =
        static_cast<const volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 8));
    if (!fields) {
        CloseHandle(mapping);
        return 4;
    }
    LONG window = fields[0], hook = fields[1];
    UnmapViewOfFile(const_cast<LONG*>(fields));
    CloseHandle(mapping);
    FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return 5;
    std::fprintf(out, "%ld %ld\n", static_cast<long>(window), static_cast<long>(hook));
    std::fclose(out);
    return 0;
}
