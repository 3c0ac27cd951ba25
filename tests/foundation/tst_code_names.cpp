// The words shown for stored codes, including the values outside each range.

#include "foundation/code_names.h"

#include <QTest>

using namespace velmora;

class TestCodeNames : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        QTest::addRow("status 0") << TaskStatusName("0") << "Not Started";
        QTest::addRow("status 1") << TaskStatusName("1") << "In Progress";
        QTest::addRow("status 2") << TaskStatusName("2") << "Completed";
        QTest::addRow("status 3") << TaskStatusName("3") << "Waiting on someone else";
        QTest::addRow("status 4") << TaskStatusName("4") << "Deferred";
        QTest::addRow("status 9 gives the text 0") << TaskStatusName("9") << "0";
        QTest::addRow("status empty") << TaskStatusName("") << "0";
        QTest::addRow("status with blank") << TaskStatusName(" 1") << "0";
        QTest::addRow("status 10") << TaskStatusName("10") << "0";

        QTest::addRow("importance 0") << ImportanceName(0) << "Low";
        QTest::addRow("importance 1") << ImportanceName(1) << "Medium";
        QTest::addRow("importance 2") << ImportanceName(2) << "High";
        QTest::addRow("importance 3") << ImportanceName(3) << "Urgent";
        QTest::addRow("importance 4") << ImportanceName(4) << "";
        QTest::addRow("importance -1") << ImportanceName(-1) << "";

        QTest::addRow("instance 1") << InstanceName(1) << "first";
        QTest::addRow("instance 4") << InstanceName(4) << "fourth";
        QTest::addRow("instance 5") << InstanceName(5) << "last";
        QTest::addRow("instance 0") << InstanceName(0) << "";
        QTest::addRow("instance 6") << InstanceName(6) << "";

        QTest::addRow("month 1") << MonthName(1) << "January";
        QTest::addRow("month 9") << MonthName(9) << "September";
        QTest::addRow("month 12") << MonthName(12) << "December";
        QTest::addRow("month 0") << MonthName(0) << "";
        QTest::addRow("month 13") << MonthName(13) << "";

        QTest::addRow("type 0") << RecurrenceTypeName(0) << "Daily";
        QTest::addRow("type 1") << RecurrenceTypeName(1) << "Weekly";
        QTest::addRow("type 2") << RecurrenceTypeName(2) << "Monthly";
        QTest::addRow("type 3") << RecurrenceTypeName(3) << "Monthly";
        QTest::addRow("type 4 unused") << RecurrenceTypeName(4) << "";
        QTest::addRow("type 5") << RecurrenceTypeName(5) << "Yearly";
        QTest::addRow("type 6") << RecurrenceTypeName(6) << "Yearly";
        QTest::addRow("type 7") << RecurrenceTypeName(7) << "(None)";
        QTest::addRow("type -1") << RecurrenceTypeName(-1) << "(None)";

        QTest::addRow("new entry") << EntryCaption("Task", 2) << "New Task Entry";
        QTest::addRow("edit entry") << EntryCaption("Contact", 1) << "Edit Contact Entry";
        QTest::addRow("other mode edits") << EntryCaption("Note", 0) << "Edit Note Entry";
    }
    void names()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_MAIN(TestCodeNames)
#include "tst_code_names.moc"
