// The desktop font services on this machine's fontconfig, inside temporary folders.
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <fontconfig/fontconfig.h>

#include "core/codepage.h"
#include "platform/desktop.h"
#include "platform/fotwriter.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Record {
    QString face, fullName, style, file;
    int weight = 0, italic = 0, type = 0;
};

QString Field(const char* bytes, int size) { return FromCp1252(bytes, int(qstrnlen(bytes, size))); }

QList<Record> Enumerate(DeviceContext dc, const QString& family)
{
    QList<Record> records;
    Sys().fonts->EnumFontFamilies(dc, family, [&](const EnumLogFont& elf, const TextMetric& tm, int type, int tag) {
        QCOMPARE(tag, 5);
        QCOMPARE(tm.tmWeight, elf.lfWeight);
        records.append({Field(elf.lfFaceName, 32), Field(elf.elfFullName, 64), Field(elf.elfStyle, 32),
                        elf.filePath, elf.lfWeight, elf.lfItalic, type});
    }, 5);
    return records;
}

QString SystemFile(const QString& fileName)
{
    for (const DesktopFace& f : DesktopFontFaces())
        if (QFileInfo(f.file).fileName() == fileName)
            return f.file;
    return {};
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
private slots:
    void familiesWithTheirTypeBits_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("type");
        QTest::newRow("TrueType") << "Liberation Sans" << int(TRUETYPE_FONTTYPE);
        QTest::newRow("TrueType 2") << "DejaVu Sans" << int(TRUETYPE_FONTTYPE);
        QTest::newRow("Type 1") << "Nimbus Sans" << int(DEVICE_FONTTYPE);
        QTest::newRow("Type 1, 2") << "URW Gothic" << int(DEVICE_FONTTYPE);
        QTest::newRow("CFF OpenType") << "Nimbus Sans" << int(TRUETYPE_FONTTYPE);
    }
    void familiesWithTheirTypeBits()
    {
        QFETCH(QString, family);
        QFETCH(int, type);
        TestEnv env;
        env.UseDesktopPlatform();
        const QList<Record> all = Enumerate(DeviceContext::Display, {});
        int found = 0;
        for (const Record& r : all)
            if (r.face == family && r.type == type) {
                ++found;
                // The plain style stands for the family.
                QCOMPARE(r.italic, 0);
            }
        QCOMPARE(found, 1);
    }

    void familyOrderIsStable()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QList<Record> first = Enumerate(DeviceContext::Display, {});
        QVERIFY(first.size() > 10);
        QSet<QString> pairs;
        for (int i = 0; i < first.size(); ++i) {
            const QString pair = first[i].face.toLower() + "/" + QString::number(first[i].type);
            QVERIFY2(!pairs.contains(pair), qPrintable(pair));
            pairs.insert(pair);
            if (i > 0)
                QVERIFY(first[i - 1].face.compare(first[i].face, Qt::CaseInsensitive) <= 0);
        }
        const QList<Record> second = Enumerate(DeviceContext::Display, {});
        QCOMPARE(second.size(), first.size());
        for (int i = 0; i < first.size(); ++i)
            QCOMPARE(second[i].fullName, first[i].fullName);
    }

    void stylesOfLiberationSans_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("exact") << "Liberation Sans";
        QTest::newRow("any case") << "LIBERATION sans";
    }
    void stylesOfLiberationSans()
    {
        QFETCH(QString, family);
        TestEnv env;
        env.UseDesktopPlatform();
        const QList<Record> styles = Enumerate(DeviceContext::Display, family);
        QStringList got;
        for (const Record& r : styles) {
            got << QString("%1|%2|%3|%4|%5").arg(r.face, r.fullName, r.style).arg(r.weight).arg(r.italic);
            QCOMPARE(r.type, int(TRUETYPE_FONTTYPE));
            QVERIFY2(QFileInfo(r.file).isFile(), qPrintable(r.file));
        }
        QCOMPARE(got, (QStringList{"Liberation Sans|Liberation Sans|Regular|400|0",
                                   "Liberation Sans|Liberation Sans Italic|Italic|400|1",
                                   "Liberation Sans|Liberation Sans Bold|Bold|700|0",
                                   "Liberation Sans|Liberation Sans Bold Italic|Bold Italic|700|1"}));
    }

    void stylesOfOneFamilyInTwoFormats()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QList<Record> styles = Enumerate(DeviceContext::Display, "Nimbus Sans");
        int type1 = 0, sfnt = 0;
        for (const Record& r : styles) {
            QCOMPARE(r.face, QString("Nimbus Sans"));
            (r.type == DEVICE_FONTTYPE ? type1 : sfnt) += 1;
        }
        // The ".pfb" and ".t1" copies of one Type 1 style are one style.
        QCOMPARE(type1, 4);
        QCOMPARE(sfnt, 4);
        QVERIFY(Enumerate(DeviceContext::Display, "No Such Family Here").isEmpty());
    }

    void printerHasAtLeastTheScreenFonts()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QList<Record> screen = Enumerate(DeviceContext::Display, {});
        const QList<Record> printer = Enumerate(DeviceContext::Printer, {});
        QSet<QString> printerPairs;
        for (const Record& r : printer)
            printerPairs.insert(r.face + "/" + QString::number(r.type));
        for (const Record& r : screen)
            QVERIFY(printerPairs.contains(r.face + "/" + QString::number(r.type)));
    }

    void weights_data()
    {
        QTest::addColumn<double>("fc");
        QTest::addColumn<int>("weight");
        QTest::newRow("thin") << double(FC_WEIGHT_THIN) << 100;
        QTest::newRow("extra light") << double(FC_WEIGHT_EXTRALIGHT) << 200;
        QTest::newRow("light") << double(FC_WEIGHT_LIGHT) << 300;
        QTest::newRow("book") << double(FC_WEIGHT_BOOK) << 400;
        QTest::newRow("regular") << double(FC_WEIGHT_REGULAR) << 400;
        QTest::newRow("medium") << double(FC_WEIGHT_MEDIUM) << 500;
        QTest::newRow("demibold") << double(FC_WEIGHT_DEMIBOLD) << 600;
        QTest::newRow("bold") << double(FC_WEIGHT_BOLD) << 700;
        QTest::newRow("extra bold") << double(FC_WEIGHT_EXTRABOLD) << 800;
        QTest::newRow("black") << double(FC_WEIGHT_BLACK) << 900;
        QTest::newRow("extra black") << double(FC_WEIGHT_EXTRABLACK) << 900;
    }
    void weights()
    {
        QFETCH(double, fc);
        QFETCH(int, weight);
        QCOMPARE(DesktopWeight(fc), weight);
    }

    void postScriptNames_data()
    {
        QTest::addColumn<QString>("psName");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::newRow("roman") << "Times-Roman" << "Times" << "Times Roman" << 400 << false;
        QTest::newRow("bold oblique") << "Helvetica-BoldOblique" << "Helvetica" << "Helvetica Bold Oblique" << 700
                                      << true;
        QTest::newRow("family with a dash") << "Helvetica-Narrow-Bold" << "Helvetica-Narrow"
                                            << "Helvetica-Narrow Bold" << 700 << false;
        QTest::newRow("dash, no style") << "Helvetica-Narrow" << "Helvetica-Narrow" << "Helvetica-Narrow" << 400
                                        << false;
        QTest::newRow("no dash") << "Symbol" << "Symbol" << "Symbol" << 400 << false;
        QTest::newRow("medium italic") << "ZapfChancery-MediumItalic" << "ZapfChancery"
                                       << "ZapfChancery Medium Italic" << 400 << true;
        QTest::newRow("demi") << "AvantGarde-Demi" << "AvantGarde" << "AvantGarde Demi" << 700 << false;
    }
    void postScriptNames()
    {
        QFETCH(QString, psName);
        QFETCH(QString, family);
        QFETCH(QString, fullName);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        const DesktopFace face = FaceFromPostScriptName(psName);
        QCOMPARE(face.family, family);
        QCOMPARE(face.fullName, fullName);
        QCOMPARE(face.weight, weight);
        QCOMPARE(face.italic(), italic);
        QCOMPARE(face.fontType, int(DEVICE_FONTTYPE));
    }

    void ppdFonts()
    {
        TestEnv env;
        const QString ppd = env.root() + "/printer.ppd";
        QVERIFY(WriteFile(ppd, "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                               "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                               "*PCFileName: \"TEST.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n"
                               "*ModelName: \"Test\"\n*ShortNickName: \"Test\"\n*NickName: \"Test\"\n"
                               "*PSVersion: \"(3010.000) 0\"\n"
                               "*DefaultFont: Courier\n"
                               "*Font Courier: Standard \"(001.005)\" Standard ROM\n"
                               "*Font Courier-BoldOblique: Standard \"(001.005)\" Standard ROM\n"
                               "*Font Times-Roman: Standard \"(001.007)\" Standard ROM\n"));
        QStringList got;
        for (const DesktopFace& f : PpdFontFaces(ppd))
            got << QString("%1/%2/%3").arg(f.family).arg(f.weight).arg(f.italic() ? 1 : 0);
        QCOMPARE(got, (QStringList{"Courier/400/0", "Courier/700/1", "Times/400/0"}));
        QVERIFY(PpdFontFaces(env.root() + "/missing.ppd").isEmpty());
    }

    void addAndRemoveFontResources()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString source = SystemFile("LiberationSans-Regular.ttf");
        QVERIFY(!source.isEmpty());
        const QString copy = env.root() + "/elsewhere/MyCopy.ttf";
        QVERIFY(WriteFile(copy, ReadFile(source)));
        const QString text = env.root() + "/elsewhere/readme.ttf";
        QVERIFY(WriteFile(text, "not a font at all\n"));

        QCOMPARE(Sys().fonts->AddFontResource(text), 0);
        QCOMPARE(Sys().fonts->AddFontResource(env.root() + "/elsewhere/missing.ttf"), 0);
        QVERIFY(!Listed(copy));
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        QVERIFY(Listed(copy));
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QVERIFY(!Listed(copy));
        QCOMPARE(Sys().fonts->RemoveFontResource(copy), 0);          // neither added nor registered
        QVERIFY(Sys().fonts->RemoveFontResource(source) != 0);       // a registered font
        QCOMPARE(Sys().fonts->RemoveFontResource(text), 0);
    }

    void addCountsLikeTheSystem()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString copy = env.root() + "/twice/Twice.ttf";
        QVERIFY(WriteFile(copy, ReadFile(SystemFile("LiberationMono-Regular.ttf"))));
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        QCOMPARE(Sys().fonts->AddFontResource(copy), 1);
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QVERIFY(Listed(copy)); // one add still stands
        QVERIFY(Sys().fonts->RemoveFontResource(copy) != 0);
        QVERIFY(!Listed(copy));
    }

    void fotFileAddsItsTarget()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString copy = env.root() + "/fot/Serif.ttf";
        QVERIFY(WriteFile(copy, ReadFile(SystemFile("LiberationSerif-Regular.ttf"))));
        const QString fot = env.root() + "/fot/serif.fot";
        QCOMPARE(Sys().fonts->CreateScalableFontResource(0, fot, copy, {}), 1);
        QCOMPARE(FotTargetPath(fot), copy);
        QCOMPARE(Sys().fonts->AddFontResource(fot), 1);
        QVERIFY(Listed(copy));
        QVERIFY(Sys().fonts->RemoveFontResource(fot) != 0);
        QVERIFY(!Listed(copy));

        // A file that does not start like an executable names no font.
        const QString bad = env.root() + "/fot/bad.fot";
        QByteArray bytes = BuildFotFile(copy, "Liberation Serif", "Liberation Serif");
        bytes[0] = 'X';
        QVERIFY(WriteFile(bad, bytes));
        QCOMPARE(FotTargetPath(bad), QString());
        QCOMPARE(Sys().fonts->AddFontResource(bad), 0);
    }

    void broadcastSeesTheUserFolder()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString added = env.root() + "/added/Kept.ttf";
        QVERIFY(WriteFile(added, ReadFile(SystemFile("LiberationSans-Bold.ttf"))));
        QCOMPARE(Sys().fonts->AddFontResource(added), 1);
        const QString user = env.dataHome() + "/fonts/UserCopy.ttf";
        QVERIFY(WriteFile(user, ReadFile(SystemFile("LiberationSans-Italic.ttf"))));
        QVERIFY(!Listed(user));
        Sys().fonts->BroadcastFontChange();
        QVERIFY(Listed(user));
        QVERIFY(Listed(added)); // fonts added by the program survive the reload
        // Qt keeps drawing with the reloaded configuration.
        QImage image(80, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(QFont("Liberation Sans", 12));
            painter.drawText(2, 20, "Abc");
        }
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(inked > 0);
        QVERIFY(QFontDatabase::families().contains("Liberation Sans"));
        QVERIFY(Sys().fonts->RemoveFontResource(added) != 0);
        QVERIFY(QFile::remove(user));
        Sys().fonts->BroadcastFontChange();
        QVERIFY(!Listed(user));
    }

    void folders_data()
    {
        QTest::addColumn<QByteArray>("glyphwickHome");
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QByteArray>("dataHome");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("windows");
        const QString home = QDir::homePath();
        QTest::newRow("all set") << QByteArray("/tmp/gw-home") << QByteArray("/tmp/cfg") << QByteArray("/tmp/data")
                                 << "/tmp/gw-home" << "/tmp/data";
        QTest::newRow("trailing slashes") << QByteArray("/tmp/gw-home/") << QByteArray("/tmp/cfg/")
                                          << QByteArray("/tmp/data/") << "/tmp/gw-home" << "/tmp/data";
        QTest::newRow("no program home") << QByteArray() << QByteArray("/tmp/cfg") << QByteArray("/tmp/data")
                                         << "/tmp/cfg/glyphwick" << "/tmp/data";
        QTest::newRow("XDG unset") << QByteArray() << QByteArray() << QByteArray()
                                   << home + "/.config/glyphwick" << home + "/.local/share";
        QTest::newRow("XDG relative") << QByteArray() << QByteArray("rel/cfg") << QByteArray("rel/data")
                                      << home + "/.config/glyphwick" << home + "/.local/share";
    }
    void folders()
    {
        QFETCH(QByteArray, glyphwickHome);
        QFETCH(QByteArray, configHome);
        QFETCH(QByteArray, dataHome);
        QFETCH(QString, program);
        QFETCH(QString, windows);
        TestEnv env;
        std::unique_ptr<Platform> desktop = MakeDesktopPlatform();
        // Only the values are looked at; nothing is created in these folders.
        qputenv("GLYPHWICK_HOME", glyphwickHome);
        qputenv("XDG_CONFIG_HOME", configHome);
        qputenv("XDG_DATA_HOME", dataHome);
        const QString gotProgram = desktop->system->ProgramFolder();
        const QString gotWindows = desktop->system->WindowsDirectory();
        qputenv("GLYPHWICK_HOME", env.home().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", env.configHome().toLocal8Bit());
        qputenv("XDG_DATA_HOME", env.dataHome().toLocal8Bit());
        QCOMPARE(gotProgram, program);
        QCOMPARE(gotWindows, windows);
        QCOMPARE(desktop->system->SystemDirectory(), QString("/usr/share/fonts"));
        QCOMPARE(desktop->system->ExeFilePath(), QCoreApplication::applicationFilePath());
        QVERIFY(desktop->system->HelpFilePath().endsWith("/gw.html"));
    }

    void versionFromTheKernel()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        OsVersionInfo info;
        info.dwOSVersionInfoSize = 148;
        QVERIFY(Sys().system->GetVersionEx(&info));
        QCOMPARE(info.dwPlatformId, uint32_t(VER_PLATFORM_LINUX));
        // "6.1.0-18-amd64": the leading numbers.
        const QRegularExpressionMatch m =
            QRegularExpression("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?").match(QSysInfo::kernelVersion());
        QVERIFY(m.hasMatch());
        QCOMPARE(info.dwMajorVersion, m.captured(1).toUInt());
        QCOMPARE(info.dwMinorVersion, m.captured(2).toUInt());
        QCOMPARE(info.dwBuildNumber, m.captured(3).toUInt());
        QCOMPARE(info.dwOSVersionInfoSize, 148u);
    }
};

QTEST_MAIN(TestDesktopFonts)
#include "test_desktopfonts.moc"
