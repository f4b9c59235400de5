#include <QtTest>
#include <QDirIterator>
#include <memory>

#include "sfnt/codepage.h"
#include "core/helpers.h"
#include "fonts/fontresource.h"
#include "fonts/nametable.h"
#include "sfnt/fot.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// A name as the resource file keeps it: code page 1252, ended by a NUL.
QString Stored(const QString& text)
{
    return TrimAtNul(FromCp1252(ToCp1252(text)));
}

} // namespace

// Every TrueType and OpenType file installed here, wrapped in a resource file,
// reads back with its own names and path.
class TestFotRoundtrip : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;

private slots:
    void initTestCase() { env_ = std::make_unique<TestEnv>(); }
    void cleanupTestCase() { env_.reset(); }

    void installedFonts()
    {
        QDirIterator it(QStringLiteral("/usr/share/fonts"), QDir::Files, QDirIterator::Subdirectories);
        int wrapped = 0, n = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QString suffix = QFileInfo(path).suffix().toLower();
            if (suffix != "ttf" && suffix != "otf" && suffix != "ttc" && suffix != "otc")
                continue;
            FontNameInfo info;
            ReadNameTable(path, info);
            const QString fot = env_->root() + QStringLiteral("/%1.fot").arg(++n);
            const int written = WriteFotFile(fot, path);
            const QByteArray where = path.toLocal8Bit();
            if (Stored(info.fullName).isEmpty() || Stored(info.family).isEmpty()) {
                QVERIFY2(written == 0 && !QFile::exists(fot), where.constData());
                continue;
            }
            QVERIFY2(written == 1, where.constData());
            ++wrapped;

            QString face, style;
            QVERIFY2(ReadFontResource(fot, face, style).isEmpty(), where.constData());
            QCOMPARE(face, Stored(info.fullName).left(951));
            QCOMPARE(style, Stored(info.family));
            const QString target = GetFotTarget(fot);
            QVERIFY2(target.compare(path, Qt::CaseInsensitive) == 0, where.constData());
            QCOMPARE(target, LowerCasePath(path));
        }
        QVERIFY2(wrapped > 0, "no TrueType or OpenType file with names under /usr/share/fonts");
    }

    // A collection is wrapped as its first font, whatever its name ends with.
    void collections()
    {
        const QByteArray sans = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
        const QByteArray bold = ReadFile(SystemFile("LiberationSans-Bold.ttf"));
        QVERIFY(!sans.isEmpty() && !bold.isEmpty());
        for (const QString name : {"Pair.ttc", "Pair.OTC"}) {
            const QString path = env_->root() + "/" + name;
            QVERIFY(WriteFile(path, SfntBuilder::Collection({bold, sans})));
            FontNameInfo info;
            ReadNameTable(path, info);
            QCOMPARE(info.fullName, QStringLiteral("Liberation Sans Bold"));
            const QString fot = env_->root() + "/pair.fot";
            QCOMPARE(WriteFotFile(fot, path), 1);
            QString face, style;
            QVERIFY(ReadFontResource(fot, face, style).isEmpty());
            QCOMPARE(face, QStringLiteral("Liberation Sans Bold"));
            QCOMPARE(style, QStringLiteral("Liberation Sans"));
        }
    }
};

QTEST_GUILESS_MAIN(TestFotRoundtrip)
#include "test_fot_roundtrip.moc"
