// The settings file: reading with the classic profile rules (names without
// case, blanks trimmed, defaults for what is missing or unreadable) and
// writing that touches only the line it changes.

#include "foundation/config_ini.h"
#include "platform/exception.h"
#include "tests/support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace velmora;

namespace {

const char* const kSample = "; written by hand\n"
                            "[Speech]\n"
                            "Rate=3\n"
                            "  Volume =  80  \n"
                            "Voice=abc\n"
                            "Sentence=\n"
                            "\n"
                            "[EMail]\n"
                            "; the enciphered password\n"
                            "OutgoingServerPassword=A1=B2==\n"
                            "MailSMTP = smtp.example.org \n"
                            "RequireAuthentication=TRUE\n"
                            "Rate=9\n"
                            "\n"
                            "[TopBar]\n"
                            "Transparent=false\n"
                            "AlphaBlend=1\n"
                            "AutoLoad=2\n"
                            "TextColor=$FF00\n"
                            "TextBackgroundColor=0x10\n"
                            "Huge=99999999999\n";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestConfigIni : public QObject {
    Q_OBJECT

private:
    test::Sandbox* m_sandbox = nullptr;
    QString samplePath(const QByteArray& lineEnd = "\n")
    {
        const QString path = m_sandbox->path() + QStringLiteral("/sample.ini");
        QByteArray bytes(kSample);
        bytes.replace("\n", lineEnd);
        writeFile(path, bytes);
        return path;
    }

private slots:
    void init() { m_sandbox = new test::Sandbox; }
    void cleanup()
    {
        delete m_sandbox;
        m_sandbox = nullptr;
    }

    void readString_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        for (const QByteArray& lineEnd : {QByteArray("\n"), QByteArray("\r\n")}) {
            const char* end = lineEnd == "\n" ? "LF" : "CRLF";
            QTest::addRow("%s: plain", end) << lineEnd << "Speech" << "Rate" << "3";
            QTest::addRow("%s: names without case", end) << lineEnd << "sPEECH" << "rate" << "3";
            QTest::addRow("%s: blanks around key and value", end) << lineEnd << "Speech" << "Volume" << "80";
            QTest::addRow("%s: empty value", end) << lineEnd << "Speech" << "Sentence" << "";
            QTest::addRow("%s: '=' inside the value", end) << lineEnd << "EMail" << "OutgoingServerPassword" << "A1=B2==";
            QTest::addRow("%s: inner text kept", end) << lineEnd << "EMail" << "MailSMTP" << "smtp.example.org";
            QTest::addRow("%s: same key in another section", end) << lineEnd << "EMail" << "Rate" << "9";
            QTest::addRow("%s: missing key", end) << lineEnd << "Speech" << "Pitch" << "default";
            QTest::addRow("%s: missing section", end) << lineEnd << "Nowhere" << "Rate" << "default";
            QTest::addRow("%s: comment is no key", end) << lineEnd << "EMail" << "; the enciphered password" << "default";
        }
    }
    void readString()
    {
        QFETCH(QByteArray, lineEnd);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);

        const ConfigIni ini(samplePath(lineEnd));
        QCOMPARE(ini.readString(section, key, QStringLiteral("default")), expected);
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");

        QTest::addRow("number") << "Speech" << "Rate" << 3;
        QTest::addRow("number among blanks") << "Speech" << "Volume" << 80;
        QTest::addRow("not a number") << "Speech" << "Voice" << -7;
        QTest::addRow("empty") << "Speech" << "Sentence" << -7;
        QTest::addRow("missing") << "Speech" << "Pitch" << -7;
        QTest::addRow("dollar hexadecimal") << "TopBar" << "TextColor" << 0xFF00;
        QTest::addRow("0x hexadecimal") << "TopBar" << "TextBackgroundColor" << 0x10;
        QTest::addRow("beyond 32 bits") << "TopBar" << "Huge" << -7;
    }
    void readInteger()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(int, expected);

        const ConfigIni ini(samplePath());
        QCOMPARE(ini.readInteger(section, key, -7), expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");

        QTest::addRow("TRUE") << "EMail" << "RequireAuthentication" << false << true;
        QTest::addRow("false") << "TopBar" << "Transparent" << true << false;
        QTest::addRow("1") << "TopBar" << "AlphaBlend" << false << true;
        QTest::addRow("2 gives the default (true)") << "TopBar" << "AutoLoad" << true << true;
        QTest::addRow("2 gives the default (false)") << "TopBar" << "AutoLoad" << false << false;
        QTest::addRow("empty gives the default") << "Speech" << "Sentence" << true << true;
        QTest::addRow("missing gives the default") << "TopBar" << "Missing" << true << true;
    }
    void readBool()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);

        const ConfigIni ini(samplePath());
        QCOMPARE(ini.readBool(section, key, defaultValue), expected);
    }

    void listsSectionsAndKeys()
    {
        const ConfigIni ini(samplePath());
        QCOMPARE(ini.sections(), QStringList({"Speech", "EMail", "TopBar"}));
        QCOMPARE(ini.keys(QStringLiteral("email")),
                 QStringList({"OutgoingServerPassword", "MailSMTP", "RequireAuthentication", "Rate"}));
        QVERIFY(ini.sectionExists(QStringLiteral("TOPBAR")));
        QVERIFY(!ini.sectionExists(QStringLiteral("Notify")));
        QVERIFY(ini.valueExists(QStringLiteral("speech"), QStringLiteral("SENTENCE")));
        QVERIFY(!ini.valueExists(QStringLiteral("Speech"), QStringLiteral("MailSMTP")));
    }

    // Each write changes one line or adds one; everything else, comments and
    // line ends included, is left as it was.
    void writeTouchesOnlyItsLine_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::addRow("value replaced, key spelling kept")
            << QByteArray("\n") << "speech" << "volume" << "55" << QByteArray("  Volume =  80  \n")
            << QByteArray("Volume=55\n");
        QTest::addRow("value replaced in a CRLF file")
            << QByteArray("\r\n") << "Speech" << "Rate" << "-2" << QByteArray("Rate=3\r\n") << QByteArray("Rate=-2\r\n");
        QTest::addRow("new key ends its section, before the blank line")
            << QByteArray("\n") << "Speech" << "Pitch" << "4" << QByteArray("Sentence=\n\n[EMail]")
            << QByteArray("Sentence=\nPitch=4\n\n[EMail]");
        QTest::addRow("new key in the last section")
            << QByteArray("\n") << "TopBar" << "Left" << "10" << QByteArray("Huge=99999999999\n")
            << QByteArray("Huge=99999999999\nLeft=10\n");
        QTest::addRow("new section appended")
            << QByteArray("\r\n") << "StartUp" << "AutoLoadVelmora" << "0" << QByteArray("Huge=99999999999\r\n")
            << QByteArray("Huge=99999999999\r\n\r\n[StartUp]\r\nAutoLoadVelmora=0\r\n");
        QTest::addRow("line breaks in a value cannot make new lines")
            << QByteArray("\n") << "EMail" << "MailSMTP" << "a\n[Speech]\r\nRate=1" << QByteArray("MailSMTP = smtp.example.org \n")
            << QByteArray("MailSMTP=a [Speech] Rate=1\n");
    }
    void writeTouchesOnlyItsLine()
    {
        QFETCH(QByteArray, lineEnd);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        const QString path = samplePath(lineEnd);
        QByteArray expected = readFile(path);
        QVERIFY(expected.contains(before));
        expected.replace(before, after);

        ConfigIni ini(path);
        ini.writeString(section, key, value);
        QCOMPARE(readFile(path), expected);
        // The object answers what it wrote, and a fresh reader agrees.
        QCOMPARE(ini.readString(section, key), ConfigIni(path).readString(section, key));
        QCOMPARE(ConfigIni(path).readInteger(QStringLiteral("Speech"), QStringLiteral("Sentence"), 5), 5);
    }

    void writesTypedValues()
    {
        ConfigIni ini(samplePath());
        ini.writeInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), -10);
        ini.writeBool(QStringLiteral("TopBar"), QStringLiteral("Transparent"), true);
        ini.writeBool(QStringLiteral("TopBar"), QStringLiteral("AlphaBlend"), false);

        const QByteArray text = readFile(ini.path());
        QVERIFY(text.contains("\nRate=-10\n"));
        QVERIFY(text.contains("\nTransparent=1\n"));
        QVERIFY(text.contains("\nAlphaBlend=0\n"));
        const ConfigIni again(ini.path());
        QCOMPARE(again.readInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), 0), -10);
        QCOMPARE(again.readBool(QStringLiteral("TopBar"), QStringLiteral("Transparent"), false), true);
        QCOMPARE(again.readBool(QStringLiteral("TopBar"), QStringLiteral("AlphaBlend"), true), false);
    }

    void missingFileAndFolderAreCreatedOnWrite()
    {
        QVERIFY(QDir(m_sandbox->installRoot() + QStringLiteral("Config")).removeRecursively());
        ConfigIni ini;
        QCOMPARE(ini.path(), m_sandbox->installRoot() + QStringLiteral("Config/Config.INI"));
        QVERIFY(ini.sections().isEmpty());
        QCOMPARE(ini.readInteger(QStringLiteral("AutoBackupDB"), QStringLiteral("EveryDay"), 7), 7);

        ini.writeInteger(QStringLiteral("AutoBackupDB"), QStringLiteral("EveryDay"), 3);
        QCOMPARE(readFile(ini.path()), QByteArray("[AutoBackupDB]\nEveryDay=3\n"));
    }

    void unwritableFileRaisesAndKeepsAnswers()
    {
        // A folder where the file's folder should be: no user can write there.
        const QString blocker = m_sandbox->path() + QStringLiteral("/blocker");
        writeFile(blocker, "not a folder");
        ConfigIni ini(blocker + QStringLiteral("/Config.INI"));
        QVERIFY_THROWS_EXCEPTION(Exception, ini.writeString(QStringLiteral("Speech"), QStringLiteral("Rate"), QStringLiteral("1")));
        QVERIFY(!ini.valueExists(QStringLiteral("Speech"), QStringLiteral("Rate")));
    }

    // Two programs hold the file open: each sees the other's saved change
    // after a reload, and a write never throws away what the other saved.
    void anotherWritersChangesAreSeenAndKept()
    {
        const QString path = samplePath();
        ConfigIni setup(path);
        ConfigIni alert(path);

        setup.writeInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), 7);
        QCOMPARE(alert.readInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), 0), 3); // not reread yet
        alert.reload();
        QCOMPARE(alert.readInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), 0), 7);

        setup.writeString(QStringLiteral("EMail"), QStringLiteral("MailSMTP"), QStringLiteral("mail.example.org"));
        alert.writeInteger(QStringLiteral("Speech"), QStringLiteral("Volume"), 20); // without reloading first
        const ConfigIni fresh(path);
        QCOMPARE(fresh.readString(QStringLiteral("EMail"), QStringLiteral("MailSMTP")), QStringLiteral("mail.example.org"));
        QCOMPARE(fresh.readInteger(QStringLiteral("Speech"), QStringLiteral("Volume"), 0), 20);
        QCOMPARE(fresh.readInteger(QStringLiteral("Speech"), QStringLiteral("Rate"), 0), 7);
    }

    void byteOrderMarkAndCodePageSurviveAWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");

        QTest::addRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF[Notify]\nName=Zo\xC3\xAB\n") << QStringLiteral("Zo\u00EB");
        QTest::addRow("one-byte code page") << QByteArray("[Notify]\nName=Zo\xEB\n") << QStringLiteral("Zo\u00EB");
    }
    void byteOrderMarkAndCodePageSurviveAWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);

        const QString path = m_sandbox->path() + QStringLiteral("/coded.ini");
        writeFile(path, bytes);
        ConfigIni ini(path);
        QCOMPARE(ini.sections(), QStringList{"Notify"});
        QCOMPARE(ini.readString(QStringLiteral("Notify"), QStringLiteral("Name")), name);
        ini.writeInteger(QStringLiteral("Notify"), QStringLiteral("Place"), 0);
        QCOMPARE(readFile(path), bytes + "Place=0\n");
    }
};

QTEST_MAIN(TestConfigIni)
#include "tst_config_ini.moc"
