#include "MainIcon.h"

QIcon MainIcon()
{
    return QIcon(QStringLiteral(":/MAINICON.xpm"));
}
