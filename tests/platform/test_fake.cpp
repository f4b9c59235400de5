// The logical font name field and the registry key rules the desktop store shares with the fake.
#include <QtTest>

#include "platform/fake.h"
#include "testenv.h"

using namespace gw;

class TestFake : public QObject {
    Q_OBJECT
private slots:
    void setLogFontName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short, padded") << "Ab" << 5 << QByteArray("Ab\0\0\0", 5);
        QTest::newRow("cut to size - 1") << "Abcdef" << 4 << QByteArray("Abc\0", 4);
        QTest::newRow("code page 1252") << QString::fromUtf8("€é") << 4 << QByteArray("\x80\xe9\0\0", 4);
    }
    void setLogFontName()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(QByteArray, expected);
        QByteArray field(size + 2, 'x');
        SetLogFontName(field.data(), size, text);
        QCOMPARE(field.left(size), expected);
        QCOMPARE(field.mid(size), QByteArray("xx")); // nothing written past the field
    }

};

QTEST_MAIN(TestFake)
#include "test_fake.moc"
