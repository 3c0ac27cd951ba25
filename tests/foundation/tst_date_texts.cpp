// Date and time texts under pinned locales and a stopped clock: formats,
// half hours, reading typed times, and minute differences across days.

#include "foundation/clock.h"
#include "foundation/date_texts.h"
#include "foundation/locale_snapshot.h"

#include <QSet>
#include <QTest>

using namespace velmora;

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kAmerican(QLocale::English, QLocale::UnitedStates);

DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return DateTime::fromParts(year, month, day, hour, minute, second);
}

DateTime timeOfDay(int hour, int minute, int second = 0)
{
    return at(1899, 12, 30, hour, minute, second);
}

} // namespace

class TestDateTexts : public QObject {
    Q_OBJECT

private slots:
    void localeTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        // Rows are computed while the row's locale is pinned.
        const auto row = [](const char* name, const QLocale& locale, auto text, const char* expected) {
            LocaleSnapshot::Override pinned(locale);
            QTest::addRow("%s", name) << text() << QString::fromUtf8(expected);
        };
        const DateTime wednesday = at(2024, 6, 5, 14, 30, 15);
        const DateTime midnight = at(2024, 6, 5);

        row("short time", kGerman, [&] { return ShortTimeText(wednesday); }, "14:30");
        row("short time 12-hour", kAmerican, [&] { return ShortTimeText(wednesday); }, "2:30 PM");
        row("day name long", kGerman, [&] { return DayNameText(wednesday, true); }, "Mittwoch");
        row("day name short", kAmerican, [&] { return DayNameText(wednesday, false); }, "Wed");
        row("fixed English short day", kGerman, [&] { return ShortDayName(at(2024, 6, 2)); }, "Sun");
        row("fixed English Saturday", kGerman, [&] { return ShortDayName(at(2024, 6, 8, 23, 59)); }, "Sat");
        row("display with time", kGerman, [&] { return DateTimeDisplayText(wednesday); },
            "05.06.24 (Mittwoch) 14:30");
        row("display at midnight", kGerman, [&] { return DateTimeDisplayText(midnight); }, "05.06.24 (Mittwoch)");
        row("display 12-hour", kAmerican, [&] { return DateTimeDisplayText(wednesday); },
            "6/5/24 (Wednesday) 2:30 PM");
        row("display of day 0", kGerman, [&] { return DateTimeDisplayText(timeOfDay(10, 0)); }, "");
        row("date display drops time", kGerman, [&] { return DateDisplayText(wednesday); }, "05.06.24 (Mittwoch)");
        row("date display of day 0", kGerman, [&] { return DateDisplayText(DateTime()); }, "");
        row("date and time", kGerman, [&] { return DateTimeText(wednesday); }, "05.06.24 14:30:15");
        row("date and time 12-hour", kAmerican, [&] { return DateTimeText(wednesday); }, "6/5/24 2:30:15 PM");
        row("month day year", kGerman, [&] { return DateTextMDY(wednesday); }, "06/05/2024");
        row("month day year at year end", kGerman, [&] { return DateTextMDY(at(1999, 12, 31)); }, "12/31/1999");
        row("plain h:m:s", kGerman, [&] { return TimeTextHMS(at(2024, 6, 5, 8, 5, 3), true); }, "8:5:3");
        row("padded h:m:s", kAmerican, [&] { return TimeTextHMS(at(2024, 6, 5, 8, 5, 3), false); }, "08:05:03");
        row("plain midnight", kGerman, [&] { return TimeTextHMS(midnight, true); }, "0:0:0");
    }
    void localeTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    // Short times keep the snapshot's format when the process's formats
    // change later; the other date texts follow the process.
    void snapshotOutlivesProcessFormats()
    {
        LocaleSnapshot::Override pinned(kGerman);
        QLocale::setDefault(kAmerican);
        const DateTime wednesday = at(2024, 6, 5, 14, 30);
        QCOMPARE(ShortTimeText(wednesday), QStringLiteral("14:30"));
        QCOMPARE(DateTimeDisplayText(wednesday), QStringLiteral("6/5/24 (Wednesday) 14:30"));
    }

    void dayNumberOfName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addRow("Monday first") << "Monday" << 1;
        QTest::addRow("sunday lower case") << "sunday" << 7;
        QTest::addRow("SATURDAY") << "SATURDAY" << 6;
        QTest::addRow("abbreviation") << "Sun" << 1;
        QTest::addRow("empty") << "" << 1;
    }
    void dayNumberOfName()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(DayNumberOfName(name), number);
    }

    void halfHourList()
    {
        LocaleSnapshot::Override pinned(kGerman);
        const QStringList lines = HalfHourList(at(2024, 6, 5, 10, 15));
        QCOMPARE(lines.size(), 48);
        QCOMPARE(lines.first(), QStringLiteral("10:15"));
        QCOMPARE(lines.at(1), QStringLiteral("10:45"));
        QCOMPARE(lines.at(28), QStringLiteral("00:15"));
        QCOMPARE(lines.last(), QStringLiteral("09:45"));
        QCOMPARE(QSet<QString>(lines.begin(), lines.end()).size(), 48);
    }

    void nextHalfHour_data()
    {
        QTest::addColumn<DateTime>("time");
        QTest::addColumn<DateTime>("next");

        QTest::addRow("full hour") << timeOfDay(10, 0) << timeOfDay(10, 30);
        QTest::addRow("half hour itself") << timeOfDay(10, 30) << timeOfDay(10, 30);
        QTest::addRow("seconds dropped") << timeOfDay(10, 30, 59) << timeOfDay(10, 30);
        QTest::addRow("just past half") << timeOfDay(10, 31) << timeOfDay(11, 0);
        QTest::addRow("midnight") << timeOfDay(0, 0) << timeOfDay(0, 30);
        QTest::addRow("late evening wraps") << timeOfDay(23, 45) << timeOfDay(0, 0);
        QTest::addRow("date part dropped") << at(2024, 6, 5, 9, 40) << timeOfDay(10, 0);
    }
    void nextHalfHour()
    {
        QFETCH(DateTime, time);
        QFETCH(DateTime, next);
        QCOMPARE(NextHalfHour(time), next);
    }

    void nextHalfHourFromNow()
    {
        ManualClock clock(at(2024, 6, 5, 13, 5, 30));
        Clock::install(&clock);
        const DateTime next = NextHalfHour();
        Clock::install(nullptr);
        QCOMPARE(next, timeOfDay(13, 30));
    }

    void timeOfText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<DateTime>("time");

        QTest::addRow("hours and minutes") << kGerman << "8:30" << true << timeOfDay(8, 30);
        QTest::addRow("blanks around") << kGerman << "  08:30 " << true << timeOfDay(8, 30);
        QTest::addRow("with seconds") << kGerman << "14:05:10" << true << timeOfDay(14, 5, 10);
        QTest::addRow("locale's 12-hour") << kAmerican << "2:30 PM" << true << timeOfDay(14, 30);
        QTest::addRow("12-hour in 24-hour locale") << kGerman << "2:30 pm" << true << timeOfDay(14, 30);
        QTest::addRow("24-hour in 12-hour locale") << kAmerican << "16:45" << true << timeOfDay(16, 45);
        QTest::addRow("midnight") << kGerman << "0:00" << true << timeOfDay(0, 0);
        QTest::addRow("empty") << kGerman << "" << false << DateTime();
        QTest::addRow("blanks only") << kGerman << "   " << false << DateTime();
        QTest::addRow("hour 25") << kGerman << "25:00" << false << DateTime();
        QTest::addRow("minute 60") << kGerman << "8:60" << false << DateTime();
        QTest::addRow("words") << kAmerican << "noon" << false << DateTime();
    }
    void timeOfText()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(DateTime, time);

        LocaleSnapshot::Override pinned(locale);
        QCOMPARE(IsTimeText(text), valid);
        QCOMPARE(TimeOfText(text), time);
    }

    void minutesBetween_data()
    {
        QTest::addColumn<DateTime>("a");
        QTest::addColumn<DateTime>("b");
        QTest::addColumn<qint64>("minutes");

        QTest::addRow("same day") << at(2024, 6, 5, 10, 30) << at(2024, 6, 5, 10, 0) << qint64(30);
        QTest::addRow("a earlier") << at(2024, 6, 5, 10, 0) << at(2024, 6, 5, 10, 30) << qint64(-30);
        QTest::addRow("across midnight") << at(2024, 6, 6, 0, 10) << at(2024, 6, 5, 23, 50) << qint64(20);
        QTest::addRow("back across midnight") << at(2024, 6, 5, 23, 50) << at(2024, 6, 6, 0, 10) << qint64(-20);
        QTest::addRow("two days") << at(2024, 6, 7, 9, 0) << at(2024, 6, 5, 9, 0) << qint64(2880);
        QTest::addRow("across month and year") << at(2025, 1, 1, 0, 0) << at(2024, 12, 31, 23, 0) << qint64(60);
        QTest::addRow("seconds ignored") << at(2024, 6, 5, 10, 0, 59) << at(2024, 6, 5, 10, 0, 0) << qint64(0);
        QTest::addRow("minute turned") << at(2024, 6, 5, 10, 1, 0) << at(2024, 6, 5, 10, 0, 59) << qint64(1);
    }
    void minutesBetween()
    {
        QFETCH(DateTime, a);
        QFETCH(DateTime, b);
        QFETCH(qint64, minutes);
        QCOMPARE(qint64(MinutesBetween(a, b)), minutes);
    }

    void minutesBetweenTimeTexts_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("minutes");

        QTest::addRow("half hour") << "8:00" << "8:30" << 30;
        QTest::addRow("equal") << "8:00" << "8:00" << 0;
        QTest::addRow("seconds ignored") << "8:00:50" << "8:01:10" << 1;
        QTest::addRow("12-hour against 24-hour") << "2:30 PM" << "16:00" << 90;
        QTest::addRow("over midnight") << "22:00" << "1:00" << 180;
        QTest::addRow("one minute short of a day") << "8:01" << "8:00" << 1439;
        QTest::addRow("first not a time") << "x" << "8:00" << 0;
        QTest::addRow("second empty") << "8:00" << "" << 0;
    }
    void minutesBetweenTimeTexts()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, minutes);
        LocaleSnapshot::Override pinned(kGerman);
        QCOMPARE(MinutesBetweenTimeTexts(first, second), minutes);
    }
};

QTEST_MAIN(TestDateTexts)
#include "tst_date_texts.moc"
