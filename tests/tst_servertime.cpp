#include "ServerTime.h"

#include <QString>
#include <QTest>

#include <cmath>
#include <cstdint>

using namespace quorvel;

Q_DECLARE_METATYPE(quorvel::CalendarFields)

namespace quorvel {

// Found by QCOMPARE through argument-dependent lookup.
char *toString(const CalendarFields &f)
{
    const QString text = QStringLiteral("%1-%2-%3 %4:%5:%6")
                             .arg(f.year, 4, 10, QLatin1Char('0'))
                             .arg(f.month, 2, 10, QLatin1Char('0'))
                             .arg(f.day, 2, 10, QLatin1Char('0'))
                             .arg(f.hour, 2, 10, QLatin1Char('0'))
                             .arg(f.minute, 2, 10, QLatin1Char('0'))
                             .arg(f.second, 2, 10, QLatin1Char('0'));
    return qstrdup(text.toUtf8().constData());
}

} // namespace quorvel

class TstServerTime : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void fieldsAgreeWithUnixSecondsAcrossBothEras();
};

void TstServerTime::fields_data()
{
    QTest::addColumn<quint32>("serverSeconds");
    QTest::addColumn<CalendarFields>("utc");
    QTest::addColumn<CalendarFields>("local");
    QTest::addColumn<double>("dateTime");

    QTest::newRow("0x80000000 first second counted from 1900")
        << quint32{0x8000'0000} << CalendarFields{1968, 1, 20, 3, 14, 8}
        << CalendarFields{1968, 1, 20, 12, 14, 8} << EncodeDateTime(1968, 1, 20, 12, 14, 8);
    QTest::newRow("0xFFFFFFFF last second counted from 1900")
        << quint32{0xFFFF'FFFF} << CalendarFields{2036, 2, 7, 6, 28, 15}
        << CalendarFields{2036, 2, 7, 15, 28, 15} << EncodeDateTime(2036, 2, 7, 15, 28, 15);
    QTest::newRow("0 first second counted from 2036")
        << quint32{0} << CalendarFields{2036, 2, 7, 6, 28, 16}
        << CalendarFields{2036, 2, 7, 15, 28, 16} << EncodeDateTime(2036, 2, 7, 15, 28, 16);
    QTest::newRow("0x7FFFFFFF last second counted from 2036")
        << quint32{0x7FFF'FFFF} << CalendarFields{2104, 2, 26, 9, 42, 23}
        << CalendarFields{2104, 2, 26, 18, 42, 23} << EncodeDateTime(2104, 2, 26, 18, 42, 23);
    QTest::newRow("2002-10-09 16:19:44 UTC is the 10th locally")
        << quint32{3'243'169'184} << CalendarFields{2002, 10, 9, 16, 19, 44}
        << CalendarFields{2002, 10, 10, 1, 19, 44} << EncodeDateTime(2002, 10, 10, 1, 19, 44);
    QTest::newRow("14:59:59 UTC keeps its day locally")
        << quint32{3'928'748'399} << CalendarFields{2024, 6, 30, 14, 59, 59}
        << CalendarFields{2024, 6, 30, 23, 59, 59} << EncodeDateTime(2024, 6, 30, 23, 59, 59);
    QTest::newRow("15:00:00 UTC is next month locally")
        << quint32{3'928'748'400} << CalendarFields{2024, 6, 30, 15, 0, 0}
        << CalendarFields{2024, 7, 1, 0, 0, 0} << EncodeDateTime(2024, 7, 1, 0, 0, 0);
    QTest::newRow("15:00:00 UTC on new year's eve is next year locally")
        << quint32{3'913'023'600} << CalendarFields{2023, 12, 31, 15, 0, 0}
        << CalendarFields{2024, 1, 1, 0, 0, 0} << EncodeDateTime(2024, 1, 1, 0, 0, 0);
    // Two days below the wrap: where a 32-bit sum of seconds including the 1899-12-30
    // offset would overflow.
    QTest::newRow("2036-02-05 06:28:15 UTC")
        << quint32{4'294'794'495} << CalendarFields{2036, 2, 5, 6, 28, 15}
        << CalendarFields{2036, 2, 5, 15, 28, 15} << EncodeDateTime(2036, 2, 5, 15, 28, 15);
    QTest::newRow("2036-02-05 06:28:16 UTC")
        << quint32{4'294'794'496} << CalendarFields{2036, 2, 5, 6, 28, 16}
        << CalendarFields{2036, 2, 5, 15, 28, 16} << EncodeDateTime(2036, 2, 5, 15, 28, 16);
    QTest::newRow("leap day 2000-02-29 reached locally")
        << quint32{3'160'738'800} << CalendarFields{2000, 2, 28, 15, 0, 0}
        << CalendarFields{2000, 2, 29, 0, 0, 0} << EncodeDateTime(2000, 2, 29, 0, 0, 0);
    QTest::newRow("leap day 2024-02-29 reached locally")
        << quint32{3'918'139'200} << CalendarFields{2024, 2, 28, 20, 0, 0}
        << CalendarFields{2024, 2, 29, 5, 0, 0} << EncodeDateTime(2024, 2, 29, 5, 0, 0);
    QTest::newRow("2100 has no leap day")
        << quint32{2'021'531'504} << CalendarFields{2100, 2, 28, 15, 0, 0}
        << CalendarFields{2100, 3, 1, 0, 0, 0} << EncodeDateTime(2100, 3, 1, 0, 0, 0);
}

void TstServerTime::fields()
{
    QFETCH(quint32, serverSeconds);
    QFETCH(CalendarFields, utc);
    QFETCH(CalendarFields, local);
    QFETCH(double, dateTime);

    QCOMPARE(UtcFields(serverSeconds), utc);
    QCOMPARE(LocalFields(serverSeconds), local);
    const TDateTime actual = FieldsToDateTime(LocalFields(serverSeconds));
    QVERIFY2(
        actual == dateTime,
        qPrintable(QStringLiteral("%1 != %2").arg(actual, 0, 'f', 9).arg(dateTime, 0, 'f', 9)));
}

// Samples the whole 32-bit range: the UTC date-time must sit exactly at the Unix seconds, and
// local time exactly nine hours later, with no wrap anywhere.
void TstServerTime::fieldsAgreeWithUnixSecondsAcrossBothEras()
{
    constexpr std::uint64_t kStride = 65'521; // prime, so samples land on every time of day
    constexpr std::uint64_t kRange = std::uint64_t{1} << 32;
    const auto toSeconds = [](TDateTime value) {
        return std::llround(value * static_cast<double>(kSecondsPerDay));
    };

    for (std::uint64_t s = 0; s < kRange; s += kStride) {
        const auto serverSeconds = static_cast<std::uint32_t>(s);
        const TDateTime utc = FieldsToDateTime(UtcFields(serverSeconds));
        const TDateTime local = FieldsToDateTime(LocalFields(serverSeconds));

        QCOMPARE(toSeconds(utc - kUnixEpochDateTime), ServerSecondsToUnix(serverSeconds));
        QCOMPARE(toSeconds(local - utc), kLocalOffsetSeconds);
    }
}

QTEST_APPLESS_MAIN(TstServerTime)
#include "tst_servertime.moc"
