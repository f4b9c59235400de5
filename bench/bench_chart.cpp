// Not a test: times the character chart's page step through the largest
// Unicode block of a big installed font (GW_BENCH_FAMILY, default
// "Noto Sans CJK JP", about 65,000 characters), and with GW_BENCH_SHOTS set
// saves the main window showing that block.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
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
    gw::MainWindow& w = *window;
    const QString family = qEnvironmentVariableIsSet("GW_BENCH_FAMILY")
                               ? qEnvironmentVariable("GW_BENCH_FAMILY")
                               : QStringLiteral("Noto Sans CJK JP");
    const QAbstractItemModel* families = w.findChild<QTreeView*>(QStringLiteral("fontList"))->model();
    auto familyAt = [families](int i) { return families->index(i, 0).data().toString(); };
    int row = -1;
    for (int i = 0; i < families->rowCount() && row < 0; ++i)
        if (familyAt(i).startsWith(family, Qt::CaseInsensitive))
            row = i;
    if (row < 0)
        for (int i = 0; i < families->rowCount(); ++i)
            std::fprintf(stderr, "%s\n", qPrintable(familyAt(i)));
    if (row < 0) {
        std::fprintf(stderr, "family %s is not installed\n", qPrintable(family));
        return 1;
    }
    w.resize(1000, 700);
    w.show();
    w.SelectTab(1);
    QElapsedTimer t;
    t.start();
    w.SelectFamily(row);
    QApplication::processEvents();
    const double select = t.nsecsElapsed() / 1e6;
    const gw::EnumLogFont& elf = gw::StyleFonts[size_t(w.SelectedStyle())];
    const int characters = int(gw::FontCharacters(elf.filePath, elf.faceIndex).size());

    // The block with the most characters of the font.
    const auto& blocks = w.RangeBlocks();
    const auto largest = std::max_element(blocks.begin(), blocks.end(),
                                          [](const auto& a, const auto& b) { return a.count < b.count; });
    auto* ranges = w.findChild<QComboBox*>(QStringLiteral("chartRangeBox"));
    auto* chart = w.findChild<QScrollBar*>(QStringLiteral("chartCodeSlider"));
    t.restart();
    // The range box lists "0 - 255" first, then the blocks.
    const int range = int(largest - blocks.begin()) + 1;
    ranges->setCurrentIndex(range);
    emit ranges->activated(range);
    QApplication::processEvents();
    const double open = t.nsecsElapsed() / 1e6;

    constexpr int steps = 200;
    double slowest = 0;
    double total = 0;
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer step;
        step.start();
        chart->setValue(chart->value() + chart->pageStep());
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
        chart->setValue(int(largest->first) + 0x100);
        for (QWidget* cell : w.findChildren<QWidget*>(QStringLiteral("cellPicture")))
            if (cell->property("index").toInt() == 5) {
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), cell->mapToGlobal(QPointF(2, 2)),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), cell->mapToGlobal(QPointF(2, 2)),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(cell, &press);
                QApplication::sendEvent(cell, &release);
            }
        QApplication::processEvents();
        w.grab().save(shots + "/chart-cjk.png");
        w.SelectTab(0);
        QApplication::processEvents();
        w.grab().save(shots + "/large-cjk.png");
        w.SelectTab(3);
        QApplication::processEvents();
        w.grab().save(shots + "/info-cjk.png");
    }
    w.close();
    delete window;
    return 0;
}
