// Where a run prints on the desktop: a named printer that cannot be used is said; without
// one, a PDF file the user names, its name kept for the next run.
#include <QtTest>

#include "core/globals.h"
#include "core/settings.h"
#include "print/printrun.h"
#include "testenv.h"

using namespace gw;

class TestPrintRun : public QObject {
    Q_OBJECT

private slots:
    void target_data()
    {
        QTest::addColumn<QString>("printer");  // chosen in Print Setup; "" none
        QTest::addColumn<QString>("answer");   // of the save dialog; "" cancelled
        QTest::addColumn<QString>("error");    // a part of it; "" none
        QTest::addColumn<bool>("opened");
        QTest::newRow("a PDF file") << "" << "/out/shop.pdf" << "" << true;
        QTest::newRow("the dialog cancelled: nothing said") << "" << "" << "" << false;
        QTest::newRow("a folder that is not there") << "" << "/none/shop.pdf" << "/none/shop.pdf\" cannot be written" << false;
        QTest::newRow("a printer that is not set up") << "Glyphwick No Such Printer" << "" << "\"Glyphwick No Such Printer\" cannot be used" << false;
    }
    void target()
    {
        QFETCH(QString, printer);
        QFETCH(QString, answer);
        QFETCH(QString, error);
        QFETCH(bool, opened);
        TestEnv env;
        QDir().mkpath(env.root() + "/out");
        env.fake.printerSetup->deviceName = printer;
        if (!answer.isEmpty())
            env.fake.dialogs->answers = QStringList{env.root() + answer};
        WriteIniString("Inventory", "PdfFile", env.root() + "/out/last.pdf", IniFile);
        QString said = "untouched";
        std::unique_ptr<PrinterSurface> surface = DesktopPrintTarget().Open(&said);
        QCOMPARE(bool(surface), opened);
        QVERIFY2(error.isEmpty() ? said.isEmpty() : said.contains(error), qPrintable(said));
        // The dialog starts at the last file; only a file opened is kept for the next time.
        QCOMPARE(env.fake.dialogs->starts, printer.isEmpty() ? QStringList{env.root() + "/out/last.pdf"} : QStringList{});
        QCOMPARE(ReadIniString("Inventory", "PdfFile", "", IniFile), env.root() + (opened ? answer : "/out/last.pdf"));
        if (opened) {
            surface->Print("x");
            QVERIFY(surface->Finish(nullptr));
            QVERIFY(ReadFile(env.root() + answer).startsWith("%PDF-"));
        }
    }
};

QTEST_MAIN(TestPrintRun)
#include "test_printrun.moc"
