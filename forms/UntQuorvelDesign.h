#pragma once
// The main window's design: every control with its place, text, font and colours.

#include "Design.h"

const TFormDesign &Form1Design();

#include <array>

// Public RFC 868 servers offered in the server field, in this order: two host names and
// one dotted-quad address.
inline constexpr std::array<const char *, 3> kHostPresets{"time.nist.gov", "time-b-g.nist.gov",
                                                          "129.6.15.29"};
// Row height of the server field's drop-down list, design pixels.
inline constexpr int kHostListItemHeight = 19;
// Rows the drop-down shows before it scrolls.
inline constexpr int kHostListRows = 8;
