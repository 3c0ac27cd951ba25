// The text cipher: exact ciphers for chosen first bytes, round trips over the
// whole alphabet and every first byte, and the texts it must refuse.

#include "foundation/cipher.h"
#include "platform/exception.h"

#include <QSet>
#include <QTest>

using namespace velmora;

namespace {

QString allCharacters()
{
    QString text;
    for (int code = 1; code <= 255; ++code)
        text.append(QChar(char16_t(code)));
    return text;
}

} // namespace

class TestCipher : public QObject {
    Q_OBJECT

private slots:
    void knownCiphers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<QString>("cipher");

        // 'A' 0x41, 'B' 0x42, 'k' 0x6B, 'z' 0x7A, 'K' 0x4B (first default key character)
        QTest::addRow("one-character key") << "AB" << "k" << 0x10 << "103A17";
        QTest::addRow("key walks on") << "AB" << "kz" << 0x10 << "103A06";
        QTest::addRow("key starts over") << "ABA" << "kz" << 0x10 << "103A062C";
        QTest::addRow("empty key uses default's first character") << "AB" << "" << 0x10 << "101A17";
        QTest::addRow("sum wraps at 255") << QString(QChar(0xFF)) << "k" << 0xF0 << "F09B";
        QTest::addRow("255 after 255") << QString(QChar(0xFF)) << "k" << 0xFF << "FF6B";
        QTest::addRow("empty text") << "" << "k" << 0xA5 << "A5";
    }
    void knownCiphers()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(int, firstByte);
        QFETCH(QString, cipher);

        QCOMPARE(EncodeTextWithFirstByte(text, key, firstByte), cipher);
        QCOMPARE(DecodeText(cipher, key), text);
    }

    // Every character after every possible running byte: walking all first
    // bytes over the full alphabet meets each (byte, character) pair the
    // arithmetic can wrap on, including 255 after 255.
    void roundTripsWholeAlphabet_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");

        const QString all = allCharacters();
        QTest::addRow("ordinary key") << all << "secret";
        QTest::addRow("empty key") << all << "";
        QTest::addRow("key longer than text") << "ÿ\x01z" << QString(kConnectionKey) + QString(kDefaultCipherKey);
        QTest::addRow("connection key") << "Provider=SQLite;Data Source=/home/x/Data/VelmoraV2.mdb" << kConnectionKey;
        QTest::addRow("key beyond Latin-1") << all << QString::fromUtf8("Jürgen-Πέτρος");
        QTest::addRow("all 255") << QString(300, QChar(0xFF)) << QString(QChar(0xFF));
    }
    void roundTripsWholeAlphabet()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);

        for (int firstByte = 0; firstByte <= 255; ++firstByte) {
            const QString cipher = EncodeTextWithFirstByte(text, key, firstByte);
            QCOMPARE(cipher.size(), 2 * (text.size() + 1));
            QCOMPARE(cipher, cipher.toUpper());
            QCOMPARE(DecodeText(cipher, key), text);
        }
        // Each shifted ordering too, so every character also follows every other.
        for (qsizetype shift = 1; shift < text.size() && shift < 64; ++shift) {
            const QString rotated = text.mid(shift) + text.left(shift);
            QCOMPARE(DecodeText(EncodeText(rotated, key), key), rotated);
        }
    }

    void freshSeedEachCall()
    {
        QSet<QString> ciphers;
        for (int i = 0; i < 32; ++i) {
            const QString cipher = EncodeText(QStringLiteral("password"), QStringLiteral("user"));
            QCOMPARE(DecodeText(cipher, QStringLiteral("user")), QStringLiteral("password"));
            ciphers.insert(cipher);
        }
        // 32 draws of one byte all alike would be a chance of 256^-31.
        QVERIFY(ciphers.size() > 1);
    }

    void shortCiphersGiveEmptyText_data()
    {
        QTest::addColumn<QString>("cipher");
        QTest::addRow("empty") << "";
        QTest::addRow("seed only") << "7F";
        QTest::addRow("encoded empty text") << EncodeText(QString(), QStringLiteral("k"));
    }
    void shortCiphersGiveEmptyText()
    {
        QFETCH(QString, cipher);
        QCOMPARE(cipher.size() <= 2, true);
        QCOMPARE(DecodeText(cipher, QStringLiteral("k")), QString());
    }

    void textsBeyondLatin1RoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString path = QString::fromUtf8("Data Source=/home/Пётр/Velmora/Data/VelmoraV2.mdb");
        QTest::addRow("Cyrillic folder") << path << QString::fromLatin1(kConnectionKey) << path;
        QTest::addRow("euro sign, empty key") << QString::fromUtf8("cost 5€") << "" << QString::fromUtf8("cost 5€");
        QTest::addRow("emoji") << QString::fromUtf8("pass \U0001F511") << "pw" << QString::fromUtf8("pass \U0001F511");
        QTest::addRow("ends at NUL") << QString(QStringLiteral("ab")) + QChar(0) + QStringLiteral("cd") << "k"
                                     << QStringLiteral("ab");
    }
    void textsBeyondLatin1RoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        for (int firstByte : {0, 1, 128, 254, 255})
            QCOMPARE(DecodeText(EncodeTextWithFirstByte(text, key, firstByte), key), expected);
    }
    void latin1TextsKeepTheirCharacterWiseCipher()
    {
        // A Latin-1 text that happens to start like the UTF-8 mark is no
        // UTF-8 and comes back unchanged.
        const QString text = QString::fromLatin1("\xEF\xBB\xBF\xE9t\xE9");
        QVERIFY(CanEncodeText(text));
        QCOMPARE(EncodeTextWithFirstByte(text, QStringLiteral("key"), 7).size(), 2 * (text.size() + 1));
        QCOMPARE(DecodeText(EncodeText(text, QStringLiteral("key")), QStringLiteral("key")), text);
    }
};

QTEST_MAIN(TestCipher)
#include "tst_cipher.moc"
