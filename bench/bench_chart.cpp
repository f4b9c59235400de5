// Not a test: times the character chart's page step through the largest
// Unicode block of a big installed font (GW_BENCH_FAMILY, default
// "Noto Sans CJK JP", about 65,000 characters), and with GW_BENCH_SHOTS set
// saves the main window showing that block.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

#include "core/globals.h"
#include "fonts/glyphs.h"
#include "mainwindow/mainwindow.h"
#include "platformapi/platform.h"
#include "startup/startup.h"

int main(int argc, char** argv)
{
    QTemporaryDir home;  // the program's own settings stay out of the user's folder
    qputenv("GLYPHWICK_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    gw::SetPlatform(gw::MakeDesktopPlatform());
    gw::MainWindow* window = nullptr;
    gw::StartupSequence sequence([&window] { return window = new gw::MainWindow; });
    if (!sequence.Run() || !window)
        return 1;
    gw::MainWindow& fw = *window;
    const QString family = qEnvironmentVariableIsSet("GW_BENCH_FAMILY")
                               ? qEnvironmentVariable("GW_BENCH_FAMILY")
                               : QStringLiteral("Noto Sans CJK JP");
    int row = -1;
    for (int i = 0; i < fw.fontList->Count() && row < 0; ++i)
        if (fw.fontList->At(i).text.startsWith(family, Qt::CaseInsensitive))
            row = i;
    if (row < 0)
        for (int i = 0; i < fw.fontList->Count(); ++i)
            std::fprintf(stderr, "%s\n", qPrintable(fw.fontList->At(i).text));
    if (row < 0) {
        std::fprintf(stderr, "family %s is not installed\n", qPrintable(family));
        return 1;
    }
    fw.resize(1000, 700);
    fw.show();
    fw.SelectTab(2);
    QElapsedTimer t;
    t.start();
    fw.SelectRow(row);
    fw.ListView1_ItemClick(row);
    QApplication::processEvents();
    const double select = t.nsecsElapsed() / 1e6;
    const gw::EnumLogFont& elf = gw::StyleFonts[size_t(fw.StyleIndex() - 1)];
    const int characters = int(gw::FontCharacters(elf.filePath, elf.faceIndex).size());

    // The block with the most characters of the font.
    const auto& blocks = fw.RangeBlocks();
    const auto largest = std::max_element(blocks.begin(), blocks.end(),
                                          [](const auto& a, const auto& b) { return a.count < b.count; });
    t.restart();
    fw.SelectRange(int(largest - blocks.begin()) + 1);
    QApplication::processEvents();
    const double open = t.nsecsElapsed() / 1e6;

    constexpr int steps = 200;
    double slowest = 0;
    double total = 0;
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer step;
        step.start();
        fw.scrAnsi[2]->setValue(fw.scrAnsi[2]->value() + fw.scrAnsi[2]->pageStep());
        QApplication::processEvents();
        const double ms = step.nsecsElapsed() / 1e6;
        slowest = std::max(slowest, ms);
        total += ms;
    }
    std::printf("%s (%s, face %d): %d characters in %d blocks\n", qPrintable(family),
                qPrintable(elf.filePath), elf.faceIndex, characters, int(blocks.size()));
    std::printf("select the family (reads its character map): %.1f ms\n", select);
    std::printf("open block %s (%d characters): %.1f ms\n", qPrintable(largest->name), largest->count, open);
    std::printf("page step of 16 characters: mean %.2f ms, slowest %.2f ms of %d\n", total / steps,
                slowest, steps);
    const QString shots = qEnvironmentVariable("GW_BENCH_SHOTS");
    if (!shots.isEmpty()) {
        fw.scrAnsi[2]->setValue(int(largest->first) + 0x100);
        fw.picChar_Click(5);
        QApplication::processEvents();
        fw.grab().save(shots + "/chart-cjk.png");
        fw.SelectTab(1);
        QApplication::processEvents();
        fw.grab().save(shots + "/large-cjk.png");
        fw.SelectTab(4);
        QApplication::processEvents();
        fw.grab().save(shots + "/info-cjk.png");
    }
    fw.Form_Unload();
    delete window;
    return 0;
}
