// Files the tool opens itself (the settings file's existence, the bitmap images).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The longest name the ANSI file functions take: MAX_PATH (260) less the terminator. A longer one
// fails with ERROR_FILENAME_EXCED_RANGE.
constexpr size_t kLongestFilePath = 259;

// From now on the paths of the file and profile functions (and the current directory) are UTF-8
// and reach the system's wide functions unchanged; without it they are in the ANSI code page, for
// the ANSI functions. The texts inside a settings file stay in the ANSI code page either way. The
// command-line program calls it first, the window program never.
void UseUtf8Paths();

// CreateFileA for reading, closed again at once: true when the file could be opened.
bool FileOpensForReading(const char* path);

struct FileTag;
using File = FileTag*;

// CreateFileA(GENERIC_WRITE, no sharing, CREATE_ALWAYS): null on failure (see LastErrorNumber).
File CreateFileForWriting(const char* path);
// WriteFile of one block: false on failure (see LastErrorNumber).
bool WriteToFile(File file, const void* data, uint32_t size);
// CloseHandle.
void CloseFile(File file);
// MoveFileExA(MOVEFILE_REPLACE_EXISTING): false on failure.
bool ReplaceFile(const char* from, const char* to);
// DeleteFileA.
void RemoveFile(const char* path);
// GetLastError.
uint32_t LastErrorNumber();

} // namespace platform
