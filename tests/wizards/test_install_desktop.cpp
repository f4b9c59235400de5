// The install and remove wizards on the desktop, inside temporary XDG folders:
// what they install, move and delete is seen by fontconfig (fc-list, another
// program) straight away; the preview of a file that is not installed.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/settings.h"
#include "fonts/fonttable.h"
#include "platform/desktop.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/frminstall.h"
#include "wizards/frmwizard2.h"

using namespace gw;

namespace {

// Removes the user font of `file` with the remove wizard.
void Remove(const QString& file, int action, const QString& target)
{
    FontTable.clear();
    for (const DesktopFace& face : DesktopFontFaces()) {
        if (face.fontType != TRUETYPE_FONTTYPE || !face.file.startsWith(DesktopUserFontFolder()))
            continue;
        FontRecord record;
        record.FullName = face.fullName;
        record.FaceName = face.family;
        record.RegistryName = face.fullName + " (TrueType)";
        record.FontFile = face.file;
        FontTable.push_back(record);
    }
    ReadRegFontList();
    frmWizard2 w;
    w.show();
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < w.ListView1->topLevelItemCount(); ++i)
        if (w.ListView1->topLevelItem(i)->text(1) == file)
            row = w.ListView1->topLevelItem(i);
    QVERIFY2(row, qPrintable(file));
    row->setSelected(true);
    w.ListView1_ItemClick(row);
    QVERIFY(row->text(3) != "unknown");
    w.cmdNext_Click();
    (action == ActionMove ? w.optMove : w.optDelete)->setChecked(true);
    action == ActionMove ? w.optMove_Click() : w.optDelete_Click();
    w.txtTarget->setText(target);
    w.chkDelete->setChecked(false);
    w.cmdNext_Click();
    SaveShot(&w, action == ActionMove ? "remove-move" : "remove-delete");
    w.ShowModal = [action](QDialog* report) { SaveShot(report, action == ActionMove ? "remove-move-report" : "remove-delete-report"); };
    w.cmdRemove_Click();
    QCOMPARE(w.lblOK->text(), QString("OK"));
}

} // namespace

class TestInstallDesktop : public QObject {
    Q_OBJECT
private slots:
    void installedThenRemovedFontsFollowFontconfig()
    {
        TestEnv env;
        const QString sans = SystemFile("LiberationSans-Regular.ttf");
        if (sans.isEmpty())
            QSKIP("no TrueType font on this machine to derive test fonts from");
        const QByteArray base = ReadFile(sans);
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
            w.ShowModal = [](QDialog* d) { SaveShot(d, "install-success"); };
            w.show();
            w.cmdNext->click();
            QCOMPARE(w.Rows().size(), 2);
            w.ListView1_ItemClick(w.Rows()[0]);
            w.SelectFonts("ALL");
            SaveShot(&w, "install-files");
            while (w.Step < w.LastStep)
                w.cmdNext->click();
            w.cmdGo->click();
            SaveShot(&w, "install-finished");
        }
        QVERIFY(FontsChanged);
        const QString fonts = DesktopUserFontFolder();
        const QString one = fonts + "/GLYPHWICK-TEST-ONE.TTF", two = fonts + "/gwtest-two-bold.ttf";
        QVERIFY(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}, QDir::Files | QDir::Hidden).isEmpty());
        QStringList listed = FcListFiles();
        QVERIFY2(listed.contains(one) && listed.contains(two), qPrintable(listed.join('\n').left(2000)));
        // Registered, so a second run reports them installed.
        ReadRegFontList();
        QVERIFY(IsRegisteredFont("Glyphwick Test One (TrueType)"));
        QVERIFY(IsRegisteredFont("Glyphwick Test Two Bold (TrueType)"));

        // One moved away, one deleted: fontconfig lists neither; the deleted one is in the trash.
        const QByteArray twoBytes = ReadFile(two);
        const QString target = env.root() + "/kept";
        QDir().mkpath(target);
        Remove(one, ActionMove, target);
        Remove(two, ActionDelete, target);
        listed = FcListFiles();
        QVERIFY(!listed.contains(one) && !listed.contains(two));
        QVERIFY(!QFileInfo::exists(one) && !QFileInfo::exists(two));
        QVERIFY(QFileInfo(target + "/GLYPHWICK-TEST-ONE.TTF").isFile());
        const QString trash = env.dataHome() + "/Trash";
        QCOMPARE(ReadFile(trash + "/files/gwtest-two-bold.ttf"), twoBytes);
        const QString info = QString::fromUtf8(ReadFile(trash + "/info/gwtest-two-bold.ttf.trashinfo"));
        QVERIFY2(info.startsWith("[Trash Info]\nPath=" + two + "\nDeletionDate="), qPrintable(info));
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
        SaveShot(&w, "preview-" + QString(QTest::currentDataTag()).replace(' ', '-').toLower());
    }
};

QTEST_MAIN(TestInstallDesktop)
#include "test_install_desktop.moc"
