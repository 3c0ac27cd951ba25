// Help topics open in the desktop's browser; a missing help gets the box that
// says where it was looked for.
#include "foundation/help.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QDir>
#include <QtTest>

using namespace velmora;

namespace {

void installHelp(const test::Sandbox& sandbox)
{
    const QString root = sandbox.installRoot() + QStringLiteral("Help/Velmora");
    QDir().mkpath(root + QStringLiteral("/HTML/Velmora Agent"));
    for (const QString& page : {root + QStringLiteral("/index.htm"),
                                root + QStringLiteral("/HTML/Velmora Agent/Contacts.htm")}) {
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html></html>");
    }
    QFile context(root + QStringLiteral("/context.txt"));
    QVERIFY(context.open(QIODevice::WriteOnly));
    context.write("# comment\n12=First line\\nsecond line\n120=Other\n");
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void topicsLiveBelowTheInstallRoot();
    void opensTheTopicOrTheFirstPage_data();
    void opensTheTopicOrTheFirstPage();
    void missingHelpShowsTheBox();
    void contextTexts();
};

void TestHelp::topicsLiveBelowTheInstallRoot()
{
    test::Sandbox sandbox;
    QCOMPARE(HelpFilePath(), sandbox.installRoot() + QStringLiteral("Help/Velmora"));
    QCOMPARE(HelpTopicPath(QStringLiteral("Velmora Agent\\Contacts.htm")),
             sandbox.installRoot() + QStringLiteral("Help/Velmora/HTML/Velmora Agent/Contacts.htm"));
}

void TestHelp::opensTheTopicOrTheFirstPage_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("opened");
    QTest::addRow("existing topic") << "Velmora Agent\\Contacts.htm" << "HTML/Velmora Agent/Contacts.htm";
    QTest::addRow("missing topic") << "Velmora Agent\\NoSuchPage.htm" << "index.htm";
}

void TestHelp::opensTheTopicOrTheFirstPage()
{
    QFETCH(QString, topic);
    QFETCH(QString, opened);
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    installHelp(sandbox);
    ShowHelpFile(topic);
    QVERIFY(dialogs.shown().isEmpty());
    QCOMPARE(sandbox.recordedShellOpens(),
             QStringList{QStringLiteral("open\t") + sandbox.installRoot() + QStringLiteral("Help/Velmora/") + opened});
}

void TestHelp::missingHelpShowsTheBox()
{
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    ShowHelpFile(QStringLiteral("Velmora Agent\\Introduction.htm"));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    const QString path = HelpFilePath();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.icon, platform::DialogIcon::Error);
    QCOMPARE(box.text, QStringLiteral("Can not find the help file: ") + path
                           + "\r\n\r\nTo success opening this help document: \r\n1, please make sure that " + path
                           + "\r\n   is not corrupted or deleted, or \r\n2, you have installed this application or "
                             "component properly.\r\n\r\nPlease take corrective actions and try again.");
    QVERIFY(sandbox.recordedShellOpens().isEmpty());
}

void TestHelp::contextTexts()
{
    test::Sandbox sandbox;
    installHelp(sandbox);
    QCOMPARE(ContextHelpText(12), QStringLiteral("First line\nsecond line"));
    QCOMPARE(ContextHelpText(120), QStringLiteral("Other"));
    QCOMPARE(ContextHelpText(1), QString()); // "1" must not match "12=" or "120="
    QCOMPARE(ContextHelpText(7), QString());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
