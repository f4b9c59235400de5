// The desktop font services on this machine's fontconfig, inside temporary folders.
#include <QtTest>
#include <QFontDatabase>
#include <tuple>

#include "core/globals.h"
#include "platform/desktop.h"
#include "sfnt/fot.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

// The face name of each record EnumFontFamilies gives.
QStringList Enumerate(DeviceContext dc, const QString& family)
{
    QStringList faces;
    Sys().fonts->EnumFontFamilies(dc, family, [&](const EnumLogFont& elf, int, int tag) {
        QCOMPARE(tag, 5);
        faces << FieldText(elf.lfFaceName, 32);
    }, 5);
    return faces;
}

bool Listed(const QString& file)
{
    for (const DesktopFace& f : DesktopFontFaces())
        if (f.file == file)
            return true;
    return false;
}

} // namespace

class TestDesktopFonts : public QObject {
    Q_OBJECT

    std::unique_ptr<DesktopTestEnv> env_;

    // A copy of an installed font at root/relative, renamed to `family` when one is given.
    QString Copy(const QString& installed, const QString& relative, const QString& family = {})
    {
        const QString path = env_->root() + "/" + relative;
        const QByteArray font = ReadFile(SystemFile(installed));
        if (!WriteFile(path, family.isEmpty() ? font : SfntBuilder::Renamed(font, family, family)))
            qFatal("cannot copy %s", qPrintable(installed));
        return path;
    }

private slots:
    void init() { env_.reset(new DesktopTestEnv); }
    void cleanup() { env_.reset(); }

    // A printer's fonts from its PPD, each named from its PostScript name, a one-letter family's too.
    void ppdFonts()
    {
        const QString ppd = env_->root() + "/printer.ppd";
        QVERIFY(WriteFile(ppd, "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*ModelName: \"Test\"\n"
                               "*DefaultFont: Courier\n"
                               "*Font AvantGarde-Demi: Standard \"(001.006)\" Standard ROM\n"
                               "*Font Courier: Standard \"(001.005)\" Standard ROM\n"
                               "*Font Courier-BoldOblique: Standard \"(001.005)\" Standard ROM\n"
                               "*Font Helvetica-Narrow-Bold: Standard \"(001.006)\" Standard ROM\n"
                               "*Font Times-Roman: Standard \"(001.007)\" Standard ROM\n*Font X-Bold: Standard \"(1)\" ROM\n"
                               "*Font ZapfChancery-MediumItalic: Standard \"(001.007)\" Standard ROM\n"));
        QStringList got;
        for (const DesktopFace& f : PpdFontFaces(ppd)) {
            got << QString("%1|%2|%3|%4").arg(f.family, f.fullName).arg(f.weight).arg(int(f.italic()));
            QCOMPARE(f.fontType, int(DEVICE_FONTTYPE));
        }
        QCOMPARE(got, (QStringList{"AvantGarde|AvantGarde Demi|700|0", "Courier|Courier|400|0",
                                   "Courier|Courier Bold Oblique|700|1", "Helvetica-Narrow|Helvetica-Narrow Bold|700|0",
                                   "Times|Times Roman|400|0", "X|X Bold|700|0", "ZapfChancery|ZapfChancery Medium Italic|400|1"}));
        QVERIFY(PpdFontFaces(env_->root() + "/missing.ppd").isEmpty());
    }

    void addAndRemoveFontResources()
    {
        QCOMPARE(Sys().fonts->SubstituteFamily("Arial"), QString("Liberation Sans"));
        const QString source = SystemFile("LiberationSans-Regular.ttf");
        const QString copy = Copy("LiberationSans-Regular.ttf", "elsewhere/MyCopy.ttf");
        const QString text = env_->root() + "/elsewhere/readme.ttf";
        QVERIFY(WriteFile(text, "not a font at all\n"));

        QCOMPARE(Sys().fonts->AddFontResource(text), 0);
        QCOMPARE(Sys().fonts->AddFontResource(env_->root() + "/elsewhere/missing.ttf"), 0);
        QVERIFY(!Listed(copy));
        // Counted like the system's: two adds need two removes.
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QVERIFY(Listed(copy));
        // The added file of a family, in any case; of two, the one that fits the style.
        const QString bold = Copy("LiberationSans-Bold.ttf", "elsewhere/MyBold.ttf");
        QCOMPARE(Sys().fonts->AddFontResource(bold), 1);
        for (const auto& [isBold, italic, file] : {std::tuple(true, false, bold), std::tuple(true, true, bold),
                                                   std::tuple(false, true, copy)})
            QCOMPARE(Sys().fonts->AddedFontFile("LIBERATION sans", isBold, italic), file);
        QVERIFY(Sys().fonts->RemoveFontResource(bold) != 0);
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", true, false), copy);
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QVERIFY(!Listed(copy));
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", false, false), QString());
        QCOMPARE(Sys().fonts->RemoveFontResource(copy), 0);    // neither added nor registered
        QVERIFY(Sys().fonts->RemoveFontResource(source) != 0); // a registered font

        // Two files whose names differ only in case: either is added and removed again on its own.
        const QString upper = Copy("LiberationSans-Bold.ttf", "elsewhere/Case.ttf");
        const QString lower = Copy("LiberationSans-Regular.ttf", "elsewhere/case.ttf");
        for (const QString& f : {upper, lower, lower})
            QCOMPARE(Sys().fonts->AddFontResource(f), 1);
        for (int i = 0; i < 2; ++i)
            QVERIFY(Sys().fonts->RemoveFontResource(lower) != 0);
        QCOMPARE(Sys().fonts->AddFontResource(lower), 1);
        QVERIFY(Listed(upper) && Listed(lower));
        for (const QString& f : {lower, upper})
            QVERIFY(Sys().fonts->RemoveFontResource(f) != 0);
        QVERIFY(!Listed(upper) && !Listed(lower));

        // A .fot file stands for the font it names.
        const QString serif = Copy("LiberationSerif-Regular.ttf", "fot/Serif.ttf");
        const QString fot = env_->root() + "/fot/serif.fot";
        QCOMPARE(Sys().fonts->CreateScalableFontResource(0, fot, serif, {}), 1);
        QCOMPARE(FotTargetPath(fot), serif);
        QCOMPARE(Sys().fonts->AddFontResource(fot), 1);
        QVERIFY(Listed(serif));
        QVERIFY(Sys().fonts->RemoveFontResource(fot) != 0);
        QVERIFY(!Listed(serif));

        // A file that does not start like an executable names no font.
        const QString bad = env_->root() + "/fot/bad.fot";
        QVERIFY(WriteFile(bad, "X" + BuildFotFile(serif, "Liberation Serif", "Liberation Serif").mid(1)));
        QCOMPARE(FotTargetPath(bad), QString());
        QCOMPARE(Sys().fonts->AddFontResource(bad), 0);
    }

    // The styles of a family: the regular one first, then by width, weight and slant.
    void styleOrder_data()
    {
        QTest::addColumn<QString>("styles");  // name:weight:slant:width, in fontconfig's order
        QTest::addColumn<QString>("ordered");
        QTest::newRow("opens on Book, not ExtraLight")
            << "ExtraLight:200:0:100 Bold:700:0:100 Oblique:400:110:100 Cond:400:0:75 Book:400:0:100"
            << "Book Cond ExtraLight Oblique Bold";
        QTest::newRow("nearest 400, the lighter on a tie") << "Medium:500:0:100 Light:300:0:100" << "Light Medium";
        QTest::newRow("no upright style") << "BoldItalic:700:100:100 Italic:400:100:100" << "Italic BoldItalic";
    }
    void styleOrder()
    {
        QFETCH(QString, styles);
        QVector<DesktopFace> faces;
        for (const QString& s : styles.split(' ')) {
            const QStringList f = s.split(':');
            faces.append(DesktopFace());
            std::tie(faces.last().style, faces.last().weight, faces.last().slant, faces.last().width) =
                std::make_tuple(f[0], f[1].toInt(), f[2].toInt(), f[3].toInt());
        }
        OrderFamilyStyles(faces);
        QStringList got;
        for (const DesktopFace& f : faces)
            got << f.style;
        QTEST(got.join(' '), "ordered");
    }

    // The characters of a font file, from its own character map.
    void characterMaps_data()
    {
        QTest::addColumn<QString>("file");  // an installed file, or one under the test folder
        QTest::addColumn<QString>("has");
        QTest::addColumn<QString>("lacks");
        QTest::newRow("TrueType") << "DejaVuSans.ttf" << "A\u00e9\u20ac" << "\ue000";
        QTest::newRow("Type 1") << "C059-Roman.t1" << "A\u00e9" << "\u4e00";
        QTest::newRow("Type 1 without letters") << "D050000L.t1" << "" << "Aa1";
        QTest::newRow("not a font") << "/text.ttf" << "" << "A";
    }
    void characterMaps()
    {
        QFETCH(QString, file);
        QFETCH(QString, has);
        QFETCH(QString, lacks);
        const QString path = file.startsWith('/') ? env_->root() + file : SystemFile(file);
        if (path.isEmpty() || (file.startsWith('/') && !WriteFile(path, "not a font")))
            QSKIP("the font is not installed");
        QSet<uint> characters;
        QCOMPARE(Sys().characterMaps->CharacterMap(path, 0, &characters), !file.startsWith('/'));
        for (uint c : has.toUcs4())
            QVERIFY(characters.contains(c));
        for (uint c : lacks.toUcs4())
            QVERIFY(!characters.contains(c));
    }

    // The enumerations and the registrations answer from an index; fonts
    // added and hidden between two enumerations must show at once.
    void indexFollowsAddedAndHiddenFonts()
    {
        const auto families = [] { return Enumerate(DeviceContext::Display, {}); };
        auto registered = [](const QString& name) {
            std::unique_ptr<RegistryKey> key;
            Sys().registry->OpenKey(FontsKey, KEY_READ, &key);
            return key && key->QueryValue(name + " (TrueType)", nullptr) == ERROR_SUCCESS;
        };
        const QString first = Copy("LiberationSans-Regular.ttf", "made/first.ttf", "Index First");
        QCOMPARE(Sys().fonts->AddFontResource(first), 1);
        QVERIFY(families().contains("Index First"));
        QCOMPARE(Enumerate(DeviceContext::Printer, "index first").size(), 1);
        QVERIFY(registered("Index First"));

        QVERIFY(DesktopSetHidden(first, true));
        QVERIFY(!families().contains("Index First"));
        QCOMPARE(Enumerate(DeviceContext::Display, "Index First").size(), 0);
        QVERIFY(!registered("Index First"));

        // "Reread Fonts": a file put into or taken out of the user font folder is seen
        // by the index and by Qt's font database.
        const QString second = Copy("LiberationSans-Regular.ttf", "data/fonts/second.ttf", "Index Second");
        QVERIFY(!QFontDatabase::families().contains("Index Second"));
        Sys().fonts->RescanFonts();
        QCOMPARE(Enumerate(DeviceContext::Display, "Index Second").size(), 1);
        QVERIFY(registered("Index Second") && Listed(second));
        QVERIFY(QFontDatabase::families().contains("Index Second"));
        QVERIFY(!families().contains("Index First"));
        QVERIFY(FcListFiles().contains(second) && DesktopSetHidden(second, true));
        QVERIFY(!FcListFiles().contains(second));  // hidden from every program, not only this one
        QVERIFY(QFile::remove(second));
        Sys().fonts->RescanFonts();
        QVERIFY(!Listed(second) && !families().contains("Index Second"));
        // Qt's database is built again only for a face it lacks, and then drops the removed one.
        const QString third = Copy("LiberationSans-Regular.ttf", "data/fonts/third.ttf", "Index Third");
        Sys().fonts->RescanFonts();
        QVERIFY(QFontDatabase::families().contains("Index Third") && !QFontDatabase::families().contains("Index Second"));
    }

    // A family with Type 1 and OpenType files keeps the foundry that tells the two apart; others drop it.
    void foundryOnlyForTwoKinds()
    {
        if (SystemFile("C059-Roman.t1").isEmpty() || SystemFile("C059-Roman.otf").isEmpty())
            QSKIP("the URW fonts are not installed");
        for (const DesktopFace& f : DesktopFontFaces())
            QVERIFY2((f.family != "C059" && f.family != "Liberation Sans") || f.foundry.isEmpty() == (f.family != "C059"), qPrintable(f.file));
    }

    void kernelReleaseNumbers_data()
    {
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<QList<uint>>("numbers");
        QTest::newRow("Debian") << QByteArray("6.1.0-18-amd64") << QList<uint>{6, 1, 0};
        QTest::newRow("no patch number") << QByteArray("6.8-rc2") << QList<uint>{6, 8, 0};
        QTest::newRow("four numbers") << QByteArray("5.15.133.1-microsoft") << QList<uint>{5, 15, 133};
        QTest::newRow("no number") << QByteArray("custom") << QList<uint>{0, 0, 0};
    }
    void kernelReleaseNumbers()
    {
        QFETCH(QByteArray, release);
        const std::array<uint32_t, 3> n = KernelReleaseNumbers(release.constData());
        QTEST(QList<uint>({n[0], n[1], n[2]}), "numbers");
    }

    // The program's folder and the per-user data folder: GLYPHWICK_HOME, else the XDG
    // folders, else those under home; a relative XDG folder counts as none. Only the
    // values are looked at; nothing is created in these folders.
    void folders()
    {
        auto folders = [](const char* glyphwickHome, const char* config, const char* data) {
            qputenv("GLYPHWICK_HOME", glyphwickHome);
            qputenv("XDG_CONFIG_HOME", config);
            qputenv("XDG_DATA_HOME", data);
            return Sys().system->ProgramFolder() + " " + Sys().system->UserDataDirectory();
        };
        const QString home = QDir::homePath();
        QCOMPARE(folders("/tmp/gw-home/", "/tmp/cfg/", "/tmp/data/"), QString("/tmp/gw-home /tmp/data"));
        QCOMPARE(folders("//", "", "/tmp/data/"), QString("/ /tmp/data"));
        QCOMPARE(folders("", "/tmp/cfg", "/tmp/data"), QString("/tmp/cfg/glyphwick /tmp/data"));
        QCOMPARE(folders("", "", ""), home + "/.config/glyphwick " + home + "/.local/share");
        QCOMPARE(folders("", "rel/cfg", "rel/data"), home + "/.config/glyphwick " + home + "/.local/share");
    }
};

QTEST_MAIN(TestDesktopFonts)
#include "test_desktopfonts.moc"
