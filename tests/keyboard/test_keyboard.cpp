// The keyboard window: captions under Shift and Caps, typing by clicks, the real keys it
// animates, the caption size and placement; and as the main window drives it.
#include <QtTest>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <memory>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "core/splash.h"
#include "keyboard/keyboardwindow.h"
#include "keyboard/keypanel.h"
#include "mainwindow/mainwindow.h"
#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

namespace {

// The captions of the four typing rows, one text per row.
QStringList Captions(const KeyboardWindow& kb)
{
    QStringList rows;
    for (KeyGroup row : {KeyGroup::NumberRow, KeyGroup::TopRow, KeyGroup::HomeRow, KeyGroup::BottomRow}) {
        rows << QString();
        for (int column = FirstColumn(row); column <= LastColumn(row); ++column)
            rows.last() += kb.Key({row, column})->Caption();
    }
    return rows;
}

QLineEdit* TextEdit(const KeyboardWindow& kb)
{
    return &Child<QLineEdit>(kb, "textEdit");
}

using Face = FakeFontSystem::Face;

// Pixels of a key darker than its face: ink of a drawn caption.
int Ink(KeyPanel* key)
{
    const QImage image = key->grab().toImage();
    int ink = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            ink += qGray(image.pixel(x, y)) < 100;
    return ink;
}

void SendKey(QWidget* to, QEvent::Type type, int qtKey, quint32 scanCode, const QString& text = {})
{
    QKeyEvent event(type, qtKey, Qt::NoModifier, scanCode, 0, 0, text);
    QApplication::sendEvent(to, &event);
}

} // namespace

class KeyboardWindowTest : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;

    std::unique_ptr<MainWindow> Open(const QVector<Face>& faces) { return OpenMainWindow<MainWindow>(*env, faces, true, true, false); }

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        env.reset();
    }

    // Clicks on the keys ("real Shift": the real key held down): the text typed, the captions
    // and the locks after; no key but Shift and Caps stays down.
    void clicks_data()
    {
        using L = QStringList;
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");  // the captions after; empty: not looked at
        const L shifted = {"~!@#$%^&*()_+|", "QWERTYUIOP{}", "ASDFGHJKL:\"", "ZXCVBNM<>?"};
        const L caps = {"`1234567890-=\\", "QWERTYUIOP[]", "ASDFGHJKL;'", "ZXCVBNM,./"};
        const L capsShift = {"~!@#$%^&*()_+|", "qwertyuiop{}", "asdfghjkl:\"", "zxcvbnm<>?"};
        QTest::newRow("Caps then Shift releases Caps") << L{"capsKey", "leftShiftKey"} << "" << shifted;
        QTest::newRow("Shift then Caps releases Shift") << L{"rightShiftKey", "capsKey"} << "" << caps;
        QTest::newRow("real Shift held with Caps") << L{"capsKey", "real Shift"} << "" << capsShift;
        QTest::newRow("Shift types the symbols")
            << L{"leftShiftKey", "numberRowKey5", "topRowKey11", "homeRowKey11"} << "%{\"" << L();
        QTest::newRow("Caps letters") << L{"capsKey", "bottomRowKey1", "bottomRowKey8"} << "Z," << L();
        QTest::newRow("space and backspace")
            << L{"topRowKey1", "spaceBar", "topRowKey2", "backspaceKey", "topRowKey3"} << "q e" << L();
        QTest::newRow("Ctrl Alt Tab: nothing") << L{"leftCtrlKey", "rightAltKey", "tabKey"} << "" << L();
    }
    void clicks()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, rows);
        KeyboardWindow kb;
        kb.show();
        const bool realShift = clicks.removeAll("real Shift") > 0;
        for (const QString& name : clicks)
            QTest::mouseClick(&Child<KeyPanel>(kb, qPrintable(name)), Qt::LeftButton);
        QTEST(TextEdit(kb)->text(), "text");
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            if (!key->objectName().endsWith("ShiftKey") && key->objectName() != "capsKey")
                QVERIFY2(!key->IsDown(), qPrintable(key->objectName()));
        if (rows.isEmpty())
            return;
        if (realShift)
            SendKey(TextEdit(kb), QEvent::KeyPress, Qt::Key_Shift, 0);
        const bool capsLock = clicks.last() == "capsKey";
        QCOMPARE(Captions(kb), rows);
        QCOMPARE(env->fake.keyboard->capsLock, capsLock);
        QCOMPARE(Child<KeyPanel>(kb, "capsKey").IsDown(), capsLock);
        QCOMPARE(Child<KeyPanel>(kb, "leftShiftKey").IsDown() && Child<KeyPanel>(kb, "rightShiftKey").IsDown(),
                 realShift || rows.at(0).startsWith('~'));
        if (realShift) {
            SendKey(TextEdit(kb), QEvent::KeyRelease, Qt::Key_Shift, 0);
            QVERIFY(!Child<KeyPanel>(kb, "leftShiftKey").IsDown());
            QCOMPARE(Captions(kb).at(2), QString("ASDFGHJKL;'"));
        }
    }

    // Real keys by their place (the window system's key code) or, without one, by Qt's key.
    void realKeysAnimateByPlace_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("scanCode");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("AZERTY q on the a place") << int(Qt::Key_Q) << 38 << QStringList{"homeRowKey1"};
        QTest::newRow("left Shift lowers both") << int(Qt::Key_Shift) << 50 << QStringList{"leftShiftKey", "rightShiftKey"};
        QTest::newRow("right Ctrl") << int(Qt::Key_Control) << 105 << QStringList{"leftCtrlKey", "rightCtrlKey"};
        QTest::newRow("ISO key has no place here") << int(Qt::Key_Less) << 94 << QStringList();
        QTest::newRow("no place: percent") << int(Qt::Key_Percent) << 0 << QStringList{"numberRowKey5"};
        QTest::newRow("no place: F1") << int(Qt::Key_F1) << 0 << QStringList();
    }
    void realKeysAnimateByPlace()
    {
        QFETCH(int, qtKey);
        QFETCH(int, scanCode);
        KeyboardWindow kb;
        kb.show();
        SendKey(TextEdit(kb), QEvent::KeyPress, qtKey, quint32(scanCode));
        QStringList down;
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            if (key->IsDown())
                down << key->objectName();
        down.sort();
        QTEST(down, "keys");
        SendKey(TextEdit(kb), QEvent::KeyRelease, qtKey, quint32(scanCode));
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            QVERIFY2(!key->IsDown(), qPrintable(key->objectName()));
    }

    // Caps Lock follows the system's; the caption size and the placement are kept for the next opening.
    void capsSizeAndPlacement()
    {
        env->fake.keyboard->capsLock = true;
        QRect placed;
        {
            KeyboardWindow kb;
            QVERIFY(Child<KeyPanel>(kb, "capsKey").IsDown());
            QCOMPARE(Captions(kb).at(1), QString("QWERTYUIOP[]"));
            // The real Caps key where the program keeps the state.
            SendKey(TextEdit(kb), QEvent::KeyPress, Qt::Key_CapsLock, 66);
            SendKey(TextEdit(kb), QEvent::KeyRelease, Qt::Key_CapsLock, 66);
            QVERIFY(!env->fake.keyboard->capsLock && !Child<KeyPanel>(kb, "capsKey").IsDown());
            QCOMPARE(Captions(kb).at(1), QString("qwertyuiop[]"));
            QCOMPARE(kb.size(), kb.minimumSize());  // first opening: the smallest size
            const QRect key = kb.Key({KeyGroup::TopRow, 3})->geometry();
            Child<QComboBox>(kb, "keySizeBox").setCurrentIndex(7);
            QCOMPARE(kb.Key({KeyGroup::TopRow, 3})->font().pointSize(), 20);
            QCOMPARE(kb.Key({KeyGroup::TopRow, 3})->geometry(), key);
            kb.show();
            kb.setGeometry(40, 50, 700, 330);
            placed = QRect(kb.pos(), kb.size());
            kb.close();
        }
        QCOMPARE(ReadIniString("Keyboard", "FontSize", "", IniFile), QString("7"));
        std::optional<KeyboardWindow> again(std::in_place);
        QCOMPARE(Child<QComboBox>(*again, "keySizeBox").currentText(), QString("20"));
        QCOMPARE(QRect(again->pos(), again->size()), placed);
        again.reset();
        WriteIniString("Keyboard", "FontSize", "42", IniFile);
        QCOMPARE(Child<QComboBox>(KeyboardWindow(), "keySizeBox").currentText(), QString("12"));
    }

    // Toggled by the menu and toolbar, in the selected style, hidden and closed with the main window.
    void drivenByTheMainWindow()
    {
        auto fw = Open({TrueTypeFace("Liberation Sans"), TrueTypeFace("Liberation Sans", "Bold", 700),
                        TrueTypeFace("Liberation Serif", "Italic", 400, true)});
        QAction* item = &Child<QAction>(*fw, "keyboardAction");
        item->trigger();
        QVERIFY(KeyboardOpen && item->isChecked());
        QVERIFY(fw->Keyboard() && fw->Keyboard()->isVisible());
        item->trigger();
        QVERIFY(!KeyboardOpen && !item->isChecked() && !fw->Keyboard());

        // The toolbar button opens it too; closing the window unchecks the item.
        QTest::mouseClick(&Child<QWidget>(*fw, "keyboardButton"), Qt::LeftButton);
        QVERIFY(item->isChecked());
        fw->Keyboard()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!KeyboardOpen && !item->isChecked() && !fw->Keyboard());

        QVERIFY(SelectFamily(*fw, "Liberation Sans"));
        item->trigger();
        KeyboardWindow* kb = fw->Keyboard();

        Child<QListWidget>(*fw, "styleList").setCurrentRow(1);  // Bold
        QVERIFY(TextEdit(*kb)->font().bold());
        QVERIFY(kb->Key({KeyGroup::HomeRow, 5})->font().bold());

        QVERIFY(SelectFamily(*fw, "Liberation Serif"));
        QCOMPARE(kb->Key({KeyGroup::BottomRow, 2})->font().family(), QString("Liberation Serif"));
        QVERIFY(kb->Key({KeyGroup::BottomRow, 2})->font().italic());

        // Typing on the real keyboard shows the character's code in the main window.
        QTest::keyClicks(TextEdit(*kb), "A");
        QCOMPARE(Child<QLabel>(*fw, "glyphCodeReadout").text(), QString("65"));

        fw->show();
        fw->showMinimized();
        QApplication::processEvents();
        QVERIFY(!kb->isVisible() && KeyboardOpen);
        fw->showNormal();
        QApplication::processEvents();
        QVERIFY(kb->isVisible());

        Child<QComboBox>(*kb, "keySizeBox").setCurrentIndex(5);
        fw->showMinimized();
        QApplication::processEvents();
        fw->close();
        QVERIFY(!KeyboardOpen && !fw->Keyboard());
        QCOMPARE(ReadIniString("Keyboard", "FontSize", "", IniFile), QString("5"));
    }

    // Keys show only the font's glyphs: a font unread or not found leaves marks, not other letters.
    void captionsOnlyFromTheFont_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("file");  // a .t1 file: a Type 1 font
        QTest::addColumn<bool>("letters");
        QTest::newRow("Type 1") << "C059" << "C059-Roman.t1" << true;
        QTest::newRow("damaged file") << "Broken Sans" << "broken.ttf" << false;
        QTest::newRow("not installed") << "Nowhere Icons" << "" << false;
    }
    void captionsOnlyFromTheFont()
    {
        QFETCH(QString, family);
        QFETCH(QString, file);
        QFETCH(bool, letters);
        QString path;
        if (file == "broken.ttf") {
            path = env->root() + "/broken.ttf";
            QVERIFY(WriteFile(path, QByteArray("\0\1\0\0 not a font at all", 22)));
        } else if (!file.isEmpty()) {
            path = SystemFile(file);
            if (path.isEmpty())
                QSKIP("font file not installed");
        }
        QSet<uint> map;
        if (!path.isEmpty() && MakeDesktopCharacterMaps()->CharacterMap(path, 0, &map))
            env->fake.characterMaps->maps[path] = map;
        Face face = file.endsWith(".t1") ? DeviceFace(family) : TrueTypeFace(family);
        face.elf.filePath = path;
        auto fw = Open({face});
        Child<QAction>(*fw, "keyboardAction").trigger();
        KeyboardWindow* kb = fw->Keyboard();
        kb->resize(760, 360);
        for (KeyPanel* key : {kb->Key({KeyGroup::TopRow, 1}), kb->Key({KeyGroup::HomeRow, 9}), kb->Key({KeyGroup::BottomRow, 7})}) {
            QCOMPARE(key->HasGlyph(), letters);
            QCOMPARE(Ink(key) > 10, letters);
        }
        // Fixed captions are the window's own and always drawn.
        QVERIFY(Ink(&Child<KeyPanel>(*kb, "capsKey")) > 10);
    }
};

QTEST_MAIN(KeyboardWindowTest)
#include "test_keyboard.moc"
