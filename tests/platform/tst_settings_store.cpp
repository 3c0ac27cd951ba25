// The settings store: typed values, keys compared without case, listing,
// deleting, damaged files and several writers at once.

#include "platform/exception.h"
#include "platform/settings_store.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

using velmora::Exception;
using velmora::platform::SettingsStore;
using velmora::platform::SettingsValueType;

Q_DECLARE_METATYPE(SettingsValueType)

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void init() { m_sandbox = std::make_unique<velmora::test::Sandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void newStoreIsPrivateAndCreatesItsFolders();
    void typedValuesSurviveReopening_data();
    void typedValuesSurviveReopening();
    void keysAndNamesCompareWithoutCase_data();
    void keysAndNamesCompareWithoutCase();
    void listingKeepsFirstWrittenCase();
    void readingMissingOrWronglyTypedValueRaises_data();
    void readingMissingOrWronglyTypedValueRaises();
    void writingAnotherTypeReplacesTheValue();
    void deleteKeyRemovesTheWholeBranchOnly();
    void deleteValue();
    void malformedKeysAreRejected_data();
    void malformedKeysAreRejected();
    void damagedFileIsMovedAsideAndStoreStartsEmpty_data();
    void damagedFileIsMovedAsideAndStoreStartsEmpty();
    void secondConnectionSeesWritesAtOnce();
    void processesWritingAtOnceLoseNothing();

private:
    QString storePath() const { return m_sandbox->settingsStorePath(); }
    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
};

void TestSettingsStore::newStoreIsPrivateAndCreatesItsFolders()
{
    const QString path = m_sandbox->path() + QStringLiteral("/deep/er/registry.sqlite");
    {
        SettingsStore store(path);
        store.writeText(QStringLiteral("Software"), QStringLiteral("x"), QStringLiteral("y"));
        QVERIFY(store.recoveredFrom().isEmpty());
    }
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());

    // The default path comes from VELMORA_HKCU.
    SettingsStore byDefault;
    QCOMPARE(byDefault.path(), storePath());
}

void TestSettingsStore::typedValuesSurviveReopening_data()
{
    QTest::addColumn<SettingsValueType>("type");
    QTest::addColumn<QVariant>("value");

    QTest::addRow("text") << SettingsValueType::Text << QVariant(QStringLiteral("Velmora"));
    QTest::addRow("empty text") << SettingsValueType::Text << QVariant(QString(""));
    QTest::addRow("text with line breaks and quotes")
        << SettingsValueType::Text << QVariant(QStringLiteral("a\r\n\"b\"\\c\td"));
    QTest::addRow("text beyond Latin-1") << SettingsValueType::Text << QVariant(QStringLiteral("Größe ✓ 日本 😀"));
    QTest::addRow("integer zero") << SettingsValueType::Integer << QVariant(0);
    QTest::addRow("integer minimum") << SettingsValueType::Integer << QVariant(std::numeric_limits<qint32>::min());
    QTest::addRow("integer maximum") << SettingsValueType::Integer << QVariant(std::numeric_limits<qint32>::max());
    QTest::addRow("float date") << SettingsValueType::Float << QVariant(45291.729166666664);
    QTest::addRow("float tiny negative") << SettingsValueType::Float << QVariant(-1.0e-300);
    QTest::addRow("binary") << SettingsValueType::Binary << QVariant(QByteArray("\x00\xff\x01\x80", 4));
    QTest::addRow("empty binary") << SettingsValueType::Binary << QVariant(QByteArray());
}

void TestSettingsStore::typedValuesSurviveReopening()
{
    QFETCH(SettingsValueType, type);
    QFETCH(QVariant, value);
    const QString key = QStringLiteral("Software\\Quorvane\\Velmora\\3.0\\Display");
    const QString name = QStringLiteral("Value");
    {
        SettingsStore store;
        switch (type) {
        case SettingsValueType::Text:
            store.writeText(key, name, value.toString());
            break;
        case SettingsValueType::Integer:
            store.writeInteger(key, name, value.toInt());
            break;
        case SettingsValueType::Float:
            store.writeFloat(key, name, value.toDouble());
            break;
        case SettingsValueType::Binary:
            store.writeBinary(key, name, value.toByteArray());
            break;
        }
    }
    SettingsStore store;
    QCOMPARE(store.valueType(key, name), std::optional(type));
    switch (type) {
    case SettingsValueType::Text:
        QCOMPARE(store.readText(key, name), value.toString());
        QVERIFY(!store.readText(key, name).isNull());
        break;
    case SettingsValueType::Integer:
        QCOMPARE(store.readInteger(key, name), value.toInt());
        break;
    case SettingsValueType::Float:
        QCOMPARE(store.readFloat(key, name), value.toDouble());
        break;
    case SettingsValueType::Binary:
        QCOMPARE(store.readBinary(key, name), value.toByteArray());
        break;
    }
}

void TestSettingsStore::keysAndNamesCompareWithoutCase_data()
{
    QTest::addColumn<QString>("writtenKey");
    QTest::addColumn<QString>("writtenName");
    QTest::addColumn<QString>("readKey");
    QTest::addColumn<QString>("readName");

    QTest::addRow("ASCII") << "Software\\Quorvane\\Velmora\\3.0\\Display" << "Style"
                           << "SOFTWARE\\quorvane\\VELMORA\\3.0\\display" << "sTyLe";
    QTest::addRow("full folding of sharp s") << "Einstellungen\\Straße" << "Größe"
                                             << "EINSTELLUNGEN\\STRASSE" << "GRÖSSE";
    QTest::addRow("Greek final sigma") << "ΟΔΟΣ" << "ΌΝΟΜΑ" << "οδος" << "όνομα";
}

void TestSettingsStore::keysAndNamesCompareWithoutCase()
{
    QFETCH(QString, writtenKey);
    QFETCH(QString, writtenName);
    QFETCH(QString, readKey);
    QFETCH(QString, readName);

    SettingsStore store;
    store.writeInteger(writtenKey, writtenName, 3);
    QVERIFY(store.keyExists(readKey));
    QVERIFY(store.valueExists(readKey, readName));
    QCOMPARE(store.readInteger(readKey, readName), 3);

    // Writing under the other spelling replaces the value; it adds nothing.
    store.writeInteger(readKey, readName, 4);
    QCOMPARE(store.readInteger(writtenKey, writtenName), 4);
    QCOMPARE(store.values(writtenKey).size(), 1);
}

void TestSettingsStore::listingKeepsFirstWrittenCase()
{
    SettingsStore store;
    store.createKey(QStringLiteral("Software\\Quorvane\\Velmora\\3.0\\Display"));
    store.writeText(QStringLiteral("SOFTWARE\\QUORVANE\\VELMORA\\3.0\\Options"), QStringLiteral("FindItems"),
                    QStringLiteral("a"));
    store.writeInteger(QStringLiteral("software\\quorvane\\velmora\\3.0"), QStringLiteral("Zeta"), 1);
    store.writeText(QStringLiteral("software\\quorvane\\velmora\\3.0"), QStringLiteral("alpha"), QStringLiteral("x"));
    store.writeFloat(QStringLiteral("software\\quorvane\\velmora\\3.0"), QStringLiteral("ALPHA"), 2.5);

    QCOMPARE(store.subKeys(QString()), QStringList{QStringLiteral("Software")});
    QCOMPARE(store.subKeys(QStringLiteral("software\\QUORVANE")), QStringList{QStringLiteral("Velmora")});
    QCOMPARE(store.subKeys(QStringLiteral("Software\\Quorvane\\Velmora\\3.0")),
             (QStringList{QStringLiteral("Display"), QStringLiteral("Options")}));

    const auto values = store.values(QStringLiteral("Software\\Quorvane\\Velmora\\3.0"));
    QCOMPARE(values.size(), 2);
    QCOMPARE(values[0].name, QStringLiteral("alpha"));
    QCOMPARE(values[0].type, SettingsValueType::Float);
    QCOMPARE(values[1].name, QStringLiteral("Zeta"));
    QCOMPARE(values[1].type, SettingsValueType::Integer);

    QVERIFY(store.subKeys(QStringLiteral("Software\\Quorvane\\Velmora\\3.0\\Display")).isEmpty());
    QVERIFY_THROWS_EXCEPTION(Exception, store.subKeys(QStringLiteral("Software\\Missing")));
    QVERIFY_THROWS_EXCEPTION(Exception, store.values(QStringLiteral("Software\\Missing")));
}

void TestSettingsStore::readingMissingOrWronglyTypedValueRaises_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<SettingsValueType>("readAs");
    QTest::addColumn<QString>("messagePart");

    QTest::addRow("missing value") << "Nothing" << SettingsValueType::Text << "does not exist";
    QTest::addRow("integer read as text") << "Number" << SettingsValueType::Text << "Invalid data type";
    QTest::addRow("integer read as float") << "Number" << SettingsValueType::Float << "Invalid data type";
    QTest::addRow("text read as integer") << "Words" << SettingsValueType::Integer << "Invalid data type";
    QTest::addRow("float read as integer") << "Date" << SettingsValueType::Integer << "Invalid data type";
    QTest::addRow("text read as binary") << "Words" << SettingsValueType::Binary << "Invalid data type";
}

void TestSettingsStore::readingMissingOrWronglyTypedValueRaises()
{
    QFETCH(QString, name);
    QFETCH(SettingsValueType, readAs);
    QFETCH(QString, messagePart);

    const QString key = QStringLiteral("Software\\Test");
    SettingsStore store;
    store.writeInteger(key, QStringLiteral("Number"), 7);
    store.writeText(key, QStringLiteral("Words"), QStringLiteral("7"));
    store.writeFloat(key, QStringLiteral("Date"), 7.0);
    try {
        switch (readAs) {
        case SettingsValueType::Text:
            store.readText(key, name);
            break;
        case SettingsValueType::Integer:
            store.readInteger(key, name);
            break;
        case SettingsValueType::Float:
            store.readFloat(key, name);
            break;
        case SettingsValueType::Binary:
            store.readBinary(key, name);
            break;
        }
        QFAIL("the read did not raise");
    } catch (const Exception& error) {
        QVERIFY2(error.message().contains(messagePart), qPrintable(error.message()));
        QVERIFY2(error.message().contains(name), qPrintable(error.message()));
    }
}

void TestSettingsStore::writingAnotherTypeReplacesTheValue()
{
    SettingsStore store;
    const QString key = QStringLiteral("Software\\Test");
    store.writeText(key, QStringLiteral("Show Tips"), QStringLiteral("True"));
    store.writeInteger(key, QStringLiteral("SHOW TIPS"), 1);
    QCOMPARE(store.valueType(key, QStringLiteral("show tips")), std::optional(SettingsValueType::Integer));
    QCOMPARE(store.readInteger(key, QStringLiteral("Show Tips")), 1);
    QVERIFY_THROWS_EXCEPTION(Exception, store.readText(key, QStringLiteral("Show Tips")));
    QCOMPARE(store.values(key).first().name, QStringLiteral("Show Tips"));
}

void TestSettingsStore::deleteKeyRemovesTheWholeBranchOnly()
{
    SettingsStore store;
    store.writeInteger(QStringLiteral("A\\B"), QStringLiteral("v"), 1);
    store.writeInteger(QStringLiteral("A\\B\\C\\D"), QStringLiteral("v"), 2);
    // Neighbours whose paths share the prefix "A\B" must survive.
    store.writeInteger(QStringLiteral("A\\BC"), QStringLiteral("v"), 3);
    store.writeInteger(QStringLiteral("A\\B]"), QStringLiteral("v"), 4);
    store.writeInteger(QStringLiteral("A"), QStringLiteral("v"), 5);

    QVERIFY(store.deleteKey(QStringLiteral("a\\b")));
    QVERIFY(!store.keyExists(QStringLiteral("A\\B")));
    QVERIFY(!store.keyExists(QStringLiteral("A\\B\\C")));
    QVERIFY(!store.valueExists(QStringLiteral("A\\B\\C\\D"), QStringLiteral("v")));
    QCOMPARE(store.readInteger(QStringLiteral("A\\BC"), QStringLiteral("v")), 3);
    QCOMPARE(store.readInteger(QStringLiteral("A\\B]"), QStringLiteral("v")), 4);
    QCOMPARE(store.readInteger(QStringLiteral("A"), QStringLiteral("v")), 5);
    QCOMPARE(store.subKeys(QStringLiteral("A")), (QStringList{QStringLiteral("B]"), QStringLiteral("BC")}));

    QVERIFY(!store.deleteKey(QStringLiteral("A\\B")));
    // A key created again starts empty.
    store.createKey(QStringLiteral("A\\B"));
    QVERIFY(store.values(QStringLiteral("A\\B")).isEmpty());
    QVERIFY(store.subKeys(QStringLiteral("A\\B")).isEmpty());

    QVERIFY_THROWS_EXCEPTION(Exception, store.deleteKey(QString()));
}

void TestSettingsStore::deleteValue()
{
    SettingsStore store;
    store.writeText(QStringLiteral("K"), QStringLiteral("One"), QStringLiteral("1"));
    store.writeText(QStringLiteral("K"), QStringLiteral("Two"), QStringLiteral("2"));
    QVERIFY(store.deleteValue(QStringLiteral("k"), QStringLiteral("ONE")));
    QVERIFY(!store.deleteValue(QStringLiteral("K"), QStringLiteral("One")));
    QVERIFY(!store.valueExists(QStringLiteral("K"), QStringLiteral("One")));
    QCOMPARE(store.readText(QStringLiteral("K"), QStringLiteral("Two")), QStringLiteral("2"));
    QVERIFY(store.keyExists(QStringLiteral("K")));
}

void TestSettingsStore::malformedKeysAreRejected_data()
{
    QTest::addColumn<QString>("key");
    QTest::addRow("doubled backslash") << "Software\\\\Quorvane";
    QTest::addRow("leading backslash") << "\\Software";
    QTest::addRow("trailing backslash") << "Software\\";
    QTest::addRow("only a backslash") << "\\";
    QTest::addRow("control character") << QStringLiteral("Soft\nware");
}

void TestSettingsStore::malformedKeysAreRejected()
{
    QFETCH(QString, key);
    SettingsStore store;
    try {
        store.writeText(key, QStringLiteral("x"), QStringLiteral("y"));
        QFAIL("writing under a malformed key did not raise");
    } catch (const Exception& error) {
        QVERIFY2(error.message().contains(QStringLiteral("Malformed settings key")), qPrintable(error.message()));
    }
    QVERIFY_THROWS_EXCEPTION(Exception, store.keyExists(key));
    QVERIFY_THROWS_EXCEPTION(Exception, store.createKey(key));
    QVERIFY_THROWS_EXCEPTION(Exception, store.readText(key, QStringLiteral("x")));
    QVERIFY(store.subKeys(QString()).isEmpty());
}

void TestSettingsStore::damagedFileIsMovedAsideAndStoreStartsEmpty_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("not a database") << QByteArray("this is not a settings store\n").repeated(200);
    // A real SQLite header followed by garbage pages.
    QByteArray header("SQLite format 3\0", 16);
    QTest::addRow("damaged database") << header + QByteArray(4096 * 3 - 16, '\x5a');
}

void TestSettingsStore::damagedFileIsMovedAsideAndStoreStartsEmpty()
{
    QFETCH(QByteArray, content);
    {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString aside;
    {
        SettingsStore store;
        aside = store.recoveredFrom();
        QVERIFY(aside.startsWith(storePath() + QStringLiteral(".corrupt-")));
        QVERIFY(store.subKeys(QString()).isEmpty());
        store.writeInteger(QStringLiteral("Software\\X"), QStringLiteral("y"), 1);
    }
    QFile moved(aside);
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QCOMPARE(moved.readAll(), content);

    // The new store is sound: the next opening keeps it and its values.
    SettingsStore again;
    QVERIFY(again.recoveredFrom().isEmpty());
    QCOMPARE(again.readInteger(QStringLiteral("Software\\X"), QStringLiteral("y")), 1);
}

void TestSettingsStore::secondConnectionSeesWritesAtOnce()
{
    SettingsStore first;
    SettingsStore second;
    first.writeText(QStringLiteral("Software\\Shared"), QStringLiteral("Value"), QStringLiteral("first"));
    QCOMPARE(second.readText(QStringLiteral("software\\shared"), QStringLiteral("value")), QStringLiteral("first"));
    second.writeText(QStringLiteral("Software\\Shared"), QStringLiteral("Value"), QStringLiteral("second"));
    QCOMPARE(first.readText(QStringLiteral("Software\\Shared"), QStringLiteral("Value")), QStringLiteral("second"));
    second.deleteKey(QStringLiteral("Software"));
    QVERIFY(!first.keyExists(QStringLiteral("Software\\Shared")));
}

void TestSettingsStore::processesWritingAtOnceLoseNothing()
{
    constexpr int kProcesses = 6;
    constexpr int kOwnWrites = 100;
    const QString key = QStringLiteral("Software\\Quorvane\\Velmora\\3.0\\Concurrency");

    // No store exists yet: the processes also race to create it.
    std::vector<std::unique_ptr<velmora::test::ProgramProcess>> writers;
    for (int i = 0; i < kProcesses; ++i) {
        writers.push_back(std::make_unique<velmora::test::ProgramProcess>(
            *m_sandbox, QStringLiteral("velmora_reg"),
            QStringList{QStringLiteral("set"), key, QStringLiteral("Writer%1").arg(i), QStringLiteral("dword"),
                        QString::number(i)}));
        QVERIFY(writers.back()->start());
    }
    SettingsStore store;
    QVERIFY(store.recoveredFrom().isEmpty());
    for (int i = 0; i < kOwnWrites; ++i)
        store.writeInteger(key, QStringLiteral("Own%1").arg(i), i);
    for (auto& writer : writers) {
        QVERIFY(writer->waitForFinished());
        QVERIFY2(writer->exitCode() == 0, qPrintable(writer->standardError()));
    }

    for (int i = 0; i < kProcesses; ++i)
        QCOMPARE(store.readInteger(key, QStringLiteral("Writer%1").arg(i)), i);
    QCOMPARE(store.values(key).size(), kProcesses + kOwnWrites);
}

QTEST_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
