// Entry point: the application object creates Form1 and runs the loop until it closes.

#include "Application.h"
#include "UntQuorvel.h"
#include "clock/SystemClock.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    TApplication Application;
    RunApplication(Application, [] { return std::make_unique<TForm1>(CreateSystemClock()); });
    return 0;
}
