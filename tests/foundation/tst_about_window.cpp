// The About window reads the running program's own version data and hands
// its two links to the shell.
#include "foundation/about_window.h"
#include "foundation/version_info.h"
#include "platform/exception.h"
#include "tests/support/program_process.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QLabel>
#include <QtTest>

using namespace velmora;

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void buildText_data();
    void buildText();
    void showsTheProgramsVersion();
    void linksGoToTheShell();
    void versionErrorsReachTheCaller();
};

void TestAboutWindow::buildText_data()
{
    QTest::addColumn<int>("build");
    QTest::addColumn<QString>("text");
    QTest::addRow("1342") << 1342 << "1.342";
    QTest::addRow("below a thousand") << 5 << "0.5";
    QTest::addRow("thousands only") << 2000 << "2.0";
}

void TestAboutWindow::buildText()
{
    QFETCH(int, build);
    QFETCH(QString, text);
    QCOMPARE(AboutBuildText(build), text);
}

void TestAboutWindow::showsTheProgramsVersion()
{
    test::Sandbox sandbox; // no PRODUCT_NAME in the store: the product is "Velmora"
    const QString program = test::builtProgram(QStringLiteral("velmora_reg"));
    const TVerInfoRes version(program);
    TFrmAbout about(nullptr, program);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Velmora Center"));
    QCOMPARE(about.titleText(), QStringLiteral("Velmora Center(TM)"));
    QVERIFY2(about.versionText().startsWith(QStringLiteral("Version 3.0 (Build ") + AboutBuildText(version.buildNumber())
                                            + QStringLiteral(") Build At ")),
             qPrintable(about.versionText()));
    QCOMPARE(about.legalText(), version.VersionValue(QStringLiteral("LegalCopyright")));
    QVERIFY(about.findChildren<QLabel*>().size() >= 6);
}

void TestAboutWindow::linksGoToTheShell()
{
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    TFrmAbout about(nullptr, test::builtProgram(QStringLiteral("velmora_reg")));
    emit about.webLabel()->linkActivated(QStringLiteral("#"));
    emit about.supportLabel()->linkActivated(QStringLiteral("#"));
    QCOMPARE(sandbox.recordedShellOpens(), (QStringList{QStringLiteral("open\t") + QString::fromLatin1(kMakerWebAddress),
                                                  QStringLiteral("open\tmailto:support@quorvane.com")}));
    QVERIFY(dialogs.shown().isEmpty());
}

void TestAboutWindow::versionErrorsReachTheCaller()
{
    test::Sandbox sandbox;
    QVERIFY_THROWS_EXCEPTION(Exception, TFrmAbout(nullptr, sandbox.path() + QStringLiteral("/missing")));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
