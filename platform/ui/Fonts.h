#pragma once
// The design names two Japanese Gothic faces, a proportional and a fixed-pitch one.
// They are mapped onto metric-compatible free faces, then onto any Japanese sans face.

#include <QFont>

inline constexpr char kProportionalGothic[] = "ＭＳ Ｐゴシック";
inline constexpr char kFixedGothic[] = "ＭＳ ゴシック";

// Idempotent; the design loader calls it too, so forms made in tests get the same faces.
void InstallDesignFonts();

// family: one of the two names above; pixelSize in device-independent pixels.
QFont DesignFont(const char *family, int pixelSize, bool bold = false);
