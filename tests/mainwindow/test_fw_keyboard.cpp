// The keyboard window as the main window drives it: the Characters menu's
// toggle and check mark, the chosen family and style, minimising and closing.
#include <QtTest>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <memory>
#include <optional>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "core/splash.h"
#include "keyboard/keyboard.h"
#include "keyboard/keypanel.h"
#include "mainwindow/fw.h"
#include "testenv.h"

using namespace gw;

namespace {

using Face = FakeFontSystem::Face;

Face WithFile(Face face, const QString& file)
{
    face.elf.filePath = file;
    return face;
}

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

} // namespace

class FwKeyboardTest : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;

    std::unique_ptr<FW> Open(const QVector<Face>& faces)
    {
        env->fake.fonts->faces = faces;
        SetShow(true, true, false);
        auto fw = std::make_unique<FW>();
        fw->resize(900, 640);
        QApplication::processEvents();
        return fw;
    }

private slots:
    void init() { env.emplace(); }
    void cleanup()
    {
        UnloadSplash();
        env.reset();
    }

    void toggleAndCheckMark()
    {
        auto fw = Open({TrueTypeFace("Liberation Sans")});
        QAction* item = fw->mnuViewKeyboard;
        QCOMPARE(item->text(), QString("&Keyboard..."));
        QCOMPARE(item->shortcut(), QKeySequence("Ctrl+K"));
        QVERIFY(fw->mnuChar->actions().contains(item));
        QVERIFY(!item->isChecked());
        QVERIFY(!KeyboardOpen);

        item->trigger();
        QVERIFY(KeyboardOpen);
        QVERIFY(item->isChecked());
        QVERIFY(fw->KeyboardWindow() && fw->KeyboardWindow()->isVisible());
        QCOMPARE(fw->KeyboardWindow()->windowTitle(), QString("Keyboard"));

        item->trigger();
        QVERIFY(!KeyboardOpen);
        QVERIFY(!item->isChecked());
        QVERIFY(!fw->KeyboardWindow());

        // The toolbar calls the handler itself; closing the window unchecks the item.
        fw->mnuViewKeyboard_Click();
        QVERIFY(item->isChecked());
        fw->KeyboardWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!fw->KeyboardWindow());
        QVERIFY(!item->isChecked());
        QVERIFY(!KeyboardOpen);
        QVERIFY(!ReadIniString("Keyboard", "Width", "", IniFile).isEmpty());
    }

    void followsTheSelection()
    {
        auto fw = Open({TrueTypeFace("Liberation Sans"), TrueTypeFace("Liberation Sans", "Bold", 700),
                        TrueTypeFace("Liberation Serif", "Italic", 400, true)});
        QVERIFY(SelectFamily(*fw, "Liberation Sans"));
        fw->mnuViewKeyboard_Click();
        KeyBoard* kb = fw->KeyboardWindow();
        QCOMPARE(kb->TextBox->font().family(), QString("Liberation Sans"));
        QCOMPARE(kb->KB2[1]->font().family(), QString("Liberation Sans"));
        QVERIFY(!kb->KB2[1]->font().bold());

        fw->Attribs->setCurrentRow(1);  // Bold
        QVERIFY(kb->TextBox->font().bold());
        QVERIFY(kb->KB3[5]->font().bold());
        QCOMPARE(kb->KB3[5]->font().pointSize(), 12);

        QVERIFY(SelectFamily(*fw, "Liberation Serif"));
        QCOMPARE(kb->KB4[2]->font().family(), QString("Liberation Serif"));
        QVERIFY(kb->KB4[2]->font().italic());
        QVERIFY(kb->TextBox->font().italic());
        QCOMPARE(kb->CapsKey->font().family(), fw->font().family());

        // Typing on the real keyboard shows the character's code in the main window.
        QTest::keyClicks(kb->TextBox, "A");
        QCOMPARE(fw->pnlAnsi[1]->text(), QString("65"));
    }

    // Keys show only glyphs the font has: a font that cannot be read or found
    // leaves marks, never another font's letters.
    void captionsOnlyFromTheFont_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("type1");
        QTest::addColumn<bool>("letters");
        QTest::newRow("TrueType") << "Liberation Sans" << "LiberationSans-Regular.ttf" << false << true;
        QTest::newRow("Type 1") << "C059" << "C059-Roman.t1" << true << true;
        QTest::newRow("damaged file") << "Broken Sans" << "broken.ttf" << false << false;
        QTest::newRow("not installed") << "Nowhere Icons" << "" << false << false;
    }
    void captionsOnlyFromTheFont()
    {
        QFETCH(QString, family);
        QFETCH(QString, file);
        QFETCH(bool, type1);
        QFETCH(bool, letters);
        QString path;
        if (file == "broken.ttf") {
            path = env->root() + "/broken.ttf";
            QVERIFY(WriteFile(path, QByteArray("\0\1\0\0 not a font at all", 26)));
        } else if (!file.isEmpty()) {
            path = SystemFile(file);
            if (path.isEmpty())
                QSKIP("font file not installed");
        }
        const Face face = type1 ? DeviceFace(family) : TrueTypeFace(family);
        auto fw = Open({WithFile(face, path)});
        fw->mnuViewKeyboard_Click();
        KeyBoard* kb = fw->KeyboardWindow();
        kb->resize(760, 360);
        for (KeyPanel* key : {kb->KB2[1], kb->KB3[9], kb->KB4[7]}) {
            QCOMPARE(key->HasGlyph(), letters);
            QCOMPARE(Ink(key) > 10, letters);
        }
        // Fixed captions are the window's own and always drawn.
        QVERIFY(Ink(kb->CapsKey) > 10);

        // Pictures to look at, when asked for.
        const QString shots = QString::fromLocal8Bit(qgetenv("GW_SHOT_DIR"));
        if (!shots.isEmpty()) {
            const QString name = QString(QTest::currentDataTag()).replace(' ', '-').toLower();
            kb->TextBox->setText(QStringLiteral("Quick brown fox {%^+} 1997"));
            kb->grab().save(shots + "/keyboard-" + name + ".png");
            kb->Shift_Click(1);
            kb->grab().save(shots + "/keyboard-" + name + "-shift.png");
            kb->CapsKey_Click();
            kb->grab().save(shots + "/keyboard-" + name + "-caps.png");
        }
    }

    void hiddenWhileMinimisedAndClosedWithTheMainWindow()
    {
        auto fw = Open({TrueTypeFace("Liberation Sans")});
        fw->show();
        fw->mnuViewKeyboard_Click();
        KeyBoard* kb = fw->KeyboardWindow();
        QVERIFY(kb->isVisible());
        fw->showMinimized();
        QApplication::processEvents();
        QVERIFY(!kb->isVisible());
        QVERIFY(KeyboardOpen);
        fw->showNormal();
        QApplication::processEvents();
        QVERIFY(kb->isVisible());

        kb->cmbFontSize->setCurrentIndex(5);
        fw->showMinimized();
        QApplication::processEvents();
        fw->close();
        QVERIFY(!KeyboardOpen);
        QVERIFY(!fw->KeyboardWindow());
        QCOMPARE(ReadIniString("Keyboard", "FontSize", "", IniFile), QString("5"));
    }
};

QTEST_MAIN(FwKeyboardTest)
#include "test_fw_keyboard.moc"
