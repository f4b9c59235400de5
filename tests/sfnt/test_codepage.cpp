#include <QtTest>

#include "sfnt/codepage.h"

using namespace gw;

class TestCodepage : public QObject {
    Q_OBJECT
private slots:
    void characterOfCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("unicode");
        QTest::newRow("euro") << 128 << 0x20AC;
        QTest::newRow("Y diaeresis") << 159 << 0x0178;
        QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
        QTest::newRow("y diaeresis") << 255 << 0x00FF;
        // No code: written as "?".
        QTest::newRow("C1 0x80 (the euro's place)") << -1 << 0x0080;
        QTest::newRow("Cyrillic Zhe") << -1 << 0x0416;
        QTest::newRow("high surrogate") << -1 << 0xD83D;
    }
    void characterOfCode()
    {
        QFETCH(int, code);
        QFETCH(int, unicode);
        QCOMPARE(Cp1252Code(QChar(char16_t(unicode))), code);
        if (code < 0) {
            QCOMPARE(ToCp1252(QString(QChar(char16_t(unicode)))), QByteArray("?"));
            return;
        }
        QCOMPARE(int(Cp1252Char(code).unicode()), unicode);
        const char byte = char(code);
        QCOMPARE(FromCp1252(&byte, 1), QString(QChar(char16_t(unicode))));
    }

    void everyCodeRoundTrips()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i) {
            all.append(char(i));
            QCOMPARE(Cp1252Code(Cp1252Char(i)), i);
        }
        QCOMPARE(ToCp1252(FromCp1252(all)), all);
    }
};

QTEST_MAIN(TestCodepage)
#include "test_codepage.moc"
