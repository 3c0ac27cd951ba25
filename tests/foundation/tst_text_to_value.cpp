// Settings texts to integers and booleans: what is accepted and what raises.

#include "foundation/text_to_value.h"
#include "platform/exception.h"

#include <QTest>

class TestTextToValue : public QObject {
    Q_OBJECT

private slots:
    void integers_data();
    void integers();
    void booleans_data();
    void booleans();
};

void TestTextToValue::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::addRow("plain") << "12" << true << 12;
    QTest::addRow("blanks around") << "  12 " << true << 12;
    QTest::addRow("negative") << "-5" << true << -5;
    QTest::addRow("plus sign") << "+5" << true << 5;
    QTest::addRow("dollar hex") << "$1F" << true << 31;
    QTest::addRow("0x hex") << "0x1f" << true << 31;
    QTest::addRow("largest") << "2147483647" << true << 2147483647;
    QTest::addRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::addRow("beyond 32 bits") << "2147483648" << false << 0;
    QTest::addRow("empty") << "" << false << 0;
    QTest::addRow("fraction") << "1.5" << false << 0;
    QTest::addRow("exponent") << "1e3" << false << 0;
    QTest::addRow("trailing letter") << "12a" << false << 0;
    QTest::addRow("sign alone") << "-" << false << 0;
    QTest::addRow("blank inside") << "- 5" << false << 0;
    QTest::addRow("non-ASCII digit") << QStringLiteral("\u0663") << false << 0;
}

void TestTextToValue::integers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid)
        QCOMPARE(velmora::textToInteger(text), value);
    else
        QVERIFY_THROWS_EXCEPTION(velmora::Exception, velmora::textToInteger(text));
}

void TestTextToValue::booleans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("value");

    QTest::addRow("True") << "True" << true << true;
    QTest::addRow("TRUE") << "TRUE" << true << true;
    QTest::addRow("false") << "false" << true << false;
    QTest::addRow("-1") << "-1" << true << true;
    QTest::addRow("0") << "0" << true << false;
    QTest::addRow("1") << "1" << true << true;
    QTest::addRow("any other integer") << "42" << true << true;
    QTest::addRow("empty") << "" << false << false;
    QTest::addRow("yes") << "yes" << false << false;
    QTest::addRow("T") << "T" << false << false;
}

void TestTextToValue::booleans()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(bool, value);
    if (valid)
        QCOMPARE(velmora::textToBool(text), value);
    else
        QVERIFY_THROWS_EXCEPTION(velmora::Exception, velmora::textToBool(text));
}

QTEST_MAIN(TestTextToValue)
#include "tst_text_to_value.moc"
