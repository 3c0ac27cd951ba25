#include "datastore/demo_data.h"

#include "datastore/database_schema.h"
#include "platform/exception.h"
#include "platform/sqlite_statement.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QRandomGenerator>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace velmora {

namespace {

using platform::SqliteStatement;

// The sample must not change from one run to the next: tests count it and
// people compare screenshots.
constexpr quint32 kDemoSeed = 20040917;

// Colours in the stored layout: low byte red, then green, then blue.
constexpr int kWhite = 16777215;
constexpr int rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}
const QList<int> kLabelColors{kWhite,
                              rgb(255, 156, 138),
                              rgb(138, 197, 255),
                              rgb(156, 232, 156),
                              rgb(255, 232, 138),
                              rgb(212, 156, 232),
                              rgb(255, 190, 120)};

// Reminder ways, as the alert program reads ReminderMethod.
constexpr int kMethodWindow = 1;
constexpr int kMethodSpeech = 2;
constexpr int kMethodAgent = 4;
constexpr int kMethodMail = 8;
constexpr int kMethodSound = 16;
constexpr int kMethodProgram = 32;
constexpr int kMethodSmallPopup = 64;
const QString kSmallPopupActions = QStringLiteral("CustomNote=MSNRemindFrm;ActionName=Action_Win_MSN;isCustomNote=1\r\n");

// One row to insert: fields and values in the order they were set.
class Row {
public:
    explicit Row(const char* table) : m_table(QString::fromLatin1(table)) {}

    Row& set(const char* field, const QString& value) { return put(field, value); }
    Row& set(const char* field, const char* value) { return put(field, QString::fromUtf8(value)); }
    Row& set(const char* field, int value) { return put(field, QVariant(qint64(value))); }
    Row& set(const char* field, qint64 value) { return put(field, QVariant(value)); }
    Row& set(const char* field, double value) { return put(field, QVariant(value)); }
    Row& set(const char* field, bool value) { return put(field, QVariant(qint64(value ? 1 : 0))); }
    Row& set(const char* field, DateTime value) { return put(field, QVariant(value.toDays())); }

    qint64 insert(sqlite3* db) const
    {
        QStringList names;
        QStringList places;
        for (int i = 0; i < m_fields.size(); ++i) {
            names.append(QLatin1Char('"') + m_fields[i] + QLatin1Char('"'));
            places.append(QLatin1Char('?') + QString::number(i + 1));
        }
        const QString sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                .arg(m_table, names.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")));
        SqliteStatement statement(db, sql.toUtf8().constData());
        for (int i = 0; i < m_values.size(); ++i)
            statement.bindValue(i + 1, m_values[i]);
        statement.exec();
        return sqlite3_last_insert_rowid(db);
    }

private:
    Row& put(const char* field, const QVariant& value)
    {
        m_fields.append(QString::fromLatin1(field));
        m_values.append(value);
        return *this;
    }

    QString m_table;
    QStringList m_fields;
    QVariantList m_values;
};

qint64 scalarInteger(sqlite3* db, const char* sql)
{
    SqliteStatement statement(db, sql);
    return statement.step() && !statement.isNull(0) ? statement.int64(0) : 0;
}

DateTime at(const QDate& date, const QTime& time)
{
    return DateTime::fromDate(date).addMsecs(time.msecsSinceStartOfDay());
}

bool isWeekday(const QDate& date)
{
    return date.dayOfWeek() <= 5; // Qt counts Monday 1 .. Sunday 7
}

// The Instance-th (5: last) given weekday (Qt numbering) of a month.
QDate nthWeekdayOfMonth(int year, int month, int qtWeekday, int instance)
{
    const QDate first(year, month, 1);
    QDate day = first.addDays((qtWeekday - first.dayOfWeek() + 7) % 7);
    if (instance == 5) {
        while (day.addDays(7).month() == month)
            day = day.addDays(7);
        return day;
    }
    return day.addDays(7 * (instance - 1));
}

QString sortedCategories(QStringList names)
{
    names.sort();
    names.removeDuplicates();
    return names.join(QStringLiteral(", "));
}

struct Place {
    qint64 id = 0;
    QString name;
};

struct Person {
    QString first;
    QString last;
};

struct Plan {
    const char* subject;
    const char* body;
    int minutes;
    const char* category;
};

// A recurring series and the day rule that places its occurrences.
struct SeriesPlan {
    const char* subject = "";
    const char* body = "";
    bool isTask = false;
    const char* category = "";
    int recurrenceType = 0;
    int interval = 1;
    int dayOfWeekMask = 0;
    int dayOfMonth = 0;
    int instance = 0;
    int monthOfYear = 0;
    QTime startTime;
    int duration = 30;
    bool allDay = false;
    QDate patternStart;
    int endType = 0; // 0 no end, 1 after Occurrences, 2 by PatternEndDate
    int occurrences = 10;
    QDate patternEnd;
    bool regenerate = false;
    std::function<bool(const QDate&)> occurs;
    int reminderMethod = 0; // 0: no reminder
    int reminderMinutes = 15;
};

SeriesPlan seriesPlan(const char* subject, const char* body, bool isTask, const char* category)
{
    SeriesPlan plan;
    plan.subject = subject;
    plan.body = body;
    plan.isTask = isTask;
    plan.category = category;
    return plan;
}

class DemoWriter {
public:
    DemoWriter(sqlite3* db, DateTime today) : m_db(db), m_today(today.datePart()), m_date(m_today.date()), m_rng(kDemoSeed) {}

    DemoDataSummary write()
    {
        m_nonePlace = scalarInteger(m_db, "SELECT MIN(\"PlaceID\") FROM \"Places\" WHERE \"Name\" = '[None]'");
        m_reservedUser = scalarInteger(m_db, "SELECT MIN(\"UserID\") FROM \"Users\"");
        addRegionsAndPlaces();
        addResources();
        addContacts();
        addHolidays();
        addAppointments();
        addTasks();
        addSeries();
        addNotes();
        return m_summary;
    }

private:
    int pick(int count) { return int(m_rng.bounded(count)); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename T>
    const T& oneOf(const QList<T>& list)
    {
        return list[pick(int(list.size()))];
    }

    DateTime stampFor(const DateTime& start)
    {
        const DateTime created = std::min(start, m_today).addDays(-(1 + pick(20))).datePart();
        return created.addMinutes(8 * 60 + pick(9 * 60));
    }

    qint64 someUser() { return m_users.isEmpty() || chance(40) ? m_reservedUser : oneOf(m_users); }

    void addRegionsAndPlaces()
    {
        struct RegionPlan {
            const char* name;
            const char* description;
            int color;
            double labor;
            double expense;
        };
        const QList<RegionPlan> regions{{"North", "Offices and clients north of the river", rgb(138, 197, 255), 8.5, 6.0},
                                        {"Central", "Head office and the city centre", rgb(156, 232, 156), 10.0, 7.5},
                                        {"South", "Harbour district and the airport", rgb(255, 232, 138), 7.0, 5.5}};
        QList<qint64> regionIds;
        for (const RegionPlan& region : regions) {
            regionIds.append(Row("Regions")
                                 .set("Name", region.name)
                                 .set("Description", region.description)
                                 .set("Color", region.color)
                                 .set("LaborTax", region.labor)
                                 .set("ExpenseTax", region.expense)
                                 .insert(m_db));
            ++m_summary.regions;
        }
        struct PlacePlan {
            const char* name;
            const char* description;
            int region;
        };
        const QList<PlacePlan> places{
            {"Head Office", "12 Market Square, 3rd floor", 1},
            {"Conference Room A", "Head office, room 3.14 (projector, 12 seats)", 1},
            {"Conference Room B", "Head office, room 3.20 (video link, 6 seats)", 1},
            {"Harbourline Logistics", "Client site, 88 Quay Road", 2},
            {"Riverside Café", "Corner of Mill Lane and Bridge Street", 0},
            {"City Library", "Study rooms on the first floor", 1},
            {"Fitness Club", "Northgate Leisure Centre", 0},
            {"Airport", "Terminal 2", 2},
        };
        for (const PlacePlan& place : places) {
            const qint64 id = Row("Places")
                                  .set("Name", place.name)
                                  .set("Description", place.description)
                                  .set("Color", oneOf(kLabelColors))
                                  .set("RegionID", regionIds[place.region])
                                  .insert(m_db);
            m_places.append({id, QString::fromUtf8(place.name)});
            ++m_summary.places;
        }
    }

    void addResources()
    {
        struct UserPlan {
            const char* name;
            const char* number;
            const char* job;
            const char* mail;
            int color;
            int icon;
            bool female;
            const char* workType;
            double days;
            double hours;
        };
        const QList<UserPlan> users{
            {"Dana Whitfield", "E-1042", "Sales Manager", "dana.whitfield@example.org", rgb(255, 156, 138), 3, true, "F", 5, 7.5},
            {"Marco Lindqvist", "E-1077", "Field Engineer", "marco.lindqvist@example.org", rgb(138, 197, 255), 7, false, "F", 5, 8},
            {"Priya Raman", "C-0210", "Consultant", "priya.raman@example.org", rgb(156, 232, 156), 12, true, "C", 3, 6},
        };
        for (const UserPlan& user : users) {
            const DateTime started = m_today.addDays(-(400 + pick(1500)));
            const DateTime created = started.addMinutes(9 * 60);
            m_users.append(Row("Users")
                               .set("FullName", user.name)
                               .set("UserNumber", user.number)
                               .set("JobTitle", user.job)
                               .set("EMail", user.mail)
                               .set("Color", user.color)
                               .set("Icon", user.icon)
                               .set("IsDisplayed", true)
                               .set("Gender", user.female)
                               .set("Birthday", DateTime::fromDate(QDate(1970 + pick(30), 1 + pick(12), 1 + pick(28))))
                               .set("WorkType", user.workType)
                               .set("WorkDays", user.days)
                               .set("WorkHours", user.hours)
                               .set("Software", "N")
                               .set("StartTime", started)
                               .set("EndTime", started.addYears(100))
                               .set("TimeCreated", created)
                               .set("TimeModified", created)
                               .insert(m_db));
            ++m_summary.resources;
        }
    }

    void addContacts()
    {
        const QList<Person> people{
            {"Alice", "Brennan"},  {"Tomas", "Novak"},     {"Grace", "Okafor"},   {"Henrik", "Dahl"},
            {"Mei", "Tanaka"},     {"Samuel", "Oduya"},    {"Laura", "Castillo"}, {"Ivan", "Petrov"},
            {"Chloe", "Martin"},   {"Owen", "Gallagher"},  {"Fatima", "Haddad"},  {"Lucas", "Moreau"},
            {"Nina", "Kowalski"},  {"Ethan", "Walsh"},     {"Sofia", "Romano"},   {"Daniel", "Fischer"},
            {"Hannah", "Berg"},    {"Rafael", "Duarte"},   {"Zoe", "Campbell"},   {"Arjun", "Mehta"},
            {"Eva", "Lindgren"},   {"Patrick", "Doyle"},   {"Yuki", "Sato"},      {"Marta", "Nowak"},
        };
        const QStringList companies{"Harbourline Logistics", "Brightmoor Foods", "Kestrel Paper Co.",
                                    "Larkspur Design", "Orchard Lane Bakery", "Summit Ridge Consulting",
                                    "Bluewater Marine", "Greystone Legal"};
        const QStringList jobs{"Purchasing Manager", "Account Executive", "Office Manager", "Chief Engineer",
                               "Owner", "Project Lead", "Accountant", "Marketing Director"};
        const QStringList cities{"Northbridge", "Eastwick", "Port Alder", "Millbrook", "Fairhaven"};
        const QStringList streets{"Quay Road", "Station Street", "Orchard Lane", "High Street", "Elm Avenue"};
        const QStringList categories{"Business", "Key Customer", "Suppliers", "Personal", "Hot Contacts", "VIP"};
        for (const Person& person : people) {
            const QString full = person.first + QLatin1Char(' ') + person.last;
            const QString fileAs = person.last + QStringLiteral(", ") + person.first;
            const QString company = oneOf(companies);
            const QString city = oneOf(cities);
            const QString street = QString::number(1 + pick(180)) + QLatin1Char(' ') + oneOf(streets);
            const QString postalCode = QStringLiteral("%1 %2").arg(10 + pick(80)).arg(100 + pick(900));
            const QString mail = person.first.toLower() + QLatin1Char('.') + person.last.toLower() +
                                 QStringLiteral("@example.com");
            Row row("Contacts");
            row.set("FirstName", person.first)
                .set("LastName", person.last)
                .set("FullName", full)
                .set("FileAs", fileAs)
                .set("LastNameAndFirstName", fileAs)
                .set("CompanyName", company)
                .set("JobTitle", oneOf(jobs))
                .set("BusinessTelephoneNumber", QStringLiteral("+1 555 %1").arg(1000 + pick(9000)))
                .set("MobileTelephoneNumber", QStringLiteral("+1 555 %1").arg(1000 + pick(9000)))
                .set("BusinessAddressStreet", street)
                .set("BusinessAddressCity", city)
                .set("BusinessAddressPostalCode", postalCode)
                .set("BusinessAddressCountry", "United States")
                .set("BusinessAddress", street + QStringLiteral("\r\n") + city + QLatin1Char(' ') + postalCode +
                                            QStringLiteral("\r\nUnited States"))
                .set("MailingAddressIndicator", true)
                .set("Email1Address", mail)
                .set("Email1DisplayName", full + QStringLiteral(" (") + mail + QLatin1Char(')'))
                .set("WebPage", QStringLiteral("https://www.example.com/") + company.section(QLatin1Char(' '), 0, 0).toLower())
                .set("Categories", oneOf(categories))
                .set("Private", chance(10))
                .set("TimeModified", stampFor(m_today));
            if (chance(40))
                row.set("Birthday", DateTime::fromDate(QDate(1960 + pick(40), 1 + pick(12), 1 + pick(28))));
            if (chance(30))
                row.set("Body", QStringLiteral("Met at the spring trade fair. Prefers calls in the morning."));
            row.insert(m_db);
            m_contacts.append(full);
            ++m_summary.contacts;
        }
    }

    void addHoliday(Row row)
    {
        row.insert(m_db);
        ++m_summary.holidays;
    }

    void addHolidays()
    {
        const QLocale english(QLocale::English);
        auto fixed = [&](const char* name, const char* region, int month, int day) {
            addHoliday(std::move(Row("Holidays")
                                     .set("Name", name)
                                     .set("PlaceName", region)
                                     .set("Rule", QStringLiteral("Every %1 %2").arg(english.monthName(month)).arg(day))
                                     .set("Categories", "Holiday")
                                     .set("HolidayType", 1)
                                     .set("MonthOfYear", month)
                                     .set("DayOfMonth", day)
                                     .set("Instance", 1)
                                     .set("WeekMask", 2)
                                     .set("IsAvailable", true)));
        };
        const QStringList instances{"first", "second", "third", "fourth", "last"};
        auto nth = [&](const char* name, const char* region, int month, int instance, int weekMask, const char* weekday) {
            addHoliday(std::move(Row("Holidays")
                                     .set("Name", name)
                                     .set("PlaceName", region)
                                     .set("Rule", QStringLiteral("The %1 %2 of %3")
                                                      .arg(instances[instance - 1], QString::fromLatin1(weekday),
                                                           english.monthName(month)))
                                     .set("Categories", "Holiday")
                                     .set("HolidayType", 2)
                                     .set("MonthOfYear", month)
                                     .set("DayOfMonth", 1)
                                     .set("Instance", instance)
                                     .set("WeekMask", weekMask)
                                     .set("IsAvailable", true)));
        };
        auto once = [&](const char* name, const char* region, const QDate& date, bool available) {
            addHoliday(std::move(Row("Holidays")
                                     .set("Name", name)
                                     .set("PlaceName", region)
                                     .set("Rule", QLocale::system().toString(date, QLocale::ShortFormat) +
                                                      QStringLiteral(" (") + english.dayName(date.dayOfWeek()) +
                                                      QLatin1Char(')'))
                                     .set("Categories", "Holiday")
                                     .set("HolidayType", 3)
                                     .set("MonthOfYear", date.month())
                                     .set("DayOfMonth", date.day())
                                     .set("Instance", 1)
                                     .set("WeekMask", 2)
                                     .set("HolidayDate", DateTime::fromDate(date))
                                     .set("IsAvailable", available)));
        };
        fixed("New Year's Day", "United States", 1, 1);
        fixed("Independence Day", "United States", 7, 4);
        fixed("Christmas Day", "United Kingdom", 12, 25);
        fixed("Boxing Day", "United Kingdom", 12, 26);
        nth("Martin Luther King Jr. Day", "United States", 1, 3, 2, "Monday");
        nth("Memorial Day", "United States", 5, 5, 2, "Monday");
        nth("Labor Day", "United States", 9, 1, 2, "Monday");
        nth("Thanksgiving Day", "United States", 11, 4, 16, "Thursday");
        nth("Early May Bank Holiday", "United Kingdom", 5, 1, 2, "Monday");
        once("Easter Sunday", "United Kingdom", easterSunday(m_date.year()), true);
        once("Company Founding Day", "Company", m_date.addDays(40), true);
        once("Office Move", "Company", m_date.addDays(-30), false);
    }

    // The Gregorian computus (anonymous algorithm).
    static QDate easterSunday(int year)
    {
        const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
        const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
        const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
        const int m = (a + 11 * h + 22 * l) / 451;
        const int month = (h + l - 7 * m + 114) / 31, day = ((h + l - 7 * m + 114) % 31) + 1;
        return QDate(year, month, day);
    }

    // The place columns and the owner of an item.
    void placeAndOwner(Row& row)
    {
        if (!m_places.isEmpty() && chance(70)) {
            const Place& place = oneOf(m_places);
            row.set("PlaceID", place.id).set("PlaceName", place.name);
        } else if (m_nonePlace > 0) {
            row.set("PlaceID", m_nonePlace);
        }
        const qint64 user = someUser();
        if (user > 0)
            row.set("UserID", user);
    }

    static void importance(Row& row, int value)
    {
        row.set("Importance", value).set("IsImportant", value == 2 || value == 3).set("IsUrgent", value == 1 || value == 3);
    }

    int someImportance()
    {
        const int roll = pick(100);
        return roll < 10 ? 0 : roll < 75 ? 1 : roll < 93 ? 2 : 3;
    }

    // A reminder row for an item starting at start; past ones count as shown.
    qint64 addReminder(const DateTime& start, int method, int minutes, bool recurring = false,
                       const DateTime& nextStart = {})
    {
        const DateTime configured = start.addMinutes(-minutes);
        const DateTime due = recurring ? nextStart.addMinutes(-minutes) : configured;
        Row row("Reminders");
        row.set("ReminderTime", configured)
            .set("ReminderNewTime", due)
            .set("ReminderMinutesBeforeStart", minutes)
            .set("ReminderMethod", method)
            .set("Behavior", 0)
            .set("AgentChar", 0)
            .set("IsTodayReminder", false)
            .set("HasNotified", !recurring && due < m_today)
            .set("ReminderSet", false)
            .set("SnoozeTime", 0);
        if (method & kMethodMail)
            row.set("RecipientsTo", "dana.whitfield@example.org;marco.lindqvist@example.org");
        if (method & kMethodSound)
            row.set("ReminderMedia", "Sounds/chime.wav");
        if (method & kMethodProgram)
            row.set("ApplicationPath", "Help/Velmora/index.htm");
        if (method & kMethodSmallPopup)
            row.set("MultiActions", kSmallPopupActions);
        const qint64 id = row.insert(m_db);
        ++m_summary.reminders;
        return id;
    }

    static QString reminderInfo(const DateTime& due, int minutes)
    {
        return QStringLiteral("Reminder: %1 (%2 minutes before the start)")
            .arg(due.toQDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")))
            .arg(minutes);
    }

    void linkReminder(Row& row, qint64 reminderId, const DateTime& due, int minutes)
    {
        row.set("HasReminder", true).set("ReminderID", reminderId).set("ReminderInfo", reminderInfo(due, minutes));
    }

    // The way of a reminder on a single item. Ways that act on their own
    // (a program) only go on reminders that have already been shown.
    int someReminderMethod(bool past)
    {
        static const QList<int> future{kMethodWindow,
                                       kMethodWindow,
                                       kMethodWindow | kMethodSpeech,
                                       kMethodAgent,
                                       kMethodWindow | kMethodMail,
                                       kMethodWindow | kMethodSound,
                                       kMethodSmallPopup};
        if (past && chance(15))
            return kMethodWindow | kMethodProgram;
        return oneOf(future);
    }

    void addToDoItems(qint64 owner, bool isTask, bool finished, int count)
    {
        static const QStringList steps{"Collect the figures", "Draft the outline", "Ask for feedback",
                                       "Book the room", "Send the agenda", "Print the handouts",
                                       "Check the budget", "Confirm with the client", "Update the tracker",
                                       "Write the summary"};
        for (int i = 0; i < count; ++i) {
            Row row("ToDoList");
            row.set("LinkID", owner)
                .set("LinkType", isTask ? "T" : "A")
                .set("Name", oneOf(steps))
                .set("IsFinished", finished || chance(20))
                .set("IsImportant", chance(20))
                .set("IsUrgent", chance(10))
                .set("IsActive", true);
            if (chance(50))
                row.set("Description", "See the shared folder for details.");
            row.insert(m_db);
            ++m_summary.toDoItems;
        }
    }

    QString someContacts()
    {
        if (m_contacts.isEmpty() || !chance(35))
            return {};
        QStringList names{oneOf(m_contacts)};
        if (chance(30))
            names.append(oneOf(m_contacts));
        names.removeDuplicates();
        return names.join(QStringLiteral("; "));
    }

    void addAppointments()
    {
        const QList<Plan> meetings{
            {"Client meeting with Harbourline Logistics", "Discuss the renewal of the support contract.", 60, "Key Customer"},
            {"Dentist appointment", "Regular check-up.", 45, "Personal"},
            {"Lunch with Grace", "Catch up on the new project.", 60, "Personal"},
            {"Quarterly planning session", "Goals and budget for the next quarter.", 120, "Business"},
            {"Interview: senior developer", "Second round, technical questions.", 60, "Business"},
            {"Supplier call: Kestrel Paper Co.", "Prices for the next order.", 30, "Phone Calls"},
            {"Gym: strength training", "", 60, "Personal"},
            {"Product demo for Brightmoor Foods", "Show the new reporting module.", 90, "Key Customer"},
            {"Budget review", "Compare spending with the plan.", 60, "Time & Expenses"},
            {"Team lunch", "", 90, "Business"},
            {"Parent-teacher meeting", "Room 12.", 30, "Personal"},
            {"Design review", "Walk through the new screens.", 60, "Ideas"},
            {"Call with the accountant", "Year-end questions.", 30, "Phone Calls"},
            {"Training: presentation skills", "Bring a laptop.", 180, "Goals/Objectives"},
            {"Coffee with a mentor", "", 45, "Goals/Objectives"},
            {"Car service", "Winter tyres.", 120, "Miscellaneous"},
            {"Marketing sync", "Campaign calendar.", 30, "Strategies"},
            {"Competitor analysis workshop", "Pricing and features of the three main rivals.", 120, "Competition"},
            {"Vendor negotiation", "Aim for a two-year contract.", 60, "Suppliers"},
            {"Sales pipeline review", "Open offers above 10,000.", 60, "Status"},
        };
        const QList<Plan> weekend{
            {"Brunch with friends", "", 120, "Personal"},
            {"Farmers' market", "", 90, "Personal"},
            {"Birthday party", "Bring the present.", 180, "Birthday"},
            {"Hiking trip", "Meet at the car park at nine.", 240, "Personal"},
        };
        const QList<Plan> allDay{
            {"Trade fair", "Stand 4B. Bring brochures.", 2, "Business"},
            {"Vacation", "Out of office; Dana covers.", 5, "Personal"},
            {"Company offsite", "Strategy day for all staff.", 1, "Business"},
            {"Conference: Data and Cloud", "Talks on Tuesday and Wednesday.", 2, "International"},
            {"Team building day", "", 1, "Business"},
        };

        for (int offset = -90; offset <= 90; ++offset) {
            const QDate day = m_date.addDays(offset);
            if (isWeekday(day)) {
                const int count = 1 + pick(2);
                int hour = 8 + pick(3);
                for (int i = 0; i < count && hour < 18; ++i) {
                    addAppointment(oneOf(meetings), at(day, QTime(hour, chance(50) ? 0 : 30)));
                    hour += 2 + pick(4);
                }
            } else if (chance(25)) {
                addAppointment(oneOf(weekend), at(day, QTime(10 + pick(6), 0)));
            }
            if (offset % 14 == 3)
                addAllDayEvent(oneOf(allDay), DateTime::fromDate(day));
        }
    }

    void addAppointment(const Plan& plan, const DateTime& start)
    {
        const DateTime end = start.addMinutes(plan.minutes);
        const DateTime stamp = stampFor(start);
        const int label = oneOf(kLabelColors);
        Row row("ITask");
        row.set("IsTask", false)
            .set("Subject", plan.subject)
            .set("StartDate", start)
            .set("DueDate", end)
            .set("Duration", plan.minutes)
            .set("IsAllDayEvent", false)
            .set("BusyStatus", chance(15) ? 1 : 2)
            .set("Label", label)
            .set("Color", label)
            .set("Status", 0)
            .set("PercentComplete", 0)
            .set("IsComplete", false)
            .set("TotalWork", 0.0)
            .set("ActualWork", 0.0)
            .set("Categories", sortedCategories({QString::fromUtf8(plan.category)}))
            .set("IsPrivate", chance(8))
            .set("Sensitivity", 1)
            .set("IsTeamTask", false)
            .set("IsSecurity", false)
            .set("IsShowTraditionalCalendar", false)
            .set("IsRecurring", false)
            .set("RecurrenceState", 0)
            .set("ParentID", 0)
            .set("TimeCreated", stamp)
            .set("TimeModified", stamp);
        importance(row, someImportance());
        if (*plan.body)
            row.set("Body", plan.body);
        if (chance(10))
            row.set("DescriptionRich", QStringLiteral("<p><b>Agenda</b></p><ul><li>Where we stand</li>"
                                                      "<li>Open questions</li><li>Next steps</li></ul>"));
        const QString contacts = someContacts();
        if (!contacts.isEmpty())
            row.set("ContactNames", contacts);
        placeAndOwner(row);
        const bool past = start < m_today;
        const bool near = start.msecs() - m_today.msecs() <= 45 * DateTime::kMsecsPerDay;
        if (chance(past ? 10 : near ? 45 : 15)) {
            const int minutes = oneOf(QList<int>{5, 10, 15, 15, 30, 60});
            const int method = someReminderMethod(past);
            linkReminder(row, addReminder(start, method, minutes), start.addMinutes(-minutes), minutes);
        }
        const qint64 id = row.insert(m_db);
        ++m_summary.appointments;
        if (plan.minutes >= 60 && chance(12))
            addToDoItems(id, false, past, 2 + pick(2));
    }

    void addAllDayEvent(const Plan& plan, const DateTime& day)
    {
        const int days = plan.minutes; // whole days for these
        const DateTime stamp = stampFor(day);
        Row row("ITask");
        row.set("IsTask", false)
            .set("Subject", plan.subject)
            .set("StartDate", day)
            .set("DueDate", day.addDays(days))
            .set("Duration", days * 24 * 60)
            .set("IsAllDayEvent", true)
            .set("BusyStatus", days > 1 ? 3 : 0)
            .set("Label", kWhite)
            .set("Color", kWhite)
            .set("Status", 0)
            .set("PercentComplete", 0)
            .set("IsComplete", false)
            .set("Categories", sortedCategories({QString::fromUtf8(plan.category)}))
            .set("IsPrivate", false)
            .set("Sensitivity", 1)
            .set("IsRecurring", false)
            .set("RecurrenceState", 0)
            .set("ParentID", 0)
            .set("TimeCreated", stamp)
            .set("TimeModified", stamp);
        importance(row, 1);
        if (*plan.body)
            row.set("Body", plan.body);
        placeAndOwner(row);
        row.insert(m_db);
        ++m_summary.appointments;
    }

    void addTasks()
    {
        const QStringList subjects{
            "Prepare the monthly report", "Renew the domain name", "Update the price list",
            "Send invoices for last month", "Review the new contract draft", "Order office supplies",
            "Book flights for the trade fair", "Plan the team offsite", "Write the release blog post",
            "Clean up the shared drive", "Call back the insurance agent", "File the expense claims",
            "Prepare the slides for the board meeting", "Check the backup reports", "Organise the customer survey",
            "Update the employee handbook", "Reply to the tender request", "Archive last year's projects",
            "Renew the parking permit", "Collect quotes for new laptops"};
        const QStringList categories{"Business", "Time & Expenses", "Goals/Objectives", "Status",
                                     "Miscellaneous", "Suppliers", "Personal", "Strategies"};
        for (int i = 0; i < 100; ++i) {
            const int offset = -75 + pick(136);
            const DateTime start = at(m_date.addDays(offset), QTime(9 + pick(8), 0));
            const int spanDays = pick(8);
            const DateTime due = start.datePart().addDays(spanDays).addMinutes(17 * 60);
            const bool overdue = due < m_today;
            int status = 0;
            int percent = 0;
            if (overdue) {
                const int roll = pick(100);
                status = roll < 75 ? 2 : roll < 85 ? 1 : roll < 93 ? 3 : 4;
            } else if (start < m_today) {
                status = chance(60) ? 1 : 0;
            } else {
                status = chance(15) ? 4 : 0;
            }
            if (status == 2)
                percent = 100;
            else if (status == 1 || status == 3)
                percent = 10 * (1 + pick(9));
            const bool complete = status == 2;
            const double planned = 1 + pick(16);
            const DateTime stamp = stampFor(start);
            Row row("ITask");
            row.set("IsTask", true)
                .set("Subject", oneOf(subjects))
                .set("StartDate", start)
                .set("DueDate", due)
                .set("Duration", 60)
                .set("IsAllDayEvent", false)
                .set("BusyStatus", 2)
                .set("Label", kWhite)
                .set("Color", kWhite)
                .set("Status", status)
                .set("PercentComplete", percent)
                .set("IsComplete", complete)
                .set("TotalWork", planned)
                .set("ActualWork", complete ? planned + pick(5) - 2 : planned * percent / 100.0)
                .set("Categories", sortedCategories({oneOf(categories)}))
                .set("IsPrivate", chance(5))
                .set("Sensitivity", 1)
                .set("IsTeamTask", chance(20))
                .set("IsSecurity", false)
                .set("IsShowTraditionalCalendar", false)
                .set("IsRecurring", false)
                .set("RecurrenceState", 0)
                .set("ParentID", 0)
                .set("TimeCreated", stamp)
                .set("TimeModified", stamp);
            importance(row, someImportance());
            if (complete) {
                // Finished on time or a little late, but never after today.
                const DateTime finished = std::min(due.addDays(pick(3) - 1), m_today.addMinutes(-60));
                row.set("DateCompleted", std::max(finished, start));
            }
            if (chance(25))
                row.set("Companies", oneOf(QStringList{"Harbourline Logistics", "Brightmoor Foods", "Larkspur Design"}));
            if (chance(15))
                row.set("BillingInformation", QStringLiteral("Project %1").arg(2000 + pick(100)));
            if (chance(10))
                row.set("Mileage", QStringLiteral("%1 km").arg(5 + pick(120)));
            const QString contacts = someContacts();
            if (!contacts.isEmpty())
                row.set("ContactNames", contacts);
            if (chance(40))
                row.set("Body", QStringLiteral("Notes: check with the team before closing this."));
            placeAndOwner(row);
            if (!complete && due >= m_today && chance(40)) {
                const int minutes = oneOf(QList<int>{15, 60, 120, 1440});
                linkReminder(row, addReminder(due, someReminderMethod(false), minutes), due.addMinutes(-minutes),
                             minutes);
            }
            const qint64 id = row.insert(m_db);
            ++m_summary.tasks;
            if (complete)
                ++m_summary.completedTasks;
            if (chance(35))
                addToDoItems(id, true, complete, 2 + pick(3));
        }
    }

    QList<SeriesPlan> seriesPlans() const
    {
        QList<SeriesPlan> plans;
        const QDate yearly = m_date.addDays(20).month() == 2 && m_date.addDays(20).day() == 29
            ? m_date.addDays(19)
            : m_date.addDays(20);
        const int meetingMonth = m_date.addMonths(2).month();
        const int serviceDay = std::min(m_date.day(), 28);

        SeriesPlan standUp = seriesPlan("Team stand-up", "Yesterday, today, blockers. Fifteen minutes, standing.", false, "Business");
        standUp.recurrenceType = 0;
        standUp.interval = 0;
        standUp.dayOfWeekMask = 62;
        standUp.startTime = QTime(9, 0);
        standUp.duration = 15;
        standUp.patternStart = m_date.addDays(-63);
        standUp.occurs = isWeekday;
        standUp.reminderMethod = kMethodWindow;
        standUp.reminderMinutes = 5;
        plans.append(standUp);

        SeriesPlan vitamins = seriesPlan("Take the vitamins", "", true, "Personal");
        vitamins.recurrenceType = 0;
        vitamins.interval = 1;
        vitamins.dayOfWeekMask = 127;
        vitamins.startTime = QTime(8, 0);
        vitamins.duration = 5;
        vitamins.patternStart = m_date.addDays(-10);
        vitamins.endType = 1;
        vitamins.occurrences = 30;
        vitamins.patternEnd = vitamins.patternStart.addDays(29);
        vitamins.occurs = [](const QDate&) { return true; };
        plans.append(vitamins);

        SeriesPlan status = seriesPlan("Project status meeting", "Progress, risks and decisions.", false, "Status");
        status.recurrenceType = 1;
        status.interval = 1;
        status.dayOfWeekMask = 4 | 16; // Tuesday and Thursday
        status.startTime = QTime(14, 0);
        status.duration = 60;
        status.patternStart = m_date.addDays(-56);
        status.endType = 2;
        status.patternEnd = m_date.addDays(84);
        status.occurs = [](const QDate& day) { return day.dayOfWeek() == 2 || day.dayOfWeek() == 4; };
        status.reminderMethod = kMethodWindow | kMethodSpeech;
        status.reminderMinutes = 15;
        plans.append(status);

        QDate firstFriday = m_date.addDays(-42);
        while (firstFriday.dayOfWeek() != 5)
            firstFriday = firstFriday.addDays(1);
        SeriesPlan timesheet = seriesPlan("Submit the timesheet", "Hours per project, before five.", true, "Time & Expenses");
        timesheet.recurrenceType = 1;
        timesheet.interval = 2;
        timesheet.dayOfWeekMask = 32; // Friday
        timesheet.startTime = QTime(16, 0);
        timesheet.duration = 30;
        timesheet.patternStart = firstFriday;
        timesheet.occurs = [firstFriday](const QDate& day) { return firstFriday.daysTo(day) % 14 == 0; };
        timesheet.reminderMethod = kMethodSmallPopup;
        timesheet.reminderMinutes = 60;
        plans.append(timesheet);

        SeriesPlan budget = seriesPlan("Monthly budget review", "Spending against the plan, per department.", false, "Time & Expenses");
        budget.recurrenceType = 2;
        budget.interval = 1;
        budget.dayOfMonth = 15;
        budget.startTime = QTime(11, 0);
        budget.duration = 90;
        budget.patternStart = m_date.addDays(-90);
        budget.occurs = [](const QDate& day) { return day.day() == 15; };
        plans.append(budget);

        SeriesPlan bookClub = seriesPlan("Book club", "This month: the one with the lighthouse.", false, "Personal");
        bookClub.recurrenceType = 3;
        bookClub.interval = 1;
        bookClub.dayOfWeekMask = 8; // Wednesday
        bookClub.instance = 3;
        bookClub.startTime = QTime(19, 0);
        bookClub.duration = 120;
        bookClub.patternStart = m_date.addDays(-90);
        bookClub.occurs = [](const QDate& day) { return day.dayOfWeek() == 3 && (day.day() - 1) / 7 == 2; };
        bookClub.reminderMethod = kMethodAgent;
        bookClub.reminderMinutes = 60;
        plans.append(bookClub);

        SeriesPlan anniversary = seriesPlan("Wedding anniversary", "Book a table at the harbour restaurant.", false, "Personal");
        anniversary.recurrenceType = 5;
        anniversary.interval = 1;
        anniversary.dayOfMonth = yearly.day();
        anniversary.monthOfYear = yearly.month();
        anniversary.startTime = QTime(0, 0);
        anniversary.duration = 24 * 60;
        anniversary.allDay = true;
        anniversary.patternStart = yearly.addYears(-6);
        anniversary.occurs = [yearly](const QDate& day) { return day.month() == yearly.month() && day.day() == yearly.day(); };
        anniversary.reminderMethod = kMethodWindow | kMethodMail;
        anniversary.reminderMinutes = 24 * 60;
        plans.append(anniversary);

        SeriesPlan general = seriesPlan("Annual general meeting", "Accounts, elections, any other business.", false, "Business");
        general.recurrenceType = 6;
        general.interval = 1;
        general.dayOfWeekMask = 32; // Friday
        general.instance = 5;
        general.monthOfYear = meetingMonth;
        general.startTime = QTime(10, 0);
        general.duration = 180;
        general.patternStart = QDate(m_date.year() - 1, meetingMonth, 1);
        general.occurs = [meetingMonth](const QDate& day) {
            return day.month() == meetingMonth && day == nthWeekdayOfMonth(day.year(), meetingMonth, 5, 5);
        };
        plans.append(general);

        const QDate serviceStart(m_date.addMonths(-1).year(), m_date.addMonths(-1).month(), serviceDay);
        SeriesPlan service = seriesPlan("Check the car's oil and tyres", "Every three months; the next date follows completion.",
                                        true, "Miscellaneous");
        service.recurrenceType = 2;
        service.interval = 3;
        service.dayOfMonth = serviceDay;
        service.startTime = QTime(17, 0);
        service.duration = 30;
        service.patternStart = serviceStart;
        service.regenerate = true;
        service.occurs = [serviceStart, serviceDay](const QDate& day) {
            const int months = (day.year() - serviceStart.year()) * 12 + day.month() - serviceStart.month();
            return day.day() == serviceDay && months % 3 == 0;
        };
        plans.append(service);
        return plans;
    }

    static QDate firstOccurrenceFrom(const SeriesPlan& plan, const QDate& from)
    {
        QDate day = std::max(from, plan.patternStart);
        for (int guard = 0; guard < 3 * 366; ++guard, day = day.addDays(1)) {
            if (plan.occurs(day))
                return day;
        }
        return {};
    }

    DateTime occurrenceStart(const SeriesPlan& plan, const QDate& day) const
    {
        return plan.allDay ? DateTime::fromDate(day) : at(day, plan.startTime);
    }

    void addSeries()
    {
        QList<std::pair<qint64, SeriesPlan>> masters;
        for (const SeriesPlan& plan : seriesPlans()) {
            const QDate first = firstOccurrenceFrom(plan, plan.patternStart);
            if (!first.isValid())
                continue;
            const DateTime start = occurrenceStart(plan, first);
            Row pattern("IRecurrencePattern");
            pattern.set("RecurrenceType", plan.recurrenceType)
                .set("Interval", plan.interval)
                .set("DayOfWeekMask", plan.dayOfWeekMask ? plan.dayOfWeekMask : 1 << (first.dayOfWeek() % 7))
                .set("DayOfMonth", plan.dayOfMonth ? plan.dayOfMonth : first.day())
                .set("Instance", plan.instance ? plan.instance : (first.day() - 1) / 7 + 1)
                .set("MonthOfYear", plan.monthOfYear ? plan.monthOfYear : first.month())
                .set("PatternStartDate", DateTime::fromDate(plan.patternStart))
                .set("NoEndDate", plan.endType == 0)
                .set("EndType", plan.endType)
                .set("Occurrences", plan.occurrences)
                .set("StartTime", DateTime::fromTime(plan.startTime))
                .set("EndTime", DateTime::fromTime(plan.startTime.addSecs(plan.duration * 60)))
                .set("Duration", plan.duration)
                .set("Regenerate", plan.regenerate);
            if (plan.endType != 0)
                pattern.set("PatternEndDate", DateTime::fromDate(plan.patternEnd));
            const qint64 patternId = pattern.insert(m_db);

            Row master = itemRow(plan, start);
            master.set("IsRecurring", true).set("IRecurrencePatternID", patternId).set("RecurrenceState", 1).set("ParentID", 0);
            if (plan.reminderMethod) {
                const QDate next = firstOccurrenceFrom(plan, m_date);
                const DateTime nextStart = occurrenceStart(plan, next.isValid() ? next : first);
                const qint64 reminder = addReminder(start, plan.reminderMethod, plan.reminderMinutes, true, nextStart);
                linkReminder(master, reminder, nextStart.addMinutes(-plan.reminderMinutes), plan.reminderMinutes);
            }
            const qint64 id = master.insert(m_db);
            ++m_summary.series;
            masters.append({id, plan});
        }

        // A few occurrences that were changed or deleted, the way the
        // calendar stores them: an occurrence row and its exception row.
        for (const auto& [id, plan] : masters) {
            const QString subject = QString::fromUtf8(plan.subject);
            if (subject == QLatin1String("Team stand-up")) {
                addOccurrence(id, plan, firstOccurrenceFrom(plan, m_date.addDays(10)), 3, 0);
                addOccurrence(id, plan, firstOccurrenceFrom(plan, m_date.addDays(3)), 4, 30);
            } else if (subject == QLatin1String("Project status meeting")) {
                addOccurrence(id, plan, firstOccurrenceFrom(plan, m_date.addDays(7)), 4, 24 * 60);
            } else if (subject == QLatin1String("Book club")) {
                addOccurrence(id, plan, firstOccurrenceFrom(plan, m_date), 3, 0);
            }
        }
    }

    Row itemRow(const SeriesPlan& plan, const DateTime& start)
    {
        const DateTime stamp = stampFor(start);
        Row row("ITask");
        row.set("IsTask", plan.isTask)
            .set("Subject", plan.subject)
            .set("StartDate", start)
            .set("DueDate", start.addMinutes(plan.duration))
            .set("Duration", plan.duration)
            .set("IsAllDayEvent", plan.allDay)
            .set("BusyStatus", plan.allDay ? 0 : 2)
            .set("Label", kWhite)
            .set("Color", kWhite)
            .set("Status", 0)
            .set("PercentComplete", 0)
            .set("IsComplete", false)
            .set("Categories", sortedCategories({QString::fromUtf8(plan.category)}))
            .set("IsPrivate", false)
            .set("Sensitivity", 1)
            .set("TimeCreated", stamp)
            .set("TimeModified", stamp);
        importance(row, 1);
        if (*plan.body)
            row.set("Body", plan.body);
        if (m_nonePlace > 0)
            row.set("PlaceID", m_nonePlace);
        if (m_reservedUser > 0)
            row.set("UserID", m_reservedUser);
        return row;
    }

    // state 3: deleted; 4: changed, moved by shiftMinutes.
    void addOccurrence(qint64 masterId, const SeriesPlan& plan, const QDate& day, int state, int shiftMinutes)
    {
        if (!day.isValid())
            return;
        const DateTime original = occurrenceStart(plan, day);
        const DateTime start = original.addMinutes(shiftMinutes);
        Row row = itemRow(plan, start);
        row.set("IsRecurring", true).set("RecurrenceState", state).set("ParentID", masterId);
        if (state == 4)
            row.set("Subject", QString::fromUtf8(plan.subject) + QStringLiteral(" (moved)"));
        if (plan.reminderMethod) {
            const qint64 reminder = addReminder(start, plan.reminderMethod, plan.reminderMinutes);
            linkReminder(row, reminder, start.addMinutes(-plan.reminderMinutes), plan.reminderMinutes);
        }
        const qint64 id = row.insert(m_db);
        Row("Exceptions")
            .set("ITaskID", id)
            .set("ParentID", masterId)
            .set("OriginalDate", original)
            .set("IsDeleted", state == 3)
            .set("IsArchived", false)
            .insert(m_db);
        if (state == 3)
            ++m_summary.deletedOccurrences;
        else
            ++m_summary.changedOccurrences;
    }

    void addNotes()
    {
        struct NotePlan {
            const char* subject;
            const char* body;
            const char* category;
        };
        const QList<NotePlan> notes{
            {"Wi-Fi for guests", "Network: Velmora-Guest\nPassword is on the board in reception.", "Miscellaneous"},
            {"Ideas for the offsite", "Boat trip?\nCooking class\nEscape room", "Ideas"},
            {"Shopping list", "Coffee beans\nPrinter paper\nBatteries (AA)", "Personal"},
            {"Call Henrik back", "About the delivery dates for the second batch.", "Phone Calls"},
            {"Gift ideas", "Mei: a good notebook\nOwen: concert tickets", "Gifts"},
            {"Quotes to compare", "Kestrel Paper Co. vs. two others, by Friday.", "Suppliers"},
            {"Books to read", "The Lighthouse Keeper\nA Short History of Maps", "Personal"},
            {"Goals for this quarter", "1. Ship the reporting module\n2. Two new key customers\n3. Fewer meetings",
             "Goals/Objectives"},
            {"Parking", "Level 2, row F, near the lifts.", "Miscellaneous"},
            {"Door code", "Side entrance: ask Dana.", "Business"},
        };
        const QList<int> noteColors{rgb(255, 255, 192), rgb(192, 255, 192), rgb(192, 224, 255), rgb(255, 208, 224)};
        int step = 0;
        for (const NotePlan& note : notes) {
            const DateTime stamp = stampFor(m_today.addDays(-pick(60)));
            Row row("Notes");
            row.set("Subject", note.subject)
                .set("Body", QString::fromUtf8(note.body).replace(QLatin1Char('\n'), QStringLiteral("\r\n")))
                .set("Categories", note.category)
                .set("Color", oneOf(noteColors))
                .set("Left", 80 + 24 * step)
                .set("Top", 78 + 20 * step)
                .set("Width", 237)
                .set("Height", 203)
                .set("Importance", 1)
                .set("Sensitivity", 1)
                .set("TimeCreated", stamp)
                .set("TimeModified", stamp);
            const qint64 user = someUser();
            if (user > 0)
                row.set("UserID", user);
            row.insert(m_db);
            ++m_summary.notes;
            ++step;
        }
    }

    sqlite3* m_db;
    DateTime m_today;
    QDate m_date;
    QRandomGenerator m_rng;
    DemoDataSummary m_summary;
    qint64 m_nonePlace = 0;
    qint64 m_reservedUser = 0;
    QList<qint64> m_users;
    QList<Place> m_places;
    QStringList m_contacts;
};

} // namespace

QString DemoDataSummary::describe() const
{
    return QStringLiteral("%1 appointments, %2 tasks (%3 completed), %4 recurring series with %5 changed and %6 "
                          "deleted occurrences, %7 reminders, %8 to-do items, %9 contacts, %10 notes, %11 holidays, "
                          "%12 resources, %13 places, %14 regions")
        .arg(appointments)
        .arg(tasks)
        .arg(completedTasks)
        .arg(series)
        .arg(changedOccurrences)
        .arg(deletedOccurrences)
        .arg(reminders)
        .arg(toDoItems)
        .arg(contacts)
        .arg(notes)
        .arg(holidays)
        .arg(resources)
        .arg(places)
        .arg(regions);
}

DemoDataSummary addDemoData(sqlite3* db, DateTime today)
{
    SqliteStatement::execute(db, "SAVEPOINT demo_data");
    try {
        DemoDataSummary summary = DemoWriter(db, today).write();
        SqliteStatement::execute(db, "RELEASE demo_data");
        return summary;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO demo_data; RELEASE demo_data", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace velmora
