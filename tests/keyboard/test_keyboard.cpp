// The keyboard window on its own: captions under Shift and Caps, text typed by
// clicks, the real keys it animates, the caption size, placement and layout.
#include <QtTest>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <memory>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "keyboard/keyboard.h"
#include "keyboard/keypanel.h"
#include "testenv.h"

using namespace gw;

namespace {

// The captions of the four typing rows, one text per row.
QStringList Captions(const KeyBoard& kb)
{
    QStringList rows;
    for (const auto* row : {"KB_", "KB2_", "KB3_", "KB4_"}) {
        QString text;
        for (int i = 0; i <= 13; ++i)
            if (auto* key = kb.findChild<KeyPanel*>(QString::fromLatin1(row) + QString::number(i)))
                text += key->Caption();
        rows << text;
    }
    return rows;
}

KeyPanel* K(const KeyBoard& kb, const QString& name)
{
    auto* key = kb.findChild<KeyPanel*>(name);
    if (!key)
        qWarning("no key %s", qPrintable(name));
    return key;
}

void Click(const KeyBoard& kb, const QString& name)
{
    QTest::mouseClick(K(kb, name), Qt::LeftButton);
}

void SendKey(QWidget* to, QEvent::Type type, int qtKey, quint32 scanCode, const QString& text = {})
{
    QKeyEvent event(type, qtKey, Qt::NoModifier, scanCode, 0, 0, text);
    QApplication::sendEvent(to, &event);
}

} // namespace

class KeyBoardTest : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;

private slots:
    void init() { env.emplace(); }
    void cleanup() { env.reset(); }

    void captionTables_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("realShift");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("capsLock");
        const QStringList normal = {"`1234567890-=\\", "qwertyuiop[]", "asdfghjkl;'", "zxcvbnm,./"};
        const QStringList shifted = {"~!@#$%^&*()_+|", "QWERTYUIOP{}", "ASDFGHJKL:\"", "ZXCVBNM<>?"};
        const QStringList caps = {"`1234567890-=\\", "QWERTYUIOP[]", "ASDFGHJKL;'", "ZXCVBNM,./"};
        const QStringList capsShift = {"~!@#$%^&*()_+|", "qwertyuiop{}", "asdfghjkl:\"", "zxcvbnm<>?"};
        QTest::newRow("normal") << QStringList() << false << normal << false;
        QTest::newRow("left Shift") << QStringList{"Shift_1"} << false << shifted << false;
        QTest::newRow("right Shift") << QStringList{"Shift_2"} << false << shifted << false;
        QTest::newRow("Shift twice releases it") << QStringList{"Shift_1", "Shift_2"} << false << normal << false;
        QTest::newRow("Caps") << QStringList{"CapsKey"} << false << caps << true;
        QTest::newRow("Caps twice releases it") << QStringList{"CapsKey", "CapsKey"} << false << normal << false;
        QTest::newRow("Caps then Shift releases Caps") << QStringList{"CapsKey", "Shift_1"} << false << shifted << false;
        QTest::newRow("Shift then Caps releases Shift") << QStringList{"Shift_2", "CapsKey"} << false << caps << true;
        QTest::newRow("real Shift held") << QStringList() << true << shifted << false;
        QTest::newRow("real Shift held with Caps") << QStringList{"CapsKey"} << true << capsShift << true;
    }
    void captionTables()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, realShift);
        QFETCH(QStringList, rows);
        QFETCH(bool, capsLock);
        KeyBoard kb;
        kb.show();
        for (const QString& name : clicks)
            Click(kb, name);
        if (realShift)
            SendKey(kb.TextBox, QEvent::KeyPress, Qt::Key_Shift, 0);
        QCOMPARE(Captions(kb), rows);
        QCOMPARE(env->fake.keyboard->capsLock, capsLock);
        QCOMPARE(kb.CapsKey->IsDown(), capsLock);
        const bool shiftDown = realShift || rows.at(0).startsWith('~');
        QCOMPARE(kb.Shift[1]->IsDown(), shiftDown);
        QCOMPARE(kb.Shift[2]->IsDown(), shiftDown);
        if (realShift) {
            SendKey(kb.TextBox, QEvent::KeyRelease, Qt::Key_Shift, 0);
            QVERIFY(!kb.Shift[1]->IsDown());
            QCOMPARE(Captions(kb).at(2), capsLock ? QString("ASDFGHJKL;'") : QString("asdfghjkl;'"));
        }
    }

    void capsFollowsTheSystem()
    {
        env->fake.keyboard->capsLock = true;
        KeyBoard kb;
        QVERIFY(kb.CapsKey->IsDown());
        QCOMPARE(Captions(kb).at(1), QString("QWERTYUIOP[]"));
        // The real Caps key where the program keeps the state.
        SendKey(kb.TextBox, QEvent::KeyPress, Qt::Key_CapsLock, 66);
        SendKey(kb.TextBox, QEvent::KeyRelease, Qt::Key_CapsLock, 66);
        QVERIFY(!env->fake.keyboard->capsLock);
        QVERIFY(!kb.CapsKey->IsDown());
        QCOMPARE(Captions(kb).at(1), QString("qwertyuiop[]"));
    }

    void typedText_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters and digits") << QStringList{"KB2_6", "KB_1", "KB3_1"} << "y1a";
        QTest::newRow("percent caret plus") << QStringList{"Shift_1", "KB_5", "KB_6", "KB_12"} << "%^+";
        QTest::newRow("tilde and parentheses") << QStringList{"Shift_2", "KB_0", "KB_9", "KB_10"} << "~()";
        QTest::newRow("braces") << QStringList{"Shift_1", "KB2_11", "KB2_12"} << "{}";
        QTest::newRow("brackets") << QStringList{"KB2_11", "KB2_12"} << "[]";
        QTest::newRow("quote and backslash") << QStringList{"Shift_1", "KB3_11", "KB_13"} << "\"|";
        QTest::newRow("Caps letters") << QStringList{"CapsKey", "KB4_1", "KB4_8"} << "Z,";
        QTest::newRow("space") << QStringList{"KB2_1", "SpaceBar", "KB2_2"} << "q w";
        QTest::newRow("backspace") << QStringList{"KB2_1", "KB2_2", "BackspaceKey", "KB2_3"} << "qe";
        QTest::newRow("backspace on empty") << QStringList{"BackspaceKey"} << "";
        QTest::newRow("Ctrl, Alt and Tab type nothing") << QStringList{"Ctrl_1", "Alt_2", "TabKey"} << "";
    }
    void typedText()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, text);
        KeyBoard kb;
        kb.show();
        for (const QString& name : clicks)
            Click(kb, name);
        QCOMPARE(kb.TextBox->text(), text);
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            if (!key->objectName().startsWith("Shift") && key != kb.CapsKey)
                QVERIFY2(!key->IsDown(), qPrintable(key->objectName()));
    }

    void backspaceActsOnMouseDown()
    {
        KeyBoard kb;
        kb.TextBox->setText("ab");
        QTest::mousePress(kb.BackspaceKey, Qt::LeftButton);
        QCOMPARE(kb.TextBox->text(), QString("a"));
        QVERIFY(kb.BackspaceKey->IsDown());
        QTest::mouseRelease(kb.BackspaceKey, Qt::LeftButton);
        QVERIFY(!kb.BackspaceKey->IsDown());
    }

    void copyAndClear()
    {
        KeyBoard kb;
        env->fake.clipboard->text = "old";
        kb.TextBox->setText(QString::fromUtf8("Zo\u00eb %^"));
        kb.cmdCopy->click();
        QCOMPARE(env->fake.clipboard->text, QString::fromUtf8("Zo\u00eb %^"));
        kb.KillTextBox->click();
        QCOMPARE(kb.TextBox->text(), QString());
    }

    // Real keys by their place (the window system's key code) or, without one, by Qt's key.
    void realKeysAnimateByPlace_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("scanCode");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("US a") << int(Qt::Key_A) << 38 << QStringList{"KB3_1"};
        QTest::newRow("AZERTY q on the a place") << int(Qt::Key_Q) << 38 << QStringList{"KB3_1"};
        QTest::newRow("AZERTY a on the q place") << int(Qt::Key_A) << 24 << QStringList{"KB2_1"};
        QTest::newRow("German z on the y place") << int(Qt::Key_Z) << 29 << QStringList{"KB2_6"};
        QTest::newRow("grave") << int(Qt::Key_QuoteLeft) << 49 << QStringList{"KB_0"};
        QTest::newRow("zero") << int(Qt::Key_0) << 19 << QStringList{"KB_10"};
        QTest::newRow("equal") << int(Qt::Key_Equal) << 21 << QStringList{"KB_12"};
        QTest::newRow("backslash") << int(Qt::Key_Backslash) << 51 << QStringList{"KB_13"};
        QTest::newRow("right bracket") << int(Qt::Key_BracketRight) << 35 << QStringList{"KB2_12"};
        QTest::newRow("apostrophe") << int(Qt::Key_Apostrophe) << 48 << QStringList{"KB3_11"};
        QTest::newRow("slash") << int(Qt::Key_Slash) << 61 << QStringList{"KB4_10"};
        QTest::newRow("left Shift lowers both") << int(Qt::Key_Shift) << 50 << QStringList{"Shift_1", "Shift_2"};
        QTest::newRow("right Ctrl") << int(Qt::Key_Control) << 105 << QStringList{"Ctrl_1", "Ctrl_2"};
        QTest::newRow("space") << int(Qt::Key_Space) << 65 << QStringList{"SpaceBar"};
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 22 << QStringList{"BackspaceKey"};
        QTest::newRow("ISO key has no place here") << int(Qt::Key_Less) << 94 << QStringList();
        QTest::newRow("Return has no key") << int(Qt::Key_Return) << 36 << QStringList();
        QTest::newRow("no place: percent") << int(Qt::Key_Percent) << 0 << QStringList{"KB_5"};
        QTest::newRow("no place: brace") << int(Qt::Key_BraceLeft) << 0 << QStringList{"KB2_11"};
        QTest::newRow("no place: colon") << int(Qt::Key_Colon) << 0 << QStringList{"KB3_10"};
        QTest::newRow("no place: question") << int(Qt::Key_Question) << 0 << QStringList{"KB4_10"};
        QTest::newRow("no place: m") << int(Qt::Key_M) << 0 << QStringList{"KB4_7"};
        QTest::newRow("no place: F1") << int(Qt::Key_F1) << 0 << QStringList();
    }
    void realKeysAnimateByPlace()
    {
        QFETCH(int, qtKey);
        QFETCH(int, scanCode);
        QFETCH(QStringList, keys);
        KeyBoard kb;
        kb.show();
        SendKey(kb.TextBox, QEvent::KeyPress, qtKey, quint32(scanCode));
        QStringList down;
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            if (key->IsDown())
                down << key->objectName();
        down.sort();
        QCOMPARE(down, keys);
        SendKey(kb.TextBox, QEvent::KeyRelease, qtKey, quint32(scanCode));
        for (KeyPanel* key : kb.findChildren<KeyPanel*>())
            QVERIFY2(!key->IsDown(), qPrintable(key->objectName()));
    }

    void realTypingGoesIntoTheBox()
    {
        KeyBoard kb;
        kb.show();
        QList<int> codes;
        kb.ShowCharacterCode = [&codes](int code) { codes << code; };
        kb.TextBox->setFocus();
        QTest::keyClicks(kb.TextBox, "a");
        SendKey(kb.TextBox, QEvent::KeyPress, 0x20ac, 0, QString::fromUtf8("\u20ac"));
        SendKey(kb.TextBox, QEvent::KeyPress, Qt::Key_Backspace, 22, QString(QChar(8)));
        QCOMPARE(kb.TextBox->text(), QString("a"));
        QCOMPARE(codes, (QList<int>{97, 128}));
    }

    void fontSizeListAndSetting()
    {
        {
            KeyBoard kb;
            QCOMPARE(kb.cmbFontSize->count(), 8);
            QCOMPARE(kb.cmbFontSize->itemText(0), QString("6"));
            QCOMPARE(kb.cmbFontSize->itemText(7), QString("20"));
            QCOMPARE(kb.cmbFontSize->currentText(), QString("12"));
            QCOMPARE(kb.KB[1]->font().pointSize(), 12);
            const QRect key = kb.KB2[3]->geometry();
            kb.cmbFontSize->setCurrentIndex(7);
            QCOMPARE(kb.KB2[3]->font().pointSize(), 20);
            QCOMPARE(kb.KB4[10]->font().pointSize(), 20);
            QCOMPARE(kb.KB2[3]->geometry(), key);
            QVERIFY(kb.CapsKey->font().pointSize() != 20);  // fixed captions keep the window's font
            QVERIFY(kb.TextBox->font().pointSize() != 20);
            kb.close();
        }
        QCOMPARE(ReadIniString("Keyboard", "FontSize", "", IniFile), QString("7"));
        KeyBoard again;
        QCOMPARE(again.cmbFontSize->currentText(), QString("20"));
        QCOMPARE(again.KB[0]->font().pointSize(), 20);
    }

    void unknownFontSizeSettingGives12()
    {
        WriteIniString("Keyboard", "FontSize", "42", IniFile);
        KeyBoard kb;
        QCOMPARE(kb.cmbFontSize->currentText(), QString("12"));
    }

    void placementAndMinimumSize()
    {
        QRect placed;
        QPoint placedAt;
        {
            KeyBoard kb;
            QCOMPARE(kb.minimumSize(), QSize(TwipsToPixels(5775), TwipsToPixels(2985)));
            QCOMPARE(kb.size(), kb.minimumSize());  // first opening: the designed size
            kb.show();
            kb.setGeometry(40, 50, 700, 330);
            placed = kb.geometry();
            placedAt = kb.pos();
            kb.close();
        }
        QCOMPARE(ReadIniInt("Keyboard", "Width", 0, IniFile), 700 * 15);
        QCOMPARE(ReadIniInt("Keyboard", "Height", 0, IniFile), 330 * 15);
        KeyBoard again;
        QCOMPARE(again.size(), placed.size());
        QCOMPARE(again.pos(), placedAt);
    }

    // Keys abut row by row in the designed proportions of the key unit.
    void layoutProportions_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smallest") << QSize(TwipsToPixels(5775), TwipsToPixels(2985));
        QTest::newRow("wide") << QSize(1200, 330);
        QTest::newRow("tall") << QSize(520, 600);
    }
    void layoutProportions()
    {
        QFETCH(QSize, size);
        KeyBoard kb;
        kb.resize(size);
        const int u = kb.KeyUnit();
        QVERIFY(u >= 20);
        QCOMPARE(kb.KB[0]->geometry(), QRect(TwipsToPixels(75), TwipsToPixels(540), u, u));
        const struct {
            KeyPanel* key;
            double units;
        } wide[] = {{kb.BackspaceKey, 1.48}, {kb.TabKey, 1.48}, {kb.CapsKey, 1.8}, {kb.Shift[1], 2.44},
                    {kb.Shift[2], 2.44}, {kb.Ctrl[1], 1.8}, {kb.Alt[2], 1.32}, {kb.SpaceBar, 6.44}};
        for (const auto& w : wide) {
            QVERIFY2(qAbs(w.key->width() - w.units * u) <= 1.0, qPrintable(w.key->objectName()));
            QCOMPARE(w.key->height(), u);
        }
        QCOMPARE(kb.BackspaceKey->x(), kb.KB[13]->geometry().right() + 1);
        QCOMPARE(kb.KB2[1]->x(), kb.TabKey->geometry().right() + 1);
        QCOMPARE(kb.SpaceBar->x(), kb.Alt[1]->geometry().right() + 1);
        QCOMPARE(kb.Ctrl[1]->y(), kb.KB[0]->y() + 4 * u);
        QVERIFY(kb.BackspaceKey->geometry().right() < kb.width());
        QVERIFY(kb.Ctrl[1]->geometry().bottom() < kb.height());
    }

    void tooSmallKeepsTheLayout()
    {
        KeyBoard kb;
        kb.resize(700, 330);
        const QRect space = kb.SpaceBar->geometry();
        kb.setMinimumSize(0, 0);
        kb.resize(TwipsToPixels(5775) - 1, 400);
        QCOMPARE(kb.SpaceBar->geometry(), space);
        kb.resize(700, TwipsToPixels(2985) - 1);
        QCOMPARE(kb.SpaceBar->geometry(), space);
    }
};

QTEST_MAIN(KeyBoardTest)
#include "test_keyboard.moc"
