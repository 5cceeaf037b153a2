#include "DateTime.h"

#include <QString>
#include <QTest>

#include <chrono>

using namespace quorvel;

Q_DECLARE_METATYPE(quorvel::DateTimeFields)

namespace quorvel {

// Found by QCOMPARE through argument-dependent lookup.
char *toString(const DateTimeFields &f)
{
    const QString text = QStringLiteral("%1-%2-%3 %4:%5:%6.%7")
                             .arg(f.year, 4, 10, QLatin1Char('0'))
                             .arg(f.month, 2, 10, QLatin1Char('0'))
                             .arg(f.day, 2, 10, QLatin1Char('0'))
                             .arg(f.hour, 2, 10, QLatin1Char('0'))
                             .arg(f.minute, 2, 10, QLatin1Char('0'))
                             .arg(f.second, 2, 10, QLatin1Char('0'))
                             .arg(f.millisecond, 3, 10, QLatin1Char('0'));
    return qstrdup(text.toUtf8().constData());
}

} // namespace quorvel

namespace {

constexpr unsigned kHoursPerDay = 24;
constexpr unsigned kMinutesPerHour = 60;
constexpr unsigned kSecondsPerMinute = 60;
constexpr unsigned kMillisecondsPerSecond = 1000;

// Steps through the calendar by month lengths alone, so the walk shares no day-number
// arithmetic with the code under test.
std::chrono::year_month_day nextDay(std::chrono::year_month_day date)
{
    using namespace std::chrono;
    if (date.day() < year_month_day_last{date.year(), month_day_last{date.month()}}.day())
        return {date.year(), date.month(), date.day() + days{1}};
    if (date.month() < December)
        return {date.year(), date.month() + months{1}, day{1}};
    return {date.year() + years{1}, January, day{1}};
}

// msOfDay may carry a fraction of a millisecond.
TDateTime at(int year, unsigned month, unsigned day, double msOfDay)
{
    return EncodeDateTime(year, month, day, 0, 0, 0) +
           msOfDay / static_cast<double>(kMillisecondsPerDay);
}

} // namespace

class TstDateTime : public QObject
{
    Q_OBJECT

private slots:
    void fixedPoints_data();
    void fixedPoints();
    void everyDayRoundTrips();
    void februaryLength_data();
    void februaryLength();
    void roundsToNearestMillisecondBeforeSplitting_data();
    void roundsToNearestMillisecondBeforeSplitting();
};

void TstDateTime::fixedPoints_data()
{
    QTest::addColumn<DateTimeFields>("fields");
    QTest::addColumn<double>("value");

    // Time-of-day fractions are binary fractions so the values are exact.
    QTest::newRow("1899-12-30 is day 0") << DateTimeFields{1899, 12, 30, 0, 0, 0, 0} << 0.0;
    QTest::newRow("1899-12-31 is day 1") << DateTimeFields{1899, 12, 31, 0, 0, 0, 0} << 1.0;
    QTest::newRow("1900-01-01 is day 2") << DateTimeFields{1900, 1, 1, 0, 0, 0, 0} << 2.0;
    QTest::newRow("1900-01-01 12:00") << DateTimeFields{1900, 1, 1, 12, 0, 0, 0} << 2.5;
    QTest::newRow("1970-01-01 Unix epoch") << DateTimeFields{1970, 1, 1, 0, 0, 0, 0} << 25569.0;
    QTest::newRow("2000-01-01 06:00") << DateTimeFields{2000, 1, 1, 6, 0, 0, 0} << 36526.25;
    QTest::newRow("2036-02-07 18:00") << DateTimeFields{2036, 2, 7, 18, 0, 0, 0} << 49712.75;
    QTest::newRow("9999-12-31 21:00 last day")
        << DateTimeFields{9999, 12, 31, 21, 0, 0, 0} << 2958465.875;
}

void TstDateTime::fixedPoints()
{
    QFETCH(DateTimeFields, fields);
    QFETCH(double, value);

    const TDateTime encoded = EncodeDateTime(fields.year, fields.month, fields.day, fields.hour,
                                             fields.minute, fields.second, fields.millisecond);
    QVERIFY2(encoded == value, qPrintable(QString::number(encoded, 'f', 12)));
    QCOMPARE(DecodeDateTime(value), fields);
}

void TstDateTime::everyDayRoundTrips()
{
    using namespace std::chrono;
    year_month_day date = year{1899} / December / 30;
    const year_month_day last = year{9999} / December / 31;
    std::int64_t expectedDay = 0;
    for (;; date = nextDay(date), ++expectedDay) {
        const int y = static_cast<int>(date.year());
        const auto m = static_cast<unsigned>(date.month());
        const auto d = static_cast<unsigned>(date.day());

        const TDateTime midnight = EncodeDateTime(y, m, d, 0, 0, 0);
        if (midnight != static_cast<TDateTime>(expectedDay))
            QFAIL(qPrintable(QStringLiteral("%1-%2-%3 encoded as %4, expected %5")
                                 .arg(y)
                                 .arg(m)
                                 .arg(d)
                                 .arg(midnight, 0, 'f', 6)
                                 .arg(expectedDay)));

        // A different time of day on each date, reaching every field's extremes.
        const auto n = static_cast<unsigned>(expectedDay);
        const DateTimeFields fields{y,
                                    m,
                                    d,
                                    n % kHoursPerDay,
                                    (n / kHoursPerDay) % kMinutesPerHour,
                                    (n / 7) % kSecondsPerMinute,
                                    n % kMillisecondsPerSecond};
        QCOMPARE(DecodeDateTime(EncodeDateTime(y, m, d, fields.hour, fields.minute, fields.second,
                                               fields.millisecond)),
                 fields);

        if (date == last)
            break;
    }
    QCOMPARE(expectedDay, 2'958'465);
}

void TstDateTime::februaryLength_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");

    QTest::newRow("1900 century, not leap") << 1900 << 28;
    QTest::newRow("1996 leap") << 1996 << 29;
    QTest::newRow("2000 fourth century, leap") << 2000 << 29;
    QTest::newRow("2023 common") << 2023 << 28;
    QTest::newRow("2024 leap") << 2024 << 29;
    QTest::newRow("2100 century, not leap") << 2100 << 28;
}

void TstDateTime::februaryLength()
{
    QFETCH(int, year);
    QFETCH(int, days);

    QCOMPARE(EncodeDateTime(year, 3, 1, 0, 0, 0) - EncodeDateTime(year, 2, 1, 0, 0, 0),
             static_cast<double>(days));

    const bool leap = days == 29;
    const DateTimeFields dayAfter28th{year, leap ? 2u : 3u, leap ? 29u : 1u, 0, 0, 0, 0};
    QCOMPARE(DecodeDateTime(EncodeDateTime(year, 2, 28, 0, 0, 0) + 1), dayAfter28th);
}

void TstDateTime::roundsToNearestMillisecondBeforeSplitting_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<DateTimeFields>("expected");

    QTest::newRow("23:59:59.9996 is next day's midnight")
        << at(2002, 10, 10, 86'399'999.6) << DateTimeFields{2002, 10, 11, 0, 0, 0, 0};
    QTest::newRow("23:59:59.9994 stays 23:59:59.999")
        << at(2002, 10, 10, 86'399'999.4) << DateTimeFields{2002, 10, 10, 23, 59, 59, 999};
    QTest::newRow("12:00:00.0004 rounds down")
        << at(2002, 10, 10, 43'200'000.4) << DateTimeFields{2002, 10, 10, 12, 0, 0, 0};
    QTest::newRow("12:00:00.0005 rounds up")
        << at(2002, 10, 10, 43'200'000.5) << DateTimeFields{2002, 10, 10, 12, 0, 0, 1};
    QTest::newRow("10:59:59.9996 carries into the hour")
        << at(2002, 10, 10, 39'599'999.6) << DateTimeFields{2002, 10, 10, 11, 0, 0, 0};
    QTest::newRow("day 0 23:59:59.9996 is 1899-12-31")
        << at(1899, 12, 30, 86'399'999.6) << DateTimeFields{1899, 12, 31, 0, 0, 0, 0};
    QTest::newRow("leap day 23:59:59.9996 is March 1st")
        << at(2024, 2, 29, 86'399'999.6) << DateTimeFields{2024, 3, 1, 0, 0, 0, 0};
    QTest::newRow("new year's eve 23:59:59.9996 is the new year")
        << at(1999, 12, 31, 86'399'999.6) << DateTimeFields{2000, 1, 1, 0, 0, 0, 0};
    // 1/2048 of a day is exactly 42187.5 ms, a true half even at the largest day numbers.
    QTest::newRow("exact half on 9999-12-31 rounds up")
        << 2958465.0 + 1.0 / 2048 << DateTimeFields{9999, 12, 31, 0, 0, 42, 188};
}

void TstDateTime::roundsToNearestMillisecondBeforeSplitting()
{
    QFETCH(double, value);
    QFETCH(DateTimeFields, expected);

    QCOMPARE(DecodeDateTime(value), expected);
}

QTEST_APPLESS_MAIN(TstDateTime)
#include "tst_datetime.moc"
