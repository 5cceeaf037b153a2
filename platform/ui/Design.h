#pragma once
// A window's design as data: one row per control, in design order. Geometry is in
// pixels at 96 dpi relative to the parent's client area; fonts are pixel heights.

#include "Panel.h"

#include <QRgb>
#include <span>

enum class TControlKind
{
    Label,
    Button,
    Panel,
    GroupBox,
    ComboBox,
    StatusBar
};

struct TDesignColor
{
    enum class Source
    {
        Parent,
        Rgb,
        WindowText,
        ButtonFace
    } source = Source::Parent;
    QRgb rgb = 0;
};

constexpr TDesignColor DesignRgb(int r, int g, int b) noexcept
{
    return {TDesignColor::Source::Rgb, qRgb(r, g, b)};
}
inline constexpr TDesignColor kclParent{TDesignColor::Source::Parent};
inline constexpr TDesignColor kclWindowText{TDesignColor::Source::WindowText};
inline constexpr TDesignColor kclBtnFace{TDesignColor::Source::ButtonFace};

struct TDesignFont
{
    const char *family = nullptr; // nullptr: the window's font
    int pixelHeight = 0;
    bool bold = false;
    TDesignColor color = kclParent; // text colour; Parent means the window-text colour
};

struct TDesignRow
{
    const char *name;
    TControlKind kind;
    const char *parent; // nullptr: the window
    int left, top, width, height;
    const char *text;
    TDesignFont font;
    TDesignColor background;
    TBevel bevel;
    int tabOrder; // among the parent's controls; -1 when the control takes no focus
};

struct TFormDesign
{
    const char *caption;
    int left, top;                 // outer bounds on screen
    int clientWidth, clientHeight; // 371 x 425 leaves the outer 379 x 452 with the frame
    TDesignColor background;
    TDesignFont font;
    std::span<const TDesignRow> rows;
};
