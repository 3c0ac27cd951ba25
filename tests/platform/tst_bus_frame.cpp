// Cutting a byte stream back into window-bus frames, however it arrives.

#include "platform/bus_frame.h"

#include <QTest>

using velmora::platform::BusFrame;
using velmora::platform::BusFrameReader;

class TestBusFrame : public QObject {
    Q_OBJECT

private:
    static QList<BusFrame> sampleFrames()
    {
        BusFrame post;
        post.kind = BusFrame::Post;
        post.message = 2154;
        post.wParam = -1;
        post.lParam = Q_INT64_C(0x7fffffffffff);
        BusFrame copy;
        copy.kind = BusFrame::CopyData;
        copy.message = 74;
        copy.dataNumber = 999999 + 42;
        copy.data = QByteArray("9:30:0 Dentist\0", 15);
        BusFrame empty;
        empty.kind = BusFrame::CopyData;
        empty.message = 74;
        return {post, copy, empty};
    }

    static void compareFrames(const BusFrame& actual, const BusFrame& expected)
    {
        QCOMPARE(actual.kind, expected.kind);
        QCOMPARE(actual.message, expected.message);
        QCOMPARE(actual.wParam, expected.wParam);
        QCOMPARE(actual.lParam, expected.lParam);
        QCOMPARE(actual.dataNumber, expected.dataNumber);
        QCOMPARE(actual.data, expected.data);
    }

private slots:
    void framesSurviveAnySplit_data()
    {
        QTest::addColumn<int>("pieceSize");
        QTest::addRow("one byte at a time") << 1;
        QTest::addRow("pieces of 7 bytes") << 7;
        QTest::addRow("pieces across headers") << 40;
        QTest::addRow("all at once") << 100000;
    }

    void framesSurviveAnySplit()
    {
        QFETCH(int, pieceSize);
        const QList<BusFrame> frames = sampleFrames();
        QByteArray stream;
        for (const BusFrame& frame : frames)
            stream += frame.encode();

        BusFrameReader reader;
        QList<BusFrame> read;
        for (qsizetype at = 0; at < stream.size(); at += pieceSize) {
            reader.append(stream.mid(at, pieceSize));
            while (auto frame = reader.next())
                read.append(*frame);
        }
        QVERIFY(!reader.failed());
        QCOMPARE(read.size(), frames.size());
        for (int i = 0; i < frames.size(); ++i)
            compareFrames(read[i], frames[i]);
    }

    void garbageEndsTheStream_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray badKind = sampleFrames().first().encode();
        badKind[4] = 9;
        QByteArray hugeLength = sampleFrames().first().encode();
        hugeLength[33] = '\xff';
        hugeLength[34] = '\xff';
        hugeLength[35] = '\xff';
        hugeLength[36] = '\x7f';
        QTest::addRow("wrong magic") << QByteArray(64, 'x');
        QTest::addRow("unknown kind") << badKind;
        QTest::addRow("length beyond the limit") << hugeLength;
    }

    void garbageEndsTheStream()
    {
        QFETCH(QByteArray, bytes);
        BusFrameReader reader;
        reader.append(bytes);
        QVERIFY(!reader.next());
        QVERIFY(reader.failed());
        reader.append(sampleFrames().first().encode());
        QVERIFY(!reader.next());
    }
};

QTEST_MAIN(TestBusFrame)
#include "tst_bus_frame.moc"
