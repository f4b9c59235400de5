#include <QtTest>
#include <memory>

#include "core/globals.h"
#include "fonts/fontresource.h"
#include "sfnt/fot.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

const QByteArray kMarker("Windows! Windows! Windows!");

// A resource file laid out by hand: the FONTRES part in the header, the path at 1024, then the resource area.
QByteArray Handmade(const QByteArray& header, const QByteArray& path, const QByteArray& resources)
{
    QByteArray f = QByteArray("MZ") + QByteArray(30, '\0') + header;
    f.append(QByteArray(1024 - f.size(), '\0'));
    return f + path + resources;
}

QByteArray Nul(const char* text) { return QByteArray(text) + '\0'; }

} // namespace

class TestFontResource : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env_;
    int files_ = 0;

    QString Put(const QByteArray& bytes, const QString& extension = "fot")
    {
        const QString path = env_->root() + QStringLiteral("/r%1.").arg(++files_) + extension;
        if (!WriteFile(path, bytes))
            qFatal("cannot write a test file");
        return path;
    }

private slots:
    void initTestCase()
    {
        env_ = std::make_unique<TestEnv>();
        SystemFontDir = QStringLiteral("/gw-test-system/fonts/");
    }
    void cleanupTestCase() { env_.reset(); }

    void readFontResource_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("style");

        const QString old = QStringLiteral("old");
        QTest::newRow("TrueType file") << SfntBuilder::Simple("Fam", "Fam Bold") << "unknown" << old << old;
        QTest::newRow("empty file") << QByteArray() << "unknown" << old << old;
        QTest::newRow("no FONTRES") << Handmade("FONT:Face", Nul("/a.ttf"), kMarker + Nul("") + Nul("Fam") + Nul("Face"))
                                    << "unknown" << old << old;
        QTest::newRow("code page characters")
            << BuildFotFile("/f/a.ttf", QStringLiteral("Caf\u00e9 \u20ac Bold"), QStringLiteral("Caf\u00e9 \u20ac"))
            << "" << QStringLiteral("Caf\u00e9 \u20ac Bold") << QStringLiteral("Caf\u00e9 \u20ac");
        QTest::newRow("the path holds the face name")
            << BuildFotFile("/f/Face/Face.ttf", "Face", "Family") << "" << "Face" << "Family";
        QTest::newRow("face once after the marker")
            << Handmade(Nul("FONTRES:Face"), Nul("/a.ttf"), kMarker + Nul("") + Nul("Style") + Nul("Face"))
            << "" << "Face" << "Style";
        QTest::newRow("face twice after the marker")
            << Handmade(Nul("FONTRES:Face"), Nul("/a.ttf"), kMarker + Nul("") + Nul("Face Family") + Nul("Face") + Nul("x"))
            << "" << "Face" << "Face Family";
        QTest::newRow("empty face name")
            << Handmade(Nul("FONTRES:"), Nul("/a.ttf"), kMarker + Nul("") + Nul("Fam") + Nul("Full"))
            << "unknown" << "" << "";
        QTest::newRow("no marker") << Handmade(Nul("FONTRES:Face"), Nul("/a.ttf"), Nul("Fam") + Nul("Face"))
                                   << "unknown" << "Face" << "";
        QTest::newRow("face not after the marker")
            << Handmade(Nul("FONTRES:Face"), Nul("/Face.ttf"), kMarker + Nul("") + Nul("Fam") + Nul("Full"))
            << "unknown" << "Face" << "";
    }
    void readFontResource()
    {
        QFETCH(QByteArray, file);
        QString gotFace = "old", gotStyle = "old";
        QTEST(ReadFontResource(Put(file), gotFace, gotStyle), "result");
        QTEST(gotFace, "face");
        QTEST(gotStyle, "style");
    }

    void getFotTarget_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("target");

        QTest::newRow("empty file") << QByteArray() << "unknown";
        QTest::newRow("lower-cased") << BuildFotFile("/GW-Test/Fonts/A.TTF", "A", "A") << "/gw-test/fonts/a.ttf";
        QTest::newRow("bare name in the system folder")
            << Handmade(Nul("FONTRES:A"), Nul("Arial.TTF"), "") << "/gw-test-system/fonts/arial.ttf";
        QTest::newRow("relative path kept") << Handmade(Nul("FONTRES:A"), Nul("sub/a.ttf"), "") << "sub/a.ttf";
        QTest::newRow("no NUL after the path") << Handmade(Nul("FONTRES:A"), "/x/b.ttf", "") << "/x/b.ttf";
        QTest::newRow("NUL at 1024") << Handmade(Nul("FONTRES:A"), Nul(""), "/x/b.ttf") << "unknown";
        QTest::newRow("exactly 1024 bytes") << Handmade(Nul("FONTRES:A"), "", "") << "unknown";
        QTest::newRow("not MZ") << QByteArray("ZM") + BuildFotFile("/x/a.ttf", "A", "A").mid(2) << "unknown";
        const QByteArray fot = BuildFotFile("/x/a.ttf", "A", "A");
        QTest::newRow("16 MB at most") << fot.leftJustified(16 << 20, '\0') << "/x/a.ttf";
        QTest::newRow("a byte more: no resource") << fot.leftJustified((16 << 20) + 1, '\0') << "unknown";
    }
    void getFotTarget()
    {
        QFETCH(QByteArray, file);
        QTEST(GetFotTarget(Put(file)), "target");
    }

    // What the writer makes is read back; a font it cannot name gets no .fot file.
    void writer_data()
    {
        QTest::addColumn<QByteArray>("font"); // null: no font file
        QTest::addColumn<QString>("face");    // null: refused
        QTest::addColumn<QString>("style");
        using B = SfntBuilder;
        QString longName;
        for (int i = 0; longName.size() < 2000; ++i)
            longName += QString::number(i) + ' ';
        QTest::newRow("bold") << B::Simple("Fam", "Fam Bold", "Bold") << "Fam Bold" << "Fam";
        QTest::newRow("outside the code page")
            << B::Simple(QStringLiteral("A\u0101"), QStringLiteral("A\u0101 Bold")) << "A? Bold" << "A?";
        QTest::newRow("names cut at NUL") << B::Make([](B& b) {
            b.AddName(1, QString("Fam") + QChar(0) + "junk").AddName(4, QString("Full") + QChar(0) + "junk");
        }) << "Full" << "Fam";
        QTest::newRow("very long full name")
            << B::Make([&](B& b) { b.AddName(1, "Fam").AddName(4, longName); }) << longName.left(951) << "Fam";
        QTest::newRow("no full name: the family")
            << B::Make([](B& b) { b.AddName(1, "Fam").AddName(2, "Regular"); }) << "Fam" << "Fam";
        QTest::newRow("no full name: family and style")
            << B::Make([](B& b) { b.AddName(1, "Fam").AddName(2, "Bold"); }) << "Fam Bold" << "Fam";
        // A collection is wrapped as its first font.
        QTest::newRow("collection") << B::Collection({B::Simple("First", "First Bold"), B::Simple("Second", "S")})
                                    << "First Bold" << "First";
        QTest::newRow("missing font file") << QByteArray() << QString() << QString();
        QTest::newRow("not a font") << QByteArray("plain text") << QString() << QString();
        QTest::newRow("no family") << B::Make([](B& b) { b.AddName(4, "Full Only"); }) << QString() << QString();
        QTest::newRow("Macintosh names only")
            << B::Make([](B& b) { b.AddName(1, "Fam", 1, 0).AddName(4, "Fam B", 1, 0); }) << QString() << QString();
        QTest::newRow("full name starting with NUL")
            << B::Make([](B& b) { b.AddName(1, "Fam").AddName(4, QString(QChar(0)) + "Full"); }) << QString()
            << QString();
    }
    void writer()
    {
        QFETCH(QByteArray, font);
        QFETCH(QString, face);
        const QString fontPath = font.isNull() ? env_->root() + "/missing.ttf" : Put(font, "ttf");
        if (face.isNull()) {
            const QString fot = env_->root() + QStringLiteral("/bad%1.fot").arg(files_);
            QCOMPARE(WriteFotFile(fot, fontPath), 0);
            QVERIFY(!QFile::exists(fot));
            return;
        }
        QCOMPARE(WriteFotFile(env_->root() + "/no/such/folder/a.fot", fontPath), 0);
        // An old file in the way is replaced.
        const QString fot = Put(BuildFotFile("/old.ttf", "Old Full", "Old"));
        QCOMPARE(WriteFotFile(fot, fontPath), 1);
        QString gotFace, gotStyle;
        QCOMPARE(ReadFontResource(fot, gotFace, gotStyle), QString());
        QCOMPARE(gotFace, face);
        QTEST(gotStyle, "style");
        QCOMPARE(GetFotTarget(fot).compare(fontPath, Qt::CaseInsensitive), 0);
        QVERIFY(ReadFile(fot).indexOf("FONTRES:") < 1024);
    }
};

QTEST_GUILESS_MAIN(TestFontResource)
#include "test_fontresource.moc"
