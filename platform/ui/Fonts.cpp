#include "Fonts.h"

#include <QFontDatabase>
#include <QHash>
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

namespace {
// The first installed stand-in of a design face. Naming it directly spares the font
// matcher a search for a face that is not there, a good part of the start-up time.
QString InstalledFamily(const char *designFamily)
{
    static QHash<QByteArray, QString> resolved;
    const auto found = resolved.constFind(designFamily);
    if (found != resolved.cend())
        return *found;
    const QString name = QString::fromUtf8(designFamily);
    QString family = name;
    for (const QString &candidate : QFont::substitutes(name)) {
        if (QFontDatabase::hasFamily(candidate)) {
            family = candidate;
            break;
        }
    }
    resolved.insert(designFamily, family);
    return family;
}
} // namespace

QFont DesignFont(const char *family, int pixelSize, bool bold)
{
    InstallDesignFonts();
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
