// Where the database lies, the connection string that names it, and the
// enciphered copy each program publishes for the others.

#include "datastore/connection_string.h"
#include "datastore/database_schema.h"
#include "datastore/db_connection.h"
#include "foundation/cipher.h"
#include "foundation/settings_keys.h"
#include "platform/exception.h"
#include "platform/settings_store.h"
#include "tests/support/debug_capture.h"
#include "tests/support/sandbox.h"

#include <QDir>
#include <QTest>

#include <memory>

using velmora::platform::SettingsStore;
using velmora::platform::SettingsValueType;

namespace {

const QString kCenter = QStringLiteral("Velmora Center");
const QString kOutlook = QStringLiteral("Velmora Outlook Integration");

QString connectionKey()
{
    return QLatin1String(velmora::kProductRootKey) + QStringLiteral("\\Connection String");
}

} // namespace

class TestConnectionString : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void databasePathIsBesideTheProgramsFolder();
    void connectionStringIsExact_data();
    void connectionStringIsExact();
    void dataSourceOfAConnectionString_data();
    void dataSourceOfAConnectionString();
    void publishedStringIsEncipheredAndReadBack();
    void eachProgramPublishesUnderItsOwnName();
    void readingStopsQuietlyAtTheFirstFailure_data();
    void readingStopsQuietlyAtTheFirstFailure();
    void missingKeyReadsAsEmpty();
    void publishedStringOpensTheDatabase();
    void unusableStoreIsLoggedOnWriteAndQuietOnRead();

private:
    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
    std::unique_ptr<velmora::test::DebugCapture> m_log;
};

void TestConnectionString::init()
{
    m_sandbox = std::make_unique<velmora::test::Sandbox>();
    m_log = std::make_unique<velmora::test::DebugCapture>();
    velmora::SetDatabaseUsed(0);
    velmora::SetPublishedName(kCenter);
}

void TestConnectionString::cleanup()
{
    velmora::SetDatabaseUsed(0);
    velmora::SetPublishedName(kCenter);
    m_log.reset();
    m_sandbox.reset();
}

void TestConnectionString::databasePathIsBesideTheProgramsFolder()
{
    QCOMPARE(velmora::GetDefaultDatabasePath(QString::fromLatin1(velmora::kDatabaseFileName)),
             m_sandbox->installRoot() + QStringLiteral("Data/VelmoraV2.mdb"));

    // Without the override the install root is the parent of this program's folder.
    m_sandbox->setEnv("VELMORA_INSTALL_ROOT", QString());
    QDir parent(QCoreApplication::applicationDirPath());
    QVERIFY(parent.cdUp());
    QCOMPARE(velmora::GetDefaultDatabasePath(QStringLiteral("x.mdb")),
             QDir::cleanPath(parent.absolutePath()) + QStringLiteral("/Data/x.mdb"));
}

void TestConnectionString::connectionStringIsExact_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::addRow("plain")
        << "/opt/velmora/Data/VelmoraV2.mdb"
        << "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/opt/velmora/Data/VelmoraV2.mdb;Mode=Share Deny None;";
    QTest::addRow("blanks kept, no quotes")
        << "/home/a b/My Data/VelmoraV2.mdb"
        << "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/a b/My Data/VelmoraV2.mdb;Mode=Share Deny None;";
    QTest::addRow("empty path") << ""
                                << "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=;Mode=Share Deny None;";
}

void TestConnectionString::connectionStringIsExact()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(velmora::BuildConnectionString(path), expected);
}

void TestConnectionString::dataSourceOfAConnectionString_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("expected");

    QTest::addRow("built here") << velmora::BuildConnectionString(QStringLiteral("/x/Data/VelmoraV2.mdb"))
                                << "/x/Data/VelmoraV2.mdb";
    QTest::addRow("last entry without a closing semicolon") << "Provider=P;Data Source=/y/db.mdb" << "/y/db.mdb";
    QTest::addRow("any case, blanks around the value") << "provider=P; data source= /z/db.mdb ;Mode=X;"
                                                       << "/z/db.mdb";
    QTest::addRow("none") << "Provider=P;Initial Catalog=Velmora;" << "";
    QTest::addRow("empty") << "" << "";
}

void TestConnectionString::dataSourceOfAConnectionString()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, expected);
    QCOMPARE(velmora::DataSourceOf(connectionString), expected);
}

void TestConnectionString::publishedStringIsEncipheredAndReadBack()
{
    const QString connection = velmora::BuildConnectionString(velmora::GetDefaultDatabasePath(QStringLiteral("VelmoraV2.mdb")));
    velmora::SetDatabaseUsed(0);
    velmora::WriteConnectionString(connection);

    SettingsStore store(m_sandbox->settingsStorePath());
    QCOMPARE(store.valueType(connectionKey(), kCenter), std::optional(SettingsValueType::Text));
    const QString stored = store.readText(connectionKey(), kCenter);
    QVERIFY(!stored.contains(QStringLiteral("Data Source")));
    QCOMPARE(velmora::DecodeText(stored, QString::fromLatin1(velmora::kConnectionKey)), connection);
    // The number goes beside it as text.
    QCOMPARE(store.valueType(connectionKey(), kCenter + QStringLiteral(" DatabaseUsed")),
             std::optional(SettingsValueType::Text));
    QCOMPARE(store.readText(connectionKey(), kCenter + QStringLiteral(" DatabaseUsed")), QStringLiteral("0"));

    velmora::SetDatabaseUsed(5);
    QCOMPARE(velmora::ReadConnectionString(kCenter), connection);
    QCOMPARE(velmora::DatabaseUsed(), 0);
    QCOMPARE(m_log->messages(), QStringList());
}

void TestConnectionString::eachProgramPublishesUnderItsOwnName()
{
    const QString center = velmora::BuildConnectionString(QStringLiteral("/a/Data/VelmoraV2.mdb"));
    const QString outlook = velmora::BuildConnectionString(QStringLiteral("/b/Data/VelmoraV2.mdb"));
    velmora::WriteConnectionString(center);
    velmora::SetPublishedName(kOutlook);
    velmora::SetDatabaseUsed(3);
    velmora::WriteConnectionString(outlook);

    velmora::SetDatabaseUsed(0);
    QCOMPARE(velmora::ReadConnectionString(kOutlook), outlook);
    QCOMPARE(velmora::DatabaseUsed(), 3);
    QCOMPARE(velmora::ReadConnectionString(kCenter), center);
    QCOMPARE(velmora::DatabaseUsed(), 0);
    QCOMPARE(velmora::ReadConnectionString(QStringLiteral("Velmora Project Integration")), QString());
}

void TestConnectionString::readingStopsQuietlyAtTheFirstFailure_data()
{
    QTest::addColumn<int>("storedAs"); // 0 text, 1 integer value, 2 missing
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("expectedUsed");

    QTest::addRow("a number") << 0 << "12" << 12;
    QTest::addRow("blanks around a number") << 0 << " 7 " << 7;
    QTest::addRow("not a number") << 0 << "twelve" << -1;
    QTest::addRow("empty") << 0 << "" << -1;
    QTest::addRow("stored as an integer value") << 1 << "12" << -1;
    QTest::addRow("missing") << 2 << "" << -1;
}

void TestConnectionString::readingStopsQuietlyAtTheFirstFailure()
{
    QFETCH(int, storedAs);
    QFETCH(QString, number);
    QFETCH(int, expectedUsed);

    const QString connection = velmora::BuildConnectionString(QStringLiteral("/c/Data/VelmoraV2.mdb"));
    {
        SettingsStore store(m_sandbox->settingsStorePath());
        store.writeText(connectionKey(), kCenter, velmora::EncodeText(connection, QString::fromLatin1(velmora::kConnectionKey)));
        const QString name = kCenter + QStringLiteral(" DatabaseUsed");
        if (storedAs == 0)
            store.writeText(connectionKey(), name, number);
        else if (storedAs == 1)
            store.writeInteger(connectionKey(), name, number.toInt());
    }

    velmora::SetDatabaseUsed(-1);
    // What was read before the failure stands.
    QCOMPARE(velmora::ReadConnectionString(kCenter), connection);
    QCOMPARE(velmora::DatabaseUsed(), expectedUsed);
    QCOMPARE(m_log->messages(), QStringList());
}

void TestConnectionString::missingKeyReadsAsEmpty()
{
    velmora::SetDatabaseUsed(4);
    QCOMPARE(velmora::ReadConnectionString(kCenter), QString());
    QCOMPARE(velmora::DatabaseUsed(), 4);
    QCOMPARE(m_log->messages(), QStringList());
}

void TestConnectionString::unusableStoreIsLoggedOnWriteAndQuietOnRead()
{
    // A folder where the store file should be: nothing can open it.
    const QString blocked = m_sandbox->path() + QStringLiteral("/blocked/registry.sqlite");
    QVERIFY(QDir().mkpath(blocked));
    m_sandbox->setEnv("VELMORA_HKCU", blocked);

    velmora::WriteConnectionString(velmora::BuildConnectionString(QStringLiteral("/d/VelmoraV2.mdb")));
    QCOMPARE(m_log->messages(), QStringList{QStringLiteral("Failed to write registry about ConnectionString.")});
    QCOMPARE(m_log->channels(), QStringList{QStringLiteral("CommUnit")});

    m_log->clear();
    QCOMPARE(velmora::ReadConnectionString(kCenter), QString());
    QCOMPARE(m_log->messages(), QStringList());
}

void TestConnectionString::publishedStringOpensTheDatabase()
{
    const QString path = velmora::GetDefaultDatabasePath(QStringLiteral("VelmoraV2.mdb"));
    velmora::createDatabase(path);
    velmora::WriteConnectionString(velmora::BuildConnectionString(path));
    auto connection = velmora::DbConnection::openConnectionString(velmora::ReadConnectionString(kCenter));
    QCOMPARE(connection->path(), path);
    QVERIFY(connection->scalar(QStringLiteral("SELECT count(*) FROM Categories")).toInt() > 1);
    QVERIFY_THROWS_EXCEPTION(velmora::Exception, velmora::DbConnection::openConnectionString(QStringLiteral("Provider=x;")));
    QVERIFY_THROWS_EXCEPTION(velmora::Exception,
                             velmora::DbConnection::openConnectionString(velmora::BuildConnectionString(path + QStringLiteral(".gone"))));
}

QTEST_MAIN(TestConnectionString)
#include "tst_connection_string.moc"
