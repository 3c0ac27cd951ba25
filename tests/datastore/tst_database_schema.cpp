// A new database file: every shared table and field under its exact name and
// kind, the reserved rows and default categories, a sound file, and never a
// file overwritten.

#include "datastore/database_schema.h"
#include "datastore/default_categories.h"
#include "datastore/field_type.h"
#include "platform/exception.h"
#include "tests/datastore/database_probe.h"
#include "tests/support/fake_clock.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using velmora::DateTime;
using velmora::FieldType;
using velmora::test::DatabaseProbe;

Q_DECLARE_METATYPE(velmora::FieldType)

namespace {

// The layout every program relies on, written down on its own so a slip in
// the schema data cannot hide itself. Letters: K key, I integer, F number,
// B boolean, T text, M memo, D date-time, L binary.
const QMap<QString, QString>& expectedLayout()
{
    static const QMap<QString, QString> layout{
        {"ITask",
         "ITaskID K, IsTask B, Subject T, Body M, DescriptionRich M, StartDate D, DueDate D, Duration I, "
         "IsAllDayEvent B, BusyStatus I, Label I, Color I, Importance I, IsImportant B, IsUrgent B, Status I, "
         "PercentComplete I, IsComplete B, DateCompleted D, TotalWork F, ActualWork F, Mileage T, "
         "BillingInformation T, Companies T, Categories T, PlaceID I, PlaceName T, ContactNames T, UserID I, "
         "IsPrivate B, Sensitivity I, IsTeamTask B, IsSecurity B, IsShowTraditionalCalendar B, HasReminder B, "
         "ReminderID I, ReminderInfo T, IsRecurring B, IRecurrencePatternID I, RecurrenceState I, ParentID I, "
         "Anniversary D, Birthday D, TimeCreated D, TimeModified D, LinkInfo M"},
        {"IRecurrencePattern",
         "IRecurrencePatternID K, RecurrenceType I, Interval I, DayOfWeekMask I, DayOfMonth I, Instance I, "
         "MonthOfYear I, PatternStartDate D, PatternEndDate D, NoEndDate B, EndType I, Occurrences I, "
         "StartTime D, EndTime D, Duration I, Regenerate B"},
        {"Reminders",
         "ReminderID K, ReminderTime D, ReminderNewTime D, ReminderMinutesBeforeStart I, ReminderMethod I, "
         "Behavior I, AgentChar I, ReminderMedia T, ApplicationPath T, ApplicationParas T, RecipientsTo T, "
         "RecipientsCC T, RecipientsBCC T, MultiActions M, IsTodayReminder B, HasNotified B, ReminderSet B, "
         "SnoozeTime I"},
        {"Exceptions", "ExceptionID K, ITaskID I, ParentID I, OriginalDate D, IsDeleted B, IsArchived B"},
        {"ToDoList",
         "ToDoListID K, LinkID I, LinkType T, Name T, Description T, IsFinished B, IsImportant B, IsUrgent B, "
         "IsActive B"},
        {"Categories", "CategoryID K, Name T, IsSecurityCategory B"},
        {"Places", "PlaceID K, Name T, Description M, Color I, RegionID I"},
        {"Regions", "RegionID K, Name T, Description T, Color I, LaborTax F, ExpenseTax F"},
        {"Users",
         "UserID K, FullName T, UserNumber T, JobTitle T, EMail T, PINNumber T, SSNNumber T, Color I, Icon I, "
         "Picture L, IsDisplayed B, Gender B, Birthday D, Anniversary D, WorkType T, WorkDays F, WorkHours F, "
         "Software T, StartTime D, EndTime D, TimeCreated D, TimeModified D, TimeDeleted D"},
        {"Notes",
         "NoteID K, Subject T, Body M, Categories T, Color I, Left I, Top I, Width I, Height I, UserID I, "
         "Importance I, Sensitivity I, LinkID I, LinkType T, LinkInfo M, TimeCreated D, TimeModified D"},
        {"Contacts",
         "ContactID K, FirstName T, MiddleName T, LastName T, Suffix T, Title T, FullName T, FileAs T, "
         "LastNameAndFirstName T, Nickname T, CompanyName T, Companies T, Department T, JobTitle T, "
         "OfficeLocation T, Profession T, ManagerName T, AssistantName T, Spouse T, Birthday D, Anniversary D, "
         "AssistantTelephoneNumber T, BusinessTelephoneNumber T, Business2TelephoneNumber T, BusinessFaxNumber T, "
         "CallbackTelephoneNumber T, CarTelephoneNumber T, CompanyMainTelephoneNumber T, HomeTelephoneNumber T, "
         "Home2TelephoneNumber T, HomeFaxNumber T, ISDNNumber T, MobileTelephoneNumber T, OtherTelephoneNumber T, "
         "OtherFaxNumber T, PagerNumber T, PrimaryTelephoneNumber T, RadioTelephoneNumber T, TelexNumber T, "
         "TTYTDDTelephoneNumber T, BusinessAddress T, HomeAddress T, "
         "BusinessAddressStreet T, BusinessAddressCity T, BusinessAddressState T, BusinessAddressPostalCode T, "
         "BusinessAddressCountry T, BusinessAddressPostOfficeBox T, "
         "HomeAddressStreet T, HomeAddressCity T, HomeAddressState T, HomeAddressPostalCode T, "
         "HomeAddressCountry T, HomeAddressPostOfficeBox T, "
         "OtherAddressStreet T, OtherAddressCity T, OtherAddressState T, OtherAddressPostalCode T, "
         "OtherAddressCountry T, OtherAddressPostOfficeBox T, "
         "MailingAddressIndicator B, Email1Address T, Email1DisplayName T, Email2Address T, Email2DisplayName T, "
         "Email3Address T, Email3DisplayName T, WebPage T, Body M, Categories T, Contacts T, CountryRegion T, "
         "User1 T, User2 T, User3 T, User4 T, UserCertificate T, YomiCompanyName T, YomiFirstName T, "
         "YomiLastName T, Private B, Icon L, TimeModified D, LinkInfo M"},
        {"Holidays",
         "HolidayID K, Name T, PlaceName T, Rule T, Categories T, HolidayType I, MonthOfYear I, DayOfMonth I, "
         "Instance I, WeekMask I, HolidayDate D, Interval I, Occurrences I, HasStartYear B, IsAvailable B, "
         "IsTraditionalCalendar B, Icon I"},
    };
    return layout;
}

FieldType typeOfLetter(const QString& letter)
{
    static const QMap<QString, FieldType> types{{"K", FieldType::Integer}, {"I", FieldType::Integer},
                                                {"F", FieldType::Float},   {"B", FieldType::Boolean},
                                                {"T", FieldType::Text},    {"M", FieldType::Memo},
                                                {"D", FieldType::DateTime}, {"L", FieldType::Blob}};
    return types.value(letter, FieldType::Unknown);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestDatabaseSchema : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void declaredTypesMapToFieldKinds_data();
    void declaredTypesMapToFieldKinds();
    void everyTableHasEveryFieldOfItsKind_data();
    void everyTableHasEveryFieldOfItsKind();
    void noOtherTablesAndKeysNumberThemselves();
    void fileIsSoundWithVersionAndSharedJournal();
    void reservedRowsHoldTheLowestKeys_data();
    void reservedRowsHoldTheLowestKeys();
    void reservedUserAndDefaultCategories();
    void columnDefaultsForRowsWrittenWithoutThem_data();
    void columnDefaultsForRowsWrittenWithoutThem();
    void existingFileIsRefusedAndLeftAsItWas_data();
    void existingFileIsRefusedAndLeftAsItWas();
    void failedFillingLeavesNoFileBehind();
    void missingFolderIsMade();

private:
    QString newPath() const { return m_dir->filePath(QStringLiteral("Data/VelmoraV2.mdb")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<velmora::test::FakeClock> m_clock;
    QString m_path;
};

void TestDatabaseSchema::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock = std::make_unique<velmora::test::FakeClock>(DateTime::fromParts(2024, 3, 5, 14, 30, 15));
    m_path = m_dir->filePath(QStringLiteral("made.mdb"));
    velmora::createDatabase(m_path);
}

void TestDatabaseSchema::cleanup()
{
    m_clock.reset();
    m_dir.reset();
}

void TestDatabaseSchema::declaredTypesMapToFieldKinds_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<FieldType>("expected");

    QTest::addRow("key") << "INTEGER PRIMARY KEY AUTOINCREMENT" << FieldType::Integer;
    QTest::addRow("integer any case") << "Integer" << FieldType::Integer;
    QTest::addRow("boolean") << "BOOLEAN" << FieldType::Boolean;
    QTest::addRow("yes/no") << "YESNO" << FieldType::Boolean;
    QTest::addRow("bit") << "bit" << FieldType::Boolean;
    QTest::addRow("date-time as the alert program writes it") << "Datetime" << FieldType::DateTime;
    QTest::addRow("date") << "DATE" << FieldType::DateTime;
    QTest::addRow("long text") << "LONGTEXT" << FieldType::Memo;
    QTest::addRow("memo") << "Memo" << FieldType::Memo;
    QTest::addRow("fixed width with size") << "Char(255)" << FieldType::Text;
    QTest::addRow("varchar with size") << "VARCHAR(50)" << FieldType::Text;
    QTest::addRow("text") << "TEXT" << FieldType::Text;
    QTest::addRow("double") << "DOUBLE" << FieldType::Float;
    QTest::addRow("numeric with precision") << "NUMERIC(10, 2)" << FieldType::Float;
    QTest::addRow("currency") << "CURRENCY" << FieldType::Float;
    QTest::addRow("blob") << "BLOB" << FieldType::Blob;
    QTest::addRow("long binary") << "LONGBINARY" << FieldType::Blob;
    QTest::addRow("blanks around") << "  integer  " << FieldType::Integer;
    QTest::addRow("expression column") << "" << FieldType::Unknown;
    QTest::addRow("foreign word") << "GEOMETRY" << FieldType::Unknown;
    QTest::addRow("a word that only starts like one") << "INTEGERS" << FieldType::Unknown;
}

void TestDatabaseSchema::declaredTypesMapToFieldKinds()
{
    QFETCH(QString, declared);
    QFETCH(FieldType, expected);
    QCOMPARE(velmora::fieldTypeFromDeclared(declared), expected);
}

void TestDatabaseSchema::everyTableHasEveryFieldOfItsKind_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("fields");
    for (auto it = expectedLayout().cbegin(); it != expectedLayout().cend(); ++it)
        QTest::addRow("%s", qPrintable(it.key())) << it.key() << it.value();
}

void TestDatabaseSchema::everyTableHasEveryFieldOfItsKind()
{
    QFETCH(QString, table);
    QFETCH(QString, fields);

    QMap<QString, FieldType> expected;
    QString keyField;
    for (const QString& entry : fields.split(QLatin1Char(','))) {
        const QStringList parts = entry.simplified().split(QLatin1Char(' '));
        QCOMPARE(parts.size(), 2);
        expected.insert(parts[0], typeOfLetter(parts[1]));
        if (parts[1] == QLatin1String("K"))
            keyField = parts[0];
    }

    DatabaseProbe probe(m_path);
    QMap<QString, FieldType> actual;
    QString actualKey;
    for (const QVariantList& column : probe.rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) {
        // cid, name, type, notnull, default, pk
        actual.insert(column[1].toString(), velmora::fieldTypeFromDeclared(column[2].toString()));
        if (column[5].toInt() == 1)
            actualKey = column[1].toString();
    }

    QStringList wrong;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!actual.contains(it.key()))
            wrong.append(QStringLiteral("missing ") + it.key());
        else if (actual.value(it.key()) != it.value())
            wrong.append(QStringLiteral("wrong kind of ") + it.key());
    }
    for (auto it = actual.cbegin(); it != actual.cend(); ++it) {
        if (!expected.contains(it.key()))
            wrong.append(QStringLiteral("unexpected ") + it.key());
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    QCOMPARE(actualKey, keyField);
}

void TestDatabaseSchema::noOtherTablesAndKeysNumberThemselves()
{
    DatabaseProbe probe(m_path);
    QStringList tables;
    for (const QVariantList& row :
         probe.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                                   "ORDER BY name")))
        tables.append(row.first().toString());
    QStringList expected = expectedLayout().keys();
    expected.sort();
    QCOMPARE(tables, expected);
    QVERIFY(!tables.contains(QStringLiteral("TempNotification")));

    // Autonumber keys are never reused, even after the highest row is deleted.
    for (const QString& table : expected) {
        const QString sql = probe.text(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?1"), {table});
        QVERIFY2(sql.contains(QStringLiteral("AUTOINCREMENT")), qPrintable(table));
    }
}

void TestDatabaseSchema::fileIsSoundWithVersionAndSharedJournal()
{
    DatabaseProbe probe(m_path);
    QCOMPARE(probe.text(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(probe.integer(QStringLiteral("PRAGMA user_version")), qint64(velmora::kSchemaVersion));
    QCOMPARE(probe.text(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = "
                                          "'IX_ITask_RecurrenceState'")),
             qint64(1));
}

void TestDatabaseSchema::reservedRowsHoldTheLowestKeys_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("rows");

    QTest::addRow("Categories") << "Categories" << "CategoryID" << 22;
    QTest::addRow("Places") << "Places" << "PlaceID" << 1;
    QTest::addRow("Regions") << "Regions" << "RegionID" << 1;
    QTest::addRow("Holidays") << "Holidays" << "HolidayID" << 1;
}

void TestDatabaseSchema::reservedRowsHoldTheLowestKeys()
{
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(int, rows);

    DatabaseProbe probe(m_path);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)), qint64(rows));
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE Name = '[None]'").arg(table)), qint64(1));
    // The default foreign key of a list is its lowest key: the reserved row.
    QCOMPARE(probe.text(QStringLiteral("SELECT Name FROM \"%1\" ORDER BY %2 LIMIT 1").arg(table, key)),
             QStringLiteral("[None]"));
    // What the lists show leaves it out.
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE (Name <> '[None]')").arg(table)),
             qint64(rows - 1));
}

void TestDatabaseSchema::reservedUserAndDefaultCategories()
{
    DatabaseProbe probe(m_path);
    const QList<QVariantList> users = probe.rows(
        QStringLiteral("SELECT FullName, IsDisplayed, StartTime, EndTime, TimeCreated FROM Users ORDER BY UserID"));
    QCOMPARE(users.size(), 1);
    QCOMPARE(users[0][0].toString(), QString::fromLatin1(velmora::kReservedUserName));
    QCOMPARE(users[0][1].toInt(), 1);
    QCOMPARE(DateTime::fromDays(users[0][2].toDouble()), DateTime::fromParts(2024, 3, 5));
    QCOMPARE(DateTime::fromDays(users[0][3].toDouble()), DateTime::fromParts(2124, 3, 5));
    QCOMPARE(DateTime::fromDays(users[0][4].toDouble()), DateTime::fromParts(2024, 3, 5, 14, 30, 15));

    // The place of the reserved place is the reserved region.
    QCOMPARE(probe.text(QStringLiteral("SELECT r.Name FROM Places p JOIN Regions r ON r.RegionID = p.RegionID")),
             QStringLiteral("[None]"));
    // The reserved holiday is never in force.
    QCOMPARE(probe.integer(QStringLiteral("SELECT IsAvailable FROM Holidays")), qint64(0));

    QStringList categories;
    for (const QVariantList& row :
         probe.rows(QStringLiteral("SELECT Name FROM Categories WHERE (Name <> '[None]') ORDER BY CategoryID")))
        categories.append(row.first().toString());
    const QStringList expected{"Birthday", "Business", "Competition", "Favorites", "Gifts", "Goals/Objectives",
                               "Holiday", "Holiday Cards", "Hot Contacts", "Ideas", "International",
                               "Key Customer", "Miscellaneous", "Personal", "Phone Calls", "Status", "Strategies",
                               "Suppliers", "Time & Expenses", "VIP", "Waiting"};
    QCOMPARE(categories, expected);
    QCOMPARE(velmora::defaultCategoryNames(), expected);
}

void TestDatabaseSchema::columnDefaultsForRowsWrittenWithoutThem_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    QTest::addRow("note width") << "Notes" << "Width" << QVariant(237);
    QTest::addRow("note left") << "Notes" << "Left" << QVariant(80);
    QTest::addRow("task sensitivity") << "ITask" << "Sensitivity" << QVariant(1);
    QTest::addRow("task recurrence state") << "ITask" << "RecurrenceState" << QVariant(0);
    QTest::addRow("to-do active") << "ToDoList" << "IsActive" << QVariant(1);
    QTest::addRow("holiday category") << "Holidays" << "Categories" << QVariant("Holiday");
    QTest::addRow("holiday weekday") << "Holidays" << "WeekMask" << QVariant(2);
    QTest::addRow("user work hours") << "Users" << "WorkHours" << QVariant(7.5);
    QTest::addRow("user software") << "Users" << "Software" << QVariant("N");
    QTest::addRow("pattern occurrences") << "IRecurrencePattern" << "Occurrences" << QVariant(10);
}

void TestDatabaseSchema::columnDefaultsForRowsWrittenWithoutThem()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(m_path).constData(), &db), SQLITE_OK);
        const QString sql = QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(table);
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }
    DatabaseProbe probe(m_path);
    const QVariant actual = probe.value(
        QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid DESC LIMIT 1").arg(field, table));
    QCOMPARE(actual.toString(), expected.toString());
}

void TestDatabaseSchema::existingFileIsRefusedAndLeftAsItWas_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("a database") << "database";
    QTest::addRow("an empty file") << "empty";
    QTest::addRow("some other file") << "text";
}

void TestDatabaseSchema::existingFileIsRefusedAndLeftAsItWas()
{
    QFETCH(QString, kind);

    QString path = m_path;
    if (kind != QLatin1String("database")) {
        path = m_dir->filePath(QStringLiteral("other.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("text"))
            file.write("not a database, but somebody's file\n");
    }
    const QByteArray before = fileBytes(path);

    try {
        velmora::createDatabase(path, [](sqlite3*) { QFAIL("the filling must not run on a refused file"); });
        QFAIL("an existing file was not refused");
    } catch (const velmora::Exception& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("already exists")), qPrintable(error.message()));
    }
    QCOMPARE(fileBytes(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
}

void TestDatabaseSchema::failedFillingLeavesNoFileBehind()
{
    const QString path = newPath();
    bool ran = false;
    QVERIFY_THROWS_EXCEPTION(velmora::Exception, velmora::createDatabase(path, [&ran](sqlite3*) {
                                 ran = true;
                                 throw velmora::Exception(QStringLiteral("disk full"));
                             }));
    QVERIFY(ran);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
    QVERIFY(!QFile::exists(path + QStringLiteral("-shm")));
    // The name is free again for the next try.
    velmora::createDatabase(path);
    QVERIFY(QFile::exists(path));
}

void TestDatabaseSchema::missingFolderIsMade()
{
    const QString path = m_dir->filePath(QStringLiteral("fresh/install/Data/VelmoraV2.mdb"));
    velmora::createDatabase(path);
    DatabaseProbe probe(path);
    QCOMPARE(probe.integer(QStringLiteral("SELECT COUNT(*) FROM Users")), qint64(1));
}

QTEST_MAIN(TestDatabaseSchema)
#include "tst_database_schema.moc"
