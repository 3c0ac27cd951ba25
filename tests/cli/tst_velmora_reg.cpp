// velmora_reg as a real process: writing, reading, listing, deleting and
// exporting settings, and what it does with bad input.

#include "platform/settings_store.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"

#include <QTest>

#include <memory>

using velmora::platform::SettingsStore;
using velmora::platform::SettingsValueType;
using velmora::test::ProgramResult;

namespace {

const QString kDisplay = QStringLiteral("Software\\Quorvane\\Velmora\\3.0\\Display");
const QString kRoot = QStringLiteral("Software\\Quorvane\\Velmora\\3.0");

} // namespace

class TestVelmoraReg : public QObject {
    Q_OBJECT

private slots:
    void init() { m_sandbox = std::make_unique<velmora::test::Sandbox>(); }
    void cleanup() { m_sandbox.reset(); }

    void setThenGetEachType_data();
    void setThenGetEachType();
    void listShowsSubKeysAndTypedValues();
    void exportWalksTheWholeTree();
    void deleteValueAndKey();
    void badInputIsRefusedWithExitCode2_data();
    void badInputIsRefusedWithExitCode2();
    void missingThingsGiveExitCode1_data();
    void missingThingsGiveExitCode1();

private:
    ProgramResult reg(const QStringList& arguments)
    {
        return velmora::test::runProgram(*m_sandbox, QStringLiteral("velmora_reg"), arguments);
    }
    std::unique_ptr<velmora::test::Sandbox> m_sandbox;
};

void TestVelmoraReg::setThenGetEachType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<SettingsValueType>("stored");

    QTest::addRow("sz") << "sz" << "Velmora \"Center\" \\ ü" << "Velmora \"Center\" \\ ü" << SettingsValueType::Text;
    QTest::addRow("empty sz") << "sz" << "" << "" << SettingsValueType::Text;
    QTest::addRow("dword") << "dword" << "4" << "4" << SettingsValueType::Integer;
    QTest::addRow("negative dword") << "dword" << "-2147483648" << "-2147483648" << SettingsValueType::Integer;
    QTest::addRow("hex dword") << "dword" << "0x10" << "16" << SettingsValueType::Integer;
    QTest::addRow("float") << "float" << "45291.75" << "45291.75" << SettingsValueType::Float;
    QTest::addRow("type in capitals") << "FLOAT" << "0.1" << "0.1" << SettingsValueType::Float;
    QTest::addRow("binary") << "binary" << "00FFa0" << "00ffa0" << SettingsValueType::Binary;
}

void TestVelmoraReg::setThenGetEachType()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, printed);
    QFETCH(SettingsValueType, stored);

    const ProgramResult set = reg({QStringLiteral("set"), kDisplay, QStringLiteral("Style"), type, value});
    QVERIFY2(set.exitCode == 0, qPrintable(set.err));

    const ProgramResult get = reg({QStringLiteral("get"), kDisplay.toUpper(), QStringLiteral("style")});
    QCOMPARE(get.exitCode, 0);
    QCOMPARE(get.out, printed + QLatin1Char('\n'));

    // What the tool wrote is what the programs read.
    QCOMPARE(SettingsStore().valueType(kDisplay, QStringLiteral("Style")), std::optional(stored));
}

void TestVelmoraReg::listShowsSubKeysAndTypedValues()
{
    {
        SettingsStore store;
        store.createKey(kRoot + QStringLiteral("\\Display"));
        store.writeText(kRoot + QStringLiteral("\\Product Information"), QStringLiteral("PRODUCT_NAME"),
                        QStringLiteral("Velmora"));
        store.writeInteger(kRoot, QStringLiteral("Count"), 3);
        store.writeFloat(kRoot, QStringLiteral("Auto Upgrade Date"), 45000.5);
        store.writeBinary(kRoot, QStringLiteral("Layout"), QByteArray("\x01\x02", 2));
        store.writeText(kRoot, QStringLiteral("Note"), QStringLiteral("two\nlines"));
    }
    const ProgramResult list = reg({QStringLiteral("list"), kRoot});
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, QStringLiteral("Display\\\n"
                                      "Product Information\\\n"
                                      "\"Auto Upgrade Date\"=float:45000.5\n"
                                      "\"Count\"=dword:3\n"
                                      "\"Layout\"=binary:0102\n"
                                      "\"Note\"=sz:\"two\\nlines\"\n"));
}

void TestVelmoraReg::exportWalksTheWholeTree()
{
    QCOMPARE(reg({QStringLiteral("set"), kDisplay, QStringLiteral("Style"), QStringLiteral("dword"), QStringLiteral("2")})
                 .exitCode,
             0);
    QCOMPARE(reg({QStringLiteral("set"), kRoot + QStringLiteral("\\Velmora Center\\Tips"), QStringLiteral("Show Tips"),
                  QStringLiteral("sz"), QStringLiteral("True")})
                 .exitCode,
             0);

    const ProgramResult all = reg({QStringLiteral("export")});
    QCOMPARE(all.exitCode, 0);
    QCOMPARE(all.out, QStringLiteral("[Software]\n\n"
                                     "[Software\\Quorvane]\n\n"
                                     "[Software\\Quorvane\\Velmora]\n\n"
                                     "[Software\\Quorvane\\Velmora\\3.0]\n\n"
                                     "[Software\\Quorvane\\Velmora\\3.0\\Display]\n"
                                     "\"Style\"=dword:2\n\n"
                                     "[Software\\Quorvane\\Velmora\\3.0\\Velmora Center]\n\n"
                                     "[Software\\Quorvane\\Velmora\\3.0\\Velmora Center\\Tips]\n"
                                     "\"Show Tips\"=sz:\"True\"\n\n"));

    const ProgramResult branch = reg({QStringLiteral("export"), kDisplay});
    QCOMPARE(branch.exitCode, 0);
    QCOMPARE(branch.out, QStringLiteral("[Software\\Quorvane\\Velmora\\3.0\\Display]\n\"Style\"=dword:2\n\n"));
}

void TestVelmoraReg::deleteValueAndKey()
{
    {
        SettingsStore store;
        store.writeInteger(kDisplay, QStringLiteral("Style"), 1);
        store.writeInteger(kDisplay, QStringLiteral("Other"), 2);
        store.writeInteger(kDisplay + QStringLiteral("\\Deeper"), QStringLiteral("Third"), 3);
    }
    QCOMPARE(reg({QStringLiteral("delete"), kDisplay, QStringLiteral("STYLE")}).exitCode, 0);
    QCOMPARE(reg({QStringLiteral("get"), kDisplay, QStringLiteral("Style")}).exitCode, 1);
    QCOMPARE(reg({QStringLiteral("get"), kDisplay, QStringLiteral("Other")}).out, QStringLiteral("2\n"));

    QCOMPARE(reg({QStringLiteral("delete"), kDisplay}).exitCode, 0);
    SettingsStore store;
    QVERIFY(!store.keyExists(kDisplay));
    QVERIFY(!store.keyExists(kDisplay + QStringLiteral("\\Deeper")));
    QVERIFY(store.keyExists(kRoot));
}

void TestVelmoraReg::badInputIsRefusedWithExitCode2_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("usage");

    QTest::addRow("unknown type") << QStringList{"set", kDisplay, "Style", "word", "1"} << "unknown type \"word\""
                                  << true;
    QTest::addRow("doubled backslash") << QStringList{"set", "Software\\\\Quorvane", "x", "sz", "y"}
                                       << "Malformed settings key" << false;
    QTest::addRow("trailing backslash") << QStringList{"get", "Software\\", "x"} << "Malformed settings key" << false;
    QTest::addRow("leading backslash") << QStringList{"list", "\\Software"} << "Malformed settings key" << false;
    QTest::addRow("dword not a number") << QStringList{"set", kDisplay, "Style", "dword", "four"}
                                        << "\"four\" is not a 32-bit integer" << false;
    QTest::addRow("dword beyond 32 bits") << QStringList{"set", kDisplay, "Style", "dword", "4294967296"}
                                          << "is not a 32-bit integer" << false;
    QTest::addRow("float not a number") << QStringList{"set", kDisplay, "When", "float", "soon"}
                                        << "\"soon\" is not a number" << false;
    QTest::addRow("float infinite") << QStringList{"set", kDisplay, "When", "float", "inf"} << "is not a number"
                                    << false;
    QTest::addRow("odd hex") << QStringList{"set", kDisplay, "Blob", "binary", "abc"}
                             << "odd number of hex digits" << false;
    QTest::addRow("invalid hex") << QStringList{"set", kDisplay, "Blob", "binary", "zz"} << "is not hex digits"
                                 << false;
    QTest::addRow("no command") << QStringList{} << "no command given" << true;
    QTest::addRow("unknown command") << QStringList{"remove", kDisplay} << "unknown command \"remove\"" << true;
    QTest::addRow("too few arguments") << QStringList{"set", kDisplay, "Style", "dword"}
                                       << "wrong number of arguments for \"set\"" << true;
    QTest::addRow("delete everything") << QStringList{"delete", ""} << "cannot be deleted" << false;
}

void TestVelmoraReg::badInputIsRefusedWithExitCode2()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(bool, usage);

    const ProgramResult result = reg(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.startsWith(QStringLiteral("velmora_reg: ")), qPrintable(result.err));
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(result.err.contains(QStringLiteral("usage: velmora_reg")), usage);
    QCOMPARE(result.out, QString());
    // Nothing was written on the way.
    QVERIFY(!SettingsStore().keyExists(QStringLiteral("Software")));
}

void TestVelmoraReg::missingThingsGiveExitCode1_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addRow("get a missing value") << QStringList{"get", kDisplay, "Nothing"};
    QTest::addRow("get in a missing key") << QStringList{"get", kRoot + "\\Missing", "Style"};
    QTest::addRow("list a missing key") << QStringList{"list", kRoot + "\\Missing"};
    QTest::addRow("delete a missing value") << QStringList{"delete", kDisplay, "Nothing"};
    QTest::addRow("delete a missing key") << QStringList{"delete", kRoot + "\\Missing"};
    QTest::addRow("export a missing key") << QStringList{"export", kRoot + "\\Missing"};
}

void TestVelmoraReg::missingThingsGiveExitCode1()
{
    QFETCH(QStringList, arguments);
    SettingsStore().writeInteger(kDisplay, QStringLiteral("Style"), 1);

    const ProgramResult result = reg(arguments);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QStringLiteral("does not exist")), qPrintable(result.err));
    QCOMPARE(result.out, QString());
}

QTEST_MAIN(TestVelmoraReg)
#include "tst_velmora_reg.moc"
