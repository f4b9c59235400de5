// The print wizard on the fake platform, printing into a recording surface: steps, selection,
// sorting, a print run and its refusals, the preview, and a close while a job runs.
#include <QtTest>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <functional>

#include "core/globals.h"
#include "core/settings.h"
#include "print/recording.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/printwizard.h"

using namespace gw;

namespace {

PrintFontEntry Entry(const QString& display, const QString& face, const QString& size)
{
    PrintFontEntry e;
    e.DisplayName = e.AlternateName = display;
    e.FaceName = face;
    e.FileName = face.toLower().remove(' ') + ".ttf";
    e.SizeText = size;
    return e;
}

// Real families, so the pictures show real glyphs.
PrintFontList Fonts()
{
    return {Entry("Liberation Sans", "Liberation Sans", "9k"),
            Entry("Liberation Sans Bold", "Liberation Sans", "12k"),
            Entry("Liberation Sans Italic", "Liberation Sans", "100k"),
            Entry("Liberation Sans Bold Italic", "Liberation Sans", "1K"),
            Entry("Nimbus Mono PS Oblique", "Nimbus Mono PS", "20k"),
            Entry("Nimbus Mono PS Bold Oblique", "Nimbus Mono PS", "21k"),
            Entry("Liberation Serif", "Liberation Serif", "")};
}

QStringList Selected(const PrintWizard& w)
{
    QStringList out;
    for (const PrintFontEntry& f : w.SelectedFonts())
        out << f.DisplayName;
    out.sort();
    return out;
}

// A recording surface that hands its operations over when the wizard drops it.
struct KeptSurface : RecordingSurface {
    KeptSurface(int paper, QVector<PrintOp>* out, const QSet<QString>& refused, const QString& failure)
        : RecordingSurface(paper), out_(out)
    {
        refusedFonts = refused;
        failReason = failure;
    }
    ~KeptSurface() override { *out_ = ops; }
    QVector<PrintOp>* out_;
};

} // namespace

class TestPrintWizard : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env_;
    QVector<PrintOp> printed_;
    int opened_ = 0;
    int paper_ = PaperLetter;
    QSet<QString> refused_;
    QString failure_;

private slots:
    void init()
    {
        env_ = std::make_unique<TestEnv>();
        paper_ = PaperLetter;
        refused_.clear();
        failure_.clear();
        opened_ = 0;
        printed_.clear();
        SystemPrintTarget().PaperSize = [this] { return paper_; };
        SystemPrintTarget().Open = [this](QString*) -> std::unique_ptr<PrinterSurface> {
            ++opened_;
            return std::make_unique<KeptSurface>(paper_, &printed_, refused_, failure_);
        };
    }
    void cleanup() { env_.reset(); }

    void stepsAndButtons_data()
    {
        QTest::addColumn<bool>("sheets");
        QTest::addColumn<bool>("sheetChecked");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("buttons");  // Prev, Next, Go: 1 enabled, 0 disabled
        QTest::newRow("step 0") << false << false << 0 << "01";
        QTest::newRow("step 1") << false << false << 1 << "110";
        QTest::newRow("step 2 catalog") << false << false << 2 << "101";
        QTest::newRow("step 2 sheets, none checked") << true << false << 2 << "100";
        QTest::newRow("step 2 sheets, one checked") << true << true << 2 << "101";
    }
    void stepsAndButtons()
    {
        QFETCH(bool, sheets);
        QFETCH(bool, sheetChecked);
        QFETCH(int, step);
        QFETCH(QString, buttons);
        PrintWizard w(Fonts());
        w.show();
        if (sheets) {
            Child<QRadioButton>(w, "sheetsRadio").click();
            Child<QCheckBox>(w, "specimenSheet4Check").setChecked(sheetChecked);
        }
        w.SelectFonts("BOLD");
        for (int i = 0; i < step; ++i)
            Child<QPushButton>(w, "nextButton").click();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Child<QWidget>(w, qPrintable(QString("stepPage%1").arg(i))).isVisible(), i == step);
        const char* order[] = {"previousButton", "nextButton", "printButton"};
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(Child<QPushButton>(w, order[i]).isEnabled(), buttons[i] == '1');
        SaveShot(&w, QString("wizard-step%1%2").arg(step).arg(sheets ? "-sheets" : ""));
    }

    // The picture is drawn anew through its timer after each change of the choice.
    void pictureFollowsTheChoice()
    {
        PrintWizard w(Fonts());
        w.show();
        w.SelectFonts("BOLD");
        w.GoToNextStep();
        const LayoutPicture& picture = Child<LayoutPicture>(w, "layoutPicture");
        const std::function<void()> changes[] = {
            [&] { Child<QComboBox>(w, "layoutBox").setCurrentIndex(6); },
            [&] { Child<QLineEdit>(w, "titleEdit").setText("Another Title"); },
            [&] { w.GoToPreviousStep(); w.SelectFonts("REGULAR"); w.GoToNextStep(); },
            [&] { Child<QRadioButton>(w, "sheetsRadio").click(); Child<QCheckBox>(w, "ansiChartCheck").setChecked(true); }};
        for (const auto& change : changes) {
            QTRY_VERIFY(!picture.Picture().isNull());
            const QImage before = picture.Picture();
            change();
            QTRY_VERIFY(picture.Picture() != before);
        }
        SaveShot(&w, "wizard-picture-followed");
    }

    void selectFontsAddsOnly_data()
    {
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("label");
        QTest::newRow("bold after italic keeps both")
            << QStringList{"ITALIC", "BOLD"}
            << QStringList{"Liberation Sans Bold", "Liberation Sans Italic", "Nimbus Mono PS Oblique"}
            << "3 selected";
        QTest::newRow("bold oblique is bold italic") << QStringList{"BOLDITALIC"}
            << QStringList{"Liberation Sans Bold Italic", "Nimbus Mono PS Bold Oblique"} << "2 selected";
        QTest::newRow("regular has no style word") << QStringList{"REGULAR"}
            << QStringList{"Liberation Sans", "Liberation Serif"} << "2 selected";
        QTest::newRow("family by name, any case") << QStringList{"nimbus mono ps"}
            << QStringList{"Nimbus Mono PS Bold Oblique", "Nimbus Mono PS Oblique"} << "2 selected";
        QTest::newRow("none clears") << QStringList{"ALL", "NONE"} << QStringList{} << "No fonts selected";
        QTest::newRow("family of the row under the right button") << QStringList{"BOLD", "MENU"}
            << QStringList{"Liberation Sans Bold", "Nimbus Mono PS Bold Oblique", "Nimbus Mono PS Oblique"} << "3 selected";
    }
    void selectFontsAddsOnly()
    {
        QFETCH(QStringList, kinds);
        QFETCH(QStringList, selected);
        QFETCH(QString, label);
        PrintWizard w(Fonts());
        w.show();
        for (const QString& k : kinds) {
            if (k != "MENU") {
                w.SelectFonts(k);
                continue;
            }
            // The Select button's menu has no family item; the list's has the family of the row.
            QMenu& menu = Child<QMenu>(w, "selectMenu");
            QAction& family = Child<QAction>(w, "familyAction");
            Child<QPushButton>(w, "selectButton").click();
            QVERIFY(!family.isVisible());
            menu.hide();
            QTreeWidget& list = Child<QTreeWidget>(w, "fontList");
            emit list.customContextMenuRequested(list.visualItemRect(list.topLevelItem(5)).center());
            QVERIFY(family.isVisible());
            family.trigger();
            menu.hide();
        }
        QCOMPARE(Selected(w), selected);
        const int n = int(w.SelectedFonts().size());
        QCOMPARE(Child<QLabel>(w, "selectedCountLabel").text(), label);
        QCOMPARE(Child<QLabel>(w, "fontCountLabel").text(), QString::number(n) + " fonts to print.");
    }

    // Go prints the selected fonts in the order shown (sorted by size text: 100k, 12k, 1K),
    // or says why it cannot; the title is kept for next time.
    void go_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("sheets");
        QTest::addColumn<QStringList>("refused");   // faces the printer refuses
        QTest::addColumn<QString>("message");       // the end of the one message; "" none
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("printed");
        QTest::newRow("letter") << int(PaperLetter) << false << QStringList{} << "" << 2 << true;
        QTest::newRow("unusable font named after the run") << int(PaperLetter) << false
            << QStringList{"nimbus mono ps", "nimbus mono ps oblique"} << ":\n\nNimbus Mono PS Oblique" << 2 << true;
        QTest::newRow("a PDF not written whole: the reason, nothing else") << int(PaperLetter) << false
            << QStringList{"!the disk is full"} << "the disk is full. Nothing was replaced; please try again, or "
                                                  "choose another file or printer." << 2 << true;
        QTest::newRow("legal refused") << int(PaperLegal) << false << QStringList{} << PaperSizeMessage() << 2 << false;
        QTest::newRow("no sheet goes back to step 1")
            << int(PaperA4) << true << QStringList{} << "Please select a Sample Sheet to print!" << 1 << false;
    }
    void go()
    {
        QFETCH(int, paper);
        QFETCH(bool, sheets);
        QFETCH(QStringList, refused);
        QFETCH(QString, message);
        QFETCH(int, step);
        QFETCH(bool, printed);
        paper_ = paper;
        // A "!" entry is the reason the output fails.
        if (!refused.isEmpty() && refused[0].startsWith('!'))
            failure_ = refused.takeFirst().mid(1);
        refused_ = QSet<QString>(refused.begin(), refused.end());
        WriteIniString("Inventory", "Title", "Saved title", IniFile);
        auto w = std::make_unique<PrintWizard>(Fonts());
        QLineEdit& title = Child<QLineEdit>(*w, "titleEdit");
        QCOMPARE(title.text(), QString("Saved title"));
        w->show();
        title.setText("My title");
        emit Child<QTreeWidget>(*w, "fontList").header()->sectionClicked(2);
        w->SelectFonts("BOLD");
        w->SelectFonts("ITALIC");
        Child<QRadioButton>(*w, "sheetsRadio").setChecked(sheets);
        w->GoToNextStep();
        w->GoToNextStep();
        w->PrintChosenFonts();
        const QStringList& texts = env_->fake.messages->texts;
        QVERIFY2(message.isEmpty() ? texts.isEmpty() : texts.size() == 1 && texts[0].endsWith(message), qPrintable(texts.join(" | ")));
        QCOMPARE(opened_, printed ? 1 : 0);
        QCOMPARE(w->Step(), step);
        if (!printed)
            return;
        QVERIFY(Child<QPushButton>(*w, "printButton").isEnabled());
        QCOMPARE(Child<QLabel>(*w, "statusLabel").text(), QString("Ready to print"));
        QStringList captions, titles;
        for (const PrintOp& op : printed_)
            if (op.kind == PrintOp::Text && op.text.contains(".ttf"))
                captions << op.text.section("  ", 0, 0);
            else if (op.kind == PrintOp::Text && op.text == "My title")
                titles << op.text;
        QCOMPARE(titles.size(), 1);
        QCOMPARE(captions, QStringList({"Liberation Sans Italic (TrueType)", "Liberation Sans Bold (TrueType)",
                                        "Nimbus Mono PS Oblique (TrueType)"}));
        w.reset();
        QCOMPARE(ReadIniString("Inventory", "Title", "", IniFile), QString("My title"));
    }

    void closeWhilePrintingIsRefused()
    {
        auto* w = new PrintWizard(Fonts());
        w->show();
        w->SelectFonts("ALL");
        Child<QRadioButton>(*w, "sheetsRadio").setChecked(true);
        Child<QCheckBox>(*w, "ansiChartCheck").setChecked(true);
        w->GoToNextStep();
        w->GoToNextStep();
        bool triedWhileBusy = false;
        QTimer::singleShot(0, w, [&] {
            triedWhileBusy = w->Printing();
            w->close();
            w->reject();
        });
        w->PrintChosenFonts();
        QVERIFY(triedWhileBusy);
        QVERIFY(w->isVisible());
        QCOMPARE(printed_.isEmpty(), false);
        QVERIFY(Child<QPushButton>(*w, "closeButton").isEnabled());
        w->close();
        QVERIFY(!w->isVisible());
        delete w;
    }

    // The preview holds every page of the run: seven fonts fill three Three Up pages.
    void previewShowsEveryPage()
    {
        PrintChoice c;
        c.Layout = "Three Up Catalog";
        c.Title = "Preview";
        int shown = -1;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* view = dialog->findChild<QPrintPreviewWidget*>();
            view->updatePreview();
            QTest::qWait(50);
            shown = view->pageCount();
            SaveShot(dialog, "preview-three-up");
            dialog->reject();
        });
        ShowPrintPreview(nullptr, Fonts(), c);
        QCOMPARE(shown, 3);
    }
};

QTEST_MAIN(TestPrintWizard)
#include "test_printwizard.moc"
