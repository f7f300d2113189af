// The simulated profile functions keep the parse of the bytes they read last and use it again for
// the very same bytes (see sim_profile.cpp).
#pragma once

namespace sim {

// Drops the kept parse (part of the simulated desktop's reset).
void ForgetParsedProfile();
// When on, a call that would use the kept parse parses the bytes as well and aborts when the two
// differ: the fuzz targets check with it that keeping the parse changes nothing.
void CheckParsedProfile(bool on);

} // namespace sim
