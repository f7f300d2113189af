// How the tool's narrow texts become the wide texts of the system's functions. The window program
// keeps the ANSI functions and never comes here; the command-line program's paths are UTF-8 (its
// arguments are converted from the command line's UTF-16 without loss), while the texts inside a
// settings file stay in the ANSI code page the window program writes them in.
#pragma once

#include "platform/win32/windows_headers_win32.h"

#include <cstdint>
#include <string>

namespace platform::win32 {

// Whether UseUtf8Paths was called: paths go through the wide functions.
bool Utf8Paths();

// A path of the tool as the wide functions take it (UTF-8).
std::wstring WidePath(const char* path);
// A path from a wide function as the tool holds it (UTF-8).
std::string NarrowPath(const wchar_t* path);

// A settings file's text (a section, a key, a value) as the wide profile functions take it: the
// ANSI code page, as the ANSI functions would read it.
std::wstring WideProfileText(const char* text);
// A wide profile function's answer put back into the caller's buffer in the ANSI code page, cut
// to size-1 bytes and terminated; returns the bytes copied.
uint32_t NarrowProfileText(const wchar_t* text, uint32_t length, char* buffer, uint32_t size);

} // namespace platform::win32
