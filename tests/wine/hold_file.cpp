// hold_file.exe PATH RELEASE SECONDS: holds PATH open for reading and writing without sharing, as
// another program that has the file open would, until the file RELEASE exists or SECONDS have
// passed. Prints "held" once the handle is open, or "failed ERROR" and exits with 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hold_file PATH RELEASE SECONDS\n");
        return 2;
    }
    const HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("failed %lu\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    const DWORD limit = static_cast<DWORD>(std::atoi(argv[3])) * 1000;
    for (DWORD waited = 0; waited < limit; waited += 50) {
        if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES)
            break;
        Sleep(50);
    }
    CloseHandle(file);
    std::printf("released\n");
    return 0;
}
