// Lengths of time as texts: minutes to the largest fitting unit and back,
// and day spans as hours and minutes.

#include "foundation/durations.h"

#include <QTest>

using namespace velmora;

class TestDurations : public QObject {
    Q_OBJECT

private slots:
    void minutesToText_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("text");

        QTest::addRow("0 singular") << 0 << "0 minute";
        QTest::addRow("1 singular") << 1 << "1 minute";
        QTest::addRow("2") << 2 << "2 minutes";
        QTest::addRow("30") << 30 << "30 minutes";
        QTest::addRow("45") << 45 << "45 minutes";
        QTest::addRow("60") << 60 << "1 hour";
        QTest::addRow("90 half hours") << 90 << "1.5 hours";
        QTest::addRow("100 not half hours") << 100 << "100 minutes";
        QTest::addRow("120") << 120 << "2 hours";
        QTest::addRow("1440") << 1440 << "1 day";
        QTest::addRow("1470 half hours past a day") << 1470 << "24.5 hours";
        QTest::addRow("1500 not whole days") << 1500 << "25 hours";
        QTest::addRow("2880") << 2880 << "2 days";
        QTest::addRow("8640 six days") << 8640 << "6 days";
        QTest::addRow("10080") << 10080 << "1 week";
        QTest::addRow("10110 half hours past a week") << 10110 << "168.5 hours";
        QTest::addRow("10111 not half hours") << 10111 << "10111 minutes";
        QTest::addRow("11520 eight days") << 11520 << "192 hours";
        QTest::addRow("20160") << 20160 << "2 weeks";
        QTest::addRow("40320 four weeks") << 40320 << "4 weeks";
        QTest::addRow("43200 thirty days") << 43200 << "720 hours";
        QTest::addRow("44640 a month of days") << 44640 << "744 hours";
        QTest::addRow("50400 five weeks") << 50400 << "840 hours";
        QTest::addRow("50430 half hours") << 50430 << "840.5 hours";
    }
    void minutesToText()
    {
        QFETCH(int, minutes);
        QFETCH(QString, text);
        QCOMPARE(MinutesToText(minutes), text);
    }

    void textToMinutes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");

        QTest::addRow("minutes") << "15 minutes" << 15;
        QTest::addRow("singular") << "0 minute" << 0;
        QTest::addRow("hour") << "1 hour" << 60;
        QTest::addRow("fraction of hours") << "1.5 hours" << 90;
        QTest::addRow("days") << "2 days" << 2880;
        QTest::addRow("half a day") << "0.5 day" << 720;
        QTest::addRow("weeks") << "2 weeks" << 20160;
        QTest::addRow("any case") << "3 HOURS" << 180;
        QTest::addRow("larger unit decides") << "2 days 3 hours" << 2880;
        QTest::addRow("no unit word") << "45" << 0;
        QTest::addRow("empty") << "" << 0;
        QTest::addRow("no number") << "many hours" << 0;
        QTest::addRow("unit word only") << "hours" << 0;
    }
    void textToMinutes()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        QCOMPARE(TextToMinutes(text), minutes);
    }

    // Lead times are shown with MinutesToText and read back with
    // TextToMinutes; whatever the unit chosen, the value must survive.
    void textReadsBackToSameMinutes()
    {
        for (int minutes = 0; minutes <= 60000; ++minutes) {
            const QString text = MinutesToText(minutes);
            if (TextToMinutes(text) != minutes)
                QFAIL(qPrintable(QStringLiteral("%1 -> \"%2\" -> %3").arg(minutes).arg(text).arg(TextToMinutes(text))));
        }
    }

    void durationText_data()
    {
        QTest::addColumn<qint64>("msecs");
        QTest::addColumn<QString>("text");

        const qint64 minute = DateTime::kMsecsPerMinute;
        QTest::addRow("zero") << qint64(0) << "0:00";
        QTest::addRow("seconds dropped") << qint64(59'000) << "0:00";
        QTest::addRow("hour and a half") << 90 * minute << "1:30";
        QTest::addRow("day and a half") << qint64(DateTime::kMsecsPerDay * 3 / 2) << "36:00";
        QTest::addRow("days, hours, minutes") << (2 * 1440 + 5 * 60 + 7) * minute << "53:07";
        QTest::addRow("negative") << -90 * minute << "-1:30";
    }
    void durationText()
    {
        QFETCH(qint64, msecs);
        QFETCH(QString, text);
        QCOMPARE(DurationText(DateTime::fromMsecs(msecs)), text);
    }
};

QTEST_MAIN(TestDurations)
#include "tst_durations.moc"
