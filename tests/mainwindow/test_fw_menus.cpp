// The main window's "&Print..." and "&Options..." items: what they open, and
// the reread only when a Show key changed.
#include <QtTest>
#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>

#include "core/globals.h"
#include "mainwindow/fw.h"
#include "options/frmoptions.h"
#include "testenv.h"
#include "wizards/frmbatch.h"

using namespace gw;

namespace {

// Runs `act` on the modal window of type W once it is shown.
template <class W, class F>
void WhenShown(F act)
{
    QTimer::singleShot(0, [act] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()))
            act(w);
    });
}

} // namespace

class FwMenusTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env;

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->fake.fonts->faces = {TrueTypeFace("DejaVu Sans", "Book"), TrueTypeFace("DejaVu Sans", "Bold", 700),
                                  TrueTypeFace("Liberation Sans"), DeviceFace("Nimbus Sans")};
        ATMInstalled = true;
        env->fake.atm->text = "[Fonts]\nNimbus Sans=/x/n.afm,/x/n.pfb\n";
    }
    void cleanup() { env.reset(); }

    void printWithEmptyListShowsMessage()
    {
        SetShow(false, false, false);
        FW w;
        w.mnuFileInventory_Click();
        QCOMPARE(env->fake.messages->texts, QStringList("There are no installed fonts to print!"));
        QCOMPARE(w.mnuFileInventory->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    }

    void printOpensTheWizardOnEveryListedFont()
    {
        SetShow(true, true, false);
        FW w;
        QVERIFY(SelectFamily(w, "DejaVu Sans"));
        const int styles = StyleCount;
        QStringList listed;
        WhenShown<frmBatch>([&](frmBatch* b) {
            for (int i = 0; i < b->ListView1->topLevelItemCount(); ++i)
                listed << b->ListView1->topLevelItem(i)->text(0);
            b->close();
        });
        w.mnuFileInventory_Click();
        QCOMPARE(listed, QStringList({"DejaVu Sans Bold", "DejaVu Sans Book", "Liberation Sans", "Nimbus Sans"}));
        QCOMPARE(int(StyleCount), styles);  // the main window's style list is untouched
    }

    void optionsRereadsOnlyWhenAShowKeyChanged_data()
    {
        QTest::addColumn<bool>("tickAtm");
        QTest::addColumn<int>("families");
        QTest::newRow("ShowATM turned on rereads") << true << 4;
        QTest::newRow("OK without a change does not") << false << 2;
    }
    void optionsRereadsOnlyWhenAShowKeyChanged()
    {
        QFETCH(bool, tickAtm);
        QFETCH(int, families);
        SetShow(true, false, false);
        FW w;
        QCOMPARE(w.fontList->Count(), 2);
        // A font that only a reread can find.
        env->fake.fonts->faces << TrueTypeFace("Zed Sans");
        WhenShown<frmOptions>([tickAtm](frmOptions* o) {
            o->chkATM->setChecked(tickAtm);
            o->cmdOK->click();
        });
        w.mnuOptionsSetup_Click();
        QCOMPARE(w.fontList->Count(), families);
        QCOMPARE(w.mnuOptionsSetup->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    }
};

QTEST_MAIN(FwMenusTest)
#include "test_fw_menus.moc"
