// Pages 1 and 2 past code 255: the range selector, the character name read-out.
#include <QtTest>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <optional>

#include "core/globals.h"
#include "core/loader.h"
#include "core/picturebox.h"
#include "core/splash.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

using Face = FakeFontSystem::Face;

const QSet<uint> kGreekAndHan = {'A', 0xA9, 0x3B1, 0x3B2, 0x4E00, 0x4E01, 0x4E02};
const QSet<uint> kLatinOnly = {'A', 'B'};

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class TestFWUnicode : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;

    std::unique_ptr<FW> Open()
    {
        const QString greek = env->root() + "/greek-han.ttf";
        const QString latin = env->root() + "/latin.ttf";
        env->fake.characterMaps->maps[greek] = kGreekAndHan;
        env->fake.characterMaps->maps[latin] = kLatinOnly;
        return OpenMainWindow<FW>(*env, {FakeFontSystem::MakeFace("DejaVu Sans", "Greek Han", "Book", 400, false, TRUETYPE_FONTTYPE, greek),
                                        FakeFontSystem::MakeFace("DejaVu Sans", "Latin", "Bold", 700, false, TRUETYPE_FONTTYPE, latin)},
                                  true, false, false);
    }

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        UnloadLoader();
        env.reset();
    }

    void blocksTheFontCovers()
    {
        auto fw = Open();
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
        auto fw = Open();
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
        QCOMPARE(HasInk(fw->picChar[cell]->ToImage()), drawn);
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
        auto fw = Open();
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

QTEST_MAIN(TestFWUnicode)
#include "test_fw_unicode.moc"
