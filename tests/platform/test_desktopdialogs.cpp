// Where the desktop's file dialogs start: a full path in a folder that exists;
// which dialogs add the extension asked for.
#include <QPrintDialog>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/linuxtexts.h"
#include "platform/desktop.h"
#include "platform/fake.h"
#include "testenv.h"

using namespace gw;

class TestDesktopDialogs : public QObject {
    Q_OBJECT

private slots:
    void startFolderExists()
    {
        TestEnv env;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", env.root().toLocal8Bit());
        const QString h = env.root();
        // No documents folder: home; then the documents folder; a folder that exists is kept.
        QCOMPARE(DesktopDialogStart("glyphwick.pdf"), h + "/glyphwick.pdf");
        QVERIFY(QDir().mkpath(h + "/Documents"));
        QCOMPARE(DesktopDialogStart("glyphwick.pdf"), h + "/Documents/glyphwick.pdf");
        QCOMPARE(DesktopDialogStart(h + "/gone/a.pdf"), h + "/Documents/a.pdf");
        QCOMPARE(DesktopDialogStart(h + "/a.pdf"), h + "/a.pdf");
        qputenv("HOME", home);
    }

    // Linux programs seldom carry the extension asked for: only a save dialog adds it
    // (and a save dialog is one, taking a new name); each starts on the file given, which OK takes.
    void defaultSuffix_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("open: none") << false << "EXE" << "";
        QTest::newRow("save: lower-cased") << true << "PDF" << "pdf";
        QTest::newRow("save without one") << true << "" << "";
    }
    void defaultSuffix()
    {
        QFETCH(bool, save);
        QFETCH(QString, extension);
        DesktopTestEnv env;
        QString shown = "no dialog";
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                shown = dialog->defaultSuffix();
                if ((dialog->acceptMode() == QFileDialog::AcceptSave) != save)
                    shown = "the other kind of dialog";
                QMetaObject::invokeMethod(dialog, "accept");  // as OK does
            }
        });
        const QString start = env.root() + (save ? "/a.pdf" : "/a.ttf");
        QVERIFY(save || WriteFile(start, "font"));
        const QString chosen = save ? Sys().dialogs->SaveFile("t", extension, start, "")
                                    : Sys().dialogs->OpenFile("t", extension, start, "");
        QCOMPARE(chosen, start);
        QTEST(shown, "suffix");
    }

    // Without a window system to ask, the program keeps Caps Lock itself: the key flips it.
    void capsLockKeptWithoutX11()
    {
        DesktopTestEnv env;  // offscreen: no X11 display
        KeyboardState& keyboard = *Sys().keyboard;
        QStringList seen;
        const auto note = [&] { seen << QString::number(keyboard.CapsLock()); };
        note();
        keyboard.CapsKeyPressed();
        note();
        keyboard.CapsKeyPressed();
        note();
        keyboard.SetCapsLock(true);
        note();
        QCOMPARE(seen, QStringList({"0", "1", "0", "1"}));
    }

    // A web address, or the help at a topic, opens once: through the desktop's xdg-open when it is there, else a browser.
    void webAddressOpensOnce_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("opened");
        QTest::newRow("xdg-open first") << QStringList{"xdg-open", "x-www-browser"} << "xdg-open https://example.org/a b\n";
        QTest::newRow("else a browser") << QStringList{"firefox", "konqueror"} << "firefox https://example.org/a b\n";
        QTest::newRow("help at its topic") << QStringList{"xdg-open"} << "xdg-open file:///help.html#ctx-12\n";
    }
    void webAddressOpensOnce()
    {
        QFETCH(QStringList, programs);
        DesktopTestEnv env;
        const QString bin = env.root() + "/bin", log = env.root() + "/opened";
        for (const QString& program : programs) {
            QVERIFY(WriteFile(bin + "/" + program, ("#!/bin/sh\necho " + program + " \"$1\" >>" + log + "\n").toUtf8()));
            QFile(bin + "/" + program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit());
        QByteArray(QTest::currentDataTag()).startsWith("help") ? Sys().help->ShowContext("/help.html", 12)
                                                                : Sys().web->OpenAddress("https://example.org/a b");
        qputenv("PATH", path);
        QTRY_VERIFY(QFile::exists(log));
        QTest::qWait(200);
        QTEST(QString::fromUtf8(ReadFile(log)), "opened");
    }

    // With no opener on the PATH the address is said, with the programs tried.
    void webAddressWithoutOpenerIsSaid()
    {
        DesktopTestEnv env;
        auto* messages = new FakeMessageBoxes;
        Sys().messages.reset(messages);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", (env.root() + "/nothing").toLocal8Bit());
        Sys().web->OpenAddress("https://example.org/a");
        qputenv("PATH", path);
        QCOMPARE(messages->texts, QStringList(NotOpenedText("https://example.org/a", {"xdg-open", "x-www-browser", "firefox-esr",
                                                            "firefox", "chromium", "epiphany-browser", "konqueror"})));
    }

    // A Windows program the toolbar starts is the first of its Linux equivalents found on the
    // PATH, with its arguments; none found, or a command that cannot start, is said.
    void programsStartTheirEquivalent_data()
    {
        QTest::addColumn<QStringList>("programs");  // on the PATH
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("started");
        QTest::addColumn<QString>("said");
        QTest::newRow("the first character map there") << QStringList{"kcharselect", "gnome-characters"} << "charmap.exe"
                                                       << "gnome-characters \n" << "";
        QTest::newRow("a clipboard manager with its argument") << QStringList{"copyq"} << " CLIPBRD.EXE" << "copyq show\n" << "";
        QTest::newRow("a command line as written") << QStringList{"mytool"} << "mytool \"a b\"" << "mytool a b\n" << "";
        QTest::newRow("no settings program: said, with those tried") << QStringList{} << "CONTROL.EXE" << ""
                                                                     << NoProgramText("system settings program", {"gnome-control-center", "systemsettings", "xfce4-settings-manager", "lxqt-config"});
        QTest::newRow("a command that is not there") << QStringList{} << "nosuchtool x" << "" << "nosuchtool";
    }
    void programsStartTheirEquivalent()
    {
        QFETCH(QStringList, programs);
        QFETCH(QString, command);
        QFETCH(QString, started);
        QFETCH(QString, said);
        DesktopTestEnv env;
        auto* messages = new FakeMessageBoxes;
        Sys().messages.reset(messages);
        const QString bin = env.root() + "/bin", log = env.root() + "/started";
        QDir().mkpath(bin);
        for (const QString& program : programs) {
            QVERIFY(WriteFile(bin + "/" + program, ("#!/bin/sh\necho " + program + " \"$1\" >>" + log + "\n").toUtf8()));
            QFile(bin + "/" + program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit());
        Sys().programs->RunProgram(command, 1);
        qputenv("PATH", path);
        if (!started.isEmpty()) {
            QTRY_VERIFY(QFile::exists(log));
            QTest::qWait(100);
        }
        QCOMPARE(QString::fromUtf8(ReadFile(log)), started);
        QVERIFY2(said.isEmpty() ? messages->texts.isEmpty() : messages->texts.value(0).contains(said), qPrintable(messages->texts.join('|')));
    }

    // The clipboard takes text for other programs and is emptied on request.
    void clipboard()
    {
        DesktopTestEnv env;
        Sys().clipboard->SetText("Alpha Sans\nBeta");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Alpha Sans\nBeta"));
        QCOMPARE(Sys().clipboard->Text(), QString("Alpha Sans\nBeta"));
        Sys().clipboard->Clear();
        QCOMPARE(Sys().clipboard->Text(), QString());
    }

    // A message box shows the title (none: the program's name), the text, the icon, the buttons and the
    // default button its style asks, and answers the button pressed; Escape answers Cancel where there is one.
    void messageBoxAnswer_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("press");   // a button; NoButton: Escape
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");  // title|icon|buttons|default button
        using B = QMessageBox;
        const auto shown = [](const char* title, int icon, int buttons, int byDefault) {
            return QString("%1|%2|%3|%4").arg(title).arg(icon).arg(buttons, 0, 16).arg(byDefault, 0, 16);
        };
        QTest::newRow("yes/no question, no title") << vbYesNo + vbQuestion << QString() << int(B::Yes) << int(vbYes)
                                                  << shown("Glyphwick", B::Question, B::Yes | B::No, B::Yes);
        QTest::newRow("second button by default") << vbYesNo + vbQuestion + vbDefaultButton2 << QString("Remove") << int(B::No) << int(vbNo)
                                                  << shown("Remove", B::Question, B::Yes | B::No, B::No);
        QTest::newRow("Escape answers Cancel") << vbYesNoCancel + vbExclamation << QString("T") << int(B::NoButton) << int(vbCancel)
                                               << shown("T", B::Warning, B::Yes | B::No | B::Cancel, B::Yes);
        QTest::newRow("Escape without Cancel: OK") << vbOKOnly + vbCritical << QString("T") << int(B::NoButton) << int(vbOK)
                                                   << shown("T", B::Critical, B::Ok, B::Ok);
        QTest::newRow("OK/Cancel") << vbOKCancel + vbInformation << QString("T") << int(B::Cancel) << int(vbCancel)
                                   << shown("T", B::Information, B::Ok | B::Cancel, B::Ok);
        QTest::newRow("abort/retry/ignore") << int(vbAbortRetryIgnore) << QString("T") << int(B::Ignore) << int(vbIgnore)
                                            << shown("T", B::NoIcon, B::Abort | B::Retry | B::Ignore, B::Abort);
        QTest::newRow("retry/cancel") << vbRetryCancel + vbCritical << QString("T") << int(B::Retry) << int(vbRetry)
                                      << shown("T", B::Critical, B::Retry | B::Cancel, B::Retry);
    }
    void messageBoxAnswer()
    {
        QFETCH(int, style);
        QFETCH(QString, title);
        QFETCH(int, press);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        DesktopTestEnv env;
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = QString("%1|%2|%3|%4|%5").arg(box->text(), box->windowTitle()).arg(int(box->icon()))
                       .arg(int(box->standardButtons()), 0, 16).arg(int(box->standardButton(box->defaultButton())), 0, 16);
            press ? box->button(QMessageBox::StandardButton(press))->click() : QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(Sys().messages->MsgBox("Delete the file?", style, title), answer);
        QCOMPARE(seen, "Delete the file?|" + shown);
    }

    // The PDF writer chosen in Print Setup is no printer a run opens by name; Cancel changes nothing.
    void printSetupChoosesPdf()
    {
        DesktopTestEnv env;
        if (!QPrinterInfo::defaultPrinterName().isEmpty())
            QSKIP("a printer is set up here: the dialog would offer it first");
        for (const bool accept : {false, true}) {
            QString title;
            QTimer::singleShot(0, [&] {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    // A setup, not a print: the paper, no page range, copies or file to print to.
                    const auto* setup = qobject_cast<QPrintDialog*>(dialog);
                    title = dialog->windowTitle()
                            + (setup && setup->options() == QAbstractPrintDialog::PrintShowPageSize ? "" : " with print options");
                    accept ? dialog->accept() : dialog->reject();
                }
            });
            Sys().printerSetup->ShowPrinter(nullptr);
            QCOMPARE(title, QString("Print Setup"));
            QCOMPARE(Sys().printerSetup->DeviceName(), QString());
        }
    }
};

QTEST_MAIN(TestDesktopDialogs)
#include "test_desktopdialogs.moc"
