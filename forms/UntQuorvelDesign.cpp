#include "UntQuorvelDesign.h"

#include "Fonts.h"
#include "Texts.h"

#include <array>

namespace {
using K = TControlKind;

constexpr TDesignColor kWindowColor = DesignRgb(179, 253, 221);
constexpr TDesignColor kLabelPanelColor = DesignRgb(185, 225, 249);
constexpr TDesignColor kNtpPanelColor = DesignRgb(255, 128, 128);
constexpr TDesignColor kClockDigits = DesignRgb(0, 255, 0);

constexpr TDesignFont PG(int pixels) noexcept
{
    return {kProportionalGothic, pixels};
}
constexpr TDesignFont kWindowFont = PG(12);
constexpr TDesignFont kClockFont{kFixedGothic, 16, true, kClockDigits};
constexpr TDesignFont kInherit{};

// name, kind, parent, left, top, width, height, text, font, background, bevel, tab order
constexpr std::array kRows{
    TDesignRow{"Label1", K::Label, nullptr, 64, 384, 247, 12, texts::kOwnerNotice, kInherit,
               kclParent, TBevel::None, -1},
    TDesignRow{"Label2", K::Label, nullptr, 296, 0, 63, 12, texts::kVersion, kInherit, kclParent,
               TBevel::None, -1},
    TDesignRow{"btnSet", K::Button, nullptr, 40, 328, 97, 41, texts::kSetClock, PG(19), kclParent,
               TBevel::None, 0},
    TDesignRow{"sbStatus", K::StatusBar, nullptr, 0, 396, 371, 29, "", kWindowFont, kclBtnFace,
               TBevel::Lowered, 1},
    TDesignRow{"btnExit", K::Button, nullptr, 216, 328, 97, 41, texts::kExit, PG(19), kclParent,
               TBevel::None, 2},
    TDesignRow{"Panel1", K::Panel, nullptr, 24, 16, 105, 25, texts::kNow, PG(19), kLabelPanelColor,
               TBevel::Raised, 3},
    TDesignRow{"pnlNowDateTime", K::Panel, nullptr, 128, 16, 193, 25, texts::kDesignTime,
               kClockFont, kclWindowText, TBevel::Lowered, 4},
    TDesignRow{"GroupBox3", K::GroupBox, nullptr, 8, 56, 353, 265, texts::kNtpInfo, PG(16),
               kclParent, TBevel::None, 5},
    TDesignRow{"GroupBox2", K::GroupBox, "GroupBox3", 16, 152, 321, 105, texts::kServerName, PG(19),
               kclParent, TBevel::None, 0},
    TDesignRow{"cmbHostName", K::ComboBox, "GroupBox2", 16, 32, 289, 27, "", PG(19), kclParent,
               TBevel::None, 0},
    TDesignRow{"btnReConnect", K::Button, "GroupBox2", 80, 64, 153, 33, texts::kReConnect, PG(19),
               kclParent, TBevel::None, 1},
    TDesignRow{"GroupBox1", K::GroupBox, "GroupBox3", 16, 24, 321, 121, texts::kTimesAtReading,
               PG(19), kclParent, TBevel::None, 1},
    TDesignRow{"Panel3", K::Panel, "GroupBox1", 16, 32, 89, 25, texts::kSystem, PG(19),
               kLabelPanelColor, TBevel::Raised, 0},
    TDesignRow{"pnlDateTime", K::Panel, "GroupBox1", 104, 32, 193, 25, texts::kDesignTime,
               kClockFont, kclWindowText, TBevel::Lowered, 1},
    TDesignRow{"Panel2", K::Panel, "GroupBox1", 16, 72, 89, 25, texts::kNtp, PG(19), kNtpPanelColor,
               TBevel::Raised, 2},
    TDesignRow{"pnlNTPDateTime", K::Panel, "GroupBox1", 104, 72, 193, 25, texts::kDesignTime,
               kClockFont, kclWindowText, TBevel::Lowered, 3},
};

constexpr TFormDesign kForm1{texts::kCaption, 192, 107, 371, 425, kWindowColor, kWindowFont, kRows};
} // namespace

const TFormDesign &Form1Design()
{
    return kForm1;
}
