// The Windows headers as every binding file includes them: DirectShow's headers pull in
// strsafe.h, whose deprecation macros would turn the lstrcpy family into errors, so that is
// switched off before anything else sees it.
#pragma once

#ifndef STRSAFE_NO_DEPRECATE
#define STRSAFE_NO_DEPRECATE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
