// The large character, chart, sample text and information pages of the main window.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QScrollBar>
#include <memory>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/rereadprogress.h"
#include "core/picturebox.h"
#include "core/splash.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"
#include "sfnt/fot.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

using Face = FakeFontSystem::Face;

const QString kType1Notice = "Internal font information not available for Adobe Type 1 files.";
const QString kHardwareNotice = "Internal font information not available for hardware based fonts.";

// Bounding box of the pixels darker than mid grey, or (white) of pure white ones.
QRect Ink(const QImage& image, bool white = false)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (white ? image.pixel(x, y) == qRgb(255, 255, 255) : qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

void LeaveBox(QComboBox* box, QWidget* next)
{
    QWidget* window = box->window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    box->setFocus(Qt::MouseFocusReason);
    next->setFocus(Qt::TabFocusReason);
}

// A widget of page 0 (large character), 1 (chart) or 2 (sample text), by its role.
template <typename Widget>
Widget& OnPage(const MainWindow& w, int page, const char* role)
{
    const char* const pages[] = {"glyph", "chart", "sample"};
    return Child<Widget>(w, QByteArray(pages[page]).append(role).constData());
}

PictureBox* Cell(const MainWindow& w, int k)
{
    for (PictureBox* cell : w.findChildren<PictureBox*>("cellPicture"))
        if (cell->property("index").toInt() == k)
            return cell;
    qFatal("no chart cell %d", k);
}

QPlainTextEdit& Sample(const MainWindow& w)
{
    return Child<QPlainTextEdit>(w, "sampleEdit");
}

// Picks a range in the chart page's range box, as a user does.
void PickRange(const MainWindow& w, int range)
{
    auto& box = Child<QComboBox>(w, "chartRangeBox");
    box.setCurrentIndex(range);
    emit box.activated(range);
}

} // namespace

class TestPreviewPages : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;
    QString ttf, fot, serifTtf;

    std::unique_ptr<MainWindow> Open(const QVector<Face>& faces = {TrueTypeFace("Liberation Sans"),
                                         TrueTypeFace("Liberation Sans", "Bold", 700),
                                         TrueTypeFace("Liberation Sans", "Italic", 400, true),
                                         TrueTypeFace("Liberation Sans", "Bold Italic", 700, true),
                                         TrueTypeFace("DejaVu Sans", "Book")})
    {
        return OpenMainWindow<MainWindow>(*env, faces, true, false, false);
    }

    // For the information page, one family per case: .ttf, .fot and no registration, a variable
    // font, Type 1, a printer font; `family` selected after `previous`.
    std::unique_ptr<MainWindow> OpenInfoFonts(const QString& family, const QString& previous = {})
    {
        ttf = env->root() + "/fonts/gwsans.ttf";
        SfntBuilder sans;
        sans.AddName(0, "Copyright 1996 Type Co.").AddName(1, "GW Sans").AddName(2, "Regular");
        sans.AddName(3, "TypeCo: GW Sans: 1996").AddName(4, "GW Sans").AddName(5, "Version 1.00?");
        sans.AddName(7, "GW Sans is a trademark of Type Co.");
        sans.AddTable("glyf", QByteArray(3000, '\1'));  // 3 KiB and a bit: "3k"
        WriteFile(ttf, sans.Build());
        serifTtf = env->root() + "/fonts/gwserif.ttf";
        WriteFile(serifTtf, SfntBuilder::Simple("GW Serif", "GW Serif"));
        fot = env->root() + "/fonts/gwserif.fot";
        WriteFile(fot, BuildFotFile(serifTtf, "GW Serif", "GW Serif"));
        const QString variable = env->root() + "/fonts/gwvariable.ttf";
        WriteFile(variable, SfntBuilder::VariableFont("GW Variable", 0x0002));
        env->fake.registry->values = {{"GW Sans (TrueType)", ttf}, {"GW Serif (TrueType)", fot},
                                      {"GW Variable (TrueType)", variable}};
        ATMInstalled = true;
        env->fake.atm->text = "[Fonts]\nGW Type=/x/face.afm,/x/face.pfb\n";
        auto w = OpenMainWindow<MainWindow>(*env, {TrueTypeFace("GW Sans"), TrueTypeFace("GW Serif"),
                                                   TrueTypeFace("GW Mono"), DeviceFace("GW Type"),
                                                   DeviceFace("GW Printer"), TrueTypeFace("GW Variable")},
                                            true, true, true);
        for (const QString& f : {previous, family})
            if (!f.isEmpty() && (!SelectFamily(*w, f) || w->SelectedStyle() != 0))
                qFatal("cannot select %s", qPrintable(f));
        return w;
    }

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        UnloadRereadProgress();
        env.reset();
    }

    // Typed into the size box and left, or picked from its list.
    void sizeBox_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("how");  // leave, pick, enter, or switch (to another tab)
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("size");
        QTest::newRow("above the maximum") << 0 << "leave" << "900" << 800;
        QTest::newRow("letters dropped") << 2 << "leave" << "1x2 ." << 12;
        QTest::newRow("picked on the chart clamps") << 1 << "pick" << "160" << 136;
        QTest::newRow("enter clamps on the sample") << 2 << "enter" << "999" << 136;
        QTest::newRow("typed on the large character stays there") << 0 << "switch" << "250" << 250;
    }
    void sizeBox()
    {
        QFETCH(int, tab);
        QFETCH(QString, how);
        QFETCH(QString, entry);
        QFETCH(int, size);
        auto w = Open();
        w->SelectTab(tab);
        const int other = tab == 1 ? 0 : 1;
        const int otherSize = OnPage<QScrollBar>(*w, other, "SizeSlider").value();
        QComboBox* box = &Child<QComboBox>(*w, "sizeBox");
        QWidget* styles = &Child<QWidget>(*w, "styleList");
        if (how == "pick") {
            const int index = box->findText(entry);
            box->setCurrentIndex(index);
            emit box->activated(index);
        } else {
            box->lineEdit()->clear();
            QTest::keyClicks(box, entry);
            if (how == "leave")
                LeaveBox(box, styles);
            else if (how == "enter")
                QTest::keyClick(box, Qt::Key_Return);
            else
                w->SelectTab(other);
        }
        QCOMPARE(OnPage<QScrollBar>(*w, tab, "SizeSlider").value(), size);
        QCOMPARE(OnPage<QLabel>(*w, tab, "SizeReadout").text(), QString::number(size));
        if (tab == 2)
            QCOMPARE(Sample(*w).font().pointSize(), size);
        if (how == "switch") {
            // The other page keeps its size and the box shows it.
            QCOMPARE(box->currentText(), QString::number(otherSize));
            LeaveBox(box, styles);
            QCOMPARE(OnPage<QScrollBar>(*w, other, "SizeSlider").value(), otherSize);
        } else {
            QCOMPARE(box->currentText(), QString::number(size));
        }
    }

    // Regular at 72 points and bold italic at 9: an "A" centred, standing on the baseline.
    // Copy takes the selected chart place, the large character, the sample's selection or
    // else all of it; on the empty information page the clipboard stays.
    void glyphClicksAndCopy()
    {
        auto w = Open();
        PictureBox* glyph = &Child<PictureBox>(*w, "glyphPicture");
        for (const auto& [style, size] : {std::pair{0, 72}, {3, 9}}) {
            glyph->Clear();
            w->DrawGlyph(glyph, style, size, "A", Qt::black);
            const QRect ink = Ink(glyph->ToImage());
            const int baseline = glyph->height() / 2 + size / 4;
            QVERIFY2(qAbs(ink.bottom() + 1 - baseline) <= 1, qPrintable(QString::number(ink.bottom())));
            const int slant = style == 3 ? size / 8 : 0;
            QVERIFY(qAbs(ink.center().x() - glyph->width() / 2) <= 2 + slant);
            // The size is the cell height: a capital is about two thirds of it.
            QVERIFY(ink.height() >= size * 55 / 100 && ink.height() <= size * 75 / 100 + 1);
        }
        w->SelectTab(1);
        const QLabel& keystroke = Child<QLabel>(*w, "keystrokeReadout");
        QAction& copy = Child<QAction>(*w, "copyAction");
        QTest::mouseClick(Cell(*w, 5), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "chartCodeReadout").text(), QStringLiteral("70"));
        QCOMPARE(keystroke.text(), QStringLiteral("F "));
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("F"));
        // The selection is a place in the chart, not a character.
        OnPage<QScrollBar>(*w, 1, "CodeSlider").triggerAction(QAbstractSlider::SliderPageStepAdd);
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("V"));

        // A double click opens the character large on the first page.
        OnPage<QScrollBar>(*w, 1, "CodeSlider").setValue(240);
        QTest::mouseDClick(Cell(*w, 15), Qt::LeftButton);
        QCOMPARE(Child<QTabWidget>(*w, "previewTabs").currentIndex(), 0);
        QCOMPARE(OnPage<QScrollBar>(*w, 0, "CodeSlider").value(), 255);
        // The whole keystroke text, with the Alt code, in the tooltip.
        QCOMPARE(keystroke.toolTip(), QStringLiteral("Ctrl+Shift+U ff  (U+00FF)  ALT+0+255"));
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QString(QChar(0xFF)));

        Sample(*w).setPlainText("Sample\nText");
        w->SelectTab(2);
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("Sample\nText"));
        QTextCursor cursor = Sample(*w).textCursor();
        cursor.setPosition(3);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        Sample(*w).setTextCursor(cursor);
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("ple\nTe"));
        w->SelectTab(3);
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("ple\nTe"));
    }

    // The sample shows the exact style chosen, whatever its name says.
    void sampleFontStyle_data()
    {
        QTest::addColumn<int>("fontType");
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::newRow("extra light") << int(TRUETYPE_FONTTYPE) << "ExtraLight" << 200 << false;
        QTest::newRow("bold oblique") << int(TRUETYPE_FONTTYPE) << "Bold Oblique" << 700 << true;
        QTest::newRow("type 1 bold italic") << int(DEVICE_FONTTYPE) << "Bold Italic" << 700 << true;
    }
    void sampleFontStyle()
    {
        QFETCH(int, fontType);
        QFETCH(QString, style);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        auto w = Open({FakeFontSystem::MakeFace("DejaVu Sans", "DejaVu Sans " + style, style, weight, italic, fontType)});
        const QFont font = Sample(*w).font();
        QCOMPARE(font.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(font.styleName(), style);
        QCOMPARE(int(font.weight()), weight);
        QCOMPARE(font.italic(), italic);
    }

    // A font that holds only "A": no page draws another character from another font.
    void missingCharacters_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("selected");  // the chart's selected cell: white on the highlight colour
        QTest::newRow("large character, the A") << 0 << 65 << false;
        QTest::newRow("large character, B is missing") << 0 << 66 << false;
        QTest::newRow("chart, B is missing") << 1 << 66 << false;
        QTest::newRow("chart, the selected cell") << 1 << 65 << true;
        QTest::newRow("chart, the selected cell, @ is missing") << 1 << 64 << true;
        QTest::newRow("sample text, B is missing") << 2 << 66 << false;
        QTest::newRow("sample text, the first after the space is missing") << 2 << 33 << false;
    }
    void missingCharacters()
    {
        QFETCH(int, tab);
        QFETCH(int, code);
        QFETCH(bool, selected);
        const QString file = env->root() + "/only-a.ttf";
        env->fake.characterMaps->maps[file] = {'A'};
        auto w = Open({FakeFontSystem::MakeFace("DejaVu Sans", "Only A", "Book", 400, false, TRUETYPE_FONTTYPE, file)});
        w->SelectTab(tab);
        const bool present = code == 65;
        const QColor mark(0xc8, 0xc8, 0xc8);
        if (tab <= 1) {
            // Cell 0 of the chart is the selected one.
            OnPage<QScrollBar>(*w, tab, "CodeSlider").setValue(tab == 0 || selected ? code : code - 1);
            PictureBox* glyph = &Child<PictureBox>(*w, "glyphPicture");
            const QImage image = (tab == 0 ? glyph : Cell(*w, selected ? 0 : 1))->ToImage();
            QCOMPARE(!Ink(image, selected).isEmpty(), present);
            bool marked = false;
            for (int i = 0; i < image.width() * image.height() && !marked; ++i)
                marked = image.pixelColor(i % image.width(), i / image.width()) == mark;
            QVERIFY(present || marked);
        } else {
            Sample(*w).setPlainText("x" + QString(QChar(code)));
            bool greyed = false;
            for (const QTextLayout::FormatRange& range : Sample(*w).document()->firstBlock().layout()->formats())
                greyed |= range.start <= 1 && range.start + range.length > 1 && range.format.foreground().color() == mark;
            QCOMPARE(greyed, !present);
        }
    }

    // Each named instance of a variable font is drawn as itself ("H" 500 units wide in Thin, 350 in Bold).
    void namedInstanceDrawnAsItself()
    {
        const QString file = env->root() + "/gwvar.ttf";
        QVERIFY(WriteFile(file, SfntBuilder::VariableFont("GW Var Screen", 0)));
        env->fake.characterMaps->maps[file] = {'A', 'H'};
        auto w = Open(FakeFontSystem::FileFaces(file));
        PictureBox* glyph = &Child<PictureBox>(*w, "glyphPicture");
        for (const auto& [style, inkPerSize] : {std::pair{0, 0.5}, {1, 0.35}}) {
            glyph->Clear();
            w->DrawGlyph(glyph, style, 120, "H", Qt::black);
            QVERIFY2(qAbs(Ink(glyph->ToImage()).width() - inkPerSize * 120) <= 4, qPrintable(QString::number(style)));
            Child<QListWidget>(*w, "styleList").setCurrentRow(style);
            QVERIFY(!QFontMetrics(Sample(*w).font()).inFont(QChar(0xE9)));  // lacking it, borrows no "é"
            // The keyboard types in the same face.
            const KeyFont key = w->CurrentKeyFont();
            QCOMPARE(QFontInfo(QFont(key.family)).family(), ExactFont(StyleFonts[size_t(style)], 0).family());
            QVERIFY(key.family.contains(style == 0 ? "Thin" : "Bold Condensed"));
        }
    }

    void chartOfABlock_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("0 - 255 reads code page 1252: 128 is the euro") << 0 << 128 << 0 << "U+20AC EURO SIGN" << false;
        QTest::newRow("0 - 255, the copyright sign") << 0 << 160 << 9 << "U+00A9 COPYRIGHT SIGN" << true;
        QTest::newRow("a block starts at its first code") << 3 << 0x370 << 0 << "U+0370 GREEK CAPITAL LETTER HETA" << false;
        QTest::newRow("alpha in the Greek block") << 3 << 0x3B0 << 1 << "U+03B1 GREEK SMALL LETTER ALPHA" << true;
        QTest::newRow("a Han ideograph past 255") << 4 << 0x4E00 << 2 << "U+4E02 CJK UNIFIED IDEOGRAPH-4E02" << true;
    }
    void chartOfABlock()
    {
        QFETCH(int, range);
        QFETCH(int, start);
        QFETCH(int, cell);
        QFETCH(QString, readout);
        // Two styles: Greek and Han characters, and Latin only.
        const QString greek = env->root() + "/greek-han.ttf";
        const QString latin = env->root() + "/latin.ttf";
        env->fake.characterMaps->maps[greek] = {'A', 0xA9, 0x3B1, 0x3B2, 0x4E00, 0x4E01, 0x4E02};
        env->fake.characterMaps->maps[latin] = {'A', 'B'};
        auto w = Open({FakeFontSystem::MakeFace("DejaVu Sans", "Greek Han", "Book", 400, false, TRUETYPE_FONTTYPE, greek),
                       FakeFontSystem::MakeFace("DejaVu Sans", "Latin", "Bold", 700, false, TRUETYPE_FONTTYPE, latin)});
        // The blocks the font covers, with its count of characters in each.
        const QComboBox& ranges = Child<QComboBox>(*w, "chartRangeBox");
        QStringList items;
        for (int i = 0; i < ranges.count(); ++i)
            items << ranges.itemText(i);
        QCOMPARE(items, QStringList({"0 - 255", "U+0000 Basic Latin (1)", "U+0080 Latin 1 Supplement (1)",
                                     "U+0370 Greek And Coptic (2)", "U+4E00 CJK Unified Ideographs (3)"}));
        w->SelectTab(1);
        PickRange(*w, range);
        QScrollBar& chart = OnPage<QScrollBar>(*w, 1, "CodeSlider");
        if (range > 0) {
            QCOMPARE(chart.minimum(), int(w->RangeBlocks()[range - 1].first));
            QCOMPARE(chart.maximum(), int(w->RangeBlocks()[range - 1].last) - 15);
            QCOMPARE(Child<QComboBox>(*w, "glyphRangeBox").currentIndex(), range);
        }
        chart.setValue(start);
        QTest::mouseClick(Cell(*w, cell), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "chartCharacterNameLabel").text(), readout);
        QTest::mouseClick(Cell(*w, cell == 0 ? 1 : 0), Qt::LeftButton);  // black on white
        QTEST(!Ink(Cell(*w, cell)->ToImage()).isEmpty(), "drawn");
        QTest::mouseClick(Cell(*w, cell), Qt::LeftButton);
        Child<QAction>(*w, "copyAction").trigger();
        QCOMPARE(env->fake.clipboard->text.toUcs4().value(0), readout.mid(2, readout.indexOf(' ') - 2).toUInt(nullptr, 16));
        // The large character page shows the cell double-clicked, named.
        QTest::mouseDClick(Cell(*w, cell), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "glyphCharacterNameLabel").text(), readout);
        if (start != 0x370)
            return;
        // The block shown stays when the same style is chosen again; a style without it, or the
        // Characters menu, returns to 0 - 255 and the place shown there before (65 at the start).
        QListWidget& styles = Child<QListWidget>(*w, "styleList");
        QVERIFY(SelectFamily(*w, "DejaVu Sans"));  // its first style shown again
        QCOMPARE(ranges.currentIndex(), 3);
        QCOMPARE(chart.value(), 0x370);
        QCOMPARE(chart.maximum(), int(w->RangeBlocks()[2].last) - 15);
        styles.setCurrentRow(1);
        QCOMPARE(ranges.currentIndex(), 0);
        QCOMPARE(chart.value(), 65);
        QCOMPARE(chart.maximum(), 240);
        styles.setCurrentRow(0);
        PickRange(*w, 4);
        Child<QAction>(*w, "accentsAction").trigger();
        QCOMPARE(ranges.currentIndex(), 0);
        QCOMPARE(chart.value(), 192);
    }

    void readouts_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("caption");  // empty: the file and size rows are hidden
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");   // empty: the companion file row hidden
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("info");     // "{names}": the naming text of GW Sans

        QTest::newRow("registered .ttf") << "GW Sans" << "TrueType file" << "{ttf}" << "" << "3k"
                                         << "{names}";
        QTest::newRow("registered .fot") << "GW Serif" << "TrueType files" << "{serif}" << "{fot}" << "0k"
                                         << "{serif names}";
        QTest::newRow("not registered") << "GW Mono" << "TrueType files" << "unknown" << "unknown"
                                        << "unknown" << "";
        QTest::newRow("Type 1") << "GW Type" << "Adobe Type 1 files" << "/x/face.pfb" << "/x/face.afm"
                                << "unknown" << kType1Notice;
        QTest::newRow("printer font") << "GW Printer" << "" << "" << "" << "" << kHardwareNotice;
    }

    void readouts()
    {
        QFETCH(QString, family);
        QFETCH(QString, caption);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, info);
        auto fill = [&](QString text) {
            return text.replace("{ttf}", ttf).replace("{serif}", serifTtf).replace("{fot}", fot);
        };
        info.replace("{names}", "Version: Version 1.00\n\nCopyright: Copyright 1996 Type Co.\n\n"
                                "Trademark: GW Sans is a trademark of Type Co.\n\n"
                                "Font Family: GW Sans\nFont Subfamily: Regular\nFull Font Name: GW Sans\n"
                                "Font Identifier: TypeCo: GW Sans: 1996\n");
        info.replace("{serif names}", "Version: \n\nCopyright: \n\nTrademark: \n\nFont Family: GW Serif\n"
                                      "Font Subfamily: Regular\nFull Font Name: GW Serif\nFont Identifier: \n");

        // Every row starts from another kind's read-outs.
        auto w = OpenInfoFonts(family, caption.isEmpty() ? "GW Serif" : "GW Printer");
        const QWidget* panel = &Child<QWidget>(*w, "controlPanel");
        auto label = [&](const char* name) { return &Child<QLabel>(*w, name); };
        QLabel *captionRow = label("fontFilesLabel"), *fileRow = label("fontFileReadout"),
               *companionRow = label("companionFileReadout"), *sizeLabel = label("fileSizeLabel"),
               *sizeRow = label("fileSizeReadout");
        const bool rows = !caption.isEmpty();
        for (QWidget* row : {captionRow, fileRow, sizeLabel, sizeRow})
            QCOMPARE(row->isVisibleTo(panel), rows);
        QCOMPARE(companionRow->isVisibleTo(panel), !second.isEmpty());
        // A path shows its file name, the whole path in the tooltip.
        auto shown = [](const QString& path) { return path.contains('/') ? FileNamePart(path) : path; };
        auto tip = [](const QString& path) { return path.contains('/') ? path : QString(); };
        if (rows) {
            QCOMPARE(captionRow->text(), caption);
            QCOMPARE(fileRow->text(), shown(fill(first)));
            QCOMPARE(fileRow->toolTip(), tip(fill(first)));
            if (!second.isEmpty())
                QCOMPARE(companionRow->text(), shown(fill(second)));
            QTEST(sizeRow->text(), "size");
        }
        // CR LF shows as plain line breaks; a TrueType file's names are followed by what else it holds.
        const QString page = Child<QPlainTextEdit>(*w, "infoEdit").toPlainText();
        QCOMPARE(page.left(info.size()), info);
        QCOMPARE(page.mid(info.size()).startsWith("\nFamily: ") && page.contains("\nEmbedding: Installable\n"),
                 info.contains("Font Identifier"));
        if (family != "GW Sans")
            return;
        // A variable font's page lists its axes, named instances, embedding rights and licence.
        // Another kind of font leaves the information tab; clicking it then shows the notice.
        w->SelectTab(3);
        QVERIFY(SelectFamily(*w, "GW Variable"));
        const QStringList lines = Child<QPlainTextEdit>(*w, "infoEdit").toPlainText().split('\n');
        for (const char* line : {"Axes: wght 100 to 900 (default 400), wdth 75 to 100 (default 100)",
                                    "Instances: Thin (wght=100 wdth=100), Bold Condensed (wght=700 wdth=75)",
                                    "Embedding: Restricted", "Font Family: GW Variable", "Version: Version 3.0",
                                    "Vendor: GWTS", "Designer: A. Designer", "Licence: Test licence",
                                    "Licence URL: https://example.org/l", "Glyphs: 96", "Characters: 95"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), qPrintable(lines.join('\n')));
        const QTabWidget& tabs = Child<QTabWidget>(*w, "previewTabs");
        QVERIFY(SelectFamily(*w, "GW Type"));
        QCOMPARE(tabs.currentIndex(), 0);
        w->SelectTab(3);
        QCOMPARE(Child<QPlainTextEdit>(*w, "infoEdit").toPlainText(), kType1Notice);
        // A TrueType font keeps the tab.
        QVERIFY(SelectFamily(*w, "GW Sans"));
        QCOMPARE(tabs.currentIndex(), 3);
    }
};

QTEST_MAIN(TestPreviewPages)
#include "test_previewpages.moc"
