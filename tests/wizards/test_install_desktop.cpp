// The install wizard on the desktop, inside temporary XDG folders: the fonts it
// installs are found by fontconfig straight away, for every program. With
// GW_SHOTS=<folder> it also saves a picture of every step of both modes.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QLabel>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "platform/desktop.h"
#include "sfntbuilder.h"
#include "testenv.h"
#include "wizards/frminstall.h"

using namespace gw;

namespace {

QByteArray BaseFont()
{
    for (const char* name : {"DejaVuSans.ttf", "LiberationSans-Regular.ttf", "DejaVuSerif.ttf"}) {
        const QString file = SystemFile(QString::fromLatin1(name));
        if (!file.isEmpty())
            return ReadFile(file);
    }
    return {};
}

void Shot(QWidget& w, const QString& name)
{
    const QString folder = qEnvironmentVariable("GW_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QTest::qWait(250);  // the layout picture draws 120 ms after a change
    w.grab().save(folder + "/" + name + ".png");
}

} // namespace

class TestInstallDesktop : public QObject {
    Q_OBJECT
private slots:
    void installedFontsAreSeenByFontconfig()
    {
        TestEnv env;
        const QByteArray base = BaseFont();
        if (base.isEmpty())
            QSKIP("no TrueType font on this machine to derive test fonts from");
        env.UseDesktopPlatform();
        FontsKey = QStringLiteral("software\\microsoft\\windows\\currentversion\\fonts");
        ReadRegFontList();
        const QString source = env.root() + "/usbstick";
        QVERIFY(WriteFile(source + "/GLYPHWICK-TEST-ONE.TTF", SfntBuilder::Renamed(base, "Glyphwick Test One", "Glyphwick Test One")));
        QVERIFY(WriteFile(source + "/gwtest-two-bold.ttf",
                          SfntBuilder::Renamed(base, "Glyphwick Test Two", "Glyphwick Test Two Bold", "Bold")));
        QVERIFY(WriteFile(source + "/broken.ttf", "not a font"));
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);

        WizardMode = 1;
        FontsChanged = false;
        {
            frmInstall w;
            w.ShowModal = [&w](QDialog* d) {
                d->show();
                Shot(*d, "install-6-success");
                d->hide();
            };
            w.show();
            Shot(w, "install-0-welcome");
            w.cmdNext->click();
            QCOMPARE(w.Rows().size(), 2);
            w.ListView1_ItemClick(w.Rows()[0]);
            w.SelectFonts("ALL");
            Shot(w, "install-1-files");
            w.TabStrip1->setCurrentIndex(1);
            Shot(w, "install-1-character");
            w.TabStrip1->setCurrentIndex(2);
            Shot(w, "install-1-information");
            w.cmdNext->click();
            Shot(w, "install-2-destination");
            w.cmdNext->click();
            Shot(w, "install-3-registrations");
            w.cmdNext->click();
            Shot(w, "install-4-install");
            w.cmdGo->click();
            Shot(w, "install-5-finished");
            w.close();
        }
        QVERIFY(FontsChanged);
        const QString fonts = DesktopUserFontFolder();
        QVERIFY(QFileInfo(fonts + "/glyphwick-test-one.ttf").isFile());
        QVERIFY(QFileInfo(fonts + "/gwtest-two-bold.ttf").isFile());
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}).isEmpty());

        // Another program: fc-list in the same (temporary) folders.
        QProcess fcList;
        fcList.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family"), QStringLiteral("file")});
        QVERIFY(fcList.waitForFinished(60000));
        const QString listed = QString::fromUtf8(fcList.readAllStandardOutput());
        QVERIFY2(listed.contains(fonts + "/glyphwick-test-one.ttf: Glyphwick Test One"), qPrintable(listed.left(2000)));
        QVERIFY(listed.contains(fonts + "/gwtest-two-bold.ttf: Glyphwick Test Two"));

        // Registered, so a second run reports them installed.
        ReadRegFontList();
        QVERIFY(IsRegisteredFont("Glyphwick Test One (TrueType)"));
        QVERIFY(IsRegisteredFont("Glyphwick Test Two Bold (TrueType)"));
    }

    // The preview of a font that is not installed shows that file's own glyphs
    // and grey marks for what it lacks; a damaged file shows only marks.
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
        WizardMode = 1;
        frmInstall w;
        w.resize(900, 640);
        w.show();
        w.cmdNext->click();
        QCOMPARE(w.Rows().size(), 1);
        w.ListView1_ItemClick(w.Rows()[0]);
        w.TabStrip1->setCurrentIndex(1);
        w.scrAnsi->setValue(code);
        w.pnlSample->setPlainText(QStringLiteral("A\u00f0"));
        const QImage picture = w.pnlCharacter->pixmap().toImage();
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
        QCOMPARE(w.pnlSample->document()->firstBlock().layout()->formats().isEmpty(), letters);
        Shot(w, "preview-" + QString(QTest::currentDataTag()).replace(' ', '-').toLower());
        w.close();
    }

    void printModeShots()
    {
        if (qEnvironmentVariableIsEmpty("GW_SHOTS"))
            QSKIP("pictures only on request");
        TestEnv env;
        const QByteArray base = BaseFont();
        if (base.isEmpty())
            QSKIP("no TrueType font on this machine");
        env.UseDesktopPlatform();
        const QString source = env.root() + "/cdrom";
        const char* const names[] = {"Aurora", "Bramble", "Cinder", "Dune", "Ember", "Fjord"};
        for (const char* n : names)
            WriteFile(source + "/" + QString::fromLatin1(n).toUpper() + ".TTF",
                      SfntBuilder::Renamed(base, QString::fromLatin1(n) + " Grotesk", QString::fromLatin1(n) + " Grotesk"));
        WriteIniString("CatalogWizard", "sourceDir", source, IniFile);
        WizardMode = 2;
        frmInstall w;
        w.show();
        Shot(w, "print-0-welcome");
        w.cmdNext->click();
        w.SelectFonts("ALL");
        w.ListView1_ItemClick(w.Rows()[2]);
        Shot(w, "print-1-files");
        w.cmdNext->click();
        Shot(w, "print-2-catalog");
        w.optSheets->click();
        w.chkSpec1->click();
        w.chk72PointSetI->click();
        Shot(w, "print-2-sheets");
        w.cmdNext->click();
        Shot(w, "print-3-print");
        w.close();
    }
};

QTEST_MAIN(TestInstallDesktop)
#include "test_install_desktop.moc"
