// Runs a profile case file against one implementation of the private-profile functions and
// prints every result and the bytes of every file the case names. The Windows probe
// (tests/wine/profile_probe.cpp) runs it on the system's own functions, the host runner
// (tests/host/profile_sim_runner.cpp) on the simulated desktop's; tests/e2e/profile_differential.sh
// compares what the two print.
//
// A case file has one step a line, fields separated by '|', with \r \n \t \\ and \xHH escapes:
//   file|NAME|CONTENTS                    create NAME in the working folder
//   int|SECTION|KEY|DEFAULT|NAME          GetPrivateProfileIntA
//   str|SECTION|KEY|DEFAULT|SIZE|NAME     GetPrivateProfileStringA into a buffer of SIZE
//   write|SECTION|KEY|VALUE|NAME          WritePrivateProfileStringA
//   cwd                                   GetCurrentDirectoryA with buffers around the length
//   lock|NAME  unlock|NAME                hold NAME open without sharing (so that it cannot be
//                                         opened), or close it again; all are closed at the end
//   delete|NAME                           DeleteFileA
// A NAME without a directory part is taken in the working folder; "#" starts a comment line. A
// SECTION, KEY, DEFAULT or VALUE that is exactly ~null passes a null pointer.
#pragma once

#include <cstdint>
#include <string>

// The operations a case needs; paths are full paths.
struct ProfileSystem {
    uint32_t (*currentDirectory)(uint32_t size, char* buffer);
    int32_t (*readInt)(const char* section, const char* key, int32_t fallback, const char* path);
    uint32_t (*readString)(const char* section, const char* key, const char* fallback, char* buffer,
                           uint32_t size, const char* path);
    bool (*writeString)(const char* section, const char* key, const char* value, const char* path);
    void (*createFile)(const std::string& path, const std::string& bytes);
    // False when the file does not exist or cannot be read.
    bool (*readFile)(const std::string& path, std::string* bytes);
    void (*deleteFile)(const std::string& path);
    // False when the file cannot be opened.
    bool (*lockFile)(const std::string& path);
    // False when the file was not locked.
    bool (*unlockFile)(const std::string& path);
    void (*unlockAll)();
};

// The exit code for main: 0, or 2 for a usage error, an unreadable case file or a bad step.
int RunProfileCases(int argc, char** argv, const char* programName, const ProfileSystem& system);
