// "ATM.INI" on the desktop: the Type 1 fonts fontconfig lists, or a real file.
#include <QtTest>

#include "core/helpers.h"
#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

namespace {

QString Atm(const QString& section, const QString& key, const QString& def = {})
{
    return Sys().atm->GetProfileString(section, key, def);
}

} // namespace

class TestDesktopAtm : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new DesktopTestEnv); }
    void cleanup() { env_.reset(); }

    void settingsAndSetup()
    {
        for (const QString& dir : {Atm("Setup", "PFM_DIR"), Atm("Setup", "PFB_Dir")})
            QVERIFY2(QFileInfo(dir).isDir() && !dir.endsWith('/'), qPrintable(dir));
        QCOMPARE(Atm("Setup", "Nothing", "dflt"), QString("dflt"));
        // The version of the fontconfig library in use, "2.14.1".
        QCOMPARE(Atm("Settings", "Version") + "\n", ToolOutput("pkg-config", {"--modversion", "fontconfig"}));
    }

    void styleKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("baseName");
        QTest::newRow("bold, any case") << "nimbus sans,Bold" << "NimbusSans-Bold";
        QTest::newRow("regular is the face alone") << "Nimbus Sans" << "NimbusSans-Regular";
        QTest::newRow("bold italic") << "Nimbus Sans,BOLDITALIC" << "NimbusSans-BoldItalic";
        QTest::newRow("regular italic") << "Nimbus Sans,ITALIC" << "NimbusSans-Italic";
        QTest::newRow("book is regular") << "URW Gothic" << "URWGothic-Book";
        QTest::newRow("light italic") << "URW Bookman,LIGHTITALIC" << "URWBookman-LightItalic";
    }
    void styleKeys()
    {
        QFETCH(QString, key);
        // The metrics file and the outline, both existing files of that name.
        const QStringList parts = Atm("Fonts", key).split(',');
        QCOMPARE(parts.size(), 2);
        for (const QString& part : parts) {
            QVERIFY2(QFileInfo(part).isFile(), qPrintable(part));
            QTEST(QFileInfo(part).completeBaseName(), "baseName");
        }
        QVERIFY(parts[0].endsWith(".afm") || parts[0].endsWith(".pfm"));
        QVERIFY(parts[1].endsWith(".pfb") || parts[1].endsWith(".pfa") || parts[1].endsWith(".t1"));
        QCOMPARE(QFileInfo(parts[0]).path(), Atm("Setup", "PFM_DIR"));
    }

    // A Type 1 file hidden from every program leaves the view at once, and comes back.
    void followsHiddenFonts()
    {
        const QString listed = Atm("Fonts", "Nimbus Sans,BOLD");
        const QString outline = listed.section(',', 1);
        QVERIFY2(QFileInfo(outline).isFile(), qPrintable(listed));
        QVERIFY(DesktopSetHidden(outline, true));
        QVERIFY(!Atm("Fonts", "Nimbus Sans,BOLD", "none").contains(outline));  // none, or another copy
        QVERIFY(DesktopSetHidden(outline, false));
        QCOMPARE(Atm("Fonts", "Nimbus Sans,BOLD"), listed);
    }

    void aRealFileTakesPrecedence_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("upper case") << "ATM.INI";
        QTest::newRow("lower case") << "atm.ini";
    }
    void aRealFileTakesPrecedence()
    {
        QFETCH(QString, fileName);
        // Looked at once before the file exists, so a cached view must not win.
        QCOMPARE(Atm("Settings", "ATM"), QString("On"));
        QVERIFY(WriteFile(env_->dataHome() + "/" + fileName,
                          "[Settings]\r\nATM=Off\r\nVersion=4.0\r\n[Setup]\r\nPFM_DIR=c:\\psfonts\\pfm\r\n"
                          "[Fonts]\r\nFutura,BOLD=c:\\psfonts\\pfm\\fub.pfm,c:\\psfonts\\fub.pfb\r\n"));
        QCOMPARE(Atm("Settings", "ATM"), QString("Off"));
        QCOMPARE(Atm("Settings", "Version"), QString("4.0"));
        QCOMPARE(Atm("Fonts", "futura,bold"), QString("c:\\psfonts\\pfm\\fub.pfm,c:\\psfonts\\fub.pfb"));
        QCOMPARE(Atm("Fonts", "Nimbus Sans,BOLD", "none"), QString("none"));
    }

private:
    std::unique_ptr<DesktopTestEnv> env_;
};

QTEST_MAIN(TestDesktopAtm)
#include "test_desktopatm.moc"
