// The large character, chart and sample text pages of the main window.
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
#include "core/rereadprogress.h"
#include "core/picturebox.h"
#include "core/splash.h"
#include "fonts/glyphs.h"
#include "keyboard/keyboardwindow.h"
#include "mainwindow/mainwindow.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

namespace {

using Face = FakeFontSystem::Face;

QVector<Face> InstalledFaces()
{
    return {TrueTypeFace("Liberation Sans"), TrueTypeFace("Liberation Sans", "Bold", 700),
            TrueTypeFace("Liberation Sans", "Italic", 400, true),
            TrueTypeFace("Liberation Sans", "Bold Italic", 700, true), TrueTypeFace("DejaVu Sans", "Book")};
}

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

QScrollBar& CodeSlider(const MainWindow& w, int page)
{
    return OnPage<QScrollBar>(w, page, "CodeSlider");
}

PictureBox* Cell(const MainWindow& w, int k)
{
    for (PictureBox* cell : w.findChildren<PictureBox*>("cellPicture"))
        if (cell->property("index").toInt() == k)
            return cell;
    qFatal("no chart cell %d", k);
}

PictureBox* Glyph(const MainWindow& w)
{
    return &Child<PictureBox>(w, "glyphPicture");
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

    std::unique_ptr<MainWindow> Open(const QVector<Face>& faces = InstalledFaces())
    {
        return OpenMainWindow<MainWindow>(*env, faces, true, false, false);
    }

    // Two styles: Greek and Han characters, and Latin only.
    std::unique_ptr<MainWindow> OpenUnicodeFonts()
    {
        const QString greek = env->root() + "/greek-han.ttf";
        const QString latin = env->root() + "/latin.ttf";
        env->fake.characterMaps->maps[greek] = {'A', 0xA9, 0x3B1, 0x3B2, 0x4E00, 0x4E01, 0x4E02};
        env->fake.characterMaps->maps[latin] = {'A', 'B'};
        return Open({FakeFontSystem::MakeFace("DejaVu Sans", "Greek Han", "Book", 400, false, TRUETYPE_FONTTYPE, greek),
                     FakeFontSystem::MakeFace("DejaVu Sans", "Latin", "Bold", 700, false, TRUETYPE_FONTTYPE, latin)});
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
            QCOMPARE(box->currentText(), entry.remove(QRegularExpression("[^0-9]")));
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

    void chartClicksSelectCopyAndOpen()
    {
        auto w = Open();
        w->SelectTab(1);
        const QLabel& keystroke = Child<QLabel>(*w, "keystrokeReadout");
        QAction& copy = Child<QAction>(*w, "copyAction");
        QTest::mouseClick(Cell(*w, 5), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "chartCodeReadout").text(), QStringLiteral("70"));
        QCOMPARE(keystroke.text(), QStringLiteral("F "));
        QCOMPARE(Cell(*w, 0)->BackColor(), QColor(Qt::white));
        QCOMPARE(Cell(*w, 5)->BackColor(), w->palette().color(QPalette::Highlight));
        QVERIFY(!Ink(Cell(*w, 5)->ToImage(), true).isEmpty());
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("F"));

        // The selection is a place in the chart, not a character.
        CodeSlider(*w, 1).triggerAction(QAbstractSlider::SliderPageStepAdd);
        copy.trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("V"));

        // A double click opens the character large on the first page.
        CodeSlider(*w, 1).setValue(240);
        QTest::mouseDClick(Cell(*w, 15), Qt::LeftButton);
        QCOMPARE(Child<QTabWidget>(*w, "previewTabs").currentIndex(), 0);
        QCOMPARE(CodeSlider(*w, 0).value(), 255);
        // The Linux keystroke comes first and whole; the Alt code only where it fits.
        QVERIFY(keystroke.text().startsWith(QStringLiteral("Ctrl+Shift+U ff")));
        QVERIFY(keystroke.fontMetrics().horizontalAdvance(keystroke.text()) <= keystroke.contentsRect().width());
        QCOMPARE(keystroke.toolTip(), QStringLiteral("Ctrl+Shift+U ff  (U+00FF)  ALT+0+255"));
    }

    void copyByTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("selection");
        QTest::addColumn<QString>("copied");
        QTest::newRow("large character") << 0 << false << "\xC3\xA9";
        QTest::newRow("sample text") << 2 << true << "ple\nTe";
        QTest::newRow("sample text, nothing selected: all of it") << 2 << false << "Sample\nText";
        QTest::newRow("information, empty: the clipboard stays") << 3 << false << "old";
    }
    void copyByTab()
    {
        QFETCH(int, tab);
        QFETCH(bool, selection);
        QFETCH(QString, copied);
        auto w = Open();
        CodeSlider(*w, 0).setValue(233);
        Sample(*w).setPlainText("Sample\nText");
        if (selection) {
            QTextCursor cursor = Sample(*w).textCursor();
            cursor.setPosition(3);
            cursor.setPosition(9, QTextCursor::KeepAnchor);
            Sample(*w).setTextCursor(cursor);
        }
        env->fake.clipboard->text = "old";
        w->SelectTab(tab);
        Child<QAction>(*w, "copyAction").trigger();
        QCOMPARE(env->fake.clipboard->text, copied);
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
        QVERIFY(font.styleStrategy() & QFont::NoFontMerging);
    }

    // A font that holds only "A": no page draws another character from another font.
    void missingCharacters_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("code");
        QTest::newRow("large character, the A") << 0 << 65;
        QTest::newRow("large character, B is missing") << 0 << 66;
        QTest::newRow("chart, B is missing") << 1 << 66;
        QTest::newRow("chart, the selected cell") << 1 << 64;
        QTest::newRow("sample text, B is missing") << 2 << 66;
    }
    void missingCharacters()
    {
        QFETCH(int, tab);
        QFETCH(int, code);
        const QString file = env->root() + "/only-a.ttf";
        env->fake.characterMaps->maps[file] = {'A'};
        auto w = Open({FakeFontSystem::MakeFace("DejaVu Sans", "Only A", "Book", 400, false, TRUETYPE_FONTTYPE, file)});
        w->SelectTab(tab);
        const bool present = code == 65;
        const QColor mark(0xc8, 0xc8, 0xc8);
        if (tab <= 1) {
            // Cell 0 of the chart is selected: white on the highlight colour.
            CodeSlider(*w, tab).setValue(tab == 0 || code == 64 ? code : code - 1);
            const QImage image = (tab == 0 ? Glyph(*w) : Cell(*w, code == 64 ? 0 : 1))->ToImage();
            QCOMPARE(!Ink(image, code == 64).isEmpty(), present);
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

    // Regular at 72 points and bold italic at 9: an "A" centred, standing on the baseline.
    void glyphIsCentredOnItsBaseline()
    {
        auto w = Open();
        PictureBox* glyph = Glyph(*w);
        for (const auto& [style, size] : {std::pair{0, 72}, {3, 9}}) {
            glyph->Clear();
            w->DrawGlyph(glyph, style, size, "A", Qt::black);
            const QRect ink = Ink(glyph->ToImage());
            const int baseline = glyph->height() / 2 + size / 4;
            QVERIFY2(qAbs(ink.bottom() + 1 - baseline) <= 1, qPrintable(QString::number(ink.bottom())));
            const int slant = style == 3 ? size / 8 : 0;
            QVERIFY2(qAbs(ink.center().x() - glyph->width() / 2) <= 2 + slant,
                     qPrintable(QString::number(ink.center().x())));
            // The size is the cell height: a capital is about two thirds of it.
            QVERIFY2(ink.height() >= size * 55 / 100 && ink.height() <= size * 75 / 100 + 1,
                     qPrintable(QString::number(ink.height())));
        }
    }

    // Each named instance of a variable font is drawn as itself ("H" 500 units wide in Thin, 350 in Bold).
    void namedInstanceDrawnAsItself()
    {
        const QString file = env->root() + "/gwvar.ttf";
        QVERIFY(WriteFile(file, SfntBuilder::VariableFont("GW Var Screen", 0)));
        env->fake.characterMaps->maps[file] = {'A', 'H'};
        auto w = Open(FakeFontSystem::FileFaces(file));
        PictureBox* glyph = Glyph(*w);
        for (const auto& [style, inkPerSize] : {std::pair{0, 0.5}, {1, 0.35}}) {
            glyph->Clear();
            w->DrawGlyph(glyph, style, 120, "H", Qt::black);
            SaveShot(w.get(), QStringLiteral("variable-glyph-%1").arg(style + 1));
            QVERIFY2(qAbs(Ink(glyph->ToImage()).width() - inkPerSize * 120) <= 4, qPrintable(QString::number(style)));
            // The keyboard types in the same face.
            Child<QListWidget>(*w, "styleList").setCurrentRow(style);
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
        QTest::newRow("a Han code the font lacks") << 4 << 0x4E00 << 3 << "U+4E03 CJK UNIFIED IDEOGRAPH-4E03" << false;
    }
    void chartOfABlock()
    {
        QFETCH(int, range);
        QFETCH(int, start);
        QFETCH(int, cell);
        QFETCH(QString, readout);
        QFETCH(bool, drawn);
        auto w = OpenUnicodeFonts();
        // The blocks the font covers, with its count of characters in each.
        const QComboBox& ranges = Child<QComboBox>(*w, "chartRangeBox");
        QStringList items;
        for (int i = 0; i < ranges.count(); ++i)
            items << ranges.itemText(i);
        QCOMPARE(items, QStringList({"0 - 255", "U+0000 Basic Latin (1)", "U+0080 Latin 1 Supplement (1)",
                                     "U+0370 Greek And Coptic (2)", "U+4E00 CJK Unified Ideographs (3)"}));
        QCOMPARE(ranges.currentIndex(), 0);
        w->SelectTab(1);
        PickRange(*w, range);
        QScrollBar& chart = CodeSlider(*w, 1);
        if (range > 0) {
            QCOMPARE(chart.minimum(), int(w->RangeBlocks()[range - 1].first));
            QCOMPARE(chart.maximum(), int(w->RangeBlocks()[range - 1].last) - 15);
            QCOMPARE(Child<QComboBox>(*w, "glyphRangeBox").currentIndex(), range);
        }
        chart.setValue(start);
        QTest::mouseClick(Cell(*w, cell), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "chartCharacterNameLabel").text(), readout);
        QTest::mouseClick(Cell(*w, cell == 0 ? 1 : 0), Qt::LeftButton);  // black on white
        QCOMPARE(!Ink(Cell(*w, cell)->ToImage()).isEmpty(), drawn);
        QTest::mouseClick(Cell(*w, cell), Qt::LeftButton);
        Child<QAction>(*w, "copyAction").trigger();
        QCOMPARE(env->fake.clipboard->text.toUcs4().value(0), readout.mid(2, readout.indexOf(' ') - 2).toUInt(nullptr, 16));
        // The large character page shows the cell double-clicked, named.
        QTest::mouseDClick(Cell(*w, cell), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(*w, "glyphCharacterNameLabel").text(), readout);
    }

    // Row: the range shown, then the style chosen or the Characters menu used.
    void rangeAfterAChange_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("rangeAfter");
        QTest::addColumn<int>("chartAfter");
        QTest::newRow("a style without the block returns to 0 - 255") << 3 << "style 2" << 0 << 65;
        QTest::newRow("the same style again keeps its block") << 3 << "style 1" << 3 << 0x370;
        QTest::newRow("the Characters menu returns to 0 - 255") << 4 << "Accents" << 0 << 192;
    }
    void rangeAfterAChange()
    {
        QFETCH(int, range);
        QFETCH(QString, change);
        QFETCH(int, rangeAfter);
        QFETCH(int, chartAfter);
        auto w = OpenUnicodeFonts();
        w->SelectTab(1);
        QScrollBar& chart = CodeSlider(*w, 1);
        chart.setValue(65);
        PickRange(*w, range);
        if (change == "Accents")
            Child<QAction>(*w, "accentsAction").trigger();
        else if (change == "style 1")
            QVERIFY(SelectFamily(*w, "DejaVu Sans"));  // its first style shown again
        else
            Child<QListWidget>(*w, "styleList").setCurrentRow(1);
        QCOMPARE(Child<QComboBox>(*w, "chartRangeBox").currentIndex(), rangeAfter);
        QCOMPARE(chart.value(), chartAfter);
        QCOMPARE(chart.maximum(), rangeAfter == 0 ? 240 : int(w->RangeBlocks()[rangeAfter - 1].last) - 15);
    }
};

QTEST_MAIN(TestPreviewPages)
#include "test_previewpages.moc"
