// DirectShow's headers with the strsafe deprecation switched off (see windows_headers_win32.h).
#pragma once

#include "platform/win32/windows_headers_win32.h"

#include <dshow.h>
#include <wrl/client.h>
