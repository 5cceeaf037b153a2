// The clock commands on the real window: the first refresh, "再取得" and "時間設定"
// against a scripted loopback server, with a fake system clock.

#include "DisplayForm.h"
#include "FakeSystemClock.h"
#include "NMTime.h"
#include "Panel.h"
#include "ScriptedTimeServer.h"
#include "ServerTime.h"
#include "StatusBar.h"
#include "Texts.h"
#include "UntQuorvel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Script = ScriptedTimeServer::Script;

namespace {
// 2002-10-09 16:19:44 UTC
constexpr quint32 kAnswer = 3'243'169'184u;
constexpr quint32 kLaterAnswer = kAnswer + 3600;

QString Msg(const char *text)
{
    return QString::fromUtf8(text);
}

QString LocalDisplay(quint32 serverSeconds)
{
    return DateTimeToStr(quorvel::FieldsToDateTime(quorvel::LocalFields(serverSeconds)),
                         ReadFormatSettings());
}
} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstRefreshShowsBothTimes();
    void firstRefreshFailureLeavesPanelsBlank();
    void firstRefreshTicksWhileTheWindowIsHidden();
    void failureAfterSuccessKeepsTheEarlierReading();
    void setClockSetsTheServersUtcFields();
    void refusedSettingKeepsTheRefreshedPanels();
    void unreachableServerNeverTouchesTheClock();
    void commandsAreDisabledWhileAQueryWaits();
    void closeDuringAQueryEndsAfterIt();

private:
    std::unique_ptr<TForm1> MakeForm(const QString &host);
    QString ServerHost() const { return QStringLiteral("127.0.0.1:%1").arg(FServer->port()); }
    static QString ClosedHost()
    {
        return QStringLiteral("127.0.0.1:%1").arg(ScriptedTimeServer::unusedPort());
    }

    std::unique_ptr<ScriptedTimeServer> FServer;
    TFakeSystemClock::TLog FClock;
};

void tst_Commands::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void tst_Commands::init()
{
    FServer = std::make_unique<ScriptedTimeServer>();
    QVERIFY(FServer->isListening());
    Script script;
    script.value = kAnswer;
    FServer->setScript(script);
    FClock = {};
}

void tst_Commands::cleanup()
{
    FServer.reset();
}

std::unique_ptr<TForm1> tst_Commands::MakeForm(const QString &host)
{
    return std::make_unique<TForm1>(std::make_unique<TFakeSystemClock>(FClock), QStringList{host});
}

void tst_Commands::firstRefreshShowsBothTimes()
{
    const quorvel::TDateTime before = Now();
    auto form = MakeForm(ServerHost());

    QCOMPARE(FServer->connections(), 1);
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadOk));
    QCOMPARE(form->NTPSeconds(), kAnswer);
    QCOMPARE(form->NTPDateTime(), quorvel::EncodeDateTime(2002, 10, 10, 1, 19, 44));
    QCOMPARE(form->pnlNTPDateTime->text(), QStringLiteral("2002/10/10 1:19:44"));
    // The computer's own time, read after the answer.
    const QString system = form->pnlDateTime->text();
    QVERIFY(system == DateTimeToStr(before, ReadFormatSettings()) ||
            system == DateTimeToStr(Now(), ReadFormatSettings()));
    QVERIFY(!form->pnlNowDateTime->text().isEmpty());
    QVERIFY(FClock.records.isEmpty());
}

void tst_Commands::firstRefreshFailureLeavesPanelsBlank()
{
    auto form = MakeForm(ClosedHost());
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadFailed));
    QCOMPARE(form->pnlDateTime->text(), QString());
    QCOMPARE(form->pnlNTPDateTime->text(), QString());
    QCOMPARE(form->NTPDateTime(), 0.0);
    QCOMPARE(form->NTPSeconds(), 0u);
}

void tst_Commands::firstRefreshTicksWhileTheWindowIsHidden()
{
    Script slow = FServer->script();
    slow.pauseMs = 400; // the first answer takes about 1.2 s
    FServer->setScript(slow);

    QSet<QString> clockTexts;
    bool shownDuringCreation = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        for (QWidget *w : QApplication::allWidgets()) {
            if (w->objectName() == u"pnlNowDateTime")
                clockTexts.insert(static_cast<QLabel *>(w)->text());
            if (qobject_cast<TForm1 *>(w) && w->isVisible())
                shownDuringCreation = true;
        }
    });
    probe.start(50);
    auto form = MakeForm(ServerHost());
    probe.stop();

    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadOk));
    QVERIFY(!shownDuringCreation);
    QVERIFY2(clockTexts.size() >= 2, "the live clock did not tick during the first query");
}

void tst_Commands::failureAfterSuccessKeepsTheEarlierReading()
{
    auto form = MakeForm(ServerHost());
    Script script = FServer->script();
    script.value = kLaterAnswer;
    FServer->setScript(script);
    QTest::mouseClick(form->btnReConnect, Qt::LeftButton);
    QCOMPARE(FServer->connections(), 2); // each refresh makes its own connection
    QCOMPARE(form->pnlNTPDateTime->text(), LocalDisplay(kLaterAnswer));

    const QString later = form->pnlNTPDateTime->text();
    const QString laterSystem = form->pnlDateTime->text();
    form->cmbHostName->setCurrentText(ClosedHost());
    QTest::mouseClick(form->btnReConnect, Qt::LeftButton);
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadFailed));
    QCOMPARE(form->pnlNTPDateTime->text(), later);
    QCOMPARE(form->pnlDateTime->text(), laterSystem);
    QCOMPARE(form->NTPSeconds(), kLaterAnswer);
}

void tst_Commands::setClockSetsTheServersUtcFields()
{
    auto form = MakeForm(ServerHost());
    Script script = FServer->script();
    script.value = kLaterAnswer; // the clock is set from the second answer of the click
    FServer->setScript(script);
    QSignalSpy status(form->sbStatus, &TStatusBar::SimpleTextChanged);

    QTest::mouseClick(form->btnSet, Qt::LeftButton);

    QCOMPARE(FServer->connections(), 3);
    QCOMPARE(FClock.records.size(), 1);
    const TSystemTime &set = FClock.records.first();
    // 2002-10-09 17:19:44 UTC, whole seconds.
    QCOMPARE(set.wYear, 2002);
    QCOMPARE(set.wMonth, 10);
    QCOMPARE(set.wDay, 9);
    QCOMPARE(set.wHour, 17);
    QCOMPARE(set.wMinute, 19);
    QCOMPARE(set.wSecond, 44);
    QCOMPARE(set.wMilliseconds, 0);
    QCOMPARE(set.wDayOfWeek, 0);

    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kSetOk));
    QCOMPARE(form->pnlNTPDateTime->text(), QStringLiteral("2002/10/10 2:19:44"));
    const QStringList expected{Msg(texts::kConnected),    Msg(texts::kDisconnected),
                               Msg(texts::kReadOk),       Msg(texts::kConnected),
                               Msg(texts::kDisconnected), Msg(texts::kSetOk)};
    QStringList seen;
    for (const auto &args : status)
        seen << args.at(0).toString();
    QCOMPARE(seen, expected);
}

void tst_Commands::refusedSettingKeepsTheRefreshedPanels()
{
    auto form = MakeForm(ServerHost());
    FClock.accept = false;
    QTest::mouseClick(form->btnSet, Qt::LeftButton);
    QCOMPARE(FClock.records.size(), 1);
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kSetFailed));
    QCOMPARE(form->pnlNTPDateTime->text(), QStringLiteral("2002/10/10 1:19:44"));
}

void tst_Commands::unreachableServerNeverTouchesTheClock()
{
    auto form = MakeForm(ServerHost());
    form->cmbHostName->setCurrentText(ClosedHost());
    const QString ntp = form->pnlNTPDateTime->text();
    QSignalSpy status(form->sbStatus, &TStatusBar::SimpleTextChanged);

    QTest::mouseClick(form->btnSet, Qt::LeftButton);

    QStringList seen;
    for (const auto &args : status)
        seen << args.at(0).toString();
    const qsizetype refreshFailed = seen.indexOf(Msg(texts::kReadFailed));
    QVERIFY2(refreshFailed >= 0, qPrintable(seen.join(u'|')));
    QCOMPARE(seen.last(), Msg(texts::kSetFailed));
    QVERIFY(refreshFailed < seen.size() - 1);
    QVERIFY(FClock.records.isEmpty());
    QCOMPARE(form->pnlNTPDateTime->text(), ntp);
}

void tst_Commands::commandsAreDisabledWhileAQueryWaits()
{
    auto form = MakeForm(ServerHost());
    Script slow = FServer->script();
    slow.pauseMs = 400; // four bytes over about 1.2 s: at least one clock tick falls inside
    FServer->setScript(slow);
    form->pnlNowDateTime->setText(QString());

    bool disabledDuringQuery = false;
    bool tickedDuringQuery = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (!form->CommandRunning())
            return;
        disabledDuringQuery = !form->btnSet->isEnabled() && !form->btnReConnect->isEnabled();
        tickedDuringQuery = tickedDuringQuery || !form->pnlNowDateTime->text().isEmpty();
        QTest::mouseClick(form->btnSet, Qt::LeftButton);
        QTest::mouseClick(form->btnReConnect, Qt::LeftButton);
    });
    probe.start(100);

    QTest::mouseClick(form->btnReConnect, Qt::LeftButton);
    probe.stop();

    QVERIFY(disabledDuringQuery);
    QVERIFY(tickedDuringQuery);
    QCOMPARE(FServer->connections(), 2); // the clicks during the query started nothing
    QVERIFY(FClock.records.isEmpty());
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadOk));
    QVERIFY(form->btnSet->isEnabled() && form->btnReConnect->isEnabled());
}

void tst_Commands::closeDuringAQueryEndsAfterIt()
{
    auto form = MakeForm(ServerHost());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    Script slow = FServer->script();
    slow.pauseMs = 100;
    FServer->setScript(slow);

    bool closedEarly = true;
    QTimer::singleShot(100, form.get(), [&] {
        form->close();
        closedEarly = !form->isVisible();
    });
    QTest::mouseClick(form->btnReConnect, Qt::LeftButton);

    QVERIFY(!closedEarly); // the query was not cut short
    QCOMPARE(form->sbStatus->SimpleText(), Msg(texts::kReadOk));
    QTRY_VERIFY(!form->isVisible());
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
