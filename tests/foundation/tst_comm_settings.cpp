// The shared settings operations and the reading convention behind them:
// defaults that survive a failed read, the exact log lines, and settings
// that never raise.

#include "foundation/comm_settings.h"
#include "foundation/product_texts.h"
#include "foundation/settings_batch.h"
#include "foundation/settings_keys.h"
#include "platform/settings_store.h"
#include "tests/support/debug_capture.h"
#include "tests/support/sandbox.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using velmora::RegistryKey;
using velmora::platform::SettingsStore;

namespace {

QString productKey(const QString& relative)
{
    return QLatin1String(velmora::kProductRootKey) + QLatin1Char('\\') + relative;
}

const QString kListWindow = QStringLiteral("TaskListForm");
const QString kListWindowKey = productKey(QStringLiteral("Velmora Center\\TaskListForm"));
const QString kFailedGeneral = QStringLiteral("Failed to get information from Registry.");

} // namespace

class TestCommSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readBatchKeepsWhatWasReadAndDefaultsTheRest_data();
    void readBatchKeepsWhatWasReadAndDefaultsTheRest();
    void missingProductRootGivesDefaultsSilently();
    void fillFindItemsSplitsAtEveryBlank_data();
    void fillFindItemsSplitsAtEveryBlank();
    void formCurrentView_data();
    void formCurrentView();
    void maximizedPlacementKeepsTheStoredSize();
    void blankMailListIsNeverWritten_data();
    void blankMailListIsNeverWritten();
    void displayStyle_data();
    void displayStyle();
    void agentCharacter_data();
    void agentCharacter();
    void engineSwitchesConvertTextBooleansOneByOne_data();
    void engineSwitchesConvertTextBooleansOneByOne();
    void tipsSettingsStopAtTheFirstBadConversion_data();
    void tipsSettingsStopAtTheFirstBadConversion();
    void workWeekAndOptionTexts();
    void productNameAndTitles_data();
    void productNameAndTitles();
    void unusableStoreIsLoggedNeverRaised_data();
    void unusableStoreIsLoggedNeverRaised();
    void damagedStoreIsLoggedOnce();

private:
    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
    std::unique_ptr<velmora::test::DebugCapture> m_log;
};

void TestCommSettings::init()
{
    m_sandbox = std::make_unique<velmora::test::Sandbox>();
    m_log = std::make_unique<velmora::test::DebugCapture>();
}

void TestCommSettings::cleanup()
{
    m_log.reset();
    m_sandbox.reset();
}

void TestCommSettings::readBatchKeepsWhatWasReadAndDefaultsTheRest_data()
{
    // The batch reads a text, an integer, a boolean and a float in this order.
    QTest::addColumn<QString>("broken");   // the value made missing or wrongly typed
    QTest::addColumn<bool>("missing");     // true: missing, false: stored as another type
    QTest::addColumn<int>("readCount");    // values that keep what was read
    QTest::addColumn<QString>("textRead"); // what the text ends up as

    QTest::addRow("all present") << "" << false << 4 << "alpha";
    QTest::addRow("text missing reads as empty and goes on") << "Text" << true << 4 << "";
    QTest::addRow("text of another type ends at once") << "Text" << false << 0 << "default";
    QTest::addRow("integer missing") << "Number" << true << 1 << "alpha";
    QTest::addRow("integer stored as text") << "Number" << false << 1 << "alpha";
    QTest::addRow("boolean missing") << "Flag" << true << 2 << "alpha";
    QTest::addRow("boolean stored as text") << "Flag" << false << 2 << "alpha";
    QTest::addRow("float stored as integer, last of the batch") << "Date" << false << 3 << "alpha";
}

void TestCommSettings::readBatchKeepsWhatWasReadAndDefaultsTheRest()
{
    QFETCH(QString, broken);
    QFETCH(bool, missing);
    QFETCH(int, readCount);
    QFETCH(QString, textRead);

    const QString key = productKey(QStringLiteral("Batch"));
    {
        SettingsStore store;
        store.writeText(key, QStringLiteral("Text"), QStringLiteral("alpha"));
        store.writeInteger(key, QStringLiteral("Number"), 7);
        store.writeInteger(key, QStringLiteral("Flag"), 1);
        store.writeFloat(key, QStringLiteral("Date"), 2.5);
        if (!broken.isEmpty()) {
            if (missing)
                store.deleteValue(key, broken);
            else if (broken == QLatin1String("Text") || broken == QLatin1String("Date"))
                store.writeInteger(key, broken, 1);
            else
                store.writeText(key, broken, QStringLiteral("1"));
        }
    }

    QString text = QStringLiteral("default");
    int number = -1;
    bool flag = false;
    double date = -1.0;
    const bool complete = velmora::readSettingsBatch(
        QStringLiteral("CommUnit"), key, QStringLiteral("Failed to get Batch information from Registry."),
        [&](RegistryKey& registry) {
            text = registry.readString(QStringLiteral("Text"));
            number = registry.readInteger(QStringLiteral("Number"));
            flag = registry.readBool(QStringLiteral("Flag"));
            date = registry.readFloat(QStringLiteral("Date"));
        });

    QCOMPARE(text, textRead);
    QCOMPARE(number, readCount >= 2 ? 7 : -1);
    QCOMPARE(flag, readCount >= 3);
    QCOMPARE(date, readCount >= 4 ? 2.5 : -1.0);
    QCOMPARE(complete, readCount == 4);
    const QStringList expectedLog = complete ? QStringList()
                                             : QStringList{QStringLiteral("Failed to get Batch information from Registry.")};
    QCOMPARE(m_log->messages(), expectedLog);
    if (!complete)
        QCOMPARE(m_log->channels(), QStringList{QStringLiteral("CommUnit")});
}

void TestCommSettings::missingProductRootGivesDefaultsSilently()
{
    // Something beside the product root exists, the root itself does not.
    SettingsStore().writeText(QStringLiteral("Software\\Quorvane\\Other"), QStringLiteral("x"), QStringLiteral("y"));

    QCOMPARE(velmora::ReadFindItems(kListWindow), QString());
    QCOMPARE(velmora::ReadFormCurrentView(kListWindow), 12);
    QCOMPARE(velmora::ReadEMailList(), QString());
    QCOMPARE(velmora::ReadOptionText(QStringLiteral("GridBackground")), QString());
    QCOMPARE(velmora::ReadDisplayStyle(), 4);
    QCOMPARE(velmora::ReadAgentCharacter(0), QString());
    QCOMPARE(velmora::ReadProductName(), QStringLiteral("Velmora"));
    const auto switches = velmora::GetSystemSetting();
    QVERIFY(!switches.runMediaPlayerEngine && !switches.runSpeechEngine && !switches.runAgentEngine);
    const auto tips = velmora::ReadTipsSettings();
    QCOMPARE(tips.showTips, true);
    QCOMPARE(tips.progress, 1);
    QComboBox combo;
    velmora::FillFindItems(kListWindow, &combo);
    QCOMPARE(combo.count(), 0);

    QCOMPARE(m_log->messages(), QStringList());
    // Reading never creates what it did not find.
    QVERIFY(!SettingsStore().keyExists(QLatin1String(velmora::kProductRootKey)));
}

void TestCommSettings::fillFindItemsSplitsAtEveryBlank_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("items");

    QTest::addRow("two words") << "alpha beta" << QStringList{"alpha", "beta"};
    QTest::addRow("two blanks between") << "alpha  beta" << QStringList{"alpha", "beta"};
    QTest::addRow("blanks around") << "  lead trail  " << QStringList{"lead", "trail"};
    QTest::addRow("a search text with a blank comes back split") << "New York Boston"
                                                                   << QStringList{"New", "York", "Boston"};
    QTest::addRow("only blanks") << "   " << QStringList();
    QTest::addRow("empty") << "" << QStringList();
}

void TestCommSettings::fillFindItemsSplitsAtEveryBlank()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, items);

    velmora::WriteFindItems(kListWindow, stored);
    QCOMPARE(velmora::ReadFindItems(kListWindow), stored);

    QComboBox combo;
    combo.addItem(QStringLiteral("kept"));
    velmora::FillFindItems(kListWindow, &combo);
    QStringList shown;
    for (int i = 0; i < combo.count(); ++i)
        shown.append(combo.itemText(i));
    QCOMPARE(shown, QStringList{QStringLiteral("kept")} + items);
    QCOMPARE(m_log->messages(), QStringList());
}

void TestCommSettings::formCurrentView_data()
{
    QTest::addColumn<QString>("setup"); // "none", "write N", "text"
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("log");

    QTest::addRow("key missing") << "none" << 12 << QStringList();
    QTest::addRow("value missing") << "other value" << 12
                                   << QStringList{"Failed to get FormCurrentView information from Registry."};
    QTest::addRow("written 0") << "write 0" << 0 << QStringList();
    QTest::addRow("written 3") << "write 3" << 3 << QStringList();
    QTest::addRow("stored as text") << "text" << 12
                                    << QStringList{"Failed to get FormCurrentView information from Registry."};
}

void TestCommSettings::formCurrentView()
{
    QFETCH(QString, setup);
    QFETCH(int, expected);
    QFETCH(QStringList, log);

    if (setup.startsWith(QLatin1String("write ")))
        velmora::WriteFormCurrentView(kListWindow, setup.mid(6).toInt());
    else if (setup == QLatin1String("other value"))
        velmora::WriteCurrentActiveForm(kListWindow, QStringLiteral("TFrmTaskList"));
    else if (setup == QLatin1String("text"))
        SettingsStore().writeText(kListWindowKey, QStringLiteral("FormCurrentView"), QStringLiteral("3"));

    QCOMPARE(velmora::ReadFormCurrentView(kListWindow), expected);
    QCOMPARE(m_log->messages(), log);
}

void TestCommSettings::maximizedPlacementKeepsTheStoredSize()
{
    velmora::WriteFormPlacement(QStringLiteral("wsNormal"), kListWindow, 480, 640, 20, 30);
    velmora::WriteFormPlacement(QStringLiteral("wsMaximized"), kListWindow, 1000, 1900, 0, 0);

    SettingsStore store;
    QCOMPARE(store.readText(kListWindowKey, QStringLiteral("WindowState")), QStringLiteral("wsMaximized"));
    QCOMPARE(store.readInteger(kListWindowKey, QStringLiteral("Height")), 480);
    QCOMPARE(store.readInteger(kListWindowKey, QStringLiteral("Width")), 640);
    QCOMPARE(store.readInteger(kListWindowKey, QStringLiteral("Top")), 20);
    QCOMPARE(store.readInteger(kListWindowKey, QStringLiteral("Left")), 30);

    // Maximised first: nothing but the state exists.
    const QString other = QStringLiteral("ContactEntryForm");
    velmora::WriteFormPlacement(QStringLiteral("wsMaximized"), other, 1, 2, 3, 4);
    const auto values = store.values(productKey(QStringLiteral("Velmora Center\\") + other));
    QCOMPARE(values.size(), 1);
    QCOMPARE(values.first().name, QStringLiteral("WindowState"));
    QCOMPARE(m_log->messages(), QStringList());
}

void TestCommSettings::blankMailListIsNeverWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addRow("empty") << "";
    QTest::addRow("blanks") << "    ";
    QTest::addRow("tab and line break") << "\t \r\n";
}

void TestCommSettings::blankMailListIsNeverWritten()
{
    QFETCH(QString, text);

    // Without an old list the key is not even created.
    velmora::WriteEMailList(text);
    QVERIFY(!SettingsStore().keyExists(productKey(QStringLiteral("Reminder Information"))));

    velmora::WriteEMailList(QStringLiteral(" ann@example.org; bob@example.org "));
    velmora::WriteEMailList(text);
    QCOMPARE(velmora::ReadEMailList(), QStringLiteral(" ann@example.org; bob@example.org "));
    QCOMPARE(m_log->messages(), QStringList());
}

void TestCommSettings::displayStyle_data()
{
    QTest::addColumn<int>("written"); // -1: nothing written
    QTest::addColumn<int>("expected");

    QTest::addRow("missing") << -1 << 4;
    QTest::addRow("first") << 0 << 0;
    QTest::addRow("middle") << 2 << 2;
    QTest::addRow("last") << 4 << 4;
    QTest::addRow("beyond the looks") << 5 << 4;
    QTest::addRow("negative") << -7 << 4;
}

void TestCommSettings::displayStyle()
{
    QFETCH(int, written);
    QFETCH(int, expected);
    if (written != -1)
        velmora::WriteDisplayStyle(written);
    QCOMPARE(velmora::ReadDisplayStyle(), expected);
    QCOMPARE(m_log->messages(), QStringList());

    SettingsStore().writeText(productKey(QStringLiteral("Display")), QStringLiteral("Style"), QStringLiteral("2"));
    QCOMPARE(velmora::ReadDisplayStyle(), 4);
    QCOMPARE(m_log->messages(), QStringList{QStringLiteral("Failed to get Style information from Registry.")});
}

void TestCommSettings::agentCharacter_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("expected");

    QTest::addRow("first slot") << 0 << "/opt/agents/Merlin/character.json";
    QTest::addRow("second slot is NULL") << 1 << "";
    QTest::addRow("third slot missing") << 2 << "";
}

void TestCommSettings::agentCharacter()
{
    QFETCH(int, slot);
    QFETCH(QString, expected);

    SettingsStore store;
    const QString key = QLatin1String(velmora::kAgentsInformationKey);
    store.writeText(key, QStringLiteral("Character1"), QStringLiteral("/opt/agents/Merlin/character.json"));
    store.writeText(key, QStringLiteral("Character2"), QStringLiteral("NULL"));
    QCOMPARE(velmora::ReadAgentCharacter(slot), expected);
    QCOMPARE(m_log->messages(), QStringList());
}

void TestCommSettings::engineSwitchesConvertTextBooleansOneByOne_data()
{
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("speech");
    QTest::addColumn<QString>("agent");
    QTest::addColumn<bool>("mediaOn");
    QTest::addColumn<bool>("speechOn");
    QTest::addColumn<bool>("agentOn");

    QTest::addRow("True False True") << "True" << "False" << "True" << true << false << true;
    QTest::addRow("any case") << "tRUE" << "FALSE" << "false" << true << false << false;
    QTest::addRow("-1 0 1") << "-1" << "0" << "1" << true << false << true;
    QTest::addRow("other integers") << "2" << "-7" << "00" << true << true << false;
    QTest::addRow("bad middle leaves only it off") << "True" << "yes" << "True" << true << false << true;
    QTest::addRow("empty first leaves only it off") << "" << "1" << "1" << false << true << true;
}

void TestCommSettings::engineSwitchesConvertTextBooleansOneByOne()
{
    QFETCH(QString, media);
    QFETCH(QString, speech);
    QFETCH(QString, agent);
    QFETCH(bool, mediaOn);
    QFETCH(bool, speechOn);
    QFETCH(bool, agentOn);

    SettingsStore store;
    const QString key = productKey(QStringLiteral("Product Information"));
    store.writeText(key, QStringLiteral("Run Media Player Engine"), media);
    store.writeText(key, QStringLiteral("Run Speech Engine"), speech);
    store.writeText(key, QStringLiteral("Run Microsoft Agent Engine"), agent);

    const auto switches = velmora::GetSystemSetting();
    QCOMPARE(switches.runMediaPlayerEngine, mediaOn);
    QCOMPARE(switches.runSpeechEngine, speechOn);
    QCOMPARE(switches.runAgentEngine, agentOn);
}

void TestCommSettings::tipsSettingsStopAtTheFirstBadConversion_data()
{
    QTest::addColumn<QString>("key"); // empty: the main program's own
    QTest::addColumn<QString>("show");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<bool>("expectedShow");
    QTest::addColumn<int>("expectedProgress");
    QTest::addColumn<bool>("logged");

    const QString own;
    const QString viewer = QLatin1String(velmora::kCommonTipsKey);
    QTest::addRow("both read") << own << "False" << "17" << false << 17 << false;
    QTest::addRow("viewer's own key") << viewer << "-1" << "3" << true << 3 << false;
    QTest::addRow("bad show keeps both defaults") << own << "perhaps" << "17" << true << 1 << true;
    QTest::addRow("bad progress keeps the show read") << own << "False" << "many" << false << 1 << true;
    QTest::addRow("progress missing") << viewer << "0" << "<missing>" << false << 1 << true;
}

void TestCommSettings::tipsSettingsStopAtTheFirstBadConversion()
{
    QFETCH(QString, key);
    QFETCH(QString, show);
    QFETCH(QString, progress);
    QFETCH(bool, expectedShow);
    QFETCH(int, expectedProgress);
    QFETCH(bool, logged);

    const QString path = key.isEmpty() ? productKey(QStringLiteral("Velmora Center\\Tips")) : key;
    SettingsStore store;
    store.writeText(path, QStringLiteral("Show Tips"), show);
    if (progress != QLatin1String("<missing>"))
        store.writeText(path, QStringLiteral("Tips Showing Progress"), progress);

    const auto tips = velmora::ReadTipsSettings(key);
    QCOMPARE(tips.showTips, expectedShow);
    QCOMPARE(tips.progress, expectedProgress);
    QCOMPARE(m_log->messages(), logged ? QStringList{kFailedGeneral} : QStringList());
}

void TestCommSettings::workWeekAndOptionTexts()
{
    velmora::WriteWorkWeekSettings(62, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("08:00"),
                                   QStringLiteral("17:30"));
    const QString key = productKey(QStringLiteral("Velmora Center\\Options"));
    SettingsStore store;
    QCOMPARE(store.readInteger(key, QStringLiteral("Weekday")), 62);
    QCOMPARE(store.readText(key, QStringLiteral("FirstDayOfWeek")), QStringLiteral("2"));
    QCOMPARE(store.readText(key, QStringLiteral("FirstWeekOfYear")), QStringLiteral("1"));
    QCOMPARE(store.readText(key, QStringLiteral("StartTime")), QStringLiteral("08:00"));
    QCOMPARE(store.readText(key, QStringLiteral("EndTime")), QStringLiteral("17:30"));

    QCOMPARE(velmora::ReadOptionText(QStringLiteral("StartTime")), QStringLiteral("08:00"));
    QCOMPARE(velmora::ReadOptionText(QStringLiteral("GridBackground")), QString());
    QCOMPARE(m_log->messages(), QStringList());
    QCOMPARE(velmora::ReadOptionText(QStringLiteral("Weekday")), QString());
    QCOMPARE(m_log->messages(),
             QStringList{QStringLiteral("Failed to get information about GridBackground from Registry.")});
}

void TestCommSettings::productNameAndTitles_data()
{
    QTest::addColumn<QString>("stored"); // "<missing>" for none
    QTest::addColumn<QString>("center");
    QTest::addColumn<QString>("topBar");

    QTest::addRow("missing") << "<missing>" << "Velmora Center" << "Velmora TopBar";
    QTest::addRow("installed name") << "Velmora" << "Velmora Center" << "Velmora TopBar";
    QTest::addRow("another name") << "Orbis" << "Orbis Center" << "Orbis TopBar";
    QTest::addRow("blank") << "  " << "Velmora Center" << "Velmora TopBar";
}

void TestCommSettings::productNameAndTitles()
{
    QFETCH(QString, stored);
    QFETCH(QString, center);
    QFETCH(QString, topBar);

    if (stored != QLatin1String("<missing>"))
        SettingsStore().writeText(productKey(QStringLiteral("Product Information")), QStringLiteral("PRODUCT_NAME"),
                                  stored);
    QCOMPARE(velmora::CenterTitle(), center);
    QCOMPARE(velmora::TopBarTitle(), topBar);
}

void TestCommSettings::unusableStoreIsLoggedNeverRaised_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("logLine");

    QTest::addRow("WriteFindItems") << 0 << "Failed to write registry about FindItem.";
    QTest::addRow("WriteEMailList") << 1 << "Failed to write registry about mail list.";
    QTest::addRow("WriteFormPlacement") << 2 << "Failed to write Registry about FormSize.";
    QTest::addRow("WriteDisplayStyle") << 3 << "Failed to write registry about Style.";
    QTest::addRow("ReadFindItems") << 4 << "Failed to get FindItems information from Registry.";
    QTest::addRow("ReadEMailList") << 5 << "Failed to get mail list information from Registry.";
    QTest::addRow("ReadDisplayStyle") << 6 << "Failed to get Style information from Registry.";
    QTest::addRow("ReadTipsSettings") << 7 << "Failed to get information from Registry.";
}

void TestCommSettings::unusableStoreIsLoggedNeverRaised()
{
    QFETCH(int, operation);
    QFETCH(QString, logLine);

    // A folder where the store file should be: nothing can open it.
    QVERIFY(QDir().mkpath(m_sandbox->path() + QStringLiteral("/blocked/registry.sqlite")));
    m_sandbox->setEnv("VELMORA_HKCU", m_sandbox->path() + QStringLiteral("/blocked/registry.sqlite"));

    switch (operation) {
    case 0:
        velmora::WriteFindItems(kListWindow, QStringLiteral("x"));
        break;
    case 1:
        velmora::WriteEMailList(QStringLiteral("a@example.org"));
        break;
    case 2:
        velmora::WriteFormPlacement(QStringLiteral("wsNormal"), kListWindow, 1, 2, 3, 4);
        break;
    case 3:
        velmora::WriteDisplayStyle(1);
        break;
    case 4:
        QCOMPARE(velmora::ReadFindItems(kListWindow), QString());
        break;
    case 5:
        QCOMPARE(velmora::ReadEMailList(), QString());
        break;
    case 6:
        QCOMPARE(velmora::ReadDisplayStyle(), 4);
        break;
    case 7: {
        const auto tips = velmora::ReadTipsSettings();
        QVERIFY(tips.showTips);
        QCOMPARE(tips.progress, 1);
        break;
    }
    }
    QCOMPARE(m_log->messages(), QStringList{logLine});
    QCOMPARE(m_log->channels(), QStringList{QStringLiteral("CommUnit")});
}

void TestCommSettings::damagedStoreIsLoggedOnce()
{
    {
        QFile file(m_sandbox->settingsStorePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("garbage, not a settings store\n").repeated(100));
    }
    velmora::WriteDisplayStyle(1);
    QCOMPARE(velmora::ReadDisplayStyle(), 1);
    QCOMPARE(velmora::ReadDisplayStyle(), 1);

    const QStringList messages = m_log->messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(QStringLiteral("The settings store was damaged; it was moved to ")),
             qPrintable(messages.first()));
    QVERIFY(messages.first().contains(m_sandbox->settingsStorePath() + QStringLiteral(".corrupt-")));
}

QTEST_MAIN(TestCommSettings)
#include "tst_comm_settings.moc"
