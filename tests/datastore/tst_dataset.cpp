// The dataset layer: the cursor, the editing states and their events, posts
// that write through to the base table, bookmarks, clones and details.
#include "datastore/abort_error.h"
#include "datastore/dataset.h"
#include "platform/exception.h"
#include "tests/support/scratch_database.h"

#include <QSignalSpy>
#include <QtTest>

using namespace velmora;

namespace {

QStringList names(DataSet& items)
{
    QStringList result;
    const Bookmark here = items.bookmark();
    for (items.first(); !items.eof(); items.next())
        result << items.fieldByName(QStringLiteral("Name")).asString();
    if (items.bookmarkValid(here))
        items.gotoBookmark(here);
    return result;
}

// Records the order in which a dataset's events fire.
void recordEvents(DataSet& set, QStringList& log)
{
    auto& e = set.events();
    auto add = [&log](const char* name) { return [&log, name](DataSet&) { log << QString::fromLatin1(name); }; };
    e.beforeInsert = add("beforeInsert");
    e.onNewRecord = add("onNewRecord");
    e.afterInsert = add("afterInsert");
    e.beforeEdit = add("beforeEdit");
    e.afterEdit = add("afterEdit");
    e.beforePost = add("beforePost");
    e.afterPost = add("afterPost");
    e.beforeCancel = add("beforeCancel");
    e.afterCancel = add("afterCancel");
    e.beforeDelete = add("beforeDelete");
    e.afterDelete = add("afterDelete");
    e.afterScroll = add("afterScroll");
}

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT
private slots:
    void cursorMovesOverTheRecords();
    void eventsFireInOrder_data();
    void eventsFireInOrder();
    void insertReadsTheNewKeyBack();
    void newRecordStandsWhereItWasInserted();
    void postWritesOnlyTheBaseTable();
    void abortInBeforePostKeepsTheEdit();
    void failedPostIsRolledBack_data();
    void failedPostIsRolledBack();
    void untouchedNewRecordIsDroppedOnScroll();
    void deleteMovesToTheFollowingRecord();
    void locateByOneOrMoreFields_data();
    void locateByOneOrMoreFields();
    void filterShowsOnlyMatchingRecords();
    void bookmarksSurviveOtherChanges();
    void clonesShareTheRecords();
    void detailFollowsItsMaster();
    void observersWaitWhileControlsAreDisabled();
    void fieldValuesAreConverted_data();
    void fieldValuesAreConverted();
    void badFieldValuesAreRefused_data();
    void badFieldValuesAreRefused();
    void resyncReadsAnotherProgramsChange();
    void queriesWithoutOneTableAreReadOnly();
    void misuseGetsClearErrors();
};

void TestDataSet::cursorMovesOverTheRecords()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "b", "c"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items ORDER BY Name"));
    QVERIFY(!items.isActive());
    items.open();
    QCOMPARE(items.state(), DataSetState::Browse);
    QCOMPARE(items.recordCount(), 3);
    QVERIFY(items.bof());
    QVERIFY(!items.eof());
    QCOMPARE(items.recNo(), 1);
    items.next();
    items.next();
    QCOMPARE(items.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("c"));
    QVERIFY(!items.eof());
    items.next(); // past the last record: eof, still on "c"
    QVERIFY(items.eof());
    QCOMPARE(items.recNo(), 3);
    items.first();
    items.prior();
    QVERIFY(items.bof());
    QCOMPARE(items.recNo(), 1);
    items.last();
    QVERIFY(items.eof());
    QCOMPARE(names(items), (QStringList{"a", "b", "c"}));

    DataSet none(&db.connection());
    none.setSql(QStringLiteral("SELECT * FROM Items WHERE Name = 'zzz'"));
    none.open();
    QVERIFY(none.isEmpty() && none.bof() && none.eof());
    QCOMPARE(none.recNo(), 0);
    QVERIFY(none.fieldByName(QStringLiteral("Name")).isNull());
    QCOMPARE(none.fields().size(), 9);
}

void TestDataSet::eventsFireInOrder_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("events");
    QTest::addRow("insert and post") << "insert-post"
                                     << QStringList{"beforeInsert", "onNewRecord", "afterInsert", "beforePost",
                                                    "afterPost"};
    QTest::addRow("edit and post") << "edit-post" << QStringList{"beforeEdit", "afterEdit", "beforePost", "afterPost"};
    QTest::addRow("edit and cancel") << "edit-cancel"
                                     << QStringList{"beforeEdit", "afterEdit", "beforeCancel", "afterCancel"};
    QTest::addRow("delete") << "delete" << QStringList{"beforeDelete", "afterDelete", "afterScroll"};
}

void TestDataSet::eventsFireInOrder()
{
    QFETCH(QString, action);
    QFETCH(QStringList, events);
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    QStringList log;
    recordEvents(items, log);
    if (action == QLatin1String("insert-post")) {
        items.insert();
        items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
        items.post();
    } else if (action.startsWith(QLatin1String("edit"))) {
        items.edit();
        items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
        action.endsWith(QLatin1String("post")) ? items.post() : items.cancel();
    } else {
        items.deleteRecord();
    }
    QCOMPARE(log, events);
}

void TestDataSet::insertReadsTheNewKeyBack()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("first"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    QCOMPARE(items.keyFieldName(), QStringLiteral("ItemID"));
    items.events().onNewRecord = [](DataSet& set) { set.fieldByName(QStringLiteral("Amount")).setValue(7); };
    items.append();
    QCOMPARE(items.state(), DataSetState::Insert);
    QVERIFY(!items.isModified()); // defaults set by the new-record handler are not changes
    QCOMPARE(items.fieldByName(QStringLiteral("Amount")).asInteger(), 7);
    QVERIFY(items.fieldByName(QStringLiteral("ItemID")).isNull());
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("second"));
    QVERIFY(items.isModified());
    items.post();
    QCOMPARE(items.state(), DataSetState::Browse);
    const qint64 key = items.fieldByName(QStringLiteral("ItemID")).asInteger();
    QVERIFY(key > 1);
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("second"));
    // The table's own default came back with the row.
    QCOMPARE(items.fieldByName(QStringLiteral("Done")).value(), QVariant::fromValue<qint64>(0));
    QCOMPARE(db.count(QStringLiteral("Items")), 2);
    QCOMPARE(db.connection().scalar(QStringLiteral("SELECT Amount FROM Items WHERE ItemID = ?1"), {key}).toInt(), 7);
    QCOMPARE(db.connection().transactionDepth(), 0);
}

void TestDataSet::newRecordStandsWhereItWasInserted()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "c"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.next(); // on "c"
    items.insert();
    QCOMPARE(items.recNo(), 2);
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
    items.post();
    QCOMPARE(items.recNo(), 2);
    QCOMPARE(names(items), (QStringList{"a", "b", "c"}));
    items.append();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("d"));
    items.post();
    QCOMPARE(items.recNo(), 4);
}

void TestDataSet::postWritesOnlyTheBaseTable()
{
    test::ScratchDatabase db;
    const qint64 item = db.addItem(QStringLiteral("boiler"));
    db.addLine(item, QStringLiteral("check pressure"));
    DataSet lines(&db.connection());
    lines.setSql(QStringLiteral("SELECT Lines.*, Items.ItemID, Items.Name FROM Lines INNER JOIN Items ON Lines.ItemID = Items.ItemID"));
    lines.open();
    QCOMPARE(lines.baseTable(), QStringLiteral("Lines"));
    QVERIFY(lines.fieldByName(QStringLiteral("Text")).inBaseTable());
    QVERIFY(!lines.fieldByName(QStringLiteral("Name")).inBaseTable());
    QVERIFY(!lines.fieldByName(QStringLiteral("ItemID_1")).inBaseTable()); // the joined table's key, renamed
    lines.edit();
    lines.fieldByName(QStringLiteral("Text")).setValue(QStringLiteral("bleed radiators"));
    lines.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("changed too?"));
    lines.post();
    QCOMPARE(db.connection().scalar(QStringLiteral("SELECT Text FROM Lines")).toString(),
             QStringLiteral("bleed radiators"));
    QCOMPARE(db.connection().scalar(QStringLiteral("SELECT Name FROM Items")).toString(), QStringLiteral("boiler"));
}

void TestDataSet::abortInBeforePostKeepsTheEdit()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.events().beforePost = [](DataSet&) { Abort(); };
    items.edit();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
    QVERIFY_THROWS_EXCEPTION(AbortError, items.post());
    QCOMPARE(items.state(), DataSetState::Edit);
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("b"));
    QCOMPARE(db.connection().scalar(QStringLiteral("SELECT Name FROM Items")).toString(), QStringLiteral("a"));
}

void TestDataSet::failedPostIsRolledBack_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("action");
    QTest::addRow("insert, error reaches the caller") << true << int(PostErrorAction::Fail);
    QTest::addRow("update, handler aborts") << false << int(PostErrorAction::Abort);
}

void TestDataSet::failedPostIsRolledBack()
{
    QFETCH(bool, insert);
    QFETCH(int, action);
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    QString reported;
    // An outer transaction, as the record rules begin one before each post.
    items.events().beforePost = [&db](DataSet&) { db.connection().beginTransaction(); };
    items.events().onPostError = [&](DataSet&, const std::exception& error, PostErrorAction& chosen) {
        reported = Exception::messageOf(error);
        db.connection().rollback();
        chosen = PostErrorAction(action);
    };
    insert ? items.append() : items.edit();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
    items.fieldByName(QStringLiteral("Code")).setValue(QStringLiteral("TOOLONG")); // fails the table's check
    if (PostErrorAction(action) == PostErrorAction::Abort)
        QVERIFY_THROWS_EXCEPTION(AbortError, items.post());
    else
        QVERIFY_THROWS_EXCEPTION(Exception, items.post());
    QVERIFY2(reported.contains(QStringLiteral("CHECK constraint failed")), qPrintable(reported));
    QCOMPARE(db.connection().transactionDepth(), 0);
    QCOMPARE(db.count(QStringLiteral("Items")), 1);
    QCOMPARE(db.connection().scalar(QStringLiteral("SELECT Name FROM Items")).toString(), QStringLiteral("a"));
    QVERIFY(items.isEditing()); // the caller decides what becomes of the edit
}

void TestDataSet::untouchedNewRecordIsDroppedOnScroll()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.append();
    items.first(); // nothing typed: the new record is dropped
    QCOMPARE(items.recordCount(), 1);
    items.append();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("b"));
    items.first(); // typed: the new record is posted
    QCOMPARE(items.recordCount(), 2);
    QCOMPARE(db.count(QStringLiteral("Items")), 2);
    items.insert();
    items.cancel();
    QCOMPARE(items.recordCount(), 2);
}

void TestDataSet::deleteMovesToTheFollowingRecord()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "b", "c"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.next();
    items.deleteRecord();
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("c"));
    items.deleteRecord(); // the last one: the new last becomes current
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("a"));
    items.deleteRecord();
    QVERIFY(items.isEmpty() && items.eof());
    QVERIFY_THROWS_EXCEPTION(Exception, items.deleteRecord());
    QCOMPARE(db.count(QStringLiteral("Items")), 0);
}

void TestDataSet::locateByOneOrMoreFields_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::addRow("by key") << "ItemID" << QVariantList{3} << 0 << "Gamma";
    QTest::addRow("by text") << "Name" << QVariantList{"Beta"} << 0 << "Beta";
    QTest::addRow("case matters") << "Name" << QVariantList{"beta"} << 0 << "";
    QTest::addRow("without case") << "Name" << QVariantList{"beta"} << int(LocateCaseInsensitive) << "Beta";
    QTest::addRow("partial") << "Name" << QVariantList{"Gam"} << int(LocatePartialKey) << "Gamma";
    QTest::addRow("two fields") << "Amount;Done" << QVariantList{5, true} << 0 << "Gamma";
    QTest::addRow("boolean as text") << "Done" << QVariantList{"True"} << 0 << "Gamma";
    QTest::addRow("null") << "Due" << QVariantList{QVariant()} << 0 << "Alpha";
    QTest::addRow("missing") << "Name" << QVariantList{"Delta"} << 0 << "";
}

void TestDataSet::locateByOneOrMoreFields()
{
    QFETCH(QString, fields);
    QFETCH(QVariantList, values);
    QFETCH(int, options);
    QFETCH(QString, found);
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("Alpha"), 5);
    db.addItem(QStringLiteral("Beta"), 5);
    db.addItem(QStringLiteral("Gamma"), 5, true);
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.last();
    items.prior(); // on Beta
    QCOMPARE(items.locate(fields, values, options), !found.isEmpty());
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), found.isEmpty() ? QStringLiteral("Beta") : found);
}

void TestDataSet::filterShowsOnlyMatchingRecords()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"), 1, true);
    db.addItem(QStringLiteral("b"), 5, false);
    db.addItem(QStringLiteral("c"), 7, true);
    db.addItem(QStringLiteral("d"), 9, true);
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.setFilter(QStringLiteral("(Done = True) and (Amount > 3)"));
    QCOMPARE(items.recordCount(), 4); // not yet switched on
    items.setFiltered(true);
    QCOMPARE(names(items), (QStringList{"c", "d"}));
    QVERIFY(!items.locate(QStringLiteral("Name"), QStringLiteral("b")));

    // A record changed so that it no longer matches leaves the view.
    items.first();
    items.edit();
    items.fieldByName(QStringLiteral("Done")).setValue(false);
    items.post();
    QCOMPARE(names(items), QStringList{"d"});
    // A new record that does not match is written but not shown.
    items.append();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("e"));
    items.post();
    QCOMPARE(items.recordCount(), 1);
    QCOMPARE(db.count(QStringLiteral("Items")), 5);

    items.setFilter(QStringLiteral("Name = 'E'"));
    QCOMPARE(names(items), QStringList{"e"});
    items.setFiltered(false);
    QCOMPARE(items.recordCount(), 5);
    QVERIFY_THROWS_EXCEPTION(Exception, items.setFilter(QStringLiteral("(Name = ")));
    QCOMPARE(items.filter(), QStringLiteral("Name = 'E'"));
}

void TestDataSet::bookmarksSurviveOtherChanges()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "b", "c", "d"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.locate(QStringLiteral("Name"), QStringLiteral("c"));
    const Bookmark onC = items.bookmark();
    items.first();
    items.deleteRecord(); // "a" goes
    items.append();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("e"));
    items.post();
    QVERIFY(items.bookmarkValid(onC));
    items.gotoBookmark(onC);
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("c"));
    QCOMPARE(items.recNo(), 2);
    items.deleteRecord();
    QVERIFY(!items.bookmarkValid(onC));
    QVERIFY_THROWS_EXCEPTION(Exception, items.gotoBookmark(onC));
    QVERIFY(!items.bookmarkValid(Bookmark{}));
}

void TestDataSet::clonesShareTheRecords()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "b"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setObjectName(QStringLiteral("qryItems"));
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.last();
    auto copy = items.clone();
    QCOMPARE(copy->name(), QStringLiteral("qryItems"));
    QCOMPARE(copy->recNo(), 1); // its own cursor
    const Bookmark onB = items.bookmark();
    copy->gotoBookmark(onB); // bookmarks are interchangeable
    QCOMPARE(copy->fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("b"));

    copy->edit();
    copy->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("B"));
    copy->post();
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("B"));
    copy->append();
    copy->fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("c"));
    copy->post();
    QCOMPARE(items.recordCount(), 3);
    items.first();
    items.deleteRecord();
    QCOMPARE(copy->recordCount(), 2);
    QCOMPARE(names(*copy), (QStringList{"B", "c"}));
}

void TestDataSet::detailFollowsItsMaster()
{
    test::ScratchDatabase db;
    const qint64 boiler = db.addItem(QStringLiteral("boiler"));
    const qint64 roof = db.addItem(QStringLiteral("roof"));
    db.addLine(boiler, QStringLiteral("pressure"));
    db.addLine(boiler, QStringLiteral("radiators"));
    db.addLine(roof, QStringLiteral("gutters"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items ORDER BY ItemID"));
    DataSet lines(&db.connection());
    lines.setSql(QStringLiteral("SELECT * FROM Lines WHERE (ItemID = :ItemID) ORDER BY LineID"));
    lines.setMasterSource(&items);
    items.open();
    lines.open();
    QCOMPARE(lines.recordCount(), 2);
    items.next();
    QCOMPARE(lines.recordCount(), 1);
    QCOMPARE(lines.fieldByName(QStringLiteral("Text")).asString(), QStringLiteral("gutters"));
    items.append(); // a new master has no key yet: no details
    QCOMPARE(lines.recordCount(), 0);
    items.cancel();
    QCOMPARE(lines.recordCount(), 1);
}

void TestDataSet::observersWaitWhileControlsAreDisabled()
{
    test::ScratchDatabase db;
    for (const char* name : {"a", "b", "c"})
        db.addItem(QString::fromLatin1(name));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    QSignalSpy moved(&items, &DataSet::currentChanged);
    QSignalSpy data(&items, &DataSet::dataChanged);
    items.disableControls();
    items.disableControls();
    for (items.first(); !items.eof(); items.next()) {
    }
    items.first();
    items.deleteRecord();
    items.enableControls();
    QCOMPARE(moved.count() + data.count(), 0);
    items.enableControls();
    QCOMPARE(data.count(), 1);
    QCOMPARE(moved.count(), 1);
    items.next();
    QCOMPARE(moved.count(), 2);
}

void TestDataSet::fieldValuesAreConverted_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("stored");
    const QVariant noon = DateTime::fromParts(2026, 3, 29, 12).toDays();
    QTest::addRow("integer from text") << "Amount" << QVariant("42") << QVariant::fromValue<qint64>(42);
    QTest::addRow("integer from bool") << "Amount" << QVariant(true) << QVariant::fromValue<qint64>(1);
    QTest::addRow("integer from empty text") << "Amount" << QVariant("") << QVariant();
    QTest::addRow("boolean true") << "Done" << QVariant(true) << QVariant::fromValue<qint64>(1);
    QTest::addRow("boolean from -1") << "Done" << QVariant(-1) << QVariant::fromValue<qint64>(1);
    QTest::addRow("boolean from text") << "Done" << QVariant("False") << QVariant::fromValue<qint64>(0);
    QTest::addRow("date from DateTime") << "Due" << QVariant::fromValue(DateTime::fromParts(2026, 3, 29, 12)) << noon;
    QTest::addRow("date from QDateTime") << "Due" << QVariant(QDateTime(QDate(2026, 3, 29), QTime(12, 0))) << noon;
    QTest::addRow("date from ISO text") << "Due" << QVariant("2026-03-29T12:00:00") << noon;
    QTest::addRow("time of day from text") << "Due" << QVariant("8:00") << QVariant(8.0 / 24);
    QTest::addRow("text from bool") << "Name" << QVariant(false) << QVariant("False");
    QTest::addRow("memo keeps blanks") << "Notes" << QVariant("  two\r\nlines ") << QVariant("  two\r\nlines ");
    QTest::addRow("float from text") << "Price" << QVariant("2.5") << QVariant(2.5);
    QTest::addRow("blob") << "Picture" << QVariant(QByteArray("\x89PNG", 4)) << QVariant(QByteArray("\x89PNG", 4));
    QTest::addRow("null") << "Name" << QVariant() << QVariant();
}

void TestDataSet::fieldValuesAreConverted()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    QFETCH(QVariant, stored);
    test::ScratchDatabase db;
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.append();
    items.fieldByName(QStringLiteral("Code")).setValue(QStringLiteral("x")); // something to post
    items.fieldByName(field).setValue(input);
    QCOMPARE(items.fieldByName(field).value(), stored);
    items.post();
    // What the file gives back is what was set.
    DataSet again(&db.connection());
    again.setSql(QStringLiteral("SELECT * FROM Items"));
    again.open();
    QCOMPARE(again.fieldByName(field).value(), stored);
}

void TestDataSet::badFieldValuesAreRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("input");
    QTest::addRow("integer") << "Amount" << QVariant("12abc");
    QTest::addRow("boolean") << "Done" << QVariant("perhaps");
    QTest::addRow("date") << "Due" << QVariant("next Tuesday");
    QTest::addRow("float") << "Price" << QVariant("two");
}

void TestDataSet::badFieldValuesAreRefused()
{
    QFETCH(QString, field);
    QFETCH(QVariant, input);
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"), 3);
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    items.edit();
    const QVariant before = items.fieldByName(field).value();
    QVERIFY_THROWS_EXCEPTION(Exception, items.fieldByName(field).setValue(input));
    QCOMPARE(items.fieldByName(field).value(), before);
}

void TestDataSet::resyncReadsAnotherProgramsChange()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    items.open();
    auto other = DbConnection::open(db.path());
    other->execute(QStringLiteral("UPDATE Items SET Name = 'changed elsewhere'"));
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("a"));
    items.resync();
    QCOMPARE(items.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("changed elsewhere"));

    other->execute(QStringLiteral("DELETE FROM Items"));
    items.edit();
    items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("mine"));
    QVERIFY_THROWS_EXCEPTION(Exception, items.post()); // the row is gone: nothing silently lost
    items.cancel();
    QVERIFY_THROWS_EXCEPTION(Exception, items.resync());
}

void TestDataSet::queriesWithoutOneTableAreReadOnly()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"), 2);
    DataSet totals(&db.connection());
    totals.setSql(QStringLiteral("SELECT * FROM (SELECT count(*) AS Items, sum(Amount) AS Total FROM Items)"));
    totals.open();
    QCOMPARE(totals.fieldByName(QStringLiteral("Total")).asInteger(), 2);
    QCOMPARE(totals.fieldByName(QStringLiteral("Items")).type(), FieldType::Integer);
    totals.edit();
    totals.fieldByName(QStringLiteral("Total")).setValue(3);
    QVERIFY_THROWS_EXCEPTION(Exception, totals.post());
    QCOMPARE(db.connection().transactionDepth(), 0);
}

void TestDataSet::misuseGetsClearErrors()
{
    test::ScratchDatabase db;
    db.addItem(QStringLiteral("a"));
    DataSet items(&db.connection());
    items.setObjectName(QStringLiteral("qryItems"));
    items.setSql(QStringLiteral("SELECT * FROM Items"));
    QVERIFY_THROWS_EXCEPTION(Exception, items.edit()); // closed
    items.open();
    try {
        items.fieldByName(QStringLiteral("NoSuchField"));
        QFAIL("no error");
    } catch (const Exception& error) {
        QCOMPARE(error.message(), QStringLiteral("qryItems: Field 'NoSuchField' not found"));
    }
    QVERIFY_THROWS_EXCEPTION(Exception, items.fieldByName(QStringLiteral("Name")).setValue(QStringLiteral("x")));
    DataSet broken(&db.connection());
    broken.setSql(QStringLiteral("SELECT * FROM NoSuchTable"));
    try {
        broken.open();
        QFAIL("no error");
    } catch (const Exception& error) {
        QVERIFY2(error.message().contains(QStringLiteral("no such table: NoSuchTable")), qPrintable(error.message()));
    }
    QVERIFY(!broken.isActive());
}

QTEST_MAIN(TestDataSet)
#include "tst_dataset.moc"
