// The display form every time panel shows, across locales.

#include "DisplayForm.h"

#include <QTest>

using quorvel::EncodeDateTime;
using quorvel::TDateTime;

class tst_DisplayForm : public QObject
{
    Q_OBJECT
private slots:
    void displayForm_data();
    void displayForm();
    void nowFollowsTheSystemClock();
};

void tst_DisplayForm::displayForm_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<TDateTime>("value");
    QTest::addColumn<QString>("expected");

    const TDateTime early = EncodeDateTime(2002, 10, 10, 1, 19, 44);
    const TDateTime afternoon = EncodeDateTime(2002, 10, 10, 13, 5, 9);
    QTest::newRow("Japanese") << "ja_JP" << early << "2002/10/10 1:19:44";
    QTest::newRow("US, marker after") << "en_US" << early << "10/10/02 1:19:44 AM";
    QTest::newRow("US, afternoon") << "en_US" << afternoon << "10/10/02 1:05:09 PM";
    QTest::newRow("US, noon is 12 PM")
        << "en_US" << EncodeDateTime(2002, 10, 10, 12, 0, 0) << "10/10/02 12:00:00 PM";
    QTest::newRow("US, after midnight is 12 AM")
        << "en_US" << EncodeDateTime(2002, 10, 10, 0, 30, 0) << "10/10/02 12:30:00 AM";
    QTest::newRow("Korean, marker before") << "ko_KR" << afternoon << "02. 10. 10. 오후 1:05:09";
    QTest::newRow("German, leading zero") << "de_DE" << early << "10.10.02 01:19:44";
    QTest::newRow("C locale falls back") << "C" << early << "10/10/02 1:19:44";
    QTest::newRow("midnight shows the date alone")
        << "ja_JP" << EncodeDateTime(2002, 10, 10, 0, 0, 0) << "2002/10/10";
    QTest::newRow("first second after midnight")
        << "ja_JP" << EncodeDateTime(2002, 10, 10, 0, 0, 0, 999) << "2002/10/10";
    QTest::newRow("rounded to the millisecond across midnight")
        << "ja_JP" << EncodeDateTime(2002, 10, 9, 23, 59, 59, 999) + 0.6 / 86'400'000
        << "2002/10/10";
    QTest::newRow("last millisecond stays in its day")
        << "ja_JP" << EncodeDateTime(2002, 10, 9, 23, 59, 59, 999) << "2002/10/09 23:59:59";
    QTest::newRow("first day of the scale") << "ja_JP" << TDateTime(2) << "1900/01/01";
}

void tst_DisplayForm::displayForm()
{
    QFETCH(QString, locale);
    QFETCH(TDateTime, value);
    QFETCH(QString, expected);
    QCOMPARE(DateTimeToStr(value, ReadFormatSettings(QLocale(locale))), expected);
}

void tst_DisplayForm::nowFollowsTheSystemClock()
{
    const QDateTime before = QDateTime::currentDateTime();
    const TDateTime now = Now();
    const QDateTime after = QDateTime::currentDateTime();
    const auto toValue = [](const QDateTime &t) {
        return EncodeDateTime(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
                              t.time().minute(), t.time().second(), t.time().msec());
    };
    QVERIFY(now >= toValue(before) && now <= toValue(after));
}

QTEST_GUILESS_MAIN(tst_DisplayForm)
#include "tst_displayform.moc"
