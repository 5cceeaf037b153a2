#pragma once
// Form1, the program's one window. It owns every control, the clock timer tmUpdate and
// the time client NMTime1, and holds the program's whole state. A click runs a command:
// the command asks NMTime1 for the server seconds (FNTPSeconds), turns them into
// calendar fields and a local date-time value (FNTPDateTime) with the arithmetic in
// time/, shows them in the panels, and for "時間設定" hands the UTC fields to the
// system clock. Every handler runs guarded: an escaped error goes to the error box.

#include "DateTime.h"
#include "FormatSettings.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class ISystemClock;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class TNMTime;
class TPanel;
class TStatusBar;

class TForm1 : public QWidget
{
    Q_OBJECT
public:
    // Reads the design, starts the clock timer, then runs FormCreate with the first
    // query to the first of `hostPresets`. Raises Exception when the design cannot be
    // read; errors in FormCreate are shown in the error box and creation completes.
    explicit TForm1(std::unique_ptr<ISystemClock> systemClock,
                    const QStringList &hostPresets = DefaultHostPresets(),
                    QWidget *parent = nullptr);
    ~TForm1() override;

    static QStringList DefaultHostPresets();

    TNMTime *NMTime1 = nullptr;
    QPushButton *btnSet = nullptr;
    QTimer *tmUpdate = nullptr;
    TStatusBar *sbStatus = nullptr;
    QPushButton *btnExit = nullptr;
    TPanel *Panel1 = nullptr;
    TPanel *pnlNowDateTime = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QComboBox *cmbHostName = nullptr;
    QPushButton *btnReConnect = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    TPanel *Panel3 = nullptr;
    TPanel *pnlDateTime = nullptr;
    TPanel *Panel2 = nullptr;
    TPanel *pnlNTPDateTime = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

    void btnSetClick(QObject *Sender);
    void FormCreate(QObject *Sender);
    void tmUpdateTimer(QObject *Sender);
    void NMTime1Connect(QObject *Sender);
    void NMTime1Disconnect(QObject *Sender);
    void btnReConnectClick(QObject *Sender);
    void btnExitClick(QObject *Sender);

    // Read-only views of the state, for tests.
    quint32 NTPSeconds() const noexcept { return FNTPSeconds; }
    quorvel::TDateTime NTPDateTime() const noexcept { return FNTPDateTime; }
    bool CommandRunning() const noexcept { return FCommandRunning; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class TCommandGuard;

    void LoadDesign(const QStringList &hostPresets);
    void ShowStatus(const char *text);
    QString DisplayForm(quorvel::TDateTime value) const;

    bool GetNTPTime(quint16 &Year, quint16 &Month, quint16 &Day, quint16 &Hour, quint16 &Min,
                    quint16 &Sec);
    bool DecodeNTPLocalTime(quint16 &Year, quint16 &Month, quint16 &Day, quint16 &Hour,
                            quint16 &Min, quint16 &Sec);
    quorvel::TDateTime GetNTPDateTime();
    bool RefreshNTPTime();
    bool SetSystemDateTime();

    quint32 FNTPSeconds = 0;
    quorvel::TDateTime FNTPDateTime = 0;
    std::unique_ptr<ISystemClock> FSystemClock;
    TFormatSettings FFormatSettings;
    bool FCommandRunning = false;
    bool FCloseRequested = false;
};
