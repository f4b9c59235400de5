// A static copy of a variable font's instance is a TrueType file whose tables agree with its glyphs.
#include <QtTest>
#include <QtEndian>

#include "fonts/staticinstance.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

class TestStaticInstance : public QObject {
    Q_OBJECT
private slots:
    void tablesAgreeWithGlyphs_data()
    {
        QTest::addColumn<int>("face");
        QTest::newRow("the stored default") << 0;
        QTest::newRow("Thin") << InstanceFace(0, 0);
        QTest::newRow("Bold Condensed") << InstanceFace(0, 1);
    }
    // Every glyph starts on 4 bytes where the previous ends, the header's box is the union of the
    // glyphs' boxes, and the profile claims no composites and no instructions, whatever the source did.
    void tablesAgreeWithGlyphs()
    {
        QFETCH(int, face);
        TestEnv env;
        QByteArray font = SfntBuilder::VariableFont("GW Var", 0);
        const quint32 maxpIn = qFromBigEndian<quint32>(font.constData() + font.indexOf("maxp") + 8);
        for (int at = 10; at < 32; ++at)
            font[maxpIn + at] = char(at == 14 ? 0 : 1);
        const QString file = env.root() + "/var.ttf", copy = env.root() + "/copy.ttf";
        QVERIFY(WriteFile(file, font));
        QCOMPARE(WriteStaticInstance(file, face, copy), QString());
        const QByteArray glyf = FileTable(copy, "glyf"), loca = FileTable(copy, "loca"), head = FileTable(copy, "head");
        const QByteArray maxp = FileTable(copy, "maxp");
        const auto u16 = [](const QByteArray& b, int at) { return int(qFromBigEndian<qint16>(b.constData() + at)); };
        const auto u32 = [](const QByteArray& b, int at) { return qint64(qFromBigEndian<quint32>(b.constData() + at)); };
        QRect box;
        for (int g = 0, count = u16(maxp, 4); g <= count; ++g) {
            const qint64 at = u32(loca, 4 * g), end = g < count ? u32(loca, 4 * g + 4) : glyf.size();
            QVERIFY2(at % 4 == 0 && end >= at && end <= glyf.size(), qPrintable(QString::number(g)));
            if (end > at)
                box |= QRect(QPoint(u16(glyf, at + 2), u16(glyf, at + 4)), QPoint(u16(glyf, at + 6), u16(glyf, at + 8)));
        }
        QCOMPARE(QRect(QPoint(u16(head, 36), u16(head, 38)), QPoint(u16(head, 40), u16(head, 42))), box);
        for (int at = 10; at < 32; at += 2)
            QCOMPARE(u16(maxp, at), at == 14 ? 2 : 0);
    }
};

QTEST_MAIN(TestStaticInstance)
#include "test_staticinstance.moc"
