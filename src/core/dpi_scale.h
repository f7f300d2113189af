// Lengths of the window's 96-DPI layout at the screen's DPI.
#pragma once

// The DPI that the layout's rectangles, the font height and the window size are given for.
constexpr int kLayoutDpi = 96;

// A length of the 96-DPI layout at the given DPI: value * dpi / 96, rounded to the nearest whole
// pixel with halves away from zero, as MulDiv rounds. At 96 every value comes back unchanged.
int ScaledToDpi(int value, int dpi);
