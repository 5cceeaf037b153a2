#pragma once
// The error box: the last stop of every error that escapes a handler. Modal, one OK
// button, the stop icon, the application title as caption.

#include <exception>

void ShowException(const std::exception &error);
