// The texts that would be false on Linux, each beside what is shown instead,
// and the keystroke read-out that puts the Linux way first.
#include <QtTest>

#include "core/globals.h"
#include "core/linuxtexts.h"
#include "testenv.h"

using namespace gw;

class TestLinuxTexts : public QObject {
    Q_OBJECT
    TestEnv* env = nullptr;

private slots:
    void init() { env = new TestEnv; }
    void cleanup() { delete env; }

    void replacements_data()
    {
        QTest::addColumn<QString>("designed");
        QTest::addColumn<QString>("onLinux");  // "@" stands for the font folder text
        QTest::newRow("fonts folder, its article goes with it")
            << "Your fonts will be copied to the Windows Fonts folder and then installed."
            << "Your fonts will be copied to @ and then installed.";
        QTest::newRow("already installed names no PC or Control Panel")
            << "is already installed on your PC.\n\nUse the Windows Control Panel or the Remove Font Wizard"
            << "is already installed on this computer.\n\nUse your desktop's font settings or the Remove Font Wizard";
        QTest::newRow("Type 1 option") << "Show &Adobe Type 1 (ATM) fonts" << "Show T&ype 1 fonts";
        QTest::newRow("Type 1 manager path") << "&ATM path" << "Type 1 font &manager";
        QTest::newRow("remove wizard column reads as the registrations") << "Registry Entry" << "Font Registration";
        QTest::newRow("keyboard chart heading names the code page, no Alt codes")
            << "Windows ANSI Extended Character Set (Alt + 0 +...)" << "Code Page 1252 Extended Character Set";
        QTest::newRow("a true text stays") << "Installed Fonts" << "Installed Fonts";
    }
    void replacements()
    {
        QFETCH(QString, designed);
        QFETCH(QString, onLinux);
        QCOMPARE(ForLinux(designed), onLinux.replace("@", FontFolderText()));
    }

    void keystroke_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("room");  // characters that fit
        QTest::addColumn<QString>("expected");
        QTest::newRow("Linux way first and whole") << "\u00A9" << 30 << "Ctrl+Shift+U a9  (U+00A9)";
        QTest::newRow("Alt code only where it fits") << "\u00A9" << 40 << "Ctrl+Shift+U a9  (U+00A9)  ALT+0+169";
        QTest::newRow("narrow: the keystroke whole, no code point") << "\u00A9" << 20 << "Ctrl+Shift+U a9";
        QTest::newRow("code page 1252 euro is U+20AC") << "\u20AC" << 30 << "Ctrl+Shift+U 20ac  (U+20AC)";
        QTest::newRow("a plain key stays as it is") << "A" << 40 << "A ";
        QTest::newRow("a control character has none") << QString(QChar(9)) << 40 << "[none]";
    }
    void keystroke()
    {
        QFETCH(QString, character);
        QFETCH(int, room);
        QFETCH(QString, expected);
        QCOMPARE(KeystrokeReadout(character, [&](const QString& text) { return text.size() <= room; }), expected);
    }

    void noProgramNamesWhatWasTriedAndHowToGetIt()
    {
        const QString text = NoProgramText("character map", {"gucharmap", "kcharselect"});
        QVERIFY(text.contains("character map") && text.contains("gucharmap, kcharselect"));
        QVERIFY(text.contains("sudo apt install gucharmap"));
        QVERIFY(NotOpenedText("/usr/share/glyphwick/gw.html", {"xdg-open"}).contains("/usr/share/glyphwick/gw.html"));
    }
};

QTEST_MAIN(TestLinuxTexts)
#include "test_linuxtexts.moc"
