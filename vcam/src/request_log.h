// The evidence of every request a camera answered: one line each, appended and flushed at once,
//   cam=0 procamp set id=0 value=128 flags=2 hr=0x00000000 pid=32 t=81234
// "cam=N <interface> <request> <fields> hr=0x........" first, the process and tick count last.
#pragma once

#include "vcam_headers.h"

#include <string>

namespace vcam {

// Writes "cam=<camera> <text> hr=0x........ pid=.. t=..". camera -1 writes "cam=-".
void LogRequest(int camera, const std::string& text, HRESULT result);
// Writes "cam=<camera> <text> pid=.. t=.." for events that have no result.
void LogNote(int camera, const std::string& text);
// "0,0,0,3,0"
std::string JoinWords(const int* words, size_t count);
std::string HexResult(HRESULT result);

} // namespace vcam
