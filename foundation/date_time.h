#pragma once
// A local wall-clock date and time, stored the way the database keeps it:
// days since 30 December 1899 with the time of day as the fraction, held in
// whole milliseconds so that arithmetic and comparisons are exact.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <compare>
#include <cstdint>
#include <optional>

namespace velmora {

class DateTime {
public:
    static constexpr std::int64_t kMsecsPerDay = 86'400'000;
    static constexpr std::int64_t kMsecsPerMinute = 60'000;

    constexpr DateTime() = default;

    static constexpr DateTime fromMsecs(std::int64_t msecs) { return DateTime(msecs); }
    // Rounds to the nearest millisecond, so a value read back from a REAL
    // compares equal to the value that was written.
    static DateTime fromDays(double days);
    static DateTime fromDate(const QDate& date);
    static DateTime fromTime(const QTime& time); // the time of day alone (date part 0)
    static DateTime fromQDateTime(const QDateTime& dateTime);
    static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0, int msec = 0);
    // "YYYY-MM-DDTHH:MM:SS" or "YYYY-MM-DD" (the form VELMORA_FAKE_NOW takes).
    static std::optional<DateTime> fromIsoText(const QString& text);

    constexpr std::int64_t msecs() const { return m_msecs; }
    double toDays() const { return double(m_msecs) / double(kMsecsPerDay); }

    // Whole days since 30 December 1899 (floor), and what is left of the day.
    std::int64_t dayNumber() const;
    DateTime datePart() const { return DateTime(dayNumber() * kMsecsPerDay); }
    DateTime timePart() const { return DateTime(m_msecs - dayNumber() * kMsecsPerDay); }
    bool hasDatePart() const { return dayNumber() != 0; }
    bool hasTimePart() const { return timePart().m_msecs != 0; }

    QDate date() const;
    QTime time() const;
    QDateTime toQDateTime() const;
    QString toIsoText() const; // "YYYY-MM-DDTHH:MM:SS.zzz"

    int year() const { return date().year(); }
    int month() const { return date().month(); }
    int day() const { return date().day(); }
    int hour() const { return time().hour(); }
    int minute() const { return time().minute(); }
    int second() const { return time().second(); }
    int msec() const { return time().msec(); }
    // 1 Sunday ... 7 Saturday, the numbering the weekday masks use.
    int dayOfWeek() const;

    constexpr DateTime addMsecs(std::int64_t msecs) const { return DateTime(m_msecs + msecs); }
    constexpr DateTime addSecs(std::int64_t secs) const { return addMsecs(secs * 1000); }
    constexpr DateTime addMinutes(std::int64_t minutes) const { return addMsecs(minutes * kMsecsPerMinute); }
    constexpr DateTime addDays(std::int64_t days) const { return addMsecs(days * kMsecsPerDay); }
    DateTime addMonths(int months) const;
    DateTime addYears(int years) const { return addMonths(years * 12); }

    constexpr DateTime operator+(DateTime other) const { return DateTime(m_msecs + other.m_msecs); }
    constexpr DateTime operator-(DateTime other) const { return DateTime(m_msecs - other.m_msecs); }
    constexpr auto operator<=>(const DateTime&) const = default;

private:
    constexpr explicit DateTime(std::int64_t msecs) : m_msecs(msecs) {}
    std::int64_t m_msecs = 0;
};

} // namespace velmora
