#include "AppTitle.h"

#include <algorithm>

QString ApplicationTitle(const QString &programPath)
{
    const qsizetype slash = std::max(programPath.lastIndexOf(u'/'), programPath.lastIndexOf(u'\\'));
    QString name = programPath.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString ErrorBoxText(const QString &message)
{
    const QByteArray bytes = message.toUtf8();
    if (!bytes.isEmpty() &&
        static_cast<unsigned char>(bytes.back()) > static_cast<unsigned char>('.'))
        return message + u'.';
    return message;
}
