// The Windows entry point hands the module over to the portable start-up.
#include "platform/win32/windows_headers_win32.h"

#include "app/app_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return AppMain(reinterpret_cast<platform::Instance>(instance));
}
