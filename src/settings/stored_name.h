// How a camera's friendly name is kept under "Name" in the settings file.
//
// The profile functions drop blanks at both ends of a value and one pair of matching quotes when
// they read it, and a line cannot hold a carriage return or a line feed; a friendly name comes
// from the device and its driver and may carry any of these (the narrowing of U+010A gives a line
// feed). A name that reads back unchanged is written as it is, as every file so far holds it.
// Any other name is written as a quoted text inside a second pair of quotes, with backslash,
// carriage return and line feed escaped: the reader drops the outer pair and returns a text that
// begins and ends with a quote, which no name written as it is can read back as. So no two names
// ever read back alike, and a different camera still counts as a changed configuration.
#pragma once

#include <cstddef>
#include <string>

// Room for reading "Name" back: the longest stored text (a 255-character name, each character
// escaped, four quotes) and more, so that a longer value can never compare equal.
constexpr size_t kStoredNameReadSize = 2 * 255 + 4 + 2;

// True when the profile functions return the name exactly as it was written.
bool NameReadsBackUnchanged(const std::string& name);
// The text written to "Name" for a camera's name.
std::string StoredName(const std::string& name);
// What reading "Name" gives for a file that holds StoredName(name).
std::string StoredNameAsRead(const std::string& name);
