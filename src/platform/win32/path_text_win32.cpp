#include "platform/win32/path_text_win32.h"

#include "platform/files.h"

#include <vector>

namespace platform {

namespace {
bool utf8Paths = false;

// flags MB_ERR_INVALID_CHARS: bytes that are no text of the code page give an empty text, which
// every file function refuses, rather than a path with replacement characters in it.
std::wstring Widen(const char* text, UINT codePage, DWORD flags) {
    const int length = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}
} // namespace

void UseUtf8Paths() {
    utf8Paths = true;
}

namespace win32 {

bool Utf8Paths() {
    return utf8Paths;
}

std::wstring WidePath(const char* path) {
    return Widen(path, CP_UTF8, MB_ERR_INVALID_CHARS);
}

std::string NarrowPath(const wchar_t* path) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path, -1, &text[0], length, nullptr, nullptr);
    text.resize(static_cast<size_t>(length) - 1);
    return text;
}

std::wstring WideProfileText(const char* text) {
    return Widen(text, CP_ACP, 0);
}

uint32_t NarrowProfileText(const wchar_t* text, uint32_t length, char* buffer, uint32_t size) {
    if (size == 0)
        return 0;
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                           nullptr, nullptr);
    std::vector<char> narrow(static_cast<size_t>(needed > 0 ? needed : 0) + 1, '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), narrow.data(), needed,
                            nullptr, nullptr);
    const uint32_t copied = static_cast<uint32_t>(needed > 0 ? needed : 0) < size
                                ? static_cast<uint32_t>(needed)
                                : size - 1;
    for (uint32_t i = 0; i < copied; ++i)
        buffer[i] = narrow[i];
    buffer[copied] = '\0';
    return copied;
}

} // namespace win32
} // namespace platform
