// The Options dialog on the fake platform: its checks, what OK writes (and
// only when every file can be written), Cancel, the quote preview and help
// per tab.
#include <QtTest>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include "core/globals.h"
#include "core/inifile.h"
#include "core/settings.h"
#include "options/optionsdialog.h"
#include "print/pageframe.h"
#include "shots.h"
#include "testenv.h"

using namespace gw;

namespace {

const QString kNoKinds = QStringLiteral(
    "You have not selected any fonts to display!\n\nPlease select a combination of TrueType, "
    "Adobe Type 1 (if available) and printer fonts to display.");
const QString kReset = QStringLiteral("Please select a number greater than zero for the Printer Reset.");

QString Paragraph(int n) { return QFileInfo(IniFile).path() + QStringLiteral("/papara%1.txt").arg(n); }

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env_;

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnv>();
        WriteFile(IniFile, "[GW]\nShowTrueType=1\nShowATM=1\nShowDevice=0\n[Quotes]\nQuote3=Third saved\n");
    }
    void cleanup() { env_.reset(); }

    void refusedInputKeepsDialogAndFile_data()
    {
        QTest::addColumn<QString>("untick");  // the boxes unticked
        QTest::addColumn<QString>("reset");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::newRow("no font kind ticked") << "TAD" << "3" << kNoKinds << int(vbInformation);
        QTest::newRow("reset 0") << "" << "0" << kReset << int(vbCritical);
        QTest::newRow("paragraph file unwritable") << "" << "3" << "" << int(vbCritical);
        QTest::newRow("Cancel, the reset box taking digits and Backspace only") << "" << "a1-b2 x" << "cancel" << 0;
    }
    void refusedInputKeepsDialogAndFile()
    {
        QFETCH(QString, untick);
        QFETCH(QString, reset);
        QFETCH(QString, message);
        QFETCH(int, style);
        if (message.isEmpty())
            QDir().mkpath(Paragraph(2));  // a folder where the file belongs
        const bool cancel = message == "cancel";
        const QByteArray before = ReadFile(IniFile);
        OptionsDialog d;
        d.show();
        d.SelectTab(4);
        d.txtUserName->setText("Kept edit");
        d.chkTrueType->setChecked(!untick.contains('T'));
        d.chkATM->setChecked(!untick.contains('A'));
        d.chkDevice->setChecked(!untick.contains('D'));
        d.txtParagraph[0]->setPlainText("Kept edit");
        d.txtReset->clear();
        QTest::keyClicks(d.txtReset, reset);
        if (cancel) {
            QCOMPARE(d.txtReset->text(), QString("12"));
            QTest::keyClick(d.txtReset, Qt::Key_Backspace);  // and Backspace deletes
            QCOMPARE(d.txtReset->text(), QString("1"));
            d.cmdCancel_Click();
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY(env_->fake.messages->texts.isEmpty());
        } else {
            QVERIFY(!d.cmdOK_Click());
            QCOMPARE(env_->fake.messages->styles.value(0), style);
            QVERIFY(d.isVisible());
            QCOMPARE(d.txtUserName->text(), QString("Kept edit"));
            if (!message.isEmpty()) {
                QCOMPARE(env_->fake.messages->texts.value(0), message);
                QCOMPARE(d.CurrentTab(), 1);
            } else {
                QVERIFY(env_->fake.messages->texts.value(0).contains("papara2.txt"));
            }
        }
        QCOMPARE(ReadFile(IniFile), before);
        QVERIFY(!QFileInfo(Paragraph(1)).exists());
    }

    void okWritesEveryKeyAndBothParagraphs()
    {
        ATMInstalled = false;
        WriteIniString("GW", "ShowATM", "0", IniFile);
        OptionsDialog d;
        QVERIFY(!d.chkATM->isEnabled());
        QVERIFY(!d.chkATM->isChecked());
        QCOMPARE(d.txtReset->text(), QString("3"));
        QCOMPARE(d.cmbPointSize->currentText(), QString("14"));
        QCOMPARE(d.cboQuotes[1]->itemText(10), QString("Quote #8"));
        d.txtUserName->setText("Ada");
        d.txtReset->setText("5");
        d.txtATMPath->setText("/opt/atm/atm");
        d.txtLeftFooter->setText("Left");
        d.cmbPointSize->setEditText("36");
        d.cboQuotes[1]->setCurrentIndex(5);
        d.txtSpecHeader->setText("Head");
        for (int i = 0; i < 8; ++i)
            d.txtQuote[i]->setText(QString("Q%1").arg(i + 1));
        // The preview shows a quotation as last saved, not as edited.
        d.cboQuotes[0]->setCurrentIndex(5);
        QCOMPARE(d.txtQuoteSample[0]->toPlainText(), QString("Third saved"));
        d.cboQuotes[0]->setCurrentIndex(0);  // the first choice is previewed too
        QCOMPARE(d.txtQuoteSample[0]->toPlainText(), SampleTextChoice(0));
        d.cboQuotes[0]->setCurrentIndex(2);
        d.txtParagraph[0]->setPlainText("line one\nline two");
        d.txtParagraph[1]->setPlainText("second");
        const int saves = SettingsSaveCount();
        QVERIFY(d.cmdOK_Click());
        QCOMPARE(SettingsSaveCount() - saves, 1);

        // One key of each kind per section; the boxes that differ (TrueType on, printer off) in full.
        const IniDocument ini = IniDocument::Load(IniFile);
        const QList<QStringList> expected = {
            {"GW", "ShowTrueType", "1"}, {"GW", "ShowATM", "0"}, {"GW", "ShowDevice", "0"},
            {"GW", "UserName", "Ada"}, {"GW", "ATMPath", "/opt/atm/atm"},
            {"Inventory", "EndDoc", "5"}, {"Inventory", "FooterLeft", "Left"}, {"Inventory", "PointSize", "36"},
            {"Inventory", "QuoteIndex", "2"}, {"SpecSheets", "Header", "Head"}, {"SpecSheets", "QuoteIndex", "5"},
            {"Quotes", "Quote1", "Q1"}, {"Quotes", "Quote8", "Q8"}};
        for (const QStringList& e : expected) {
            QString value;
            QVERIFY2(ini.Value(e[0], e[1], &value), qPrintable(e[1]));
            QCOMPARE(value, e[2]);
        }
        QCOMPARE(ReadFile(Paragraph(1)), QByteArray("line one\nline two\n"));
        QCOMPARE(ReadFile(Paragraph(2)), QByteArray("second\n"));
    }

    // The kinds of font shown: ticked unless the settings hold something other than 1.
    void kindsShownFromTheSettings_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("ticked");  // T, A, D
        QTest::newRow("no keys: every kind") << "" << "TAD";
        QTest::newRow("0 unticks") << "ShowTrueType=0\nShowATM=0\n" << "D";
        QTest::newRow("another number unticks") << "ShowDevice=2\n" << "TA";
    }
    void kindsShownFromTheSettings()
    {
        QFETCH(QString, keys);
        QFETCH(QString, ticked);
        WriteFile(IniFile, "[GW]\n" + keys.toUtf8());
        OptionsDialog d;
        const QString shown = QString(d.chkTrueType->isChecked() ? "T" : "") + (d.chkATM->isChecked() ? "A" : "")
                              + (d.chkDevice->isChecked() ? "D" : "");
        QCOMPARE(shown, ticked);
    }

    // Browse for the Type 1 manager starts in the data folder without its trailing
    // slash; cancelling keeps the path typed.
    void browseForTypeManager_data()
    {
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("path");
        QTest::newRow("trailing slashes dropped") << "/home/ada/win//" << "/opt/atm/atm" << "/home/ada/win" << "/opt/atm/atm";
        QTest::newRow("the root stays") << "/" << "/atm" << "/" << "/atm";
        QTest::newRow("cancelled: path kept") << "/w/" << "" << "/w" << "typed";
    }
    void browseForTypeManager()
    {
        QFETCH(QString, dataFolder);
        QFETCH(QString, answer);
        QFETCH(QString, start);
        QFETCH(QString, path);
        const QString before = WinDir;
        WinDir = dataFolder;
        OptionsDialog d;
        d.txtATMPath->setText("typed");
        env_->fake.dialogs->answers = QStringList{answer};
        d.cmdATM_Click();
        WinDir = before;
        QCOMPARE(env_->fake.dialogs->starts, QStringList{start});
        QCOMPARE(d.txtATMPath->text(), path);
    }

    // Enter confirms the dialog, also while Browse has the focus.
    void enterConfirmsFromBrowse()
    {
        OptionsDialog d;
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.cmdATM->setFocus();
        QTest::keyClick(d.cmdATM, Qt::Key_Return);
        QVERIFY(env_->fake.dialogs->titles.isEmpty());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void helpAndFocusPerTab()
    {
        OptionsDialog d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QList<QWidget*> first = {d.txtUserName, d.txtLeftFooter, d.txtSpecHeader, d.txtQuote[0],
                                       d.txtParagraph[0]};
        for (int tab = 1; tab <= 5; ++tab) {
            d.SelectTab(tab);
            QVERIFY(d.frmContainer[tab]->isVisible());
            QCOMPARE(QApplication::focusWidget(), first[tab - 1]);
            if (tab % 2)
                d.cmdHelp_Click();
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            SaveShot(&d, QString("options-tab%1").arg(tab));
        }
        QCOMPARE(env_->fake.help->contexts, QList<int>({550, 555, 560, 565, 570}));
        QCOMPARE(env_->fake.help->files.value(0), HelpFile);
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_optionsdialog.moc"
