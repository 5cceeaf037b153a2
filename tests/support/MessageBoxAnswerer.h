#pragma once
// Answers every message box that opens while it lives, recording what each showed, so
// tests can drive code that shows the error box without a person at the screen.

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

struct TShownBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

class TMessageBoxAnswerer : public QObject
{
    Q_OBJECT
public:
    TMessageBoxAnswerer();

    const QList<TShownBox> &Shown() const noexcept { return FShown; }

private:
    void AnswerOpenBoxes();

    QTimer FPoll;
    QList<TShownBox> FShown;
};
