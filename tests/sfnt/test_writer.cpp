// Files written for static instances and test fonts: directory, checksums, padding and names.
#include <QtTest>

#include "sfnt/names.h"
#include "sfnt/writer.h"

using namespace gw;

namespace {

quint32 At32(const QByteArray& file, qsizetype at)
{
    return qFromBigEndian<quint32>(file.constData() + at);
}

} // namespace

class TestWriter : public QObject {
    Q_OBJECT
private slots:
    void tablesAndChecksums_data()
    {
        QTest::addColumn<QStringList>("tags");  // each table's bytes: its tag repeated, 5 bytes per letter
        QTest::addColumn<quint32>("version");
        QTest::newRow("an odd-sized table is padded, its checksum counts the padding as zeros")
            << QStringList{"cmap"} << quint32(0x00010000);
        QTest::newRow("with a head the whole file sums to B1B0AFBA") << QStringList{"name", "head", "OS/2"}
                                                                    << quint32(0x00010000);
        QTest::newRow("CFF fonts keep their version") << QStringList{"CFF ", "head", "hmtx", "loca", "post"}
                                                      << quint32(0x4F54544F);
    }
    void tablesAndChecksums()
    {
        QFETCH(QStringList, tags);
        QFETCH(quint32, version);
        QMap<QByteArray, QByteArray> tables;
        for (const QString& tag : tags)
            tables.insert(tag.toLatin1(), tag.toLatin1().repeated(5).left(tag == "head" ? 54 : 17));
        const QByteArray file = SfntFile(tables, version);
        const int count = int(tags.size());
        QCOMPARE(At32(file, 0), version);
        QCOMPARE(qFromBigEndian<quint16>(file.constData() + 4), quint16(count));
        const quint16 searchRange = qFromBigEndian<quint16>(file.constData() + 6);
        QVERIFY(searchRange <= 16 * count && 16 * count < 2 * searchRange);  // the largest power of two, times 16
        QCOMPARE(quint16(16 * count - searchRange), qFromBigEndian<quint16>(file.constData() + 10));
        QCOMPARE(file.size() % 4, 0);
        int entry = 12;
        for (auto it = tables.constBegin(); it != tables.constEnd(); ++it, entry += 16) {
            QCOMPARE(file.mid(entry, 4), it.key());
            const quint32 offset = At32(file, entry + 8), length = At32(file, entry + 12);
            QCOMPARE(offset % 4, 0u);
            QCOMPARE(length, quint32(it.value().size()));
            QByteArray stored = file.mid(offset, length);
            if (it.key() == "head")
                stored.replace(8, 4, QByteArray(4, '\0'));
            else
                QCOMPARE(stored, it.value());
            QCOMPARE(At32(file, entry + 4), SfntChecksum(stored));
        }
        if (tables.contains("head"))
            QCOMPARE(SfntChecksum(file), 0xB1B0AFBAu);
        QCOMPARE(SfntChecksum(QByteArray("\0\0\0\1\2", 5)), 0x02000001u);
    }

    void namesReadBack()
    {
        const QString family = QString::fromUtf8("Mega Ω 字体");
        QMap<QByteArray, QByteArray> tables{{"head", QByteArray(54, '\0')}};
        tables.insert("name", WindowsNameTable({{1, family}, {2, "Bold"}, {4, family + " Bold"}}));
        FontNameInfo info;
        ReadNameTableBytes(SfntFile(tables), info);
        QCOMPARE(info.family, family);
        QCOMPARE(info.subfamily, QString("Bold"));
        QCOMPARE(info.fullName, family + " Bold");
    }
};

QTEST_MAIN(TestWriter)
#include "test_writer.moc"
