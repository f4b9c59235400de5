#include <QtTest>
#include <functional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "testenv.h"

using namespace gw;

// Twips round to the nearest pixel, halves (none at 15 a pixel) away from zero.
static_assert(TwipsToPixels(7) == 0 && TwipsToPixels(8) == 1 && TwipsToPixels(-7) == 0 && TwipsToPixels(-8) == -1
              && TwipsToPixels(9000) == 600 && PixelsToTwips(-2) == -30);

namespace {

// Pixels of `colour` in row y, counted from x = from while they last.
int RunLength(const QImage& image, int y, int from, const QColor& colour)
{
    int x = from;
    while (x < image.width() && image.pixelColor(x, y) == colour)
        ++x;
    return x - from;
}

// A 204 x 24 gauge on light grey (bar blue, light white, dark dark grey), drawn over a full one.
QImage Gauge(int percent, int flag1, int flag2, int frameStyle)
{
    PictureBox box;
    box.resize(204, 24);
    box.SetBackColor(Qt::lightGray);
    DrawGauge(&box, Qt::blue, Qt::white, Qt::darkGray, 100, flag1, 1, frameStyle);
    DrawGauge(&box, Qt::blue, Qt::white, Qt::darkGray, percent, flag1, flag2, frameStyle);
    return box.ToImage();
}

} // namespace

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    // The text rules of the small helpers, one function per row.
    void textRules_data()
    {
        QTest::addColumn<QString>("helper");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("val decimal") << "Val" << " 10.5pt" << "10.5";
        QTest::newRow("val negative, second point ends") << "Val" << "-3.25.7" << "-3.25";
        QTest::newRow("val tab, blanks and plus") << "Val" << "\t  +7x" << "7";
        QTest::newRow("val none") << "Val" << "pt 12" << "0";
        QTest::newRow("val huge is held") << "Val" << "99999999999999999999" << "1e+15";
        QTest::newRow("weight 750 is Bold") << "WeightName" << "750" << "Bold";
        QTest::newRow("weight 650 has none") << "WeightName" << "650" << "";
        QTest::newRow("weight names, every hundred") << "WeightName" << "0 100 200 300 400 500 600 700 800 900"
            << "Don't Care|Thin|Extra Light|Light|Normal|Medium|Semi Bold|Bold|Extra Bold|Black";
        QTest::newRow("style: regular italic is Italic") << "EnumStyleText" << "400 1" << "Italic";
        QTest::newRow("style: bold italic in one word") << "EnumStyleText" << "700 1" << "BoldItalic";
        QTest::newRow("style: only 1 is italic") << "EnumStyleText" << "500 255" << "Medium";
        QTest::newRow("key blank") << "KeystrokeLabel" << " " << "  ";
        QTest::newRow("key tilde 126") << "KeystrokeLabel" << "~" << "~ ";
        QTest::newRow("key 31") << "KeystrokeLabel" << QString(QChar(31)) << "[none]";
        QTest::newRow("key NUL") << "KeystrokeLabel" << QString(QChar(0)) << "[none]";
        QTest::newRow("key DEL 127") << "KeystrokeLabel" << QString(QChar(127)) << " ALT+0+127";
        QTest::newRow("key euro 128") << "KeystrokeLabel" << "\u20AC" << " ALT+0+128";
        QTest::newRow("key Cyrillic, the first counts") << "KeystrokeLabel" << "\u0416A" << "";
        QTest::newRow("strip two dots") << "StripExtension" << "my.font.ttf" << "my.font";
        QTest::newRow("strip leading dot") << "StripExtension" << ".hidden" << "";
        QTest::newRow("name of folder") << "FileNamePart" << "/usr/share/" << "";
        QTest::newRow("foundry dropped") << "WithoutFoundry" << "Nimbus Sans [urw]" << "Nimbus Sans";
        QTest::newRow("foundry of a one-letter family") << "WithoutFoundry" << "X [urw]" << "X";
        QTest::newRow("brackets inside a family kept") << "WithoutFoundry" << "Grid [2] Mono" << "Grid [2] Mono";
        QTest::newRow("the last brackets are the foundry") << "WithoutFoundry" << "Grid [2] [gw]" << "Grid [2]";
        QTest::newRow("brackets alone are no foundry") << "WithoutFoundry" << "[urw]" << "[urw]";
        QTest::newRow("trim in the middle") << "TrimAtNul" << QString::fromUtf16(u"ab\0c", 4) << "ab";
        // Bytes given as Latin-1 text.
        QTest::newRow("bytes cut at first NUL") << "BytesToText" << QString::fromLatin1("ab\0cd\0", 6) << "ab";
        QTest::newRow("bytes cut after one") << "BytesToText" << QString::fromLatin1("a\0cd", 4) << "a";
        QTest::newRow("bytes NUL first keeps all") << "BytesToText" << QString::fromLatin1("\0ab\0", 4)
                                                   << QString::fromUtf16(u"\0ab\0", 4);
        QTest::newRow("bytes in code page 1252") << "BytesToText" << QString::fromLatin1("Foo\x99 \xA9") << "Foo\u2122 \u00A9";
    }
    void textRules()
    {
        QFETCH(QString, helper);
        QFETCH(QString, input);
        const QMap<QString, std::function<QString(const QString&)>> helpers{
            {"WeightName", [](const QString& s) {
                 QStringList names;
                 for (const QString& w : s.split(' '))
                     names << WeightName(w.toInt());
                 return names.join('|');
             }},
            {"EnumStyleText", [](const QString& s) { return EnumStyleText(s.section(' ', 0, 0).toInt(), s.section(' ', 1).toInt()); }},
            {"Val", [](const QString& s) { return QString::number(Val(s)); }},
            {"KeystrokeLabel", KeystrokeLabel}, {"StripExtension", StripExtension},
            {"FileNamePart", FileNamePart},     {"TrimAtNul", TrimAtNul}, {"WithoutFoundry", WithoutFoundry},
            {"BytesToText", [](const QString& s) { return BytesToText(s.toLatin1().constData(), int(s.size())); }}};
        QTEST(helpers.value(helper)(input), "output");
    }

    // The kinds of the selection menus, by what a name says of weight and slant.
    void nameIsOfKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("taken");  // of the names below, those of the kind
        QTest::newRow("regular: neither bold nor slanted") << "REGULAR" << "Sans|Sans Light|Nonesuch";
        QTest::newRow("bold: upright, Semibold too") << "BOLD" << "Sans Bold|Sans SemiBold";
        QTest::newRow("italic: oblique too, not bold") << "ITALIC" << "Sans Italic|Sans Oblique|Sans Light italic";
        QTest::newRow("bold italic: both") << "BOLDITALIC" << "Sans BoldItalic|Mono Bold Oblique";
        QTest::newRow("all") << "ALL" << "Sans|Sans Bold|Sans Italic|Sans Oblique|Sans Light|Sans Light italic|Sans SemiBold|Sans BoldItalic|Mono Bold Oblique|Nonesuch";
        QTest::newRow("none, whatever the name") << "NONE" << "";
        QTest::newRow("a family, in any case") << "mono" << "Mono Bold Oblique";
    }
    void nameIsOfKind()
    {
        QFETCH(QString, kind);
        QStringList taken;
        for (const char* name : {"Sans", "Sans Bold", "Sans Italic", "Sans Oblique", "Sans Light", "Sans Light italic",
                                    "Sans SemiBold", "Sans BoldItalic", "Mono Bold Oblique", "Nonesuch"})
            if (NameIsOfKind(name, kind))
                taken << name;
        QTEST(taken.join('|'), "taken");
    }

    // Font lists in the order users read them; never in the order fonts were found.
    void nameOrder_data()
    {
        QTest::addColumn<QStringList>("names");  // as found
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("letter case ignored") << QStringList{"beta", "Alpha", "GAMMA", "Delta"}
                                             << QStringList{"Alpha", "beta", "Delta", "GAMMA"};
        QTest::newRow("alike but for case: capitals first") << QStringList{"abc", "Abc", "ABC", "aBc"}
                                                            << QStringList{"ABC", "Abc", "aBc", "abc"};
        QTest::newRow("beyond ASCII") << QStringList{"\u00e9clair", "\u00c9CLAT", "Zeta", "eclair"}
                                      << QStringList{"eclair", "Zeta", "\u00e9clair", "\u00c9CLAT"};
        QTest::newRow("digits as text, a shorter name first") << QStringList{"Font 9", "Font 10", "Font", "Font 1"}
                                                               << QStringList{"Font", "Font 1", "Font 10", "Font 9"};
    }
    void nameOrder()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        for (const QString& name : names)  // so a stable sort keeps fonts of one name in the order found
            QVERIFY2(!NameBefore(name, name), qPrintable(name));
        for (int turn = 0; turn < 2; ++turn) {  // from either end, the same order
            std::stable_sort(names.begin(), names.end(), NameBefore);
            QCOMPARE(names, sorted);
            std::reverse(names.begin(), names.end());
        }
    }

    void lowerCasePath()
    {
        // Relative names, as the temporary folder's own name has capitals.
        const QString dir = env_->root() + "/fonts";
        QVERIFY(QDir().mkpath(dir));
        const QString previous = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(dir));
        // Built by the program, no such file: lower-cased.
        QCOMPARE(LowerCasePath("NEW.FOT"), QString("new.fot"));
        // Lower case, not case folding: a long s stays.
        QCOMPARE(LowerCasePath(QString::fromUtf8("\u017F.TTF")), QString::fromUtf8("\u017F.ttf"));
        // A folder that exists keeps its spelling, a one-letter one too.
        QVERIFY(QDir().mkdir("D"));
        QCOMPARE(LowerCasePath("D/NEW.FOT"), QString("D/new.fot"));
        // A real file whose lower-cased name does not exist keeps its name.
        QVERIFY(WriteFile("Arial.TTF", "x"));
        QCOMPARE(LowerCasePath("Arial.TTF"), QString("Arial.TTF"));
        QCOMPARE(LowerCasePath(dir + "/Arial.TTF"), dir + "/Arial.TTF");
        // A lower-cased twin that is another file.
        QVERIFY(WriteFile("Twin.ttf", "a") && WriteFile("twin.ttf", "b"));
        QCOMPARE(LowerCasePath("Twin.ttf"), QString("Twin.ttf"));
        // A lower-cased name that is the same file.
        QVERIFY(WriteFile("same.ttf", "s") && QFile::link("same.ttf", "Same.ttf"));
        QCOMPARE(LowerCasePath("Same.ttf"), QString("same.ttf"));
        QVERIFY(QDir().mkpath("low") && WriteFile("low/same.ttf", "s") && QFile::link("same.ttf", "low/Same.ttf"));
        QCOMPARE(LowerCasePath("low/Same.ttf"), QString("low/same.ttf"));  // in a folder spelt in lower case too
        // A file not there yet under a folder spelt with capitals: only the new part is lower-cased.
        QVERIFY(QDir().mkpath("Fonts Folder"));
        QCOMPARE(LowerCasePath(dir + "/Fonts Folder/NEW/ARIAL.TTF"), dir + "/Fonts Folder/new/arial.ttf");
    }

    // On a fake screen whose available area leaves a 30-pixel panel at the top.
    void fitPlacement_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("inside stays") << QRect(100, 100, 800, 600) << QRect(100, 100, 800, 600);
        QTest::newRow("far right and below") << QRect(99999, 88888, 800, 600) << QRect(1120, 480, 800, 600);
        QTest::newRow("far left and above") << QRect(-2000, -2000, 800, 600) << QRect(0, 30, 800, 600);
        QTest::newRow("under the panel") << QRect(10, 0, 800, 600) << QRect(10, 30, 800, 600);
        QTest::newRow("larger than the area") << QRect(-5, 50, 2184533, 2184533) << QRect(0, 30, 1920, 1050);
        QTest::newRow("smaller than the minimum") << QRect(50, 50, 9, 3) << QRect(50, 50, 400, 300);
        QTest::newRow("extreme numbers")
            << QRect(QPoint(-143165576, -143165576), QSize(143165576, 143165576)) << QRect(0, 30, 1920, 1050);
    }
    void fitPlacement()
    {
        QFETCH(QRect, wanted);
        QTEST(FitPlacement(wanted, QSize(400, 300), QRect(0, 30, 1920, 1050)), "fitted");
        // A minimum larger than the area wins, from the area's top-left.
        QCOMPARE(FitPlacement(wanted, QSize(3000, 2000), QRect(0, 30, 1920, 1050)), QRect(0, 30, 3000, 2000));
    }

    // A window placed from its saved place (twips) on the 800 x 800 screen, at least 200 x 100; saved as placed.
    void formPlacement_data()
    {
        QTest::addColumn<QString>("saved");  // Top Left Height Width; "-" not saved
        QTest::addColumn<QRect>("placed");
        QTest::newRow("each number in its place") << "1500 3000 3000 4500" << QRect(200, 100, 300, 200);
        QTest::newRow("nothing saved: the smallest, top left") << "- - - -" << QRect(0, 0, 200, 100);
        QTest::newRow("a size of nothing: the smallest") << "1500 3000 -15 0" << QRect(200, 100, 200, 100);
        QTest::newRow("below the screen: at the top") << "12015 3000 3000 4500" << QRect(200, 0, 300, 200);
        QTest::newRow("right of the screen: at the left") << "1500 12015 3000 4500" << QRect(0, 100, 300, 200);
        QTest::newRow("at the screen's edge: moved onto it") << "12000 12000 3000 4500" << QRect(500, 600, 300, 200);
        QTest::newRow("larger than the screen: the screen") << "0 0 99000 99000" << QRect(0, 0, 800, 800);
    }
    void formPlacement()
    {
        QFETCH(QString, saved);
        QFETCH(QRect, placed);
        const QStringList numbers = saved.split(' '), keys{"Top", "Left", "Height", "Width"};
        for (int i = 0; i < 4; ++i)
            if (numbers[i] != "-")
                WriteIniString("Form", keys[i], numbers[i], IniFile);
        QWidget window;
        window.setMinimumSize(200, 100);
        LoadFormPlacement(&window, "Form", IniFile);
        QCOMPARE(QRect(window.pos(), window.size()), placed);
        SaveFormPlacement(&window, "Again", IniFile);
        const QList<int> twips{placed.y() * 15, placed.x() * 15, placed.height() * 15, placed.width() * 15};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(ReadIniInt("Again", keys[i], -1, IniFile), twips[i]);
    }

    void drawGauge_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("frameStyle");
        QTest::addColumn<int>("bevel");
        QTest::addColumn<int>("filled");
        QTest::addColumn<int>("flag1");  // non-zero: raised
        // The inner width is 204 - 2 * bevel.
        QTest::newRow("25%") << 25 << 2 << 2 << 50 << 0;
        QTest::newRow("over 100 is full") << 150 << 2 << 2 << 200 << 0;
        QTest::newRow("below 0 is empty") << -5 << 2 << 2 << 0 << 0;
        QTest::newRow("style 4") << 50 << 4 << 4 << 98 << 0;
        QTest::newRow("style 0 counts as 2") << 50 << 0 << 2 << 100 << 0;
        QTest::newRow("flag -1 raises") << 30 << 2 << 2 << 60 << -1;
    }
    void drawGauge()
    {
        QFETCH(int, percent);
        QFETCH(int, frameStyle);
        QFETCH(int, bevel);
        QFETCH(int, filled);
        QFETCH(int, flag1);
        const QColor bar(Qt::blue), back(Qt::lightGray);
        const QColor light = flag1 ? Qt::darkGray : Qt::white, dark = flag1 ? Qt::white : Qt::darkGray;
        const QImage image = Gauge(percent, flag1, 0, frameStyle);
        for (int y = bevel; y < 24 - bevel; ++y) {
            QCOMPARE(RunLength(image, y, bevel, bar), filled);
            QCOMPARE(image.pixelColor(bevel + filled, y), filled == 204 - 2 * bevel ? light : back);
        }
        // With its text at the bar's end: in the back colour over the bar, the bar's beyond it.
        const QImage text = Gauge(50, flag1, 1, frameStyle);
        int onBar = 0, beyond = 0;
        for (int y = bevel; y < 24 - bevel; ++y)
            for (int x = bevel; x < 204 - bevel; ++x) {
                const bool inBar = x < bevel + (204 - 2 * bevel) / 2;
                onBar += inBar && text.pixelColor(x, y) == back;
                beyond += !inBar && text.pixelColor(x, y) == bar;
            }
        QVERIFY(onBar > 0 && beyond > 0);
        // The bevel, sunken: dark on top and left, light at the bottom and right (and their corners).
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 204; ++x) {
                const int ring = std::min({x, y, 203 - x, 23 - y});
                if (ring < bevel)
                    QCOMPARE(image.pixelColor(x, y), x == 203 - ring || y == 23 - ring ? light : dark);
            }
    }

    void pictureBoxKeepsDrawing()
    {
        PictureBox box;
        box.resize(50, 50);
        box.SetBackColor(Qt::white);
        CanvasPainter(&box).fillRect(40, 40, 5, 5, Qt::red);
        box.resize(20, 20);
        box.resize(80, 80);
        box.Canvas();  // grown
        const QImage image = box.ToImage();
        for (const QPoint corner : {QPoint(40, 40), QPoint(44, 44)})  // in place, to the pixel
            QCOMPARE(image.pixelColor(corner), QColor(Qt::red));
        QCOMPARE(image.pixelColor(70, 70), QColor(Qt::white));
        box.Clear();
        QCOMPARE(box.ToImage().pixelColor(42, 42), QColor(Qt::white));
        CanvasPainter(&box).fillRect(40, 40, 5, 5, Qt::red);
        box.SetBackColor(Qt::blue);  // a new background wipes the drawing
        QCOMPARE(box.ToImage().pixelColor(42, 42), QColor(Qt::blue));
        for (const QSize squeezed : {QSize(40, 0), QSize(0, 40)}) {  // a box laid out to nothing still has a pixel to draw on
            PictureBox flat;
            flat.resize(squeezed);
            QCOMPARE(flat.Canvas()->size(), squeezed.expandedTo(QSize(1, 1)));
        }
    }

    // The HTML help: one anchor per context number the windows open.
    void everyContextHasAnAnchor_data()
    {
        QTest::addColumn<int>("context");
        for (int c : {120, 550, 555, 560, 565, 570, 610, 615, 710, 725})
            QTest::newRow(qPrintable(QString::number(c))) << c;
    }
    void everyContextHasAnAnchor()
    {
        QFETCH(int, context);
        const QByteArray html = ReadFile(GW_SOURCE_DIR "/help/gw.html");
        QCOMPARE(html.count(QString("id=\"ctx-%1\"").arg(context).toUtf8()), 1);
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestHelpers)
#include "test_helpers.moc"
