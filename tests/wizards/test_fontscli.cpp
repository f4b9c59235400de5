// glyphwick-fonts on the desktop inside temporary XDG folders: what each
// command prints and returns, and what fontconfig lists afterwards.
#include <QtTest>

#include <fstream>
#include <unistd.h>

#include "platform/desktop.h"
#include "sfntbuilder.h"
#include "testenv.h"
#include "wizards/fontscli.h"

using namespace gw;

namespace {

CommandResult Run(const QStringList& arguments)
{
    return RunCommand(RunFontsCommand, arguments);
}

} // namespace

class TestFontsCli : public QObject {
    Q_OBJECT
private slots:
    // Help and version answer 0; a wrong command line 2 and where to look.
    void wrongCommandLines()
    {
        TestEnv env;
        const CommandResult help = Run({"--help"});
        QCOMPARE(help.code, 0);
        QStringList commands;  // each command's entry in the help, in order; a line more than 5 spaces in goes on
        for (const QString& line : help.out.section("Commands:\n", 1).section("\n\n", 0, 0).split('\n'))
            if (!line.startsWith("      "))
                commands << line.simplified().section(' ', 0, 0);
        QCOMPARE(commands, QStringList({"install", "uninstall", "list", "restore", "info"}));
        QCOMPARE(Run({"--version"}).code, 0);
        const QList<QStringList> wrong{{}, {"frobnicate"}, {"install"}, {"list", "a.ttf"},
                                       {"restore", "a.ttf", "b.ttf"}, {"uninstall", "--permanently", "a.ttf"},
                                       {"uninstall", "--delete", "--copy-to", "/tmp", "a.ttf"}, {"info", "a.ttf", "b.ttf"},
                                       {"info", "--face", "x", "a.ttf"}};
        for (const QStringList& args : wrong) {
            const CommandResult r = Run(args);
            QVERIFY2(r.code == 2 && r.err.contains(args.value(0) == "info" ? "usage: glyphwick-fonts info FILE"
                                                                           : "Try 'glyphwick-fonts --help'"),
                     qPrintable(args.join(' ')));
        }
    }

    // Each way to uninstall, from a fresh install: the line it prints and where the file ends.
    void uninstallActions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("given");   // the file named on the command line
        QTest::addColumn<QString>("said");    // after "FILE: uninstalled; "
        QTest::addColumn<QStringList>("files");  // where a file is afterwards, under the test's root
        QTest::addColumn<bool>("hidden");     // the installed file is on the hidden list
        QTest::newRow("kept") << QStringList{} << "qa.ttf" << "the file is kept" << QStringList{"fonts/qa.ttf"} << true;
        QTest::newRow("a name in other capitals") << QStringList{} << "QA.TTF" << "the file is kept"
                                                  << QStringList{"fonts/qa.ttf"} << true;
        QTest::newRow("to the trash") << QStringList{"--delete"} << "qa.ttf" << "the file is in the trash"
                                      << QStringList{"data/Trash/files/qa.ttf", "data/Trash/info/qa.ttf.trashinfo"} << false;
        QTest::newRow("one dash as well as two") << QStringList{"-delete"} << "qa.ttf" << "the file is in the trash"
                                                 << QStringList{"data/Trash/files/qa.ttf", "data/Trash/info/qa.ttf.trashinfo"} << false;
        QTest::newRow("permanently, when a trash takes it") << QStringList{"--delete", "--permanently"} << "qa.ttf"
                                                             << "the file is in the trash"
                                                             << QStringList{"data/Trash/files/qa.ttf", "data/Trash/info/qa.ttf.trashinfo"} << false;
        QTest::newRow("copied") << QStringList{"--copy-to", "Backup"} << "qa.ttf" << "the file is copied to ~/Backup/qa.ttf"
                                << QStringList{"Backup/qa.ttf", "fonts/qa.ttf"} << true;
        QTest::newRow("moved") << QStringList{"--move-to", "Backup"} << "qa.ttf" << "the file is moved to ~/Backup/qa.ttf"
                               << QStringList{"Backup/qa.ttf"} << false;
    }
    void uninstallActions()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, given);
        QFETCH(QString, said);
        QFETCH(QStringList, files);
        QFETCH(bool, hidden);
        TestEnv env;
        env.UseDesktopPlatform();
        const QString root = env.root(), fonts = DesktopUserFontFolder();
        QVERIFY(WriteFile(root + "/qa.ttf", SfntBuilder::Renamed(ReadFile(SystemFile("LiberationSans-Regular.ttf")),
                                                                 "Glyphwick Cli QA", "Glyphwick Cli QA")));
        const auto back = qScopeGuard([cwd = QDir::currentPath()] { QDir::setCurrent(cwd); });
        QVERIFY(QDir().mkpath(root + "/Backup") && QDir::setCurrent(root));
        const CommandResult installed = Run({"install", "qa.ttf"});
        QVERIFY2(installed.code == 0, qPrintable(installed.out + installed.err));
        QVERIFY(QFile::remove(root + "/qa.ttf") && FcListFiles().contains(fonts + "/qa.ttf"));
        const CommandResult r = Run(QStringList{"uninstall"} + options + QStringList{fonts + "/" + given});
        QCOMPARE(r.out, fonts + "/" + given + ": uninstalled; " + QString(said).replace("~", root) + "\n");
        QCOMPARE(r.code, 0);
        QVERIFY(!FcListFiles().contains(fonts + "/qa.ttf"));
        QCOMPARE(Sys().fonts->HiddenFontFiles(), hidden ? QStringList{fonts + "/qa.ttf"} : QStringList{});
        QStringList found;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString file = it.next().mid(root.size() + 1); file.endsWith("qa.ttf") || file.endsWith(".trashinfo"))
                found << QString(file).replace(QDir(root).relativeFilePath(fonts), "fonts");
        found.sort();
        QCOMPARE(found, files);
    }

    // Install, uninstall keeping the file, list, restore, delete to the trash,
    // move to a folder that is not there: each file where the line says. A variable font is listed
    // by its named instances: never itself or its stored default, also when an instance sits at the
    // default coordinates (fontconfig reads it only as the default).
    void installUninstallRestore()
    {
        TestEnv env;
        const QByteArray base = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
        QVERIFY2(!base.isEmpty(), "the fonts-liberation2 package is needed");
        env.UseDesktopPlatform();
        const QString source = env.root() + "/Downloads";
        const QString omega = QString::fromUtf8("\u03A9mega Cli.ttf");
        QVERIFY(WriteFile(source + "/" + omega, SfntBuilder::Renamed(base, "!GW Cli Omega", "!GW Cli Omega")));
        QVERIFY(WriteFile(source + "/q?.ttf", SfntBuilder::Renamed(base, "Glyphwick Cli Q", "Glyphwick Cli Q")));
        QVERIFY(WriteFile(source + "/qa.ttf", SfntBuilder::Renamed(base, "Glyphwick Cli QA", "Glyphwick Cli QA")));
        QVERIFY(WriteFile(source + "/broken.ttf", "not a font"));
        QVERIFY(WriteFile(source + "/pair.ttc", SfntBuilder::Collection({SfntBuilder::Renamed(base, "GW Cli One", "GW Cli One"),
                                                                           SfntBuilder::Renamed(base, "GW Cli Two", "GW Cli Two"),
                                                                           "a damaged third font"})));

        // Nothing installed: no program is told to read its fonts again.
        const int sets = DesktopFontSetsGeneration();
        QCOMPARE(Run({"install", source + "/broken.ttf"}).code, 1);
        QCOMPARE(DesktopFontSetsGeneration(), sets);

        CommandResult r = Run({"install", source + "/" + omega, source + "/q?.ttf", source + "/qa.ttf", source + "/broken.ttf",
                               source + "/pair.ttc", source + "/missing.ttf", source});
        QVERIFY(DesktopFontSetsGeneration() != sets);
        QCOMPARE(r.code, 1);
        const QString fonts = DesktopUserFontFolder();
        // The names were read through the program's temporary .fot files: none is left.
        QCOMPARE(QDir(Sys().system->ProgramFolder()).entryList({"*.fot"}, QDir::Files | QDir::Hidden), QStringList());
        // A collection: the file once, every font of it that can be read registered.
        QVERIFY2(r.out.contains(source + "/pair.ttc: installed as GW Cli One (TrueType), GW Cli Two (TrueType) in " + fonts
                                + "/pair.ttc"),
                 qPrintable(r.out));
        QVERIFY2(r.out.contains(source + "/q?.ttf: installed as Glyphwick Cli Q (TrueType) in " + fonts + "/q?.ttf"),
                 qPrintable(r.out + r.err));
        for (const char* line : {"/broken.ttf: not installed, not a font", "/missing.ttf: not installed, there is no such file",
                                    ": not installed, not a file"})
            QVERIFY2(r.out.contains(source + line), qPrintable(r.out));

        // Uninstalled but kept: hidden from every program, and only that file.
        r = Run({"uninstall", fonts + "/q?.ttf"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, fonts + "/q?.ttf: uninstalled; the file is kept\n");
        const QStringList listed = FcListFiles();
        QVERIFY(!listed.contains(fonts + "/q?.ttf") && listed.contains(fonts + "/qa.ttf"));
        QVERIFY(QFileInfo(fonts + "/q?.ttf").isFile());
        QCOMPARE(Run({"list", "--hidden"}).out, "TrueType\tGlyphwick Cli Q\tRegular\t" + fonts + "/q?.ttf\n");
        for (int weight : {400, 100})
            QVERIFY(WriteFile(fonts + QString("/GW Var %1.ttf").arg(weight),
                              SfntBuilder::VariableFont(QString("GW Var %1").arg(weight), 0, weight)));
        Sys().fonts->RescanFonts();
        r = Run({"list"});
        QVERIFY(r.out.contains("TrueType\tGlyphwick Cli QA\t") && !r.out.contains("Glyphwick Cli Q\t"));
        for (int weight : {400, 100}) {
            const QString family = QString("GW Var %1").arg(weight), file = fonts + "/" + family + ".ttf";
            QStringList lines = r.out.split('\n').filter(family);
            lines.sort();
            QCOMPARE(lines, QStringList({"TrueType\t" + family + "\tBold Condensed\t" + file,
                                         "TrueType\t" + family + "\tThin\t" + file}));
        }

        QCOMPARE(Run({"restore", fonts + "/q?.ttf"}).code, 0);
        QVERIFY(FcListFiles().contains(fonts + "/q?.ttf"));
        QCOMPARE(Run({"list", "--hidden"}).out, QString());
        QVERIFY(Run({"list"}).out.contains("TrueType\tGlyphwick Cli Q\tRegular\t" + fonts + "/q?.ttf\n"));
        // Installing a kept file again shows it again, as restore does.
        QCOMPARE(Run({"uninstall", fonts + "/q?.ttf"}).code, 0);
        QCOMPARE(Run({"install", fonts + "/q?.ttf"}).out,
                 fonts + "/q?.ttf: installed as Glyphwick Cli Q (TrueType) in " + fonts + "/q?.ttf\n");
        QVERIFY(FcListFiles().contains(fonts + "/q?.ttf") && Sys().fonts->HiddenFontFiles().isEmpty());

        // Delete (the family sorted first, so the first font the program lists): no rule outlives the file.
        r = Run({"uninstall", "--delete", fonts + "/" + omega});
        QCOMPARE(r.out, fonts + "/" + omega + ": uninstalled; the file is in the trash\n");
        QCOMPARE(r.code, 0);
        QVERIFY(Sys().fonts->HiddenFontFiles().isEmpty());

        // A target folder that is not there: nothing uninstalled, nothing moved.
        r = Run({"uninstall", "--move-to", env.root() + "/Font Backup", fonts + "/qa.ttf"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains("does not exist"));
        QVERIFY(FcListFiles().contains(fonts + "/qa.ttf") && !QFileInfo::exists(env.root() + "/Font Backup"));
        QCOMPARE(Run({"uninstall", fonts + "/none.ttf"}).code, 1);

        // A name that is not UTF-8 cannot be reached through Qt: the file stays, installed, and the line says why.
        const QByteArray cafe = QFile::encodeName(fonts) + "/Caf\xE9.ttf";
        std::ofstream(cafe.toStdString(), std::ios::binary) << base.toStdString();
        Sys().fonts->RescanFonts();
        for (const QStringList& command : {QStringList{"uninstall", "--delete"}, QStringList{"install"}}) {
            r = Run(command + QStringList{QFile::decodeName(cafe)});
            QCOMPARE(r.code, 1);
            QVERIFY2(r.out.contains("its file name is not valid UTF-8; rename the file to use it"), qPrintable(r.out));
            QVERIFY(::access(cafe.constData(), F_OK) == 0);
        }
    }
};

QTEST_MAIN(TestFontsCli)
#include "test_fontscli.moc"
