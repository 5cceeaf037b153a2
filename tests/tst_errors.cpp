// Where errors end up: the error box, its caption and text, and a program that goes on.

#include "AppTitle.h"
#include "Application.h"
#include "Exception.h"
#include "Guarded.h"
#include "MessageBoxAnswerer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {
// A handler in the shape the form's have: it takes the sender and may raise.
class TRaisingHandler : public QObject
{
public:
    int entered = 0;
    int finished = 0;
    void Click(QObject *)
    {
        ++entered;
        if (entered == 1)
            throw Exception(QStringLiteral("日付が正しくありません"));
        ++finished;
    }
};
} // namespace

class tst_Errors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void title_data();
    void title();
    void boxText_data();
    void boxText();
    void raisingHandlerShowsTheBoxAndTheProgramGoesOn();
    void failingFormCreationShowsNoWindow();
    void runShowsTheFormAndReturnsZero();
};

void tst_Errors::initTestCase()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));
}

void tst_Errors::title_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("Windows program file") << R"(C:\Program Files\Quorvel\Quorvel.exe)"
                                          << "Quorvel";
    QTest::newRow("upper case, no extension") << "/usr/bin/QUORVEL"
                                              << "Quorvel";
    QTest::newRow("cut at the first dot") << "/opt/Quorvel.bin.exe"
                                          << "Quorvel";
    QTest::newRow("first character kept as it is") << "qUORVEL.EXE"
                                                   << "quorvel";
    QTest::newRow("dot in a directory is not cut") << "/home/a.b/Quorvel"
                                                   << "Quorvel";
}

void tst_Errors::title()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitle(path), title);
}

void tst_Errors::boxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("letter gets a dot") << "Socket error"
                                       << "Socket error.";
    QTest::newRow("dot is not doubled") << "Done."
                                        << "Done.";
    QTest::newRow("Japanese gets a dot") << "日付ではありません"
                                         << "日付ではありません.";
    QTest::newRow("Japanese full stop gets a dot too") << "終了しました。"
                                                       << "終了しました。.";
    QTest::newRow("! compares below .") << "Stop!"
                                        << "Stop!";
    QTest::newRow("- compares below .") << "a-"
                                        << "a-";
    QTest::newRow("/ compares above .") << "a/"
                                        << "a/.";
}

void tst_Errors::boxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

void tst_Errors::raisingHandlerShowsTheBoxAndTheProgramGoesOn()
{
    TMessageBoxAnswerer answerer;
    QPushButton button;
    TRaisingHandler handler;
    ConnectHandler(&button, &QPushButton::clicked, &handler, &TRaisingHandler::Click);

    button.click();
    QCOMPARE(handler.entered, 1);
    QCOMPARE(handler.finished, 0); // the rest of the handler was skipped
    QCOMPARE(answerer.Shown().size(), 1);
    const TShownBox &box = answerer.Shown().first();
    QCOMPARE(box.caption, QStringLiteral("Quorvel"));
    QCOMPARE(box.text, QStringLiteral("日付が正しくありません."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    button.click();
    QCOMPARE(handler.finished, 1);
    QCOMPARE(answerer.Shown().size(), 1);
}

void tst_Errors::failingFormCreationShowsNoWindow()
{
    TMessageBoxAnswerer answerer;
    TApplication application;
    bool created = false;
    const int result = RunApplication(application, [&]() -> std::unique_ptr<QWidget> {
        auto form = std::make_unique<QWidget>();
        created = true;
        throw Exception(QStringLiteral("ソケットを作成できません"));
    });
    QCOMPARE(result, 0);
    QVERIFY(created);
    QCOMPARE(application.MainForm(), nullptr);
    QCOMPARE(answerer.Shown().size(), 1);
    QCOMPARE(answerer.Shown().first().text, QStringLiteral("ソケットを作成できません."));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible() || qobject_cast<QMessageBox *>(widget),
                 qPrintable(widget->metaObject()->className()));
}

void tst_Errors::runShowsTheFormAndReturnsZero()
{
    TApplication application;
    bool shownWhileRunning = false;
    QTimer::singleShot(50, [&] {
        shownWhileRunning = application.MainForm() && application.MainForm()->isVisible();
        application.MainForm()->close();
    });
    const int result = RunApplication(application, [] { return std::make_unique<QWidget>(); });
    QCOMPARE(result, 0);
    QVERIFY(shownWhileRunning);
}

QTEST_MAIN(tst_Errors)
#include "tst_errors.moc"
