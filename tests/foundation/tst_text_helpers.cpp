// Text joining, numbered problem lists, change tests, the digit-only key
// filter on a real edit box, and focus helpers on real widgets.

#include "foundation/text_helpers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <numeric>

using namespace velmora;

namespace {

// What a window does with DigitKeyFilter: drop the key press it turns into 0.
class DigitsOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            return DigitKeyFilter(static_cast<QKeyEvent*>(event)->key()) == 0;
        return QObject::eventFilter(watched, event);
    }
};

// A shown, active window with two edit boxes and a label.
struct Form {
    QWidget window;
    QLineEdit* first = new QLineEdit(&window);
    QLineEdit* second = new QLineEdit(&window);
    QLabel* label = new QLabel(QStringLiteral("Subject"), &window);

    Form()
    {
        auto layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
    }
};

} // namespace

class TestTextHelpers : public QObject {
    Q_OBJECT

private slots:
    void joins_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("withBlank");
        QTest::addColumn<QString>("reversed");

        QTest::addRow("both") << "John" << "Smith" << "John Smith" << "Smith John";
        QTest::addRow("first only") << "John" << "" << "John" << "John";
        QTest::addRow("second only") << "" << "Smith" << "Smith" << "Smith";
        QTest::addRow("neither") << "" << "" << "" << "";
        QTest::addRow("blanks count as text") << " " << "x" << "  x" << "x  ";
    }
    void joins()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, withBlank);
        QFETCH(QString, reversed);
        QCOMPARE(JoinWithBlank(first, second), withBlank);
        QCOMPARE(JoinReversed(first, second), reversed);
    }

    void appendNumberedLine_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("result");

        QTest::addRow("first problem") << "" << "No subject." << "No subject.";
        QTest::addRow("nothing to add") << "No subject." << "" << "No subject.";
        QTest::addRow("second problem numbers both") << "No subject." << "No start."
                                                      << "1. No subject.\r\n2. No start.";
        QTest::addRow("third problem") << "1. a\r\n2. b" << "c" << "1. a\r\n2. b\r\n3. c";
        QTest::addRow("fourth problem") << "1. a\r\n2. b\r\n3. c" << "d" << "1. a\r\n2. b\r\n3. c\r\n4. d";
    }
    void appendNumberedLine()
    {
        QFETCH(QString, list);
        QFETCH(QString, line);
        QFETCH(QString, result);
        QCOMPARE(AppendNumberedLine(list, line), result);
    }

    void countOccurrences_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");

        QTest::addRow("single letters") << "a" << "banana" << 3;
        QTest::addRow("overlapping hits") << "aa" << "aaa" << 2;
        QTest::addRow("overlapping words") << "ana" << "banana" << 2;
        QTest::addRow("line breaks") << "\r\n" << "a\r\nb\r\n" << 2;
        QTest::addRow("case counts") << "A" << "banana" << 0;
        QTest::addRow("empty part") << "" << "abc" << 0;
        QTest::addRow("empty text") << "x" << "" << 0;
    }
    void countOccurrences()
    {
        QFETCH(QString, part);
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(CountOccurrences(part, text), count);
    }

    void comparisons_data()
    {
        QTest::addColumn<bool>("differ");
        QTest::addColumn<bool>("expected");

        QTest::addRow("case ignored") << CompareString("Main Office", "MAIN office", false) << false;
        QTest::addRow("different texts") << CompareString("Main", "Branch", false) << true;
        QTest::addRow("blanks count untrimmed") << CompareString(" Main", "Main", false) << true;
        QTest::addRow("blanks ignored trimmed") << CompareString(" Main  ", "main", true) << false;
        QTest::addRow("empty texts") << CompareString("", "", false) << false;
        QTest::addRow("booleans equal") << CompareBooleans(true, true, false) << false;
        QTest::addRow("booleans differ") << CompareBooleans(true, false, true) << true;
        QTest::addRow("integers equal") << CompareIntegers(-5, -5, false) << false;
        QTest::addRow("integers differ") << CompareIntegers(5, 50, true) << true;
    }
    void comparisons()
    {
        QFETCH(bool, differ);
        QFETCH(bool, expected);
        QCOMPARE(differ, expected);
    }

    void integerOrZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        QTest::addRow("number") << "42" << 42;
        QTest::addRow("blanks around") << " 42 " << 42;
        QTest::addRow("negative") << "-7" << -7;
        QTest::addRow("plus sign") << "+3" << 3;
        QTest::addRow("trailing letters") << "4x" << 0;
        QTest::addRow("decimal") << "1.5" << 0;
        QTest::addRow("empty") << "" << 0;
        QTest::addRow("beyond int") << "99999999999" << 0;
    }
    void integerOrZero()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(IntegerOrZero(text), value);
    }

    void digitKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");

        QTest::addRow("0") << int(Qt::Key_0) << int(Qt::Key_0);
        QTest::addRow("9") << int(Qt::Key_9) << int(Qt::Key_9);
        QTest::addRow("backspace") << int(Qt::Key_Backspace) << int(Qt::Key_Backspace);
        QTest::addRow("delete still edits") << int(Qt::Key_Delete) << int(Qt::Key_Delete);
        QTest::addRow("arrow still moves") << int(Qt::Key_Left) << int(Qt::Key_Left);
        QTest::addRow("letter") << int(Qt::Key_A) << 0;
        QTest::addRow("blank") << int(Qt::Key_Space) << 0;
        QTest::addRow("minus") << int(Qt::Key_Minus) << 0;
        QTest::addRow("period") << int(Qt::Key_Period) << 0;
    }
    void digitKeyFilter()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        QCOMPARE(DigitKeyFilter(key), result);
    }

    void digitOnlyEditBox()
    {
        QLineEdit edit;
        DigitsOnly filter;
        edit.installEventFilter(&filter);
        QTest::keyClicks(&edit, QStringLiteral("1a2 -3.x4"));
        QCOMPARE(edit.text(), QStringLiteral("1234"));
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("124"));
    }

    void focus()
    {
        Form form;
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        form.first->setFocus();
        QVERIFY(form.first->hasFocus());

        QVERIFY(!IsControlFocused(nullptr));
        QVERIFY(IsControlFocused(form.first));
        QVERIFY(!IsControlFocused(form.second));
        QVERIFY(IsControlFocused(form.label)); // can never hold the focus

        ClearActiveControl(&form.window);
        QCOMPARE(form.window.focusWidget(), nullptr);
        QVERIFY(!IsControlFocused(form.first));
        ClearActiveControl(&form.window); // nothing focused: no harm
        ClearActiveControl(nullptr);
    }

    void compareListNumbers()
    {
        const QStringList list{QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("x"),
                               QStringLiteral("-3")};
        QVERIFY(CompareListNumbers(list, 0, 1) > 0);
        QVERIFY(CompareListNumbers(list, 1, 0) < 0);
        QCOMPARE(CompareListNumbers(list, 1, 1), 0);
        QVERIFY(CompareListNumbers(list, 2, 3) > 0); // not a number counts as 0
        QVERIFY(CompareListNumbers(list, 3, 9) < 0); // nor does a missing entry

        // Ordering the keys of selected rows: by value, not by text.
        const QStringList keys{QStringLiteral("100"), QStringLiteral("9"), QStringLiteral("10"),
                               QStringLiteral("2")};
        QList<int> order(keys.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&keys](int i, int j) { return CompareListNumbers(keys, i, j) < 0; });
        QCOMPARE(order, (QList<int>{3, 1, 2, 0}));
    }
};

QTEST_MAIN(TestTextHelpers)
#include "tst_text_helpers.moc"
