#pragma once

#include <QIcon>

// The application icon, embedded so it is available without files on disk.
QIcon MainIcon();
