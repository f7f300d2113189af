// The status bar, which carries every status and value text.
#pragma once

void SetStatusText(const char* text);
// "Camera %d: %s" with the slot counted from 1 and the slot's name.
void FormatCameraLabel(int slot, char* text, int size);
