#include "UntQuorvel.h"

#include "ClockTimer.h"
#include "DesignLoader.h"
#include "DisplayForm.h"
#include "Guarded.h"
#include "MainIcon.h"
#include "NMTime.h"
#include "ServerTime.h"
#include "StatusBar.h"
#include "Texts.h"
#include "UntQuorvelDesign.h"
#include "clock/SystemClock.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kQueryTimeOutMs = 5000; // name lookup, connection and answer, each

void SplitFields(const quorvel::CalendarFields &fields, quint16 &Year, quint16 &Month, quint16 &Day,
                 quint16 &Hour, quint16 &Min, quint16 &Sec) noexcept
{
    Year = fields.year;
    Month = fields.month;
    Day = fields.day;
    Hour = fields.hour;
    Min = fields.minute;
    Sec = fields.second;
}
} // namespace

// A command waits on the network or the clock while the window stays live. Its buttons
// are disabled meanwhile, so a second command can never start inside the first; a close
// asked for meanwhile takes effect once the command is over.
class TForm1::TCommandGuard
{
public:
    explicit TCommandGuard(TForm1 &form) : FForm(form), FEntered(!form.FCommandRunning)
    {
        if (!FEntered)
            return;
        FForm.FCommandRunning = true;
        FForm.btnSet->setEnabled(false);
        FForm.btnReConnect->setEnabled(false);
    }
    ~TCommandGuard()
    {
        if (!FEntered)
            return;
        FForm.FCommandRunning = false;
        FForm.btnSet->setEnabled(true);
        FForm.btnReConnect->setEnabled(true);
        if (FForm.FCloseRequested)
            QMetaObject::invokeMethod(&FForm, &QWidget::close, Qt::QueuedConnection);
    }
    TCommandGuard(const TCommandGuard &) = delete;
    TCommandGuard &operator=(const TCommandGuard &) = delete;

    bool Entered() const noexcept { return FEntered; }

private:
    TForm1 &FForm;
    const bool FEntered;
};

TForm1::TForm1(std::unique_ptr<ISystemClock> systemClock, const QStringList &hostPresets,
               QWidget *parent)
    : QWidget(parent), FSystemClock(std::move(systemClock)), FFormatSettings(ReadFormatSettings())
{
    LoadDesign(hostPresets);
    GuardedCall([this] { FormCreate(this); });
}

TForm1::~TForm1() = default;

QStringList TForm1::DefaultHostPresets()
{
    QStringList presets;
    for (const char *host : kHostPresets)
        presets << QString::fromLatin1(host);
    return presets;
}

void TForm1::LoadDesign(const QStringList &hostPresets)
{
    TDesignLoader loader(this);
    loader.Load(Form1Design());
    setWindowIcon(MainIcon());

    btnSet = FindControl<QPushButton>(this, "btnSet");
    sbStatus = FindControl<TStatusBar>(this, "sbStatus");
    btnExit = FindControl<QPushButton>(this, "btnExit");
    Panel1 = FindControl<TPanel>(this, "Panel1");
    pnlNowDateTime = FindControl<TPanel>(this, "pnlNowDateTime");
    GroupBox3 = FindControl<QGroupBox>(this, "GroupBox3");
    GroupBox2 = FindControl<QGroupBox>(this, "GroupBox2");
    cmbHostName = FindControl<QComboBox>(this, "cmbHostName");
    btnReConnect = FindControl<QPushButton>(this, "btnReConnect");
    GroupBox1 = FindControl<QGroupBox>(this, "GroupBox1");
    Panel3 = FindControl<TPanel>(this, "Panel3");
    pnlDateTime = FindControl<TPanel>(this, "pnlDateTime");
    Panel2 = FindControl<TPanel>(this, "Panel2");
    pnlNTPDateTime = FindControl<TPanel>(this, "pnlNTPDateTime");
    Label1 = FindControl<QLabel>(this, "Label1");
    Label2 = FindControl<QLabel>(this, "Label2");

    cmbHostName->setMaxVisibleItems(kHostListRows);
    const QSize itemSize(0, loader.Scaled(kHostListItemHeight));
    for (const QString &host : hostPresets) {
        cmbHostName->addItem(host);
        cmbHostName->setItemData(cmbHostName->count() - 1, itemSize, Qt::SizeHintRole);
    }

    NMTime1 = new TNMTime(this);
    NMTime1->setObjectName(QStringLiteral("NMTime1"));
    NMTime1->Host = hostPresets.value(0);
    NMTime1->Port = TNMTime::TimePort;
    NMTime1->TimeOut = kQueryTimeOutMs;
    NMTime1->ReportLevel = 0;
    ConnectHandler(NMTime1, &TNMTime::OnConnect, this, &TForm1::NMTime1Connect);
    ConnectHandler(NMTime1, &TNMTime::OnDisconnect, this, &TForm1::NMTime1Disconnect);

    auto *clockTimer = new TClockTimer(this);
    clockTimer->setObjectName(QStringLiteral("tmUpdate"));
    tmUpdate = clockTimer;
    ConnectHandler(tmUpdate, &QTimer::timeout, this, &TForm1::tmUpdateTimer);
    clockTimer->Start();

    ConnectHandler(btnSet, &QPushButton::clicked, this, &TForm1::btnSetClick);
    ConnectHandler(btnReConnect, &QPushButton::clicked, this, &TForm1::btnReConnectClick);
    ConnectHandler(btnExit, &QPushButton::clicked, this, &TForm1::btnExitClick);
}

void TForm1::FormCreate(QObject *)
{
    pnlNowDateTime->setText(DisplayForm(Now()));
    pnlDateTime->clear();
    pnlNTPDateTime->clear();
    cmbHostName->setCurrentIndex(0);
    TCommandGuard guard(*this);
    RefreshNTPTime();
}

void TForm1::tmUpdateTimer(QObject *)
{
    pnlNowDateTime->setText(DisplayForm(Now()));
}

void TForm1::NMTime1Connect(QObject *)
{
    ShowStatus(texts::kConnected);
}

void TForm1::NMTime1Disconnect(QObject *)
{
    ShowStatus(texts::kDisconnected);
}

void TForm1::btnReConnectClick(QObject *)
{
    TCommandGuard guard(*this);
    if (guard.Entered())
        RefreshNTPTime();
}

void TForm1::btnSetClick(QObject *)
{
    TCommandGuard guard(*this);
    if (!guard.Entered())
        return;
    RefreshNTPTime();
    SetSystemDateTime();
}

void TForm1::btnExitClick(QObject *)
{
    close();
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LocaleChange)
        FFormatSettings = ReadFormatSettings();
    QWidget::changeEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FCommandRunning) {
        FCloseRequested = true;
        event->ignore();
        return;
    }
    event->accept();
}

void TForm1::ShowStatus(const char *text)
{
    sbStatus->SetSimpleText(QString::fromUtf8(text));
}

QString TForm1::DisplayForm(quorvel::TDateTime value) const
{
    return DateTimeToStr(value, FFormatSettings);
}

bool TForm1::GetNTPTime(quint16 &Year, quint16 &Month, quint16 &Day, quint16 &Hour, quint16 &Min,
                        quint16 &Sec)
{
    try {
        NMTime1->Host = cmbHostName->currentText();
        const quint32 seconds = NMTime1->TimeInt();
        FNTPSeconds = seconds;
    } catch (...) {
        // Whatever went wrong, the user learns only the outcome, from the status line.
        NMTime1->Disconnect();
        return false;
    }
    SplitFields(quorvel::UtcFields(FNTPSeconds), Year, Month, Day, Hour, Min, Sec);
    return true;
}

bool TForm1::DecodeNTPLocalTime(quint16 &Year, quint16 &Month, quint16 &Day, quint16 &Hour,
                                quint16 &Min, quint16 &Sec)
{
    SplitFields(quorvel::LocalFields(FNTPSeconds), Year, Month, Day, Hour, Min, Sec);
    return true;
}

quorvel::TDateTime TForm1::GetNTPDateTime()
{
    quint16 year, month, day, hour, min, sec;
    DecodeNTPLocalTime(year, month, day, hour, min, sec);
    // Encoded directly: reading a formatted text back would depend on the user's date
    // order and separators.
    return quorvel::FieldsToDateTime({year, month, day, hour, min, sec});
}

bool TForm1::RefreshNTPTime()
{
    quint16 year, month, day, hour, min, sec;
    if (!GetNTPTime(year, month, day, hour, min, sec)) {
        ShowStatus(texts::kReadFailed);
        return false;
    }
    FNTPDateTime = GetNTPDateTime();
    pnlNTPDateTime->setText(DisplayForm(FNTPDateTime));
    pnlDateTime->setText(DisplayForm(Now()));
    ShowStatus(texts::kReadOk);
    return true;
}

bool TForm1::SetSystemDateTime()
{
    quint16 year, month, day, hour, min, sec;
    if (!GetNTPTime(year, month, day, hour, min, sec)) {
        ShowStatus(texts::kSetFailed);
        return false;
    }
    FNTPDateTime = GetNTPDateTime();
    const TSystemTime record{year, month, 0, day, hour, min, sec, 0};
    if (!FSystemClock || !FSystemClock->SetSystemTime(record)) {
        ShowStatus(texts::kSetFailed);
        return false;
    }
    ShowStatus(texts::kSetOk);
    pnlNTPDateTime->setText(DisplayForm(FNTPDateTime));
    pnlDateTime->setText(DisplayForm(Now()));
    return true;
}
