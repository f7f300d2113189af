// The name of the claim that the window program holds on a camera while its preview graph exists,
// so that another process (the command-line program) can ask before it builds a graph of its own.
#pragma once

#include <string>

// "Global\Framewright.Preview.<hash>.<n>" for the slot's camera as the records name it: <hash> is
// the 64-bit FNV-1a hash of the record's Name in 16 hex digits, <n> the number of earlier slots
// whose Name is the same. Empty for a slot outside 0 to 5.
std::string PreviewClaimName(int slot);
