// Remove Font Wizard on the desktop platform, inside temporary XDG folders:
// two fonts installed in the user font folder, one moved and one deleted;
// fontconfig (fc-list, a separate program) lists neither afterwards.
// With GLYPHWICK_SHOTS set, the wizard is grabbed to PNG at each step there.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>

#include "core/globals.h"
#include "fonts/fonttable.h"
#include "platform/desktop.h"
#include "testenv.h"
#include "wizards/frmwizard2.h"

using namespace gw;

class TestFrmWizard2Desktop : public QObject {
    Q_OBJECT

    QStringList FcListFiles()
    {
        QProcess fc;
        fc.start(QStandardPaths::findExecutable("fc-list"), {"--format=%{file}\\n"});
        fc.waitForFinished(60000);
        return QString::fromUtf8(fc.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    void Shot(QWidget& w, const QString& name)
    {
        const QString folder = qEnvironmentVariable("GLYPHWICK_SHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        QVERIFY(w.grab().save(folder + "/" + name));
    }

    // Removes the font of `file` with the action; the wizard is grabbed when asked.
    void Remove(const QString& file, int action, const QString& target, const QString& shots)
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
            record.FileSize = QString::number(QFileInfo(face.file).size() / 1024) + "k";
            FontTable.push_back(record);
        }
        ReadRegFontList();
        QVERIFY(!FontTable.empty());
        frmWizard2 w;
        w.show();
        bool found = false;
        for (int i = 0; i < w.ListView1->topLevelItemCount(); ++i)
            if (w.ListView1->topLevelItem(i)->text(1) == file) {
                w.ListView1->topLevelItem(i)->setSelected(true);
                w.ListView1_ItemClick(w.ListView1->topLevelItem(i));
                found = true;
            }
        QVERIFY2(found, qPrintable(file));
        QVERIFY(w.ListView1->selectedItems().value(0)->text(3) != "unknown");
        if (!shots.isEmpty())
            Shot(w, shots + "-step0.png");
        w.cmdNext_Click();
        (action == ActionMove ? w.optMove : w.optDelete)->setChecked(true);
        action == ActionMove ? w.optMove_Click() : w.optDelete_Click();
        w.txtTarget->setText(target);
        if (!shots.isEmpty())
            Shot(w, shots + "-step1.png");
        w.cmdNext_Click();
        if (!shots.isEmpty())
            Shot(w, shots + "-step2.png");
        w.cmdRemove_Click();
        QCOMPARE(w.lblOK->text(), QString("OK"));
    }

private slots:
    void moveAndDeleteLeaveFontconfig()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        if (QStandardPaths::findExecutable("fc-list").isEmpty())
            QSKIP("fc-list is not installed");
        const QString sans = SystemFile("LiberationSans-Regular.ttf");
        const QString serif = SystemFile("LiberationSerif-Bold.ttf");
        if (sans.isEmpty() || serif.isEmpty())
            QSKIP("the Liberation fonts are not installed");
        const QString fonts = DesktopUserFontFolder();
        const QString moved = fonts + "/GwMoved.ttf";
        const QString deleted = fonts + "/GwDeleted.ttf";
        QVERIFY(WriteFile(moved, ReadFile(sans)));
        QVERIFY(WriteFile(deleted, ReadFile(serif)));
        DesktopReloadFonts();
        QVERIFY(FcListFiles().contains(moved));
        QVERIFY(FcListFiles().contains(deleted));

        const QString target = env.root() + "/kept";
        QDir().mkpath(target);
        Remove(moved, ActionMove, target, "move");
        Remove(deleted, ActionDelete, target, "delete");

        const QStringList listed = FcListFiles();
        QVERIFY(!listed.contains(moved));
        QVERIFY(!listed.contains(deleted));
        QVERIFY(!QFileInfo::exists(moved));
        QVERIFY(!QFileInfo::exists(deleted));
        QCOMPARE(ReadFile(target + "/GwMoved.ttf"), ReadFile(sans));
        const QString trash = env.dataHome() + "/Trash";
        QCOMPARE(ReadFile(trash + "/files/GwDeleted.ttf"), ReadFile(serif));
        const QString info = QString::fromUtf8(ReadFile(trash + "/info/GwDeleted.ttf.trashinfo"));
        QVERIFY2(info.startsWith("[Trash Info]\nPath=" + deleted + "\nDeletionDate="), qPrintable(info));
        QVERIFY(FontsChanged);
    }
};

QTEST_MAIN(TestFrmWizard2Desktop)
#include "test_frmwizard2_desktop.moc"
