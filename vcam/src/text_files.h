// UTF-8 / UTF-16 conversion and whole-file reads and writes, the only file access the camera does.
#pragma once

#include <string>

namespace vcam {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// Reads the whole file; false when it cannot be opened.
bool ReadWholeFile(const std::wstring& path, std::string* contents);
// Replaces the file's contents, creating the file (not its folder) when absent.
bool WriteWholeFile(const std::wstring& path, const std::string& contents);
// Appends one line at the end in a single write, so lines of several processes never mix.
bool AppendToFile(const std::wstring& path, const std::string& line);
// The file's last write time and size packed into one number, 0 when absent: a cheap way to
// notice that another process changed it.
unsigned long long FileStamp(const std::wstring& path);

} // namespace vcam
