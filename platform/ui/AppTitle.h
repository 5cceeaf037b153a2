#pragma once
// Texts the application derives from its own name and from error messages.

#include <QString>

// "C:\\bin\\Quorvel.exe", "/usr/bin/QUORVEL" -> "Quorvel": the file name without its
// directory, cut at the first ".", every character after the first lower-cased.
QString ApplicationTitle(const QString &programPath);

// The error box ends a sentence with "." unless the message is empty or already ends
// with a byte that does not compare greater than "." (the last byte of its UTF-8 form).
QString ErrorBoxText(const QString &message);
