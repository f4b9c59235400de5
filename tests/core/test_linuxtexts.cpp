// The texts that would be false on Linux beside what is shown instead, and the
// keystroke read-out that puts the Linux way first.
#include <QtTest>

#include "core/linuxtexts.h"
#include "testenv.h"

using namespace gw;

class TestLinuxTexts : public QObject {
    Q_OBJECT
    TestEnv* env = nullptr;

private slots:
    void init() { env = new TestEnv; }
    void cleanup() { delete env; }

    // "@" stands for the font folder text; a number is the room of the keystroke read-out.
    void texts_data()
    {
        QTest::addColumn<QString>("room");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fonts folder, its article goes with it") << "" << "copied to the Windows Fonts folder."
                                                                << "copied to @.";
        QTest::newRow("already installed names no PC or Control Panel")
            << "" << "installed on your PC. Use the Windows Control Panel or the wizard"
            << "installed on this computer. Use your desktop's font settings or the wizard";
        QTest::newRow("Type 1 option") << "" << "Show &Adobe Type 1 (ATM) fonts" << "Show T&ype 1 fonts";
        QTest::newRow("Type 1 manager path") << "" << "&ATM path" << "Type 1 font &manager";
        QTest::newRow("remove wizard column as the registrations") << "" << "Registry Entry" << "Font Registration";
        QTest::newRow("Linux keystroke first and whole") << "30" << "\u00A9" << "Ctrl+Shift+U a9  (U+00A9)";
        QTest::newRow("Alt code only where it fits") << "40" << "\u00A9" << "Ctrl+Shift+U a9  (U+00A9)  ALT+0+169";
        QTest::newRow("narrow: the keystroke whole, no code point") << "20" << "\u00A9" << "Ctrl+Shift+U a9";
        QTest::newRow("beyond code page 1252: no Alt code") << "30" << "\u03B1" << "Ctrl+Shift+U 3b1  (U+03B1)";
        QTest::newRow("code page 1252 euro is U+20AC") << "30" << "\u20AC" << "Ctrl+Shift+U 20ac  (U+20AC)";
        QTest::newRow("DEL: no keystroke, its Alt code") << "40" << "\u007f" << " ALT+0+127";
        QTest::newRow("a plain key stays as it is") << "40" << "A" << "A ";
    }
    void texts()
    {
        QFETCH(QString, room);
        QFETCH(QString, original);
        QFETCH(QString, shown);
        const auto fits = [&](const QString& text) { return text.size() <= room.toInt(); };
        QCOMPARE(room.isEmpty() ? ForLinux(original) : KeystrokeReadout(original, fits),
                 shown.replace("@", FontFolderText()));
    }

    // The kind a caption names comes from the outlines, a collection's from its first face.
    void fontKind_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        const QByteArray ttcf("ttcf\0\1\0\0\0\0\0\1\0\0\0\x10", 16);
        QTest::newRow("CFF collection") << ttcf + "OTTO" << "a.ttc" << "OpenType";
        QTest::newRow("TrueType collection") << ttcf + QByteArray("\0\1\0\0", 4) << "a.otc" << "TrueType";
        QTest::newRow("CFF named .ttf") << QByteArray("OTTO\0\x0b", 6) << "a.ttf" << "OpenType";
        QTest::newRow("damaged collection: its name") << ttcf.left(12) << "a.otc" << "OpenType";
    }
    void fontKind()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const QString path = env->root() + "/" + name;
        QVERIFY(WriteFile(path, bytes));
        QTEST(FontKindWord(path), "kind");
    }
};

QTEST_MAIN(TestLinuxTexts)
#include "test_linuxtexts.moc"
