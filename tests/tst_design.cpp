// The main window as designed: every control's place, text, font, colours and frame,
// the Tab chain, and what moves when the window is resized.

#include "DesignLoader.h"
#include "DisplayForm.h"
#include "FakeSystemClock.h"
#include "Panel.h"
#include "ScriptedTimeServer.h"
#include "StatusBar.h"
#include "UntQuorvel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHostAddress>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kLightBlue = qRgb(185, 225, 249);
constexpr QRgb kPink = qRgb(255, 128, 128);
constexpr QRgb kNone = 1; // not checked

QString Text(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QPushButton *>(w))
        return button->text();
    if (auto *box = qobject_cast<const QGroupBox *>(w))
        return box->title();
    return {};
}
} // namespace

class tst_Design : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void window();
    void scaling_data();
    void scaling();
    void control_data();
    void control();
    void serverField();
    void tabChain();
    void resizeMovesOnlyTheStatusBar();
    void longStatusIsCutAtTheRightEnd();
    void liveClockTicksJustAfterEachSecond();
    void localeChangeIsReadAgain();

private:
    TFakeSystemClock::TLog FClockLog;
    std::unique_ptr<TForm1> FForm;
};

void tst_Design::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void tst_Design::init()
{
    // Nothing listens there: the first query fails at once and stays on this machine.
    const QString host = QStringLiteral("127.0.0.1:%1").arg(ScriptedTimeServer::unusedPort());
    FForm =
        std::make_unique<TForm1>(std::make_unique<TFakeSystemClock>(FClockLog), QStringList{host});
}

void tst_Design::cleanup()
{
    FForm.reset();
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void tst_Design::window()
{
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quorvel"));
    QCOMPARE(FForm->pos(), QPoint(192, 107));
    QCOMPARE(FForm->size(), QSize(371, 425));
    QCOMPARE(FForm->palette().color(QPalette::Window).rgb(), qRgb(179, 253, 221));
    QVERIFY(FForm->autoFillBackground());
    QCOMPARE(QFontInfo(FForm->font()).pixelSize(), 12);
    QCOMPARE(FForm->windowIcon().availableSizes().value(0), QSize(32, 32));
    QVERIFY(!FForm->isVisible()); // nothing is shown before the loop runs
    QVERIFY(FForm->Label1->fontMetrics().horizontalAdvance(FForm->Label1->text()) <= 247);
}

void tst_Design::scaling_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<double>("scale");
    QTest::newRow("96 dpi: as designed") << 96 << 1.0;
    QTest::newRow("120 dpi: 15 px text") << 120 << 1.25;
    QTest::newRow("144 dpi: 18 px text") << 144 << 1.5;
    QTest::newRow("100 dpi: text height rounds to 13") << 100 << 13.0 / 12;
}

void tst_Design::scaling()
{
    QFETCH(int, dpi);
    QFETCH(double, scale);
    QCOMPARE(DesignScale(dpi), scale);
}

void tst_Design::control_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QRgb>("textColor");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<int>("frame");

    const QString pg = QStringLiteral("IPAPGothic");
    const QString g = QStringLiteral("IPAGothic");
    const int none = QFrame::NoFrame;
    const int raised = QFrame::Panel | QFrame::Raised;
    const int lowered = QFrame::Panel | QFrame::Sunken;
    const QString form = QStringLiteral("");
    const QString designTime = QString();

    // name: parent, left top width height, text, font, text colour, background, frame
    QTest::newRow("Label1") << form << QRect(64, 384, 247, 12) << QString() << pg << 12 << false
                            << kNone << kNone << none;
    QTest::newRow("Label2") << form << QRect(296, 0, 63, 12) << "Version:1.0.0" << pg << 12 << false
                            << kNone << kNone << none;
    QTest::newRow("btnSet") << form << QRect(40, 328, 97, 41) << "時間設定" << pg << 19 << false
                            << kNone << kNone << -1;
    QTest::newRow("sbStatus") << form << QRect(0, 396, 371, 29) << QString() << pg << 12 << false
                              << kNone << kNone << -1;
    QTest::newRow("btnExit") << form << QRect(216, 328, 97, 41) << "終　了" << pg << 19 << false
                             << kNone << kNone << -1;
    QTest::newRow("Panel1") << form << QRect(24, 16, 105, 25) << "現在の時刻" << pg << 19 << false
                            << kBlack << kLightBlue << raised;
    QTest::newRow("pnlNowDateTime") << form << QRect(128, 16, 193, 25) << designTime << g << 16
                                    << true << kGreen << kBlack << lowered;
    QTest::newRow("GroupBox3") << form << QRect(8, 56, 353, 265) << "NTP情報" << pg << 16 << false
                               << kNone << kNone << -1;
    QTest::newRow("GroupBox2") << "GroupBox3" << QRect(16, 152, 321, 105)
                               << "ＮＴＰサーバ名／ＩＰアドレス" << pg << 19 << false << kNone
                               << kNone << -1;
    QTest::newRow("cmbHostName") << "GroupBox2" << QRect(16, 32, 289, 27) << QString() << pg << 19
                                 << false << kNone << kNone << -1;
    QTest::newRow("btnReConnect") << "GroupBox2" << QRect(80, 64, 153, 33) << "再取得" << pg << 19
                                  << false << kNone << kNone << -1;
    QTest::newRow("GroupBox1") << "GroupBox3" << QRect(16, 24, 321, 121) << "NTP取得時の時刻" << pg
                               << 19 << false << kNone << kNone << -1;
    QTest::newRow("Panel3") << "GroupBox1" << QRect(16, 32, 89, 25) << "システム" << pg << 19
                            << false << kBlack << kLightBlue << raised;
    QTest::newRow("pnlDateTime") << "GroupBox1" << QRect(104, 32, 193, 25) << "" << g << 16 << true
                                 << kGreen << kBlack << lowered;
    QTest::newRow("Panel2") << "GroupBox1" << QRect(16, 72, 89, 25) << "ＮＴＰ" << pg << 19 << false
                            << kBlack << kPink << raised;
    QTest::newRow("pnlNTPDateTime") << "GroupBox1" << QRect(104, 72, 193, 25) << "" << g << 16
                                    << true << kGreen << kBlack << lowered;
}

void tst_Design::control()
{
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(QRgb, textColor);
    QFETCH(QRgb, background);
    QFETCH(int, frame);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto *w = FForm->findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    if (parent.isEmpty())
        QCOMPARE(w->parentWidget(), FForm.get());
    if (qobject_cast<QLabel *>(w) && !qobject_cast<TPanel *>(w)) {
        // A label sizes itself to its text, so a wider stand-in face never clips it.
        QCOMPARE(w->pos(), geometry.topLeft());
        QCOMPARE(w->height(), geometry.height());
        QVERIFY(w->width() >= geometry.width());
        QVERIFY(w->width() >= w->fontMetrics().horizontalAdvance(Text(w)));
    } else {
        QCOMPARE(w->geometry(), geometry);
    }
    if (!text.isNull())
        QCOMPARE(Text(w), text);

    const QFontInfo font(w->font());
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pixelSize(), pixels);
    QCOMPARE(font.bold(), bold);
    if (textColor != kNone)
        QCOMPARE(w->palette().color(QPalette::WindowText).rgb(), textColor);
    if (background != kNone) {
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->palette().color(QPalette::Window).rgb(), background);
    }
    if (frame >= 0) {
        auto *panel = qobject_cast<QFrame *>(w);
        QVERIFY(panel);
        QCOMPARE(frame == QFrame::NoFrame ? int(panel->frameShape()) : panel->frameStyle(), frame);
        QCOMPARE(panel->lineWidth(), 1);
    }
    if (auto *panel = qobject_cast<TPanel *>(w)) {
        QCOMPARE(panel->alignment(), Qt::AlignCenter);
        QVERIFY(!panel->wordWrap());
    }
}

void tst_Design::serverField()
{
    const QStringList presets = TForm1::DefaultHostPresets();
    QCOMPARE(presets.size(), 3);
    QVERIFY(!presets[0].contains(u'/') && presets[0].count(u'.') >= 1);
    QVERIFY(QHostAddress(presets[2]).protocol() == QAbstractSocket::IPv4Protocol);

    QComboBox *combo = FForm->cmbHostName;
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->maxVisibleItems(), 8);
    QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->view()->sizeHintForRow(0), 19);
}

void tst_Design::tabChain()
{
    FForm->show();
    QApplication::setActiveWindow(FForm.get());
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    FForm->btnSet->setFocus();

    QList<QWidget *> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        // The server field's editor belongs to the field.
        if (focus && focus->parentWidget() == FForm->cmbHostName)
            focus = FForm->cmbHostName;
        visited << focus;
    }
    const QList<QWidget *> expected{FForm->btnExit, FForm->cmbHostName, FForm->btnReConnect,
                                    FForm->btnSet};
    QCOMPARE(visited, expected);
}

void tst_Design::resizeMovesOnlyTheStatusBar()
{
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    QHash<QWidget *, QRect> before;
    for (auto *w : FForm->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        before.insert(w, w->geometry());

    FForm->resize(520, 600);
    QTRY_COMPARE(FForm->sbStatus->geometry(), QRect(0, 600 - 29, 520, 29));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (it.key() != FForm->sbStatus)
            QCOMPARE(it.key()->geometry(), it.value());
}

void tst_Design::longStatusIsCutAtTheRightEnd()
{
    auto *part = FForm->sbStatus->findChild<QLabel *>();
    QVERIFY(part);
    QCOMPARE(part->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    const QRect partBefore = part->geometry();
    const QString longText = QString(200, QChar(0x6642)); // 時…
    FForm->sbStatus->SetSimpleText(longText);
    QCOMPARE(FForm->sbStatus->SimpleText(), longText);
    QCOMPARE(part->geometry(), partBefore);
    QCOMPARE(FForm->sbStatus->geometry(), QRect(0, 396, 371, 29));
}

void tst_Design::liveClockTicksJustAfterEachSecond()
{
    QVERIFY(FForm->tmUpdate->isActive());
    QVERIFY(FForm->tmUpdate->remainingTime() <= 1002);
    FForm->pnlNowDateTime->setText(QString());
    QTRY_VERIFY_WITH_TIMEOUT(!FForm->pnlNowDateTime->text().isEmpty(), 1500);
    // The panel shows the second the tick fell in: the one now, or the one just gone.
    const QString now = DateTimeToStr(Now(), ReadFormatSettings());
    const QString before = DateTimeToStr(Now() - 1.0 / 86'400, ReadFormatSettings());
    const QString shown = FForm->pnlNowDateTime->text();
    QVERIFY2(shown == now || shown == before, qPrintable(shown));
}

void tst_Design::localeChangeIsReadAgain()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(FForm.get(), &change);
    FForm->tmUpdateTimer(FForm->tmUpdate);
    QVERIFY2(FForm->pnlNowDateTime->text().contains(u'.'),
             qPrintable(FForm->pnlNowDateTime->text()));
}

QTEST_MAIN(tst_Design)
#include "tst_design.moc"
