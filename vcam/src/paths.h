// Where the camera finds its configuration, state, log and unplug files.
//
// Each comes from an environment variable; a value that starts with '/' is a Unix path and is
// reached through drive Z: (which a Wine prefix maps to the Unix root), anything else is used as
// a Windows path. Without the variable the files live in C:\framewright_vcam\ of the prefix;
// the configuration falls back to the path recorded at registration.
#pragma once

#include <string>

namespace vcam {

std::wstring ConfigPath();    // FRAMEWRIGHT_VCAM_CONFIG, else the registered one, else none
std::wstring StatePath();     // FRAMEWRIGHT_VCAM_STATE, else C:\framewright_vcam\state.txt
std::wstring LogPath();       // FRAMEWRIGHT_VCAM_LOG, else C:\framewright_vcam\requests.log
std::wstring UnplugPath();    // FRAMEWRIGHT_VCAM_UNPLUG, else C:\framewright_vcam\unplugged.txt
std::wstring DefaultFolder(); // C:\framewright_vcam

// A Unix path ("/tmp/x") as Z:\tmp\x; other text unchanged.
std::wstring WindowsPathOf(const std::wstring& path);
// The configuration path given in the environment only (recorded by registration).
std::wstring ConfigPathFromEnvironment();

} // namespace vcam
