// Pages 1 to 3 and the character chart of the main window.
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
    QVERIFY(box->hasFocus());
    next->setFocus(Qt::TabFocusReason);
    QVERIFY(!box->hasFocus());
}

const QSet<uint> kGreekAndHan = {'A', 0xA9, 0x3B1, 0x3B2, 0x4E00, 0x4E01, 0x4E02};
const QSet<uint> kLatinOnly = {'A', 'B'};

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
        env->fake.characterMaps->maps[greek] = kGreekAndHan;
        env->fake.characterMaps->maps[latin] = kLatinOnly;
        return OpenMainWindow<MainWindow>(*env, {FakeFontSystem::MakeFace("DejaVu Sans", "Greek Han", "Book", 400, false, TRUETYPE_FONTTYPE, greek),
                                        FakeFontSystem::MakeFace("DejaVu Sans", "Latin", "Bold", 700, false, TRUETYPE_FONTTYPE, latin)},
                                  true, false, false);
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
        QTest::newRow("above the maximum") << 1 << "leave" << "900" << 800;
        QTest::newRow("letters dropped") << 3 << "leave" << "1x2 ." << 12;
        QTest::newRow("picked on page 2 clamps") << 2 << "pick" << "160" << 136;
        QTest::newRow("enter clamps on page 3") << 3 << "enter" << "999" << 136;
        QTest::newRow("typed on page 1 stays there") << 1 << "switch" << "250" << 250;
    }
    void sizeBox()
    {
        QFETCH(int, tab);
        QFETCH(QString, how);
        QFETCH(QString, entry);
        QFETCH(int, size);
        auto fw = Open();
        fw->SelectTab(tab);
        const int other = tab == 2 ? 1 : 2;
        const int otherSize = fw->ScrSize[other]->value();
        if (how == "pick") {
            const int index = fw->lstPointSize->findText(entry);
            fw->lstPointSize->setCurrentIndex(index);
            emit fw->lstPointSize->activated(index);
        } else {
            fw->lstPointSize->lineEdit()->clear();
            QTest::keyClicks(fw->lstPointSize, entry);
            QCOMPARE(fw->lstPointSize->currentText(), entry.remove(QRegularExpression("[^0-9]")));
            if (how == "leave")
                LeaveBox(fw->lstPointSize, fw->Attribs);
            else if (how == "enter")
                QTest::keyClick(fw->lstPointSize, Qt::Key_Return);
            else
                fw->SelectTab(other);
        }
        QCOMPARE(fw->ScrSize[tab]->value(), size);
        QCOMPARE(fw->pnlSize[tab]->text(), QString::number(size));
        if (tab == 3)
            QCOMPARE(fw->txtSample->font().pointSize(), size);
        if (how == "switch") {
            // The other page keeps its size and the box shows it.
            QCOMPARE(fw->ScrSize[other]->value(), otherSize);
            QCOMPARE(fw->lstPointSize->currentText(), QString::number(otherSize));
            LeaveBox(fw->lstPointSize, fw->Attribs);
            QCOMPARE(fw->ScrSize[other]->value(), otherSize);
        } else {
            QCOMPARE(fw->lstPointSize->currentText(), QString::number(size));
        }
    }

    void chartClicksSelectCopyAndOpen()
    {
        auto fw = Open();
        fw->SelectTab(2);
        QTest::mouseClick(fw->picChar[5], Qt::LeftButton);
        QCOMPARE(fw->SelectedCell, 5);
        QCOMPARE(fw->pnlAnsi[2]->text(), QStringLiteral("70"));
        QCOMPARE(fw->pnlKeystroke->text(), QStringLiteral("F "));
        QCOMPARE(fw->picChar[0]->BackColor(), QColor(Qt::white));
        QCOMPARE(fw->picChar[5]->BackColor(), fw->palette().color(QPalette::Highlight));
        QVERIFY(!Ink(fw->picChar[5]->ToImage(), true).isEmpty());
        fw->mnuEditCopy->trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("F"));

        // The selection is a place in the chart, not a character.
        fw->scrAnsi[2]->triggerAction(QAbstractSlider::SliderPageStepAdd);
        fw->mnuEditCopy->trigger();
        QCOMPARE(env->fake.clipboard->text, QStringLiteral("V"));

        // A double click opens the character large on page 1.
        fw->scrAnsi[2]->setValue(240);
        QTest::mouseDClick(fw->picChar[15], Qt::LeftButton);
        QCOMPARE(fw->CurrentTab(), 1);
        QCOMPARE(fw->scrAnsi[1]->value(), 255);
        // The Linux keystroke comes first and whole; the Alt code only where it fits.
        QVERIFY(fw->pnlKeystroke->text().startsWith(QStringLiteral("Ctrl+Shift+U ff")));
        QVERIFY(fw->pnlKeystroke->fontMetrics().horizontalAdvance(fw->pnlKeystroke->text())
                <= fw->pnlKeystroke->contentsRect().width());
        QCOMPARE(fw->pnlKeystroke->toolTip(), QStringLiteral("Ctrl+Shift+U ff  (U+00FF)  ALT+0+255"));
    }

    void copyByTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("copied");
        QTest::newRow("page 1") << 1 << "\xC3\xA9";
        QTest::newRow("sample text") << 3 << "ple\nTe";
        QTest::newRow("sample text, nothing selected: all of it") << -3 << "Sample\nText";
        QTest::newRow("information, empty: the clipboard stays") << 4 << "old";
    }
    void copyByTab()
    {
        QFETCH(int, tab);
        QFETCH(QString, copied);
        auto fw = Open();
        fw->scrAnsi[1]->setValue(233);
        fw->txtSample->setPlainText("Sample\nText");
        if (tab == 3) {
            QTextCursor cursor = fw->txtSample->textCursor();
            cursor.setPosition(3);
            cursor.setPosition(9, QTextCursor::KeepAnchor);
            fw->txtSample->setTextCursor(cursor);
        }
        env->fake.clipboard->text = "old";
        fw->SelectTab(qAbs(tab));
        fw->mnuEditCopy_Click();
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
        auto fw = Open({FakeFontSystem::MakeFace("DejaVu Sans", "DejaVu Sans " + style, style, weight, italic, fontType)});
        const QFont font = fw->txtSample->font();
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
        QTest::newRow("page 1, the A") << 1 << 65;
        QTest::newRow("page 1, B is missing") << 1 << 66;
        QTest::newRow("chart, B is missing") << 2 << 66;
        QTest::newRow("chart, the selected cell") << 2 << 64;
        QTest::newRow("sample text, B is missing") << 3 << 66;
    }
    void missingCharacters()
    {
        QFETCH(int, tab);
        QFETCH(int, code);
        const QString file = env->root() + "/only-a.ttf";
        env->fake.characterMaps->maps[file] = {'A'};
        auto fw = Open({FakeFontSystem::MakeFace("DejaVu Sans", "Only A", "Book", 400, false, TRUETYPE_FONTTYPE, file)});
        fw->SelectTab(tab);
        const bool present = code == 65;
        const QColor mark(0xc8, 0xc8, 0xc8);
        if (tab <= 2) {
            // Cell 0 of the chart is selected: white on the highlight colour.
            fw->scrAnsi[tab]->setValue(tab == 1 || code == 64 ? code : code - 1);
            const QImage image = (tab == 1 ? fw->Spec : fw->picChar[code == 64 ? 0 : 1])->ToImage();
            QCOMPARE(!Ink(image, code == 64).isEmpty(), present);
            bool marked = false;
            for (int i = 0; i < image.width() * image.height() && !marked; ++i)
                marked = image.pixelColor(i % image.width(), i / image.width()) == mark;
            QVERIFY(present || marked);
        } else {
            fw->txtSample->setPlainText("x" + QString(QChar(code)));
            bool greyed = false;
            for (const QTextLayout::FormatRange& range : fw->txtSample->document()->firstBlock().layout()->formats())
                greyed |= range.start <= 1 && range.start + range.length > 1 && range.format.foreground().color() == mark;
            QCOMPARE(greyed, !present);
        }
    }

    void glyphIsCentredOnItsBaseline_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("size");
        QTest::newRow("regular 72") << 1 << 72;
        QTest::newRow("bold italic 9") << 4 << 9;
    }
    void glyphIsCentredOnItsBaseline()
    {
        QFETCH(int, style);
        QFETCH(int, size);
        auto fw = Open();
        QVERIFY(fw->Spec->height() > 2 * size);
        fw->DrawGlyph(fw->Spec, style, size, "A", Qt::black);
        const QRect ink = Ink(fw->Spec->ToImage());
        const int baseline = fw->Spec->height() / 2 + size / 4;
        QVERIFY2(qAbs(ink.bottom() + 1 - baseline) <= 1, qPrintable(QString::number(ink.bottom())));
        const int slant = style == 4 ? size / 8 : 0;
        QVERIFY2(qAbs(ink.center().x() - fw->Spec->width() / 2) <= 2 + slant,
                 qPrintable(QString::number(ink.center().x())));
        // The size is the cell height: a capital is about two thirds of it.
        QVERIFY2(ink.height() >= size * 55 / 100 && ink.height() <= size * 75 / 100 + 1,
                 qPrintable(QString::number(ink.height())));
    }

    // A variable font's named instances, of a file the toolkit does not list:
    // each drawn as itself ("H" 500 units wide in Thin, 350 in Bold Condensed).
    void namedInstanceDrawnAsItself()
    {
        const QString file = env->root() + "/gwvar.ttf";
        QVERIFY(WriteFile(file, SfntBuilder::VariableFont("GW Var Screen", 0)));
        env->fake.characterMaps->maps[file] = {'A', 'H'};
        auto fw = Open(FakeFontSystem::FileFaces(file));
        for (const auto& [style, inkPerSize] : {std::pair{1, 0.5}, {2, 0.35}}) {
            fw->Spec->Clear();
            fw->DrawGlyph(fw->Spec, style, 120, "H", Qt::black);
            SaveShot(fw.get(), QStringLiteral("variable-glyph-%1").arg(style));
            QVERIFY2(qAbs(Ink(fw->Spec->ToImage()).width() - inkPerSize * 120) <= 4, qPrintable(QString::number(style)));
            // The keyboard types in the same face.
            fw->Attribs->setCurrentRow(style - 1);
            fw->Attribs_Click();
            const KeyFont key = fw->CurrentKeyFont();
            QCOMPARE(QFontInfo(QFont(key.family)).family(), ExactFont(StyleFonts[size_t(style - 1)], 0).family());
            QVERIFY(key.family.contains(style == 1 ? "Thin" : "Bold Condensed"));
        }
    }

    void nothingIsDrawn_data()
    {
        QTest::addColumn<bool>("fonts");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<int>("style");
        QTest::newRow("loading") << true << true << 1;
        QTest::newRow("no style") << true << false << 0;
        QTest::newRow("past the last style") << true << false << 5;
        QTest::newRow("empty font list") << false << false << 1;
    }
    void nothingIsDrawn()
    {
        QFETCH(bool, fonts);
        QFETCH(bool, loading);
        QFETCH(int, style);
        auto fw = Open(fonts ? InstalledFaces() : QVector<Face>{});
        fw->Loading = loading;
        fw->Spec->Clear();
        fw->DrawGlyph(fw->Spec, style, 72, "A", Qt::black);
        QVERIFY(Ink(fw->Spec->ToImage()).isEmpty());
    }

    // ---- Unicode ranges past 255 ----

    void blocksTheFontCovers()
    {
        auto fw = OpenUnicodeFonts();
        QComboBox* ranges = fw->findChild<QComboBox*>("cboRange2");
        QVERIFY(ranges);
        const QStringList expected = {"0 - 255", "U+0000 Basic Latin (1)", "U+0080 Latin 1 Supplement (1)",
                                      "U+0370 Greek And Coptic (2)", "U+4E00 CJK Unified Ideographs (3)"};
        QStringList items;
        for (int i = 0; i < ranges->count(); ++i)
            items << ranges->itemText(i);
        QCOMPARE(items, expected);
        QCOMPARE(ranges->currentIndex(), 0);
    }

    // Row: the range picked, the chart's first code, the selected cell, its read-out,
    // whether the font draws it (else the grey mark).
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
        auto fw = OpenUnicodeFonts();
        fw->SelectTab(2);
        fw->SelectRange(range);
        if (range > 0) {
            QCOMPARE(fw->scrAnsi[2]->minimum(), int(fw->RangeBlocks()[range - 1].first));
            QCOMPARE(fw->scrAnsi[2]->maximum(), int(fw->RangeBlocks()[range - 1].last) - 15);
            QCOMPARE(fw->findChild<QComboBox*>("cboRange1")->currentIndex(), range);
        }
        fw->scrAnsi[2]->setValue(start);
        QCOMPARE(fw->scrAnsi[2]->value(), start);
        fw->picChar_Click(cell);
        QCOMPARE(fw->findChild<QLabel*>("lblCharName2")->text(), readout);
        fw->picChar_Click(cell == 0 ? 1 : 0);  // black on white
        QCOMPARE(!Ink(fw->picChar[cell]->ToImage()).isEmpty(), drawn);
        fw->picChar_Click(cell);
        fw->mnuEditCopy_Click();
        QCOMPARE(env->fake.clipboard->text.toUcs4().value(0), readout.mid(2, readout.indexOf(' ') - 2).toUInt(nullptr, 16));
        // The large character page shows the cell double-clicked, named.
        fw->picChar_DblClick(cell);
        QCOMPARE(fw->findChild<QLabel*>("lblCharName1")->text(), readout);
    }

    // Row: the range shown, then the style chosen or the Characters menu used.
    void rangeAfterAChange_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("rangeAfter");
        QTest::addColumn<int>("chartAfter");
        QTest::newRow("a style without the block returns to 0 - 255") << 3 << "style 2" << 0 << 65;
        QTest::newRow("the same style keeps its block") << 3 << "style 1" << 3 << 0x370;
        QTest::newRow("the Characters menu returns to 0 - 255") << 4 << "Accents" << 0 << 192;
    }
    void rangeAfterAChange()
    {
        QFETCH(int, range);
        QFETCH(QString, change);
        QFETCH(int, rangeAfter);
        QFETCH(int, chartAfter);
        auto fw = OpenUnicodeFonts();
        fw->SelectTab(2);
        fw->scrAnsi[2]->setValue(65);
        fw->SelectRange(range);
        if (change == "Accents") {
            fw->mnuCharAccents_Click();
        } else {
            fw->Attribs->setCurrentRow(change.right(1).toInt() - 1);
            fw->Attribs_Click();
        }
        QCOMPARE(fw->findChild<QComboBox*>("cboRange2")->currentIndex(), rangeAfter);
        QCOMPARE(fw->scrAnsi[2]->value(), chartAfter);
        QCOMPARE(fw->scrAnsi[2]->maximum(), rangeAfter == 0 ? 240 : int(fw->RangeBlocks()[rangeAfter - 1].last) - 15);
    }
};

QTEST_MAIN(TestPreviewPages)
#include "test_previewpages.moc"
