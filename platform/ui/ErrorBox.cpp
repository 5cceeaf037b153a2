#include "ErrorBox.h"

#include "AppTitle.h"
#include "Exception.h"

#include <QGuiApplication>
#include <QMessageBox>

void ShowException(const std::exception &error)
{
    const auto *own = dynamic_cast<const Exception *>(&error);
    const QString message = own ? own->Message() : QString::fromUtf8(error.what());
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    ErrorBoxText(message), QMessageBox::Ok);
    box.exec();
}
