#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTableWidget>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "testenv.h"

using namespace gw;

namespace {

QSize ScreenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

// Pixels of `colour` in row y, counted from x = from while they last.
int RunLength(const QImage& image, int y, int from, const QColor& colour)
{
    int x = from;
    while (x < image.width() && image.pixelColor(x, y) == colour)
        ++x;
    return x - from;
}

} // namespace

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void weightName_data()
    {
        QTest::addColumn<int>("weight");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << "Don't Care";
        QTest::newRow("100") << 100 << "Thin";
        QTest::newRow("200") << 200 << "Extra Light";
        QTest::newRow("300") << 300 << "Light";
        QTest::newRow("400") << 400 << "Normal";
        QTest::newRow("500") << 500 << "Medium";
        QTest::newRow("600") << 600 << "Semi Bold";
        QTest::newRow("700") << 700 << "Bold";
        QTest::newRow("750") << 750 << "Bold";
        QTest::newRow("800") << 800 << "Extra Bold";
        QTest::newRow("900") << 900 << "Black";
        QTest::newRow("650") << 650 << "";
        QTest::newRow("401") << 401 << "";
        QTest::newRow("1000") << 1000 << "";
        QTest::newRow("-400") << -400 << "";
    }
    void weightName()
    {
        QFETCH(int, weight);
        QFETCH(QString, name);
        QCOMPARE(WeightName(weight), name);
    }

    void bytesToText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << QByteArray("Arial\0\0\0", 8) << "Arial";
        QTest::newRow("no NUL") << QByteArray("Times") << "Times";
        QTest::newRow("cut at first NUL") << QByteArray("ab\0cd\0", 6) << "ab";
        QTest::newRow("NUL first keeps all") << QByteArray("\0ab\0", 4) << QString::fromUtf16(u"\0ab\0", 4);
        QTest::newRow("code page 1252") << QByteArray("Foo\x99 \xA9\0", 7) << "Foo\u2122 \u00A9";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void bytesToText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(BytesToText(bytes.constData(), int(bytes.size())), text);
    }

    void trimAtNul_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("none") << "abc" << "abc";
        QTest::newRow("middle") << QString::fromUtf16(u"ab\0c", 4) << "ab";
        QTest::newRow("first") << QString::fromUtf16(u"\0abc", 4) << "";
        QTest::newRow("empty") << "" << "";
    }
    void trimAtNul()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(TrimAtNul(text), trimmed);
    }

    void keystrokeLabel_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("label");
        QTest::newRow("blank") << " " << "  ";
        QTest::newRow("A") << "A" << "A ";
        QTest::newRow("tilde 126") << "~" << "~ ";
        QTest::newRow("NUL") << QString(QChar(0)) << "[none]";
        QTest::newRow("tab") << "\t" << "[none]";
        QTest::newRow("31") << QString(QChar(31)) << "[none]";
        QTest::newRow("DEL 127") << QString(QChar(127)) << " ALT+0+127";
        QTest::newRow("euro 128") << "\u20AC" << " ALT+0+128";
        QTest::newRow("trade mark 153") << "\u2122" << " ALT+0+153";
        QTest::newRow("undefined 0x81") << QString(QChar(0x81)) << " ALT+0+129";
        QTest::newRow("copyright 169") << "\u00A9" << " ALT+0+169";
        QTest::newRow("255") << "\u00FF" << " ALT+0+255";
        QTest::newRow("first character counts") << "Ab" << "A ";
        QTest::newRow("no code: Cyrillic") << "\u0416" << "";
        QTest::newRow("no code: C1 0x80") << QString(QChar(0x80)) << "";
        QTest::newRow("empty") << "" << "";
    }
    void keystrokeLabel()
    {
        QFETCH(QString, character);
        QFETCH(QString, label);
        QCOMPARE(KeystrokeLabel(character), label);
    }

    void stripExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("one dot") << "arial.ttf" << "arial";
        QTest::newRow("two dots") << "my.font.ttf" << "my.font";
        QTest::newRow("none") << "README" << "README";
        QTest::newRow("leading dot") << ".hidden" << "";
        QTest::newRow("trailing dot") << "name." << "name";
        QTest::newRow("empty") << "" << "";
    }
    void stripExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, stripped);
        QCOMPARE(StripExtension(name), stripped);
    }

    void fileNamePart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("full path") << "/usr/share/fonts/truetype/arial.ttf" << "arial.ttf";
        QTest::newRow("bare name") << "arial.ttf" << "arial.ttf";
        QTest::newRow("root") << "/arial.ttf" << "arial.ttf";
        QTest::newRow("folder") << "/usr/share/" << "";
        QTest::newRow("empty") << "" << "";
    }
    void fileNamePart()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FileNamePart(path), name);
    }

    void twips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1200") << 1200 << 80;
        QTest::newRow("15") << 15 << 1;
        QTest::newRow("7 rounds down") << 7 << 0;
        QTest::newRow("8 rounds up") << 8 << 1;
        QTest::newRow("-15") << -15 << -1;
        QTest::newRow("1440 is an inch") << 1440 << 96;
    }
    void twips()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(TwipsToPixels(twips), pixels);
        QCOMPARE(TwipsToPixels(PixelsToTwips(pixels)), pixels);
    }

    void lowerCasePath()
    {
        // Relative names, as the temporary folder's own name has capitals.
        const QString dir = env_->root() + "/fonts";
        QVERIFY(QDir().mkpath(dir));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir));
        // Built by the program, no such file: lower-cased.
        QCOMPARE(LowerCasePath("NEW.FOT"), QString("new.fot"));
        // Already lower case.
        QVERIFY(WriteFile("plain.ttf", "x"));
        QCOMPARE(LowerCasePath("plain.ttf"), QString("plain.ttf"));
        // A real file whose lower-cased name does not exist keeps its name.
        QVERIFY(WriteFile("Arial.TTF", "x"));
        QCOMPARE(LowerCasePath("Arial.TTF"), QString("Arial.TTF"));
        QCOMPARE(LowerCasePath(dir + "/Arial.TTF"), dir + "/Arial.TTF");
        // A lower-cased twin that is another file.
        QVERIFY(WriteFile("Twin.ttf", "a"));
        QVERIFY(WriteFile("twin.ttf", "b"));
        QCOMPARE(LowerCasePath("Twin.ttf"), QString("Twin.ttf"));
        // A lower-cased name that is the same file.
        QVERIFY(WriteFile("same.ttf", "s"));
        QVERIFY(QFile::link("same.ttf", "Same.ttf"));
        QCOMPARE(LowerCasePath("Same.ttf"), QString("same.ttf"));
        // A file not there yet under a folder spelt with capitals: only the new part is lower-cased.
        QVERIFY(QDir().mkpath("Fonts Folder"));
        QCOMPARE(LowerCasePath(dir + "/Fonts Folder/NEW/ARIAL.TTF"), dir + "/Fonts Folder/new/arial.ttf");
        QVERIFY(QDir::setCurrent(previous));
    }

    void selectAllOnTab_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("selected");
        QTest::newRow("mouse") << int(Qt::MouseFocusReason) << false;
        QTest::newRow("tab") << int(Qt::TabFocusReason) << true;
        QTest::newRow("backtab") << int(Qt::BacktabFocusReason) << true;
        QTest::newRow("active window") << int(Qt::ActiveWindowFocusReason) << false;
        QTest::newRow("shortcut") << int(Qt::ShortcutFocusReason) << false;
        QTest::newRow("other") << int(Qt::OtherFocusReason) << false;
    }
    void selectAllOnTab()
    {
        QFETCH(int, reason);
        QFETCH(bool, selected);
        QLineEdit box;
        box.setText("Catalog title");
        box.deselect();
        SelectAllOnTab(&box, Qt::FocusReason(reason));
        QCOMPARE(box.selectedText(), selected ? QString("Catalog title") : QString());
    }

    void listFindExact_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("first") << "Arial" << 0;
        QTest::newRow("other case") << "COURIER NEW" << 1;
        QTest::newRow("first of equals") << "times" << 2;
        QTest::newRow("prefix is no match") << "Cour" << -1;
        QTest::newRow("longer is no match") << "Arial Black" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void listFindExact()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QListWidget list;
        list.addItems({"Arial", "Courier New", "Times", "TIMES"});
        QCOMPARE(ListFindExact(&list, text), index);
        QListWidget empty;
        QCOMPARE(ListFindExact(&empty, text), -1);
    }

    void selectedCount()
    {
        QListWidget list;
        list.setSelectionMode(QAbstractItemView::MultiSelection);
        list.addItems({"a", "b", "c", "d", "e"});
        QCOMPARE(SelectedCount(&list), 0);
        list.item(0)->setSelected(true);
        list.item(2)->setSelected(true);
        list.item(4)->setSelected(true);
        QCOMPARE(SelectedCount(&list), 3);
        list.item(2)->setSelected(false);
        QCOMPARE(SelectedCount(&list), 2);

        // Rows with several columns count once.
        QTableWidget table(4, 3);
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        table.setSelectionMode(QAbstractItemView::MultiSelection);
        table.selectRow(1);
        table.selectRow(3);
        QCOMPARE(SelectedCount(&table), 2);
        QCOMPARE(SelectedCount(nullptr), 0);
    }

    void centreForm()
    {
        QWidget window;
        window.resize(200, 100);
        CentreForm(&window);
        const QSize screen = ScreenSize();
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window.x(), area.x() + (screen.width() - window.frameGeometry().width()) / 2);
        QCOMPARE(window.y(), area.y() + (screen.height() - window.frameGeometry().height()) / 2);
    }

    void placementWithoutSavedValues()
    {
        QWidget window;
        window.setMinimumSize(120, 40);
        window.move(50, 60);
        window.resize(400, 300);
        LoadFormPlacement(&window, "Main", IniFile);
        QCOMPARE(window.pos(), QPoint(0, 0));
        QCOMPARE(window.size(), QSize(120, 40));
    }

    void placementRoundTrip_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("topText");
        QTest::newRow("ordinary") << QPoint(30, 40) << QSize(300, 200) << "Top= 600";
        QTest::newRow("at origin") << QPoint(0, 0) << QSize(640, 480) << "Top= 0";
        QTest::newRow("above the screen") << QPoint(-8, -10) << QSize(320, 240) << "Top=-150";
    }
    void placementRoundTrip()
    {
        QFETCH(QPoint, pos);
        QFETCH(QSize, size);
        QFETCH(QString, topText);
        QWidget saved;
        saved.move(pos);
        saved.resize(size);
        SaveFormPlacement(&saved, "Keyboard", IniFile);
        const QString text = QString::fromUtf8(ReadFile(IniFile));
        QVERIFY2(text.contains(topText + "\n"), qPrintable(text));
        QVERIFY(text.contains(QString("Width= %1\n").arg(size.width() * 15)));

        QWidget loaded;
        LoadFormPlacement(&loaded, "keyboard", IniFile);
        QCOMPARE(loaded.pos(), pos);
        QCOMPARE(loaded.size(), size);
    }

    void placementBeyondScreen_data()
    {
        QTest::addColumn<int>("extraTop");
        QTest::addColumn<int>("extraLeft");
        QTest::addColumn<QPoint>("expected");
        const QSize s = ScreenSize();
        QTest::newRow("top beyond") << 15 << -3000 << QPoint(s.width() - 200, 0);
        QTest::newRow("left beyond") << -1500 << 1 << QPoint(0, s.height() - 100);
        QTest::newRow("both at the edge stay") << 0 << 0 << QPoint(s.width(), s.height());
    }
    void placementBeyondScreen()
    {
        QFETCH(int, extraTop);
        QFETCH(int, extraLeft);
        QFETCH(QPoint, expected);
        const QSize s = ScreenSize();
        WriteIniString("Main", "Top", QString::number(s.height() * 15 + extraTop), IniFile);
        WriteIniString("Main", "Left", QString::number(s.width() * 15 + extraLeft), IniFile);
        WriteIniString("Main", "Height", " 3000", IniFile);
        WriteIniString("Main", "Width", " 4500", IniFile);
        QWidget window;
        LoadFormPlacement(&window, "Main", IniFile);
        QCOMPARE(window.pos(), expected);
        QCOMPARE(window.size(), QSize(300, 200));
    }

    void drawGauge_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("frameStyle");
        QTest::addColumn<int>("bevel");
        QTest::addColumn<int>("filled");
        // The box is 204 x 24; the inner width is 204 - 2 * bevel.
        QTest::newRow("50%") << 50 << 2 << 2 << 100;
        QTest::newRow("0%") << 0 << 2 << 2 << 0;
        QTest::newRow("25%") << 25 << 2 << 2 << 50;
        QTest::newRow("100%") << 100 << 2 << 2 << 200;
        QTest::newRow("over 100 is full") << 150 << 2 << 2 << 200;
        QTest::newRow("below 0 is empty") << -5 << 2 << 2 << 0;
        QTest::newRow("style 1") << 50 << 1 << 1 << 101;
        QTest::newRow("style 4") << 50 << 4 << 4 << 98;
        QTest::newRow("style 0 counts as 2") << 50 << 0 << 2 << 100;
        QTest::newRow("style 5 counts as 2") << 50 << 5 << 2 << 100;
    }
    void drawGauge()
    {
        QFETCH(int, percent);
        QFETCH(int, frameStyle);
        QFETCH(int, bevel);
        QFETCH(int, filled);
        const QColor bar(Qt::blue), light(Qt::white), dark(Qt::darkGray), back(Qt::lightGray);
        PictureBox box;
        box.resize(204, 24);
        box.SetBackColor(back);
        DrawGauge(&box, bar, light, dark, percent, 0, 0, frameStyle);
        const QImage image = box.ToImage();
        for (int y = bevel; y < 24 - bevel; ++y) {
            QCOMPARE(RunLength(image, y, bevel, bar), filled);
            QCOMPARE(image.pixelColor(bevel + filled, y), filled == 204 - 2 * bevel ? light : back);
        }
        // The bevel, sunken: dark on top and left, light at the bottom and right.
        for (int i = 0; i < bevel; ++i) {
            QCOMPARE(image.pixelColor(100, i), dark);
            QCOMPARE(image.pixelColor(i, 12), dark);
            QCOMPARE(image.pixelColor(100, 23 - i), light);
            QCOMPARE(image.pixelColor(203 - i, 12), light);
        }
    }

    void drawGaugeFlags_data()
    {
        QTest::addColumn<int>("flag1");
        QTest::addColumn<bool>("raised");
        QTest::newRow("0 false") << 0 << false;
        QTest::newRow("-1 true") << -1 << true;
        QTest::newRow("1 counts as true") << 1 << true;
        QTest::newRow("-7 counts as true") << -7 << true;
        QTest::newRow("42 counts as true") << 42 << true;
    }
    void drawGaugeFlags()
    {
        QFETCH(int, flag1);
        QFETCH(bool, raised);
        const QColor light(Qt::white), dark(Qt::black);
        PictureBox box;
        box.resize(100, 20);
        DrawGauge(&box, Qt::red, light, dark, 30, flag1, 0, 2);
        const QImage image = box.ToImage();
        QCOMPARE(image.pixelColor(50, 0), raised ? light : dark);
        QCOMPARE(image.pixelColor(50, 19), raised ? dark : light);
    }

    void drawGaugeText()
    {
        const QColor bar(Qt::blue), back(Qt::white);
        PictureBox box;
        box.resize(200, 30);
        box.SetBackColor(back);
        DrawGauge(&box, bar, Qt::gray, Qt::black, 50, 0, 0, 2);
        const QImage plain = box.ToImage();
        DrawGauge(&box, bar, Qt::gray, Qt::black, 50, 0, -1, 2);
        const QImage withText = box.ToImage();
        // The text shows in the middle; outside it the gauge is unchanged.
        int changed = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 200; ++x)
                if (plain.pixel(x, y) != withText.pixel(x, y))
                    ++changed;
        QVERIFY(changed > 0);
        QCOMPARE(plain.copy(0, 0, 40, 30), withText.copy(0, 0, 40, 30));
    }

    void drawGaugeTinyBox()
    {
        PictureBox box;
        box.resize(3, 3);
        DrawGauge(&box, Qt::red, Qt::white, Qt::black, 100, 0, 1, 4);
        QCOMPARE(box.ToImage().size(), QSize(3, 3));
        DrawGauge(nullptr, Qt::red, Qt::white, Qt::black, 50, 0, 0, 2);
    }

    void pictureBoxKeepsDrawing()
    {
        PictureBox box;
        box.resize(50, 50);
        box.SetBackColor(Qt::white);
        {
            CanvasPainter p(&box);
            p.fillRect(40, 40, 5, 5, Qt::red);
        }
        box.resize(20, 20);
        QCOMPARE(box.ToImage().size(), QSize(20, 20));
        box.resize(80, 80);
        QImage image = box.ToImage();
        QCOMPARE(image.size(), QSize(80, 80));
        QCOMPARE(image.pixelColor(42, 42), QColor(Qt::red));
        QCOMPARE(image.pixelColor(70, 70), QColor(Qt::white));
        box.Clear();
        QCOMPARE(box.ToImage().pixelColor(42, 42), QColor(Qt::white));
    }

    void runProgramGoesToPlatform()
    {
        RunProgram("CHARMAP.EXE", 1);
        RunProgram("/opt/atm/atmcntrl", 1);
        QCOMPARE(env_->fake.programs->started, QStringList({"CHARMAP.EXE", "/opt/atm/atmcntrl"}));
        QCOMPARE(env_->fake.programs->styles, QList<int>({1, 1}));
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestHelpers)
#include "test_helpers.moc"
