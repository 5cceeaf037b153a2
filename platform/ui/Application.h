#pragma once
// The application object: sets the title, creates the one main form, runs the loop.
// RunApplication guards the whole start as one block: an error while the form's design
// is read is shown and the program ends without ever showing a window.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

class TApplication
{
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication &) = delete;
    TApplication &operator=(const TApplication &) = delete;

    void Initialize();
    // The form is constructed hidden; its creation handler has run when this returns.
    void CreateForm(const std::function<std::unique_ptr<QWidget>()> &factory);
    // Shows the main form and dispatches messages until it is closed.
    void Run();

    QString Title() const;
    QWidget *MainForm() const noexcept { return FMainForm.get(); }

private:
    std::unique_ptr<QWidget> FMainForm;
};

// Steps 1 to 3 of the program as one guarded block; always returns 0.
int RunApplication(TApplication &application,
                   const std::function<std::unique_ptr<QWidget>()> &factory) noexcept;
