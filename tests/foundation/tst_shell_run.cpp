// Handing files, links and programs to the shell, and the error box that
// explains a failure.
#include "foundation/shell_run.h"
#include "platform/shell_launcher.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QDir>
#include <QtTest>

using namespace velmora;

class TestShellRun : public QObject {
    Q_OBJECT
private slots:
    void failuresExplainThemselves_data();
    void failuresExplainThemselves();
    void documentsAndLinksGoToTheDesktop_data();
    void documentsAndLinksGoToTheDesktop();
    void programsStartInTheirFolderWithTheirParameters();
    void everyResultCodeHasItsText();
};

void TestShellRun::failuresExplainThemselves_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::addRow("missing file") << "missing.wav" << "The specified file was not found.";
    QTest::addRow("missing folder") << "no/such/folder/run.sh" << "The specified path was not found.";
    QTest::addRow("empty name") << "" << "The specified file was not found.";
}

void TestShellRun::failuresExplainThemselves()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    QVERIFY(!ShellRun(nullptr, QStringLiteral("open"), file, 1, sandbox.path()));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QVERIFY(box.topmost);
    QCOMPARE(box.text,
             reason + "\r\n\r\n\r\nTo success executing this application: \r\n1, please make sure that " + file
                 + "\r\n   is not corrupted or deleted, or \r\n2, you have installed this application or component "
                   "properly, or \r\n3, the file has been associated with the right application, or \r\n4, your "
                   "computer is not locked.\r\n\r\nPlease take corrective actions and try again.");
    QVERIFY(sandbox.recordedShellOpens().isEmpty());
}

void TestShellRun::documentsAndLinksGoToTheDesktop_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("opened"); // "<doc>" stands for the document's full path
    QTest::addRow("document") << "open" << "<doc>" << "<doc>";
    QTest::addRow("web page") << "Open" << "https://www.quorvane.com/velmora" << "https://www.quorvane.com/velmora";
    QTest::addRow("support mail") << "" << "MailTo: support@quorvane.com" << "mailto:support@quorvane.com";
    QTest::addRow("file link") << "" << "file://<doc>" << "<doc>";
}

void TestShellRun::documentsAndLinksGoToTheDesktop()
{
    QFETCH(QString, verb);
    QFETCH(QString, file);
    QFETCH(QString, opened);
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    const QString document = sandbox.path() + QStringLiteral("/notes.txt");
    QFile doc(document);
    QVERIFY(doc.open(QIODevice::WriteOnly));
    doc.close();

    QVERIFY(ShellRun(nullptr, verb, file.replace(QStringLiteral("<doc>"), document)));
    QVERIFY(dialogs.shown().isEmpty());
    QCOMPARE(sandbox.recordedShellOpens(), QStringList{QStringLiteral("open\t") + opened.replace("<doc>", document)});
}

void TestShellRun::programsStartInTheirFolderWithTheirParameters()
{
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    const QString written = sandbox.path() + QStringLiteral("/args.txt");
    QVERIFY(ShellRun(nullptr, QStringLiteral("open"), test::builtProgram(QStringLiteral("velmora_test_helper")), 1,
                     sandbox.installRoot(), QStringLiteral("write-args \"%1\" first \"second word\"").arg(written)));
    QVERIFY(dialogs.shown().isEmpty());
    auto contents = [&written] {
        QFile file(written);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QTRY_VERIFY(contents().count(QLatin1Char('\n')) == 2);
    const QStringList lines = contents().split(QLatin1Char('\n'));
    QCOMPARE(QDir(lines.value(0)).canonicalPath(), QDir(sandbox.installRoot()).canonicalPath());
    QCOMPARE(lines.mid(1), (QStringList{"first", "second word"}));
    QVERIFY(sandbox.recordedShellOpens().isEmpty()); // a program is started, not handed to the desktop
}

void TestShellRun::everyResultCodeHasItsText()
{
    for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32})
        QVERIFY2(!ShellErrorText(code).isEmpty(), qPrintable(QString::number(code)));
    for (int code : {1, 4, 33, platform::kShellSuccess})
        QVERIFY(ShellErrorText(code).isEmpty());
}

QTEST_MAIN(TestShellRun)
#include "tst_shell_run.moc"
