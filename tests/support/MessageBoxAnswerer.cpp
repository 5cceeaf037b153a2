#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace {
constexpr int kPollMs = 5;
}

TMessageBoxAnswerer::TMessageBoxAnswerer()
{
    connect(&FPoll, &QTimer::timeout, this, &TMessageBoxAnswerer::AnswerOpenBoxes);
    FPoll.start(kPollMs);
}

void TMessageBoxAnswerer::AnswerOpenBoxes()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || !box->isVisible())
            continue;
        FShown.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    }
}
