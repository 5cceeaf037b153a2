#include "Fonts.h"

#include <QStringList>

void InstallDesignFonts()
{
    static const bool installed = [] {
        // IPA faces first: drawn to the same metrics as the design's faces.
        QFont::insertSubstitutions(QString::fromUtf8(kProportionalGothic),
                                   {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                    QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")});
        QFont::insertSubstitutions(QString::fromUtf8(kFixedGothic),
                                   {QStringLiteral("IPAGothic"),
                                    QStringLiteral("Noto Sans Mono CJK JP"),
                                    QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic")});
        return true;
    }();
    Q_UNUSED(installed);
}

QFont DesignFont(const char *family, int pixelSize, bool bold)
{
    InstallDesignFonts();
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
