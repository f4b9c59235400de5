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
#include <QTabBar>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/picturebox.h"
#include "core/settings.h"
#include "options/optionsdialog.h"
#include "print/recording.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "wizards/printrunner.h"
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

// A recording surface that hands its operations over when the wizard drops it.
struct KeptSurface : RecordingSurface {
    KeptSurface(int paper, QVector<PrintOp>* out) : RecordingSurface(paper), out_(out) {}
    ~KeptSurface() override { *out_ = ops; }
    QVector<PrintOp>* out_;
};

} // namespace

class TestPrintWizard : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env_;

private slots:
    void init() { env_ = std::make_unique<TestEnv>(); }
    void cleanup() { env_.reset(); }

    // The wizard prints what the main list shows: TrueType styles, each Type 1 style and the
    // printer's fonts, in name order; the main window's styles of its family stay as they were.
    void wizardFontsFromTheMainList()
    {
        env_->fake.fonts->faces = {TrueTypeFace("Zeta"), TrueTypeFace("Alpha"), TrueTypeFace("Alpha", "Bold", 700),
                                   TrueTypeFace("Alpha", "Italic", 400, true), DeviceFace("Optima"), DeviceFace("Optima", 700, true)};
        ATMInstalled = true;
        env_->fake.atm->text = "[Fonts]\nOptima=,/t1/optima.pfb\n";
        for (const char* key : {"ShowTrueType", "ShowATM", "ShowDevice"})
            WriteIniString("GW", key, "1", IniFile);
        FontListModel list;
        FontEnumerator main(&list);
        main.ReadFonts();
        list.Add("Line Printer", KindPrinter);  // as a printer's fonts are listed
        main.EnumerateStyles("Alpha", KindTrueType);
        const auto styles = [] {  // the main window's styles of its family
            QStringList all{QString::number(StyleCount)};
            for (size_t i = 0; i < std::max(StyleTable.size(), StyleFonts.size()); ++i)
                all << (i < StyleTable.size() ? StyleTable[i].StyleName : "-") + "/"
                           + (i < StyleFonts.size() ? FieldText(StyleFonts[i].elfFullName, 64) : "-");
            return all;
        };
        const QStringList before = styles();
        QCOMPARE(before.value(0), QString("3"));
        QStringList names;
        for (const PrintFontEntry& f : WizardFonts(list))
            names << f.DisplayName + QString("/%1").arg(f.FontType);
        QCOMPARE(names.join(", "), QStringList({"Alpha/1", "Alpha Bold/1", "Alpha Italic/1", "Line Printer/3", "Optima/2",
                                                "Optima Bold Italic/2", "Zeta/1"}).join(", "));
        QCOMPARE(styles(), before);
    }

    // Each kind adds to the selection, NONE clears it; only the list's menu has the family item. The picture is
    // drawn anew after each change of the choice. With sheets chosen, Print needs one checked, else says so.
    void selectionPictureAndPrintButton()
    {
        PrintWizard w(Fonts());
        w.show();
        const auto shown = [&w] {
            QStringList names;
            for (const PrintFontEntry& f : w.SelectedFonts())
                names << f.DisplayName;
            names.sort();
            return names.join(", ") + ": " + Child<QLabel>(w, "selectedCountLabel").text() + ", "
                   + Child<QLabel>(w, "fontCountLabel").text();
        };
        const auto select = [&](const QStringList& kinds) {
            w.SelectFonts("NONE");
            for (const QString& kind : kinds)
                w.SelectFonts(kind);
            return shown();
        };
        QCOMPARE(select({"ITALIC", "BOLD"}),
                 QString("Liberation Sans Bold, Liberation Sans Italic, Nimbus Mono PS Oblique: 3 selected, "
                         "3 fonts to print."));
        QCOMPARE(select({"BOLDITALIC"}), QString("Liberation Sans Bold Italic, Nimbus Mono PS Bold Oblique: "
                                                 "2 selected, 2 fonts to print."));
        QCOMPARE(select({"REGULAR"}), QString("Liberation Sans, Liberation Serif: 2 selected, 2 fonts to print."));
        QCOMPARE(select({"nimbus mono ps"}), QString("Nimbus Mono PS Bold Oblique, Nimbus Mono PS Oblique: "
                                                     "2 selected, 2 fonts to print."));
        QCOMPARE(select({"ALL", "NONE"}), QString(": No fonts selected, 0 fonts to print."));
        select({"BOLD"});
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
        QCOMPARE(shown(), QString("Liberation Sans Bold, Nimbus Mono PS Bold Oblique, Nimbus Mono PS "
                                  "Oblique: 3 selected, 3 fonts to print."));
        w.show();  // Ctrl+click adds the row under it
        QTreeWidgetItem* row = list.topLevelItem(list.topLevelItem(0)->isSelected() ? 1 : 0);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, list.visualItemRect(row).center());
        QCOMPARE(list.selectedItems().size(), 4);
        QCOMPARE(Child<QLabel>(w, "selectedCountLabel").text(), QString("4 fonts selected"));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(row).center());  // a click alone: its row
        QCOMPARE(Child<QLabel>(w, "selectedCountLabel").text(), QString("1 font selected"));
        // The sample of a font clicked takes the weight and slant its name says, at 18 points.
        for (const auto& [name, style] : {std::pair("Nimbus Mono PS Bold Oblique", "1 1 18"), std::pair("Nimbus Mono PS Oblique", "0 1 18"),
                                          std::pair("Liberation Serif", "0 0 18")}) {
            emit list.itemClicked(list.findItems(name, Qt::MatchExactly).value(0), 0);
            const QFont sample = Child<QLabel>(w, "sampleLabel").font();
            QCOMPARE(QString("%1 %2 %3").arg(sample.bold()).arg(sample.italic()).arg(sample.pointSize()), QString(style));
        }
        select({"BOLD"});
        w.GoToNextStep();
        const LayoutPicture& picture = Child<LayoutPicture>(w, "layoutPicture");
        const std::function<void()> changes[] = {
            [&] { Child<QComboBox>(w, "layoutBox").setCurrentIndex(6); },
            [&] { Child<QLineEdit>(w, "titleEdit").setText("Another Title"); },
            [&] { w.GoToPreviousStep(); w.SelectFonts("REGULAR"); w.GoToNextStep(); },
            [&] { Child<QCheckBox>(w, "upperCaseCheck").click(); },
            [&] { Child<QRadioButton>(w, "sheetsRadio").click(); Child<QCheckBox>(w, "ansiChartCheck").click(); }};
        for (const auto& change : changes) {
            QTRY_VERIFY(!picture.Picture().isNull());
            const QImage before = picture.Picture();
            change();
            QTRY_VERIFY(picture.Picture() != before);
        }
        // Options opens on the settings of what is chosen: sample sheets now.
        int tab = -1;
        QTimer::singleShot(0, [&] {
            QWidget* options = QApplication::activeModalWidget();
            tab = Child<QTabBar>(*options, "tabs").currentIndex();
            options->close();
        });
        Child<QPushButton>(w, "optionsButton").click();
        QCOMPARE(tab, int(OptionsDialog::Tab::SampleSheets));
        // With no font chosen the picture shows the first row's.
        const auto firstRow = [&](bool chosen) {
            w.GoToPreviousStep();
            w.SelectFonts("NONE");
            list.topLevelItem(0)->setSelected(chosen);
            w.GoToNextStep();
            Child<LayoutPicture>(w, "layoutPicture").DrawPending();
            return picture.Picture();
        };
        QCOMPARE(firstRow(false), firstRow(true));
        QCheckBox& upper = Child<QCheckBox>(w, "upperCaseCheck");  // remembered either way
        for (int i = 0; i < 2; ++i) {
            upper.click();
            QCOMPARE(ReadIniString("SpecSheets", "UpperCase", "", IniFile), QString::number(int(upper.isChecked())));
        }
        w.GoToNextStep();
        const QPushButton& print = Child<QPushButton>(w, "printButton");
        QVERIFY(print.isEnabled());
        w.GoToPreviousStep();
        Child<QCheckBox>(w, "ansiChartCheck").setChecked(false);
        w.GoToNextStep();
        QVERIFY(!print.isEnabled());
        w.PrintChosenFonts();
        QCOMPARE(env_->fake.messages->texts, QStringList{"Please select a Sample Sheet to print!"});
        QCOMPARE(w.Step(), 1);
        // Each choice enables its own settings only.
        const auto enabled = [&w] {
            return QString("%1%2").arg(Child<QComboBox>(w, "layoutBox").isEnabled()).arg(Child<QCheckBox>(w, "ansiChartCheck").isEnabled());
        };
        QCOMPARE(enabled(), QString("01"));
        Child<QRadioButton>(w, "catalogRadio").click();
        QCOMPARE(enabled(), QString("10"));
        const QLineEdit& title = Child<QLineEdit>(w, "titleEdit");  // a catalog's title, ready to be typed over
        QVERIFY(w.focusWidget() == &title && title.selectedText() == title.text());
        Child<QComboBox>(w, "layoutBox").setCurrentText("Three Up Catalog");
        w.SelectFonts("ALL");
        w.GoToNextStep();
        int pages = -1;
        QSize previewSize;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == "PrintPreview");
            auto* view = dialog->findChild<QPrintPreviewWidget*>();
            previewSize = dialog->size();
            view->updatePreview();
            QTest::qWait(50);
            pages = view->pageCount();
            SaveShot(dialog, "preview-three-up");
            dialog->reject();
        });
        Child<QPushButton>(w, "previewButton").click();
        QCOMPARE(pages, 3);  // seven fonts fill three Three Up pages
        QVERIFY(previewSize.width() >= 700 && previewSize.height() >= 750);  // opens large enough to read a page
        // With no font chosen, Preview and Print say so; Help, by its button and by F1, opens the wizard's page.
        w.SelectFonts("NONE");
        env_->fake.messages->texts.clear();
        Child<QPushButton>(w, "previewButton").click();
        w.PrintChosenFonts();
        QCOMPARE(env_->fake.messages->texts, QStringList(2, "Please select the fonts you wish to print!"));
        Child<QPushButton>(w, "helpButton").click();
        QTest::keyClick(&w, Qt::Key_F1);
        QCOMPARE(env_->fake.help->contexts, QList<int>({710, 710}));
    }

    // Go prints the selected fonts in the order shown (sorted by size text: 100k, 12k, 1K),
    // or says why it cannot; the title is kept for next time. No close ends a run.
    void go_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QStringList>("refused");   // faces the printer refuses
        QTest::addColumn<QString>("failure");       // why the output fails; "" it does not
        QTest::addColumn<QString>("message");       // the end of the one message; "" none
        QTest::addColumn<bool>("sheets");           // the first specimen sheet, not the catalog
        QTest::newRow("letter") << int(PaperLetter) << QStringList{} << "" << "" << false;
        QTest::newRow("a specimen sheet of each font") << int(PaperLetter) << QStringList{} << "" << "" << true;
        QTest::newRow("unusable font named after the run") << int(PaperLetter)
            << QStringList{"nimbus mono ps", "nimbus mono ps oblique"} << "" << ":\n\nNimbus Mono PS Oblique" << false;
        QTest::newRow("a face found by its family, not by its own name: not named") << int(PaperLetter)
            << QStringList{"nimbus mono ps oblique"} << "" << "" << false;
        QTest::newRow("a PDF not written whole: the reason, nothing else") << int(PaperLetter) << QStringList{}
            << "the disk is full" << "the disk is full. Nothing was replaced; please try again, or choose another "
                                     "file or printer." << false;
        QTest::newRow("legal refused") << int(PaperLegal) << QStringList{} << ""
            << QStringLiteral("This program only works with letter-sized (8\u00bd\u00d711) or European A4 paper! Please "
                              "change your printer setup.") << false;
        QTest::newRow("no printer: its reason, and the wizard ready again") << int(PaperLetter) << QStringList{}
            << "open:No printer is set up." << "No printer is set up." << false;
    }
    void go()
    {
        QFETCH(int, paper);
        QFETCH(QStringList, refused);
        QFETCH(QString, failure);
        QFETCH(QString, message);
        QFETCH(bool, sheets);
        QVector<PrintOp> ops;  // what the run printed, once the wizard dropped its surface
        int opened = 0;
        SystemPrintTarget().PaperSize = [paper] { return paper; };
        SystemPrintTarget().Open = [&](QString* error) -> std::unique_ptr<PrinterSurface> {
            ++opened;
            if (failure.startsWith("open:")) {
                *error = failure.mid(5);
                return nullptr;
            }
            auto surface = std::make_unique<KeptSurface>(paper, &ops);
            surface->refusedFonts = QSet<QString>(refused.begin(), refused.end());
            surface->failReason = failure;
            return surface;
        };
        WriteIniString("Inventory", "Title", "Saved title", IniFile);
        auto w = std::make_unique<PrintWizard>(Fonts());
        QLineEdit& title = Child<QLineEdit>(*w, "titleEdit");
        QCOMPARE(title.text(), QString("Saved title"));
        w->show();
        title.setText("My title");
        QHeaderView& header = *Child<QTreeWidget>(*w, "fontList").header();
        emit header.sectionClicked(2);
        QVERIFY(header.isSortIndicatorShown() && header.sortIndicatorSection() == 2);  // the list says how it is sorted
        w->SelectFonts("BOLD");
        w->SelectFonts("ITALIC");
        w->GoToNextStep();
        if (sheets) {
            Child<QRadioButton>(*w, "sheetsRadio").click();
            for (QCheckBox* box : w->findChildren<QCheckBox*>(QRegularExpression("Check$")))
                box->setChecked(box->objectName() == "specimenSheet1Check");
        }
        w->GoToNextStep();
        bool triedWhileBusy = false;
        QTimer::singleShot(0, w.get(), [&] {
            triedWhileBusy = w->Printing();
            w->close();
            w->reject();
        });
        w->PrintChosenFonts();
        const QStringList& texts = env_->fake.messages->texts;
        QVERIFY2(message.isEmpty() ? texts.isEmpty() : texts.size() == 1 && texts[0].endsWith(message), qPrintable(texts.join(" | ")));
        QCOMPARE(opened, paper == PaperLegal ? 0 : 1);
        QCOMPARE(w->Step(), 2);
        if (paper == PaperLegal)
            return;
        QVERIFY(triedWhileBusy == !failure.startsWith("open:") && w->isVisible());
        QPushButton& print = Child<QPushButton>(*w, "printButton");
        if (failure.startsWith("open:")) {
            QVERIFY(ops.isEmpty() && !w->Printing() && print.isEnabled());
            return;
        }
        QVERIFY(print.isEnabled() && w->focusWidget() == &print);  // to print again at once
        QCOMPARE(Child<QLabel>(*w, "statusLabel").text(), QString("Ready to print"));
        QCOMPARE(Child<PictureBox>(*w, "gauge").accessibleDescription(), QString("0%"));  // empty for the next run
        QVERIFY(!ops.isEmpty() && std::all_of(ops.begin(), ops.end(), [](const PrintOp& op) { return op.busy; }));
        QStringList got;  // the title once, then the captions
        for (const PrintOp& op : ops)
            if (op.kind == PrintOp::Text && (op.text.contains(".ttf") || op.text == "My title"))
                got << op.text.section("  ", 0, 0);
        if (sheets)  // the ladder of sizes once a font
            QCOMPARE(std::count_if(ops.begin(), ops.end(), [](const PrintOp& op) { return op.text == "48 point"; }), 3);
        else
            QCOMPARE(got, QStringList({"My title", "Liberation Sans Italic (TrueType)",
                                       "Liberation Sans Bold (TrueType)", "Nimbus Mono PS Oblique (TrueType)"}));
        // Back at the first step, the list has the keyboard.
        for (int i = 0; i < 2; ++i)
            Child<QPushButton>(*w, "previousButton").click();
        QCOMPARE(w->focusWidget(), &Child<QTreeWidget>(*w, "fontList"));
        w->close();
        QVERIFY(!w->isVisible());
        w.reset();
        QCOMPARE(ReadIniString("Inventory", "Title", "", IniFile), QString("My title"));
    }
};

QTEST_MAIN(TestPrintWizard)
#include "test_printwizard.moc"
