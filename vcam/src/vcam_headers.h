// The Windows and DirectShow headers the camera is written against, in one place. strsafe.h
// (pulled in by dshow.h) turns lstrcpyW and friends into errors unless told otherwise.
#pragma once

#define STRSAFE_NO_DEPRECATE
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <dshow.h>
#include <ocidl.h>
