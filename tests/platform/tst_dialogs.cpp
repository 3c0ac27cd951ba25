// Message boxes answered by a script: the in-process handler, and the
// VELMORA_DIALOGS log with VELMORA_DIALOG_ANSWERS that started programs use.
#include "platform/dialogs.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QtTest>

using namespace velmora;
using platform::DialogButton;
using platform::DialogButtons;

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void logLineSurvivesAwkwardText_data();
    void logLineSurvivesAwkwardText();
    void scriptedAnswersAreTakenInOrder();
    void handlerTakesPrecedenceOverTheLog();
};

void TestDialogs::logLineSurvivesAwkwardText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addRow("plain") << "Confirm" << "To Continue?";
    QTest::addRow("line breaks") << "Error" << "first\r\nsecond\r\n\r\nthird";
    QTest::addRow("tabs and backslashes") << "Warning" << "C:\\Data\\new\tcolumn \\n not a break";
    QTest::addRow("empty text") << "Information" << "";
}

void TestDialogs::logLineSurvivesAwkwardText()
{
    QFETCH(QString, caption);
    QFETCH(QString, text);
    const QString line = platform::dialogLogLine(caption, text, DialogButton::No);
    QVERIFY(!line.contains(QLatin1Char('\n')));
    const auto parsed = platform::parseDialogLogLine(line);
    QVERIFY(parsed);
    QCOMPARE(parsed->caption, caption);
    QCOMPARE(parsed->text, text);
    QCOMPARE(parsed->answer, QStringLiteral("no"));
}

void TestDialogs::scriptedAnswersAreTakenInOrder()
{
    test::Sandbox sandbox;
    // "retry" does not fit a Yes/No box: the box's default answers instead.
    sandbox.setDialogAnswers(QStringLiteral("no, yes ,retry"));

    auto ask = [](DialogButtons buttons, DialogButton defaultButton) {
        platform::MessageBoxRequest request;
        request.caption = QStringLiteral("Confirm");
        request.text = QStringLiteral("Delete?");
        request.buttons = buttons;
        request.defaultButton = defaultButton;
        return platform::showMessageBox(request);
    };
    QCOMPARE(ask(DialogButtons::YesNo, DialogButton::Yes), DialogButton::No);
    QCOMPARE(ask(DialogButtons::YesNo, DialogButton::No), DialogButton::Yes);
    QCOMPARE(ask(DialogButtons::YesNo, DialogButton::No), DialogButton::No);
    // The answers are used up: the default button answers from now on.
    QCOMPARE(ask(DialogButtons::OkCancel, DialogButton::None), DialogButton::Ok);

    const auto logged = test::readDialogLog(sandbox.dialogsLogPath());
    QCOMPARE(logged.size(), 4);
    QStringList answers;
    for (const auto& box : logged) {
        QCOMPARE(box.caption, QStringLiteral("Confirm"));
        answers << box.answer;
    }
    QCOMPARE(answers, (QStringList{"no", "yes", "no", "ok"}));
}

void TestDialogs::handlerTakesPrecedenceOverTheLog()
{
    test::Sandbox sandbox;
    test::ScriptedDialogs dialogs;
    dialogs.queueAnswers({DialogButton::Retry});
    platform::MessageBoxRequest request;
    request.caption = QStringLiteral("Error");
    request.text = QStringLiteral("Busy");
    request.buttons = DialogButtons::RetryCancel;
    QCOMPARE(platform::showMessageBox(request), DialogButton::Retry);
    QCOMPARE(platform::showMessageBox(request), DialogButton::Retry); // default: the first button
    QCOMPARE(dialogs.shown().size(), 2);
    QVERIFY(test::readDialogLog(sandbox.dialogsLogPath()).isEmpty());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
