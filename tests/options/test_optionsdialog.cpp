// The Options dialog: its checks, what OK writes (only when every file can be written),
// Cancel, Browse, the quote preview and help per tab.
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
#include "testenv.h"

using namespace gw;

namespace {

const QString kReset = QStringLiteral("Please select a number greater than zero for the Printer Reset.");

QString Paragraph(int n) { return QFileInfo(IniFile).path() + QStringLiteral("/papara%1.txt").arg(n); }

QLineEdit& Edit(const OptionsDialog& d, const char* name) { return Child<QLineEdit>(d, name); }
QComboBox& Box(const OptionsDialog& d, const QString& name) { return Child<QComboBox>(d, qPrintable(name)); }
QPlainTextEdit& TextEdit(const OptionsDialog& d, const QString& name) { return Child<QPlainTextEdit>(d, qPrintable(name)); }
void Click(const OptionsDialog& d, const char* button) { Child<QPushButton>(d, button).click(); }

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
        QTest::addColumn<bool>("noKind");  // every kind of font unticked
        QTest::addColumn<QString>("reset");
        QTest::addColumn<QString>("message");  // a part of the one message
        QTest::addColumn<int>("style");
        QTest::newRow("no font kind ticked") << true << "3"
            << "You have not selected any fonts to display!\n\nPlease select a combination of TrueType, "
               "Adobe Type 1 (if available) and printer fonts to display." << int(vbInformation);
        QTest::newRow("reset 0") << false << "0" << kReset << int(vbCritical);
        QTest::newRow("paragraph file unwritable") << false << "3" << "papara2.txt" << int(vbCritical);
        // The characters next to the digits ("/" and ":") are refused.
        QTest::newRow("Cancel, the reset box taking digits and Backspace only") << false << "/a0-b9:1 x" << "cancel" << 0;
    }
    void refusedInputKeepsDialogAndFile()
    {
        QFETCH(bool, noKind);
        QFETCH(QString, reset);
        QFETCH(QString, message);
        QFETCH(int, style);
        if (message == "papara2.txt")
            QDir().mkpath(Paragraph(2));  // a folder where the file belongs
        const QByteArray before = ReadFile(IniFile);
        OptionsDialog d;
        d.show();
        d.SelectTab(OptionsDialog::Tab::Quotes);
        Edit(d, "userNameEdit").setText("Kept edit");
        for (const char* kind : {"trueTypeCheck", "typeOneCheck", "printerFontsCheck"})
            Child<QCheckBox>(d, kind).setChecked(!noKind);
        TextEdit(d, "paragraphEdit0").setPlainText("Kept edit");
        QLineEdit& resetPages = Edit(d, "resetPagesEdit");
        resetPages.clear();
        QTest::keyClicks(&resetPages, reset);
        if (message == "cancel") {
            QCOMPARE(resetPages.text(), QString("091"));
            // Backspace and Delete delete, keys that type nothing move.
            for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_3, Qt::Key_Home, Qt::Key_2, Qt::Key_Delete})
                QTest::keyClick(&resetPages, key);
            QCOMPARE(resetPages.text(), QString("293"));
            resetPages.setFocus();
            QCOMPARE(d.focusWidget(), &resetPages);
            QTest::keyClick(&resetPages, Qt::Key_Tab);  // moves on
            QVERIFY(d.focusWidget() != &resetPages);
            QTest::keyClick(&resetPages, Qt::Key_Escape);  // cancels from the box too
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY(env_->fake.messages->texts.isEmpty());
        } else {
            QTest::keyClick(&resetPages, Qt::Key_Return);  // OK from the box
            QCOMPARE(env_->fake.messages->styles.value(0), style);
            QVERIFY(d.isVisible());
            QCOMPARE(Edit(d, "userNameEdit").text(), QString("Kept edit"));
            QVERIFY(env_->fake.messages->texts.value(0).contains(message));
            if (!message.endsWith(".txt"))  // a refused setting of the first tab brings it to the front
                QCOMPARE(Child<QTabBar>(d, "tabs").currentIndex(), int(OptionsDialog::Tab::General));
            if (reset == "0") {  // the refused number is selected, ready to be typed over
                QCOMPARE(d.focusWidget(), &resetPages);
                QCOMPARE(resetPages.selectedText(), reset);
            }
        }
        QCOMPARE(ReadFile(IniFile), before);
        QVERIFY(!QFileInfo(Paragraph(1)).exists());
    }

    void okWritesEveryKeyAndBothParagraphs()
    {
        WriteIniString("GW", "ShowATM", "0", IniFile);
        WriteIniString("SpecSheets", "QuoteIndex", "11", IniFile);  // one past the last choice: the first
        OptionsDialog d;
        QCOMPARE(Box(d, "sampleTextBox1").itemText(10), QString("Quote #8"));
        QCOMPARE(Box(d, "sampleTextBox1").currentIndex(), 0);
        QCOMPARE(TextEdit(d, "samplePreviewEdit1").toPlainText(), SampleTextChoice(0));  // the stored first choice
        Edit(d, "userNameEdit").setText("Ad\u00e1");
        Edit(d, "resetPagesEdit").setText("1");  // the least taken
        // Browse starts in the data folder without a trailing slash (the root stays); cancelling keeps
        // the path typed.
        env_->fake.dialogs->answers = QStringList{"", "/opt/atm/atm"};
        Edit(d, "atmPathEdit").setText("typed");
        UserDataDir = "/";
        Click(d, "atmBrowseButton");
        QCOMPARE(Edit(d, "atmPathEdit").text(), QString("typed"));
        UserDataDir = "/home/ada/win///";
        Click(d, "atmBrowseButton");
        QCOMPARE(env_->fake.dialogs->starts, QStringList({"/", "/home/ada/win"}));
        Edit(d, "leftFooterEdit").setText("Left");
        Edit(d, "rightFooterEdit").setText("Right");
        Box(d, "pointSizeBox").setEditText("36");
        Box(d, "infoPointSizeBox").setEditText("9");
        Box(d, "sampleTextBox1").setCurrentIndex(5);
        Edit(d, "sheetHeaderEdit").setText("Head");
        for (int i = 0; i < 8; ++i)
            Child<QLineEdit>(d, qPrintable(QString("quoteEdit%1").arg(i))).setText(QString("Q%1").arg(i + 1));
        // The preview shows a quotation as last saved, not as edited.
        QComboBox& catalogText = Box(d, "sampleTextBox0");
        const QPlainTextEdit& catalogPreview = TextEdit(d, "samplePreviewEdit0");
        catalogText.setCurrentIndex(5);
        QCOMPARE(catalogPreview.toPlainText(), QString("Third saved"));
        catalogText.setCurrentIndex(0);  // the first choice is previewed too
        QCOMPARE(catalogPreview.toPlainText(), SampleTextChoice(0));
        catalogText.setCurrentIndex(2);
        TextEdit(d, "paragraphEdit0").setPlainText("line one\nline two");
        TextEdit(d, "paragraphEdit1").setPlainText("second \u00e9\u20ac");  // written as UTF-8
        // Each tab focuses its first box and has its help; Enter confirms, also from Browse.
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        const char* const first[] = {"userNameEdit", "leftFooterEdit", "sheetHeaderEdit", "quoteEdit0", "paragraphEdit0"};
        for (int tab = 0; tab < 5; ++tab) {
            d.SelectTab(OptionsDialog::Tab(tab));
            QCOMPARE(QApplication::focusWidget(), &Child<QWidget>(d, first[tab]));
            if (tab % 2 == 0)
                Click(d, "helpButton");
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        }
        QCOMPARE(env_->fake.help->contexts, QList<int>({550, 555, 560, 565, 570}));
        QCOMPARE(env_->fake.help->files.value(0), HelpFile);
        d.SelectTab(OptionsDialog::Tab::General);
        QVERIFY(QDir(QFileInfo(IniFile).path()).removeRecursively());  // gone meanwhile: OK makes it again
        QPushButton& browse = Child<QPushButton>(d, "atmBrowseButton");
        browse.setFocus();
        QTest::keyClick(&browse, Qt::Key_Return);
        QCOMPARE(env_->fake.dialogs->titles.size(), 2);  // Browse was not opened again
        QCOMPARE(d.result(), int(QDialog::Accepted));

        // Every key, each from its own box (no two boxes hold the same value).
        const IniDocument ini = IniDocument::Load(IniFile);
        QList<QStringList> expected = {
            {"GW", "ShowTrueType", "1"}, {"GW", "ShowATM", "0"}, {"GW", "ShowDevice", "0"},
            {"GW", "UserName", "Ad\u00e1"}, {"GW", "ATMPath", "/opt/atm/atm"},
            {"Inventory", "EndDoc", "1"}, {"Inventory", "FooterLeft", "Left"}, {"Inventory", "FooterRight", "Right"},
            {"Inventory", "PointSize", "36"}, {"Inventory", "InfoPointSize", "9"}, {"Inventory", "QuoteIndex", "2"},
            {"SpecSheets", "Header", "Head"}, {"SpecSheets", "QuoteIndex", "5"}};
        for (int i = 1; i <= 8; ++i)
            expected << QStringList{"Quotes", QString("Quote%1").arg(i), QString("Q%1").arg(i)};
        for (const QStringList& e : expected) {
            QString value;
            QVERIFY2(ini.Value(e[0], e[1], &value), qPrintable(e[1]));
            QCOMPARE(value, e[2]);
        }
        QVERIFY(ReadFile(IniFile).contains("UserName=Ad\xC3\xA1\n"));  // UTF-8 as well
        QCOMPARE(ReadFile(Paragraph(1)), QByteArray("line one\nline two\n"));
        QCOMPARE(ReadFile(Paragraph(2)), QByteArray("second \xC3\xA9\xE2\x82\xAC\n"));
        QCOMPARE(env_->fake.messages->texts, QStringList());  // all went well: nothing to say
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "test_optionsdialog.moc"
