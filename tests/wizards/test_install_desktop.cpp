// The install wizard on the desktop, in temporary XDG folders: the preview of a file not installed.
#include <QtTest>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/settings.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/installwizard.h"

using namespace gw;

class TestInstallDesktop : public QObject {
    Q_OBJECT
private slots:
    // The preview shows the file's own glyphs and grey marks for what it lacks (a damaged file: only marks).
    void previewUsesTheFilesOwnMap_data()
    {
        QTest::addColumn<QString>("system");   // the file the test font is made from; empty: damaged
        QTest::addColumn<int>("code");         // the large character shown
        QTest::addColumn<bool>("letters");     // the font has it, and the sample "A\u00f0"
        QTest::newRow("CFF OpenType") << "NimbusSans-Regular.otf" << 0xF0 << true;
        // Dingbats maps its pictures to the ASCII codes and has no accented letters.
        QTest::newRow("symbol font without letters") << "D050000L.otf" << 0xF0 << false;
        QTest::newRow("damaged file") << "" << int('A') << false;
    }
    void previewUsesTheFilesOwnMap()
    {
        QFETCH(QString, system);
        QFETCH(int, code);
        QFETCH(bool, letters);
        TestEnv env;
        QByteArray font = SfntBuilder::Simple("Glyphwick Damaged", "Glyphwick Damaged");
        if (!system.isEmpty()) {
            const QString file = SystemFile(system);
            if (file.isEmpty())
                QSKIP("font file not on this machine");
            font = SfntBuilder::Renamed(ReadFile(file), "Glyphwick Preview", "Glyphwick Preview");
        }
        env.UseDesktopPlatform();
        const QString source = env.root() + "/cd";
        QVERIFY(WriteFile(source + "/PREVIEW.OTF", font));
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);
        InstallWizard w(InstallWizard::Mode::Install);
        w.resize(900, 640);
        w.show();
        Child<QPushButton>(w, "nextButton").click();
        QTreeWidget& list = Child<QTreeWidget>(w, "fontList");
        QCOMPARE(list.topLevelItemCount(), 1);
        // Moving onto the row previews it.
        list.setCurrentItem(nullptr);
        list.setCurrentItem(list.topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
        Child<QTabWidget>(w, "previewTabs").setCurrentIndex(1);
        Child<QScrollBar>(w, "characterSlider").setValue(code);
        QPlainTextEdit& sample = Child<QPlainTextEdit>(w, "sampleEdit");
        sample.setPlainText(QStringLiteral("A\u00f0"));
        const QImage picture = Child<QLabel>(w, "characterLabel").pixmap().toImage();
        int ink = 0, marks = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                ink += c.value() < 100;
                marks += c == QColor(0xc8, 0xc8, 0xc8);
            }
        QCOMPARE(ink > 50, letters);
        QCOMPARE(marks > 100, !letters);
        // The sample text greys out exactly what the file lacks.
        QCOMPARE(sample.document()->firstBlock().layout()->formats().isEmpty(), letters);
        SaveShot(&w, "preview-" + QString(QTest::currentDataTag()).replace(' ', '-').toLower());
    }
};

QTEST_MAIN(TestInstallDesktop)
#include "test_install_desktop.moc"
