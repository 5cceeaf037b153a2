#include "Application.h"

#include "AppTitle.h"
#include "ErrorBox.h"
#include "Fonts.h"

#include <QApplication>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

TApplication::TApplication() = default;
TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    QGuiApplication::setApplicationDisplayName(Title());
    InstallDesignFonts();
}

void TApplication::CreateForm(const std::function<std::unique_ptr<QWidget>()> &factory)
{
    std::unique_ptr<QWidget> form = factory();
    if (!FMainForm)
        FMainForm = std::move(form);
}

void TApplication::Run()
{
    if (!FMainForm)
        return;
#ifdef Q_OS_WIN
    // Honour the show command the process was started with (a maximised or minimised
    // shortcut, "start /min").
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const bool given = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
    if (given && startup.wShowWindow == SW_SHOWMAXIMIZED)
        FMainForm->showMaximized();
    else if (given &&
             (startup.wShowWindow == SW_SHOWMINIMIZED ||
              startup.wShowWindow == SW_SHOWMINNOACTIVE || startup.wShowWindow == SW_MINIMIZE))
        FMainForm->showMinimized();
    else
        FMainForm->show();
#else
    FMainForm->show();
#endif
    QApplication::exec();
}

QString TApplication::Title() const
{
    return ApplicationTitle(QCoreApplication::applicationFilePath());
}

int RunApplication(TApplication &application,
                   const std::function<std::unique_ptr<QWidget>()> &factory) noexcept
{
    try {
        application.Initialize();
        application.CreateForm(factory);
        application.Run();
    } catch (const std::exception &error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
    return 0;
}
