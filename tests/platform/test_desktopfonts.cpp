// The desktop font services on this machine's fontconfig, inside temporary folders.
#include <QtTest>
#include <QFontDatabase>
#include <tuple>

#include <fontconfig/fontconfig.h>

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

// Whether Qt's font database lists the family as `listed` says (without a GUI application it has none).
bool QtLists(const QString& family, bool listed)
{
    return !qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || QFontDatabase::families().contains(family) == listed;
}

bool Listed(const QString& file)
{
    for (const DesktopFace& f : DesktopFontFaces(true))
        if (f.file == file)
            return true;
    return false;
}

// The fields of an enumerated record on one line; the file by its name alone.
QString Record(const EnumLogFont& elf, int type)
{
    return QString("%1|%2|%3|w%4 i%5 h%6 o%7 p%8 t%9|%10|%11|%12:%13")
        .arg(FieldText(elf.lfFaceName, 32), FieldText(elf.elfStyle, 32), FieldText(elf.elfFullName, 64))
        .arg(elf.lfWeight).arg(elf.lfItalic).arg(elf.lfHeight).arg(elf.lfOutPrecision).arg(elf.lfPitchAndFamily)
        .arg(type).arg(elf.familyName, elf.drawingFamily, QFileInfo(elf.filePath).fileName()).arg(elf.faceIndex);
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

    // On the printer's context its resident faces join the installed ones: in the pass over all families
    // (which reads the printer again), and among a family's styles (any case, read once); the display has none.
    void printerResidentFaces()
    {
        const QString ppd = env_->root() + "/printer.ppd";
        QVERIFY(WriteFile(ppd, "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*ModelName: \"Test\"\n"
                               "*Font Courier: Standard \"(1)\" Standard ROM\n*Font Courier-BoldOblique: Standard \"(1)\" Standard ROM\n"
                               "*Font Zzresident-Bold: Standard \"(1)\" ROM\n"));
        int reads = 0;
        SetPrinterFacesReader([&] { ++reads; return PpdFontFaces(ppd); });
        const auto guard = qScopeGuard([] { SetPrinterFacesReader({}); });
        const auto names = [](DeviceContext dc, const QString& family) {
            QStringList found;
            Sys().fonts->EnumFontFamilies(dc, family, [&](const EnumLogFont& elf, int type, int) {
                if (!family.isEmpty() || elf.familyName.startsWith("Zz") || elf.familyName == "Courier")  // of all, these
                    found << FieldText(elf.elfFullName, 64) + (type & DEVICE_FONTTYPE ? " (printer)" : "");
            }, 0);
            return found.join(", ");
        };
        QCOMPARE(names(DeviceContext::Display, {}), QString());
        QCOMPARE(names(DeviceContext::Printer, {}), QString("Courier (printer), Zzresident Bold (printer)"));
        QCOMPARE(reads, 1);
        QCOMPARE(names(DeviceContext::Printer, "COURIER"), QString("Courier (printer), Courier Bold Oblique (printer)"));
        QCOMPARE(names(DeviceContext::Printer, "Zzresident"), QString("Zzresident Bold (printer)"));
        QCOMPARE(reads, 1);
        names(DeviceContext::Printer, {});
        QCOMPARE(reads, 2);
        // Fonts read again (another printer may be the default now): so is the printer, at the next question.
        Sys().fonts->RescanFonts();
        names(DeviceContext::Printer, "Courier");
        Sys().fonts->BroadcastFontChange();
        names(DeviceContext::Printer, "Courier");
        QCOMPARE(reads, 4);
        QCOMPARE(names(DeviceContext::Display, "Courier"), QString());
    }

    // A file shown for drawing is drawn from itself, also when an installed font has its family and style.
    void shownFileDrawnFromItself()
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QSKIP("only a program with a display shows files to the toolkit");
        const QString copy = Copy("LiberationSans-Regular.ttf", "cd/Sans.ttf");
        QString matched;
        Sys().fonts->DrawFontFile(copy, "Liberation Sans", [&] { matched = Sys().fonts->MatchFontFile("Liberation Sans", false, false); });
        QCOMPARE(matched, copy);
    }

    // A match within a family sees the styles added since its last question.
    void matchWithinFamilySeesAddedStyles()
    {
        const QString regular = Copy("LiberationSans-Regular.ttf", "twin/Regular.ttf", "Gwtwin Sans");
        const QString bold = Copy("LiberationSans-Bold.ttf", "twin/Bold.ttf", "Gwtwin Sans");
        const auto boldFile = [] {
            QString file;
            Sys().fonts->MatchWithinFamily("Gwtwin Sans", [&] { file = Sys().fonts->MatchFontFile("Gwtwin Sans", true, false); });
            return file;
        };
        QCOMPARE(Sys().fonts->AddFontResource(regular), 1);
        QCOMPARE(boldFile(), regular);
        QCOMPARE(Sys().fonts->AddFontResource(bold), 1);
        QCOMPARE(boldFile(), bold);
        QVERIFY(Sys().fonts->RemoveFontResource(bold) && Sys().fonts->RemoveFontResource(regular));
    }

    // A font put into the user's folder by another program is listed once the change is broadcast.
    void broadcastSeesNewFiles()
    {
        Copy("LiberationSans-Regular.ttf", QDir(env_->root()).relativeFilePath(DesktopUserFontFolder()) + "/gw.ttf", "GW Broadcast");
        Sys().fonts->BroadcastFontChange();
        int found = 0;
        Sys().fonts->EnumFontFamilies(DeviceContext::Display, "GW Broadcast", [&](const EnumLogFont&, int, int) { ++found; }, 0);
        QCOMPARE(found, 1);
    }

    void addAndRemoveFontResources()
    {
        QCOMPARE(Sys().fonts->SubstituteFamily("Arial"), QString("Liberation Sans"));
        // Each style is matched to its own file, whatever was asked before.
        for (const auto& [isBold, italic, style] : {std::tuple(true, false, "Bold"), std::tuple(false, true, "Italic"),
                                                    std::tuple(true, true, "BoldItalic"), std::tuple(false, false, "Regular")})
            QCOMPARE(QFileInfo(Sys().fonts->MatchFontFile("Liberation Sans", isBold, italic)).fileName(),
                     QString("LiberationSans-%1.ttf").arg(style));
        const QString source = SystemFile("LiberationSans-Regular.ttf");
        // A family is matched to its file while it is added, and to another before and after.
        const QString match = Copy("LiberationSans-Regular.ttf", "elsewhere/Match.ttf", "Gwmatch Family");
        QVERIFY(Sys().fonts->MatchFontFile("Gwmatch Family", false, false) != match);
        QCOMPARE(Sys().fonts->AddFontResource(match), 1);
        QCOMPARE(Sys().fonts->MatchFontFile("Gwmatch Family", false, false), match);
        QVERIFY(Sys().fonts->RemoveFontResource(match) != 0);
        QVERIFY(Sys().fonts->MatchFontFile("Gwmatch Family", false, false) != match);
        const QString copy = Copy("LiberationSans-Regular.ttf", "elsewhere/MyCopy.ttf");
        const QString text = env_->root() + "/elsewhere/readme.ttf";
        QVERIFY(WriteFile(text, "not a font at all\n"));

        QVERIFY(!Sys().fonts->AddFontResource(text) && !Sys().fonts->AddFontResource(env_->root() + "/elsewhere/missing.ttf"));
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        // The added file of a family, in any case; of two, the one that fits the style.
        const QString bold = Copy("LiberationSans-Bold.ttf", "elsewhere/MyBold.ttf");
        QCOMPARE(Sys().fonts->AddFontResource(bold), 1);
        for (const auto& [isBold, italic, file] : {std::tuple(true, false, bold), std::tuple(true, true, bold),
                                                   std::tuple(false, true, copy)})
            QCOMPARE(Sys().fonts->AddedFontFile("LIBERATION sans", isBold, italic), file);
        const QString italic = Copy("LiberationSans-Italic.ttf", "elsewhere/MyItalic.ttf");
        QCOMPARE(Sys().fonts->AddFontResource(italic), 1);
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", false, true), italic);
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", false, false), copy);
        QVERIFY(Sys().fonts->RemoveFontResource(bold) != 0);  // not the last one added: the others stay
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", false, true), italic);
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", true, false), copy);
        QVERIFY(Sys().fonts->RemoveFontResource(italic) != 0);
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QCOMPARE(Sys().fonts->AddedFontFile("Liberation Sans", false, false), QString());
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

    // What each step on a font file returns and whether the file is listed after it ("+"): a add, d add for drawing,
    // e ensure added, r remove (nonzero as 1), h/s hide/show, x another program hides it with an earlier version's rule,
    // q the toolkit drops every application font of fontconfig (as it does when it rebuilds its own), o another file hidden;
    // "*" when the installed faces were listed again: only when the fonts or the hidden files changed.
    void addedFontSteps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("adds are counted: two need two removes") << "a1+* a1+ r1+ r1-* r0-";
        QTest::newRow("a font added for drawing is never listed") << "d1- d1- r1- r1- r0-";
        QTest::newRow("an add lists a font added for drawing") << "d1- a1+* r1+ r1-* r0-";
        QTest::newRow("ensured once however often asked, and listed") << "d1- e+* e+ r1+ r1-* r0-";
        QTest::newRow("hiding an added font unlists it") << "a1+* h1-* h0- s1+* s0+ r1-* r0-";
        QTest::newRow("a hidden file counts as removed") << "h1-* r1- s1-* r0-";
        QTest::newRow("a rule another program writes is seen at once") << "a1+* x-* s1+* r1-* r0-";
        QTest::newRow("the toolkit dropping its fonts loses none of ours") << "a1+* q+ o1+* r1-* r0-";
    }
    void addedFontSteps()
    {
        QFETCH(QString, steps);
        const QString file = Copy("LiberationSans-Regular.ttf", "steps/Steps.ttf", "Steps Family");
        QStringList got;
        for (const QString& step : steps.split(' ')) {
            const int generation = DesktopFacesGeneration();
            const char op = step.at(0).toLatin1();
            const int result = op == 'a' ? Sys().fonts->AddFontResource(file) : op == 'd' ? Sys().fonts->AddFontForDrawing(file)
                               : op == 'r' ? Sys().fonts->RemoveFontResource(file) != 0 : op == 'e' ? (DesktopEnsureFontAdded(file), -1)
                               : op == 'q' ? (FcConfigAppFontClear(nullptr), -1)
                               : op == 'o' ? DesktopSetHidden(env_->root() + "/steps/Other.ttf", true)
                               : op == 'x' ? (WriteFile(DesktopRejectFilePath(), "<fontconfig><selectfont><rejectfont><glob>" + file.toUtf8()
                                                        + "</glob></rejectfont></selectfont></fontconfig>") ? -1 : 0)
                                           : DesktopSetHidden(file, op == 'h');
            // A pass over all families sees what the step did, a rule of another program too.
            bool enumerated = false;
            Sys().fonts->EnumFontFamilies(DeviceContext::Display, {}, [&](const EnumLogFont& elf, int, int) {
                enumerated |= elf.familyName == "Steps Family";
            }, 0);
            QCOMPARE(enumerated, Listed(file));
            got << QString(op) + (result < 0 ? "" : QString::number(result)) + (Listed(file) ? "+" : "-")
                       + (DesktopFacesGeneration() != generation ? "*" : "");
            QCOMPARE(DesktopFacesGeneration(), DesktopFacesGeneration());  // a second look lists nothing again
        }
        QCOMPARE(got.join(' '), steps);
        // Removed for good: the toolkit no longer draws with it either.
        QVERIFY(QtLists("Steps Family", false));
    }

    // Every record the display enumeration gives, families and their styles: installed fonts, and added
    // ones (a variable font's instances, a collection, a family longer than the field, a full name not built on the family, names beyond ASCII).
    void enumeratedRecords()
    {
        const QString regular = SystemFile("LiberationSans-Regular.ttf"), bold = SystemFile("LiberationSans-Bold.ttf");
        if (bold.isEmpty() || SystemFile("NimbusMonoPS-Regular.t1").isEmpty())
            QSKIP("the Liberation and URW fonts are not installed");
        const QString dir = env_->root() + "/records/";
        const std::pair<QString, QByteArray> files[] = {
            {"variable.ttf", SfntBuilder::VariableFont("Records Variable", 0)},
            {"pair.ttc", SfntBuilder::Collection({SfntBuilder::Renamed(ReadFile(regular), "Records Pair", "Records Pair"),
                                                  SfntBuilder::Renamed(ReadFile(bold), "Records Pair", "Records Pair Bold", "Bold")})},
            {"long.ttf", SfntBuilder::Renamed(ReadFile(regular), "Records Family Named Longer Than Its Field", "Records Long")},
            {"postscript.ttf", SfntBuilder::Renamed(ReadFile(bold), "Records PS", "RecordsPS-Bold", "Bold")},
            {"caf\u00e9 \u03a9.ttf", SfntBuilder::Renamed(ReadFile(regular), "Records Caf\u00e9 \u03a9", "Records Caf\u00e9 \u03a9")}};
        for (const auto& [name, bytes] : files)
            QVERIFY(WriteFile(dir + name, bytes) && Sys().fonts->AddFontResource(dir + name) > 0);
        QVERIFY(Sys().fonts->AddFontResource(regular) && Sys().fonts->RemoveFontResource(regular)); // the rest added again
        QStringList lines;
        // The families of the packages make test installs and the test's own: other fonts differ by machine.
        const QRegularExpression known("^(Liberation|Records|C059|D050000L|Nimbus|P052|Standard Symbols|URW|Z003|DejaVu)");
        Sys().fonts->EnumFontFamilies(DeviceContext::Display, {}, [&](const EnumLogFont& elf, int type, int) {
            if (!known.match(FieldText(elf.lfFaceName, 32)).hasMatch())
                return;
            lines << Record(elf, type);
            // A family beyond code page 1252 is asked for by its whole name, as the program does.
            const QString family = elf.familyName.isEmpty() ? FieldText(elf.lfFaceName, 32) : elf.familyName;
            Sys().fonts->EnumFontFamilies(DeviceContext::Display, family,
                                          [&](const EnumLogFont& style, int styleType, int) { lines << "  " + Record(style, styleType); }, 0);
        }, 0);
        for (const auto& file : files)
            QVERIFY(Sys().fonts->RemoveFontResource(dir + file.first) != 0);
        CompareApproved(lines, "platform/enumeration.txt");
    }

    // What hiding and showing writes into the reject file: an exact rule per file, in the order hidden.
    void rejectFile()
    {
        const QString odd = env_->root() + "/fonts/R&D <1> \u00e9*?.ttf", plain = env_->root() + "/fonts/plain.ttf";
        QVERIFY(DesktopSetHidden(odd, true) && DesktopSetHidden(plain + "/", true) && DesktopSetHidden(odd, false) && DesktopSetHidden(odd, true));
        CompareApproved(QString::fromUtf8(ReadFile(DesktopRejectFilePath())).replace(env_->root(), "ROOT").split('\n', Qt::SkipEmptyParts), "platform/rejectfile.txt");
    }

    // The styles of a family: the regular one first, then by width, weight and slant (more in enumeratedRecords).
    void styleOrder_data()
    {
        QTest::addColumn<QString>("styles");  // name:weight:slant:width, in fontconfig's order
        QTest::addColumn<QString>("ordered");
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

    // A fontconfig weight as a weight class, in whole hundreds from 100 to 900; one beyond the scale is regular.
    void weightClasses_data()
    {
        QTest::addColumn<double>("fcWeight");
        QTest::addColumn<int>("weight");
        const std::pair<double, int> rows[] = {{FC_WEIGHT_THIN, 100},     {FC_WEIGHT_LIGHT, 300}, {FC_WEIGHT_BOOK, 400},
                                               {FC_WEIGHT_REGULAR, 400},  {FC_WEIGHT_MEDIUM, 500}, {FC_WEIGHT_DEMIBOLD, 600},
                                               {FC_WEIGHT_BOLD, 700},     {FC_WEIGHT_BLACK, 900}, {FC_WEIGHT_EXTRABLACK, 900},
                                               {FC_WEIGHT_EXTRABLACK + 1, 400}, {-1, 400}};
        for (const auto& [fcWeight, weight] : rows)
            QTest::addRow("%g", fcWeight) << fcWeight << weight;
    }
    void weightClasses()
    {
        QFETCH(double, fcWeight);
        QTEST(DesktopWeight(fcWeight), "weight");
    }

    // The added face that best fits a style: the slant first, then the nearest weight, the first listed on a tie.
    void closestStyle_data()
    {
        QTest::addColumn<QString>("faces");  // weights, "i" after an italic one
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("chosen");  // -1: none
        QTest::newRow("none to choose from") << "" << false << false << -1;
        QTest::newRow("the nearest weight") << "300 700 500" << true << false << 1;
        QTest::newRow("a tie goes to the first listed") << "750 650" << true << false << 0;
        QTest::newRow("a tie goes to the first listed, the lighter") << "650 750" << true << false << 0;
        QTest::newRow("a tie of regular weights goes to the first listed") << "350 450" << false << false << 0;
        QTest::newRow("the slant before the weight") << "400 900i" << false << true << 1;
        QTest::newRow("an upright face when there is no italic") << "900 400" << false << true << 1;
    }
    void closestStyle()
    {
        QFETCH(QString, faces);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QVector<AddedFace> added;
        for (const QString& f : faces.split(' ', Qt::SkipEmptyParts))
            added.append({{}, 0, QString(f).remove('i').toInt(), f.endsWith('i')});
        const AddedFace* best = ClosestStyle(added, bold, italic);
        QTEST(best ? int(best - added.constData()) : -1, "chosen");
    }

    // The characters of a font file, from its own character map.
    // The face a file holds as the toolkit lists it: family, style, maker, weight, slant.
    void fileFaces_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("face");  // "family|style|foundry|weight|italic"; "" unreadable
        QTest::newRow("TrueType bold") << "LiberationSans-Bold.ttf" << "Liberation Sans|Bold|1ASC|700|0";
        QTest::newRow("TrueType bold italic") << "LiberationSerif-BoldItalic.ttf" << "Liberation Serif|Bold Italic|1ASC|700|1";
        QTest::newRow("Type 1 italic") << "NimbusSans-Italic.t1" << "Nimbus Sans|Italic|urw|400|1";
        QTest::newRow("not a font") << "/text.ttf" << "";
        QTest::newRow("family beyond ASCII") << "/caf\u00e9.ttf" << "GW Caf\u00e9|Regular|1ASC|400|0";
    }
    void fileFaces()
    {
        QFETCH(QString, file);
        QFETCH(QString, face);
        const QString path = file.startsWith('/') ? env_->root() + file : SystemFile(file);
        const QByteArray made = file == "/text.ttf" ? QByteArray("not a font")
            : SfntBuilder::Renamed(ReadFile(SystemFile("LiberationSans-Regular.ttf")), "GW Caf\u00e9", "GW Caf\u00e9");
        if (path.isEmpty() || (file.startsWith('/') && !WriteFile(path, made)))
            QSKIP("the font is not installed");
        FileFace read;
        const bool ok = Sys().fonts->ReadFileFace(path, 0, &read);
        QCOMPARE(ok ? QString("%1|%2|%3|%4|%5").arg(read.family, read.style, read.foundry).arg(read.weight).arg(read.italic)
                    : QString(),
                 face);
    }

    // The kind a face is listed as, from its format and whether it has outlines; 0: not listed.
    void fontTypeByFormat_data()
    {
        QTest::addColumn<QString>("format");  // empty: none given
        QTest::addColumn<int>("scalable");    // -1: not said, which counts as scalable
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("type");
        const int tt = TRUETYPE_FONTTYPE, t1 = DEVICE_FONTTYPE, raster = RASTER_FONTTYPE;
        QTest::newRow("TrueType outlines") << "TrueType" << 1 << "a.TTF" << tt;
        QTest::newRow("CFF OpenType") << "CFF" << 1 << "a.otf" << tt;
        QTest::newRow("a collection, scalable not said") << "TrueType" << -1 << "a.ttc" << tt;
        QTest::newRow("an sfnt known by its first bytes") << "TrueType" << 1 << "sfnt.bin" << tt;
        QTest::newRow("TrueType in a file of another kind (dfont)") << "TrueType" << 1 << "a.dfont" << 0;
        QTest::newRow("bitmap-only sfnt") << "TrueType" << 0 << "a.otb" << raster;
        QTest::newRow("CFF without outlines") << "CFF" << 0 << "a.otf" << raster;
        QTest::newRow("Type 1") << "Type 1" << 1 << "a.pfb" << t1;
        QTest::newRow("PCF") << "PCF" << 0 << "a.pcf.gz" << raster;
        QTest::newRow("PCF said scalable") << "PCF" << 1 << "a.pcf" << raster;
        QTest::newRow("BDF said scalable") << "BDF" << -1 << "a.bdf" << raster;
        QTest::newRow("SNF said scalable") << "SNF" << 1 << "a.snf" << raster;
        QTest::newRow("another outline format (PFR)") << "PFR" << 1 << "a.pfr" << 0;
        QTest::newRow("no format") << "" << -1 << "a.ttf" << 0;
    }
    void fontTypeByFormat()
    {
        QFETCH(QString, format);
        QFETCH(int, scalable);
        QFETCH(QString, file);
        QFETCH(int, type);
        const QString path = env_->root() + "/" + file;
        QVERIFY(WriteFile(path, file == "sfnt.bin" ? QByteArray("OTTO", 4) + QByteArray(60, '\0') : QByteArray(64, 'x')));
        FcPattern* p = FcPatternCreate();
        if (!format.isEmpty())
            FcPatternAddString(p, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>(format.toUtf8().constData()));
        if (scalable >= 0)
            FcPatternAddBool(p, FC_SCALABLE, scalable);
        const int got = DesktopFontType(p, path);
        FcPatternDestroy(p);
        QCOMPARE(got, type);
    }

    void characterMaps_data()
    {
        QTest::addColumn<QString>("file");  // an installed file, or one under the test folder
        QTest::addColumn<QString>("has");
        QTest::addColumn<QString>("lacks");
        QTest::newRow("TrueType, first and last bits of a word") << "DejaVuSans.ttf" << " ?@_`\u00ff\u00e9\u20ac\u0100" << "\ue000\u0080";  // the word after "`" is empty
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
        QVERIFY(QtLists("Index Second", false));
        Sys().fonts->RescanFonts();
        QCOMPARE(Enumerate(DeviceContext::Display, "Index Second").size(), 1);
        QVERIFY(registered("Index Second") && Listed(second));
        QVERIFY(QtLists("Index Second", true));
        QVERIFY(!families().contains("Index First"));
        QVERIFY(FcListFiles().contains(second) && DesktopSetHidden(second, true));
        QVERIFY(!FcListFiles().contains(second));  // hidden from every program, not only this one
        QVERIFY(QFile::remove(second));
        Sys().fonts->RescanFonts();
        QVERIFY(!Listed(second) && !families().contains("Index Second"));
        // Qt's database is built again only for a face it lacks, and then drops the removed one.
        const QString third = Copy("LiberationSans-Regular.ttf", "data/fonts/third.ttf", "Index Third");
        Sys().fonts->RescanFonts();
        QVERIFY(QtLists("Index Third", true) && QtLists("Index Second", false));
    }

    void kernelReleaseNumbers_data()
    {
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<QList<uint>>("numbers");
        QTest::newRow("Debian") << QByteArray("6.1.0-18-amd64") << QList<uint>{6, 1, 0};
        QTest::newRow("no patch number") << QByteArray("6.8-rc2") << QList<uint>{6, 8, 0};
        QTest::newRow("a zero minor") << QByteArray("6.0.12-1") << QList<uint>{6, 0, 12};
        QTest::newRow("nines and zeros") << QByteArray("9.0.90") << QList<uint>{9, 0, 90};
        QTest::newRow("four numbers") << QByteArray("5.15.133.1-microsoft") << QList<uint>{5, 15, 133};
        QTest::newRow("no number") << QByteArray("custom") << QList<uint>{0, 0, 0};
    }
    void kernelReleaseNumbers()
    {
        QFETCH(QByteArray, release);
        const std::array<uint32_t, 3> n = KernelReleaseNumbers(release.constData());
        QTEST(QList<uint>({n[0], n[1], n[2]}), "numbers");
    }

    // fontconfig's paths are cleaned only when cleaning would change them: a path said clean is one
    // QDir::cleanPath leaves as it is.
    void cleanPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("clean");
        QTest::newRow("a plain path") << "/usr/share/fonts/a.ttf" << true;
        QTest::newRow("a part starting with dots") << "/a/.hidden/..b/c.ttf" << true;
        for (const char* path : {"/a/./b.ttf", "/a/../b.ttf", "/a//b.ttf", "/a/b/", "/a/.", "/a/..", "/.", "/", "a/b.ttf", "ab/c.ttf", ""})
            QTest::newRow(path) << path << false;
    }
    void cleanPaths()
    {
        QFETCH(QString, path);
        QTEST(IsCleanPath(path), "clean");
        QVERIFY(!IsCleanPath(path) || QDir::cleanPath(path) == path);
    }

    void fontconfigVersion() { QCOMPARE(DesktopFontconfigVersion() + "\n", ToolOutput("pkg-config", {"--modversion", "fontconfig"})); }

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

#ifdef GW_TEST_WITHOUT_GUI
QTEST_GUILESS_MAIN(TestDesktopFonts)
#else
QTEST_MAIN(TestDesktopFonts)
#endif
#include "test_desktopfonts.moc"
