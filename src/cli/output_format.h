// The pieces of the program's output: JSON strings, result codes, columns aligned for a person.
#pragma once

#include "platform/types.h"

#include <string>
#include <vector>

// A JSON string literal of a narrowed name or a path: the bytes are Latin-1 (the low 8 bits of the
// UTF-16 units), so each byte above 0x7F is written as the character of that code point.
std::string JsonString(const std::string& text);
// "0x80070057".
std::string ResultCode(platform::HResult result);
// Rows of cells, each column as wide as its widest cell and two blanks apart; no blanks at a line's
// end.
std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows);
