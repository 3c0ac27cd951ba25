// The version data each program carries, read back from the program file, and
// the reasons given when a file has none or a damaged one.
#include "foundation/version_info.h"
#include "platform/exception.h"
#include "tests/support/program_process.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace velmora;

namespace {

// A copy of a built program with its version data changed by patch.
QString patchedCopy(const QTemporaryDir& dir, const std::function<void(QByteArray&, qsizetype)>& patch)
{
    QFile source(test::builtProgram(QStringLiteral("velmora_reg")));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QByteArray image = source.readAll();
    const qsizetype at = image.indexOf("VVERINFO");
    if (at < 0)
        return {};
    patch(image, at);
    const QString path = dir.filePath(QStringLiteral("patched"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(image);
    return path;
}

void setWord(QByteArray& image, qsizetype offset, quint32 value)
{
    memcpy(image.data() + offset, &value, sizeof value);
}

} // namespace

class TestVersionInfo : public QObject {
    Q_OBJECT
private slots:
    void readsTheProgramsOwnData();
    void reasonsForMissingOrDamagedData_data();
    void reasonsForMissingOrDamagedData();
};

void TestVersionInfo::readsTheProgramsOwnData()
{
    const TVerInfoRes version(test::builtProgram(QStringLiteral("velmora_reg")));
    QCOMPARE(version.FileVersionText(), QStringLiteral("3.0"));
    QVERIFY(version.buildNumber() >= 0);
    QCOMPARE(version.BuildNumberText(), QString::number(version.buildNumber()));
    QCOMPARE(version.VersionValue(QStringLiteral("OriginalFilename")), QStringLiteral("velmora_reg"));
    QCOMPARE(version.VersionValue(QStringLiteral("ProductName")), QStringLiteral("Velmora"));
    QVERIFY(version.VersionValue(QStringLiteral("LegalCopyright")).startsWith(QStringLiteral("Copyright")));
    QCOMPARE(version.VersionValue(QStringLiteral("NoSuchValue")), QString());
    QCOMPARE(version.stringTablePath(), QStringLiteral("\\StringFileInfo\\040904E4\\"));
    QVERIFY(version.flagTexts().isEmpty());
}

void TestVersionInfo::reasonsForMissingOrDamagedData_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::addRow("missing file") << "missing" << "Cannot obtain version info.";
    QTest::addRow("not a program") << "text" << "No Version Info Available.";
    QTest::addRow("fixed part too short") << "short-fixed" << "No fixed file info";
    QTest::addRow("fixed part without signature") << "bad-signature" << "No fixed file info";
    QTest::addRow("no translation") << "no-translation" << "No language info.";
}

void TestVersionInfo::reasonsForMissingOrDamagedData()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("missing"));
    if (kind == QLatin1String("text")) {
        path = dir.filePath(QStringLiteral("notes.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some text\n");
    } else if (kind == QLatin1String("short-fixed")) {
        path = patchedCopy(dir, [](QByteArray& image, qsizetype at) { setWord(image, at + 8, 40); });
    } else if (kind == QLatin1String("bad-signature")) {
        path = patchedCopy(dir, [](QByteArray& image, qsizetype at) { setWord(image, at + 12, 0); });
    } else if (kind == QLatin1String("no-translation")) {
        path = patchedCopy(dir, [](QByteArray& image, qsizetype at) { setWord(image, at + 12 + 52, 0); });
    }
    QVERIFY(!path.isEmpty());
    try {
        TVerInfoRes version(path);
        QFAIL("no error raised");
    } catch (const Exception& error) {
        QCOMPARE(error.message(), reason);
    }
}

QTEST_MAIN(TestVersionInfo)
#include "tst_version_info.moc"
