// The suite's message boxes and error reports: captions and icons by type,
// the report text, what is logged, and errors escaping an event handler.
#include "foundation/message_boxes.h"
#include "foundation/velmora_application.h"
#include "platform/exception.h"
#include "tests/support/debug_capture.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted_dialogs.h"

#include <QTimer>
#include <QWidget>
#include <QtTest>

using namespace velmora;
using platform::DialogIcon;

namespace {

// A window whose timer handler fails, the way a faulty handler would.
class FailingForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        killTimer(event->timerId());
        throw Exception(QStringLiteral("List index out of bounds (3)"), 17);
    }
};

} // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT
private slots:
    void captionAndIconByType_data();
    void captionAndIconByType();
    void exceptionReportText_data();
    void exceptionReportText();
    void unhandledErrorIsReportedAndTheProgramGoesOn();
};

void TestMessageBoxes::captionAndIconByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<DialogIcon>("icon");
    QTest::addRow("1") << 1 << "Exclamation" << DialogIcon::Warning;
    QTest::addRow("2") << 2 << "Warning" << DialogIcon::Warning;
    QTest::addRow("3") << 3 << "Information" << DialogIcon::Information;
    QTest::addRow("4") << 4 << "Question" << DialogIcon::Question;
    QTest::addRow("5") << 5 << "Stop" << DialogIcon::Error;
    QTest::addRow("6") << 6 << "Error" << DialogIcon::Error;
    QTest::addRow("7") << 7 << "Stop Now" << DialogIcon::Error;
    QTest::addRow("0 is information") << 0 << "Information" << DialogIcon::Information;
    QTest::addRow("8 is information") << 8 << "Information" << DialogIcon::Information;
}

void TestMessageBoxes::captionAndIconByType()
{
    QFETCH(int, type);
    QFETCH(QString, caption);
    QFETCH(DialogIcon, icon);
    test::ScriptedDialogs dialogs;
    ShowMessageBox(type, QStringLiteral("Saved."));
    QCOMPARE(dialogs.shown().size(), 1);
    const auto& box = dialogs.shown().first();
    QCOMPARE(box.caption, caption);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.text, QStringLiteral("Saved."));
    QCOMPARE(platform::buttonsOf(box.buttons), QList{platform::DialogButton::Ok});
    QVERIFY(box.topmost);
}

void TestMessageBoxes::exceptionReportText_data()
{
    QTest::addColumn<QString>("advice");
    QTest::addColumn<bool>("show");
    QTest::addColumn<QString>("expected");
    QTest::addRow("no advice, shown") << "" << true
                                      << "Fail to resync from database. \r\nReason: disk I/O error";
    QTest::addRow("advice, not shown")
        << "Close the other program." << false
        << "Fail to resync from database. \r\nReason: disk I/O error\r\n\r\nClose the other program.\r\n\r\n"
           "Please take corrective actions and try again! ";
}

void TestMessageBoxes::exceptionReportText()
{
    QFETCH(QString, advice);
    QFETCH(bool, show);
    QFETCH(QString, expected);
    test::Sandbox sandbox;
    test::DebugCapture log;
    test::ScriptedDialogs dialogs;

    const QString text = CommShowException(Exception(QStringLiteral("disk I/O error")),
                                           QStringLiteral("Fail to resync from database. "), advice, show);
    QCOMPARE(text, expected);
    QCOMPARE(log.messages(), QStringList{QStringLiteral("CommShowException: ") + expected});
    QCOMPARE(dialogs.shown().size(), show ? 1 : 0);
    if (show) {
        QCOMPARE(dialogs.shown().first().caption, QStringLiteral("Warning"));
        QCOMPARE(dialogs.shown().first().icon, DialogIcon::Warning);
        QVERIFY(dialogs.shown().first().topmost);
        QCOMPARE(dialogs.shown().first().text, expected);
    }
}

void TestMessageBoxes::unhandledErrorIsReportedAndTheProgramGoesOn()
{
    test::Sandbox sandbox;
    test::DebugCapture log;
    test::ScriptedDialogs dialogs;

    FailingForm form;
    form.startTimer(0);
    QTRY_COMPARE(dialogs.shown().size(), 1);
    QCOMPARE(dialogs.shown().first().caption, QStringLiteral("Warning"));
    QCOMPARE(dialogs.shown().first().text, QStringLiteral("System Error\r\nReason: List index out of bounds (3)"));

    const int report = log.channels().indexOf(QStringLiteral("EXCEPTION"));
    QVERIFY(report >= 0);
    const QStringList lines = log.messages().at(report).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(0), QStringLiteral("FailingForm raises this exception!"));
    QVERIFY(lines.value(1).endsWith(QStringLiteral(": ==== E X C E P T I O N====")));
    QCOMPARE(lines.value(2), QStringLiteral("List index out of bounds (3)"));
    QCOMPARE(lines.value(3), QStringLiteral("17"));
    QCOMPARE(lines.value(4), QStringLiteral("ClassParent List: FailingForm, QWidget, QObject, "));

    // Still alive: events keep flowing after the report.
    bool later = false;
    QTimer::singleShot(0, [&later] { later = true; });
    QTRY_VERIFY(later);
}

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    TestMessageBoxes test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_message_boxes.moc"
