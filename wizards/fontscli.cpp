#include "wizards/fontscli.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/splash.h"
#include "fonts/enumerate.h"
#include "fonts/fontinfocommand.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "sfnt/instances.h"
#include "startup/commandline.h"
#include "startup/startup.h"
#include "wizards/fontinstall.h"
#include "wizards/removewizard.h"

namespace gw {

namespace {

const QString Program = QStringLiteral("glyphwick-fonts");

int Fail(QTextStream& err, int code, const QString& message)
{
    return CommandFailure(err, Program, code, message, code == FontsExitUsage);
}

// The wizards' questions and messages, answered without a window: each text
// goes to the error output; a question is answered No (Cancel where there is
// no No), so nothing is replaced, created or deleted that the command did not ask for.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    explicit ConsoleMessageBoxes(QTextStream& err) : err_(err) {}
    int MsgBox(const QString& text, int style, const QString&) override
    {
        err_ << Program << ": " << QString(text).replace("\r\n", " ").replace('\r', ' ').simplified() << "\n";
        err_.flush();
        switch (style & 7) {
        case vbYesNo:
        case vbYesNoCancel: return vbNo;
        case vbRetryCancel:
        case vbOKCancel: return vbCancel;
        default: return vbOK;
        }
    }

private:
    QTextStream& err_;
};

// Puts the console answers in place of the message boxes for one command.
class ConsoleMessagesInUse {
public:
    explicit ConsoleMessagesInUse(QTextStream& err) : saved_(std::move(Sys().messages))
    {
        Sys().messages = std::make_unique<ConsoleMessageBoxes>(err);
    }
    ~ConsoleMessagesInUse() { Sys().messages = std::move(saved_); }

private:
    std::unique_ptr<MessageBoxes> saved_;
};

// The installed fonts as the main window reads them: families by kind in list,
// the TrueType/OpenType styles in FontTable.
void ReadInstalledFonts(FontListModel& list, FontEnumerator& enumerator)
{
    enumerator.ShowTrueType = enumerator.ShowATM = enumerator.ShowDevice = true;
    FontCount = 0;
    FontsRead = 0;
    ResetFontTable();
    enumerator.CountingPass(DeviceContext::Display);
    enumerator.CollectingPass(DeviceContext::Display);
    Q_UNUSED(list);
}

QString AbsolutePath(const QString& file)
{
    return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

// Reads a font file's names the way the install wizard's scan does; the
// temporary resource file is gone again. false with the reason when it is no font.
bool ReadFontNames(const QString& file, FontFileRecord* record, QString* reason, int faceIndex = 0)
{
    const QFileInfo info(file);
    if (NameNotUtf8(file)) {
        *reason = NameNotUtf8Text();
        return false;
    }
    if (!info.exists() && !info.isSymLink()) {
        *reason = QStringLiteral("there is no such file");
        return false;
    }
    if (info.isDir() || (!info.isFile() && !info.isSymLink())) {
        *reason = QStringLiteral("not a file");
        return false;
    }
    const ScanResult result = ScanFontFile(info.absolutePath(), info.fileName(), *record, faceIndex);
    if (result != ScanResult::Read) {
        *reason = ScanResultText(result);
        return false;
    }
    return true;
}

// ---- The subcommands -------------------------------------------------------------

int InstallCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty())
        return Fail(err, FontsExitUsage, "install needs at least one FILE");
    std::unique_ptr<RegistryKey> key;
    Sys().registry->OpenKey(FontsKey, KEY_WRITE, &key);
    const QString destFolder = QDir::cleanPath(UserDataDir + "fonts");
    QDir().mkpath(destFolder);
    bool all = true, stopped = false, any = false;
    for (const QString& file : arguments) {
        FontFileRecord font;
        QString reason;
        if (stopped) {
            reason = QStringLiteral("the installation stopped before it");
        } else if (const QList<int> faces = FileStyleFaces(file);
                   ReadFontNames(file, &font, &reason, faces.value(0))) {
            if (font.AlreadyInstalled) {
                reason = QStringLiteral("a font of that name is installed already");
            } else {
                const InstallResult result = InstallFontFile(font, destFolder, key.get());
                reason = result.reason;
                stopped = result.stop;
                if (result.installed) {
                    any = true;
                    // The file's other styles (a collection's fonts, named instances) come with it.
                    QStringList names{font.RegistryName};
                    for (qsizetype i = 1; i < faces.size(); ++i) {
                        FontFileRecord face;
                        QString ignored;
                        if (ReadFontNames(file, &face, &ignored, faces[i]) && !face.AlreadyInstalled) {
                            AddInstalledFace(face, font, key.get());
                            names << face.RegistryName;
                        }
                    }
                    out << file << ": installed as " << names.join(QStringLiteral(", ")) << " in " << font.DestPath
                        << "\n";
                    continue;
                }
            }
        }
        all = false;
        out << file << ": not installed, " << reason << "\n";
    }
    key.reset();
    if (any)
        Sys().fonts->BroadcastFontChange();
    return all ? FontsExitOk : FontsExitFailed;
}

int UninstallCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption deleteOpt("delete");
    const QCommandLineOption permanentlyOpt("permanently");
    const QCommandLineOption copyOpt("copy-to", "", "DIR");
    const QCommandLineOption moveOpt("move-to", "", "DIR");
    parser.addOptions({deleteOpt, permanentlyOpt, copyOpt, moveOpt});
    if (!parser.parse(QStringList{Program} + arguments))
        return Fail(err, FontsExitUsage, parser.errorText());
    const int actions = int(parser.isSet(deleteOpt)) + int(parser.isSet(copyOpt)) + int(parser.isSet(moveOpt));
    if (actions > 1 || parser.values(copyOpt).size() > 1 || parser.values(moveOpt).size() > 1)
        return Fail(err, FontsExitUsage, "give at most one of --delete, --copy-to DIR, --move-to DIR");
    if (parser.isSet(permanentlyOpt) && !parser.isSet(deleteOpt))
        return Fail(err, FontsExitUsage, "--permanently goes with --delete only");
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return Fail(err, FontsExitUsage, "uninstall needs at least one FILE");

    RemovalChoice choice;
    choice.action = parser.isSet(deleteOpt) ? ActionDelete
                    : parser.isSet(copyOpt) ? ActionCopy
                    : parser.isSet(moveOpt) ? ActionMove
                                            : ActionKeep;
    choice.targetFolder = parser.isSet(copyOpt) ? parser.value(copyOpt) : parser.value(moveOpt);
    if (!choice.targetFolder.isEmpty())
        choice.targetFolder = AbsolutePath(choice.targetFolder);
    choice.noTrash = parser.isSet(permanentlyOpt) ? NoTrashDeletes : NoTrashKeeps;

    FontListModel list;
    FontEnumerator enumerator(&list);
    ReadInstalledFonts(list, enumerator);
    const RegistryEntries entries;
    // One row per file: uninstalling hides the file with every face in it.
    QVector<RemovalRow> rows;
    QVector<int> rowOfFile;
    bool all = true;
    for (const QString& file : files) {
        const QString path = AbsolutePath(file);
        int slot = -1;
        for (int pass = 0; pass < 2 && slot < 0; ++pass)
            for (size_t i = 0; i < FontTable.size() && slot < 0; ++i)
                if (FontTable[i].FontFile.compare(path, pass ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
                    slot = int(i);
        if (slot < 0) {
            rowOfFile << -1;
            continue;
        }
        rowOfFile << int(rows.size());
        rows.append({slot, true, entries.EntryOf(FontTable[size_t(slot)].FullName) != QLatin1String("unknown")});
    }
    QVector<RemovalOutcome> outcomes;
    if (!rows.isEmpty())
        RemoveFonts(rows, choice, {}, &outcomes);
    for (int i = 0; i < files.size(); ++i) {
        if (rowOfFile[i] < 0) {
            out << files[i] << ": not an installed font file\n";
            all = false;
            continue;
        }
        const RemovalOutcome outcome = outcomes.value(rowOfFile[i]);
        out << RemovalReportLine(files[i], outcome) << "\n";
        all = all && outcome.ok && !outcome.text.isEmpty();
    }
    return all ? FontsExitOk : FontsExitFailed;
}

QString KindWord(int kind, const QString& file)
{
    switch (kind) {
    case KindType1: return QStringLiteral("Type 1");
    case KindPrinter: return QStringLiteral("Printer");
    default: return FontKindWord(file);
    }
}

int ListCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.first() != QLatin1String("--hidden")))
        return Fail(err, FontsExitUsage, "list takes only --hidden");
    if (!arguments.isEmpty()) {
        for (const QString& file : Sys().fonts->HiddenFontFiles()) {
            FontFileRecord font;
            QString reason;
            if (!ReadFontNames(file, &font, &reason)) {
                out << "\t\t\t" << file << "\n";
                continue;
            }
            // The resource file gives the full name and the family.
            QString style = font.FaceName.startsWith(font.StyleName) ? font.FaceName.mid(font.StyleName.size()).trimmed()
                                                                      : QString();
            out << FontKindWord(file) << "\t" << font.StyleName << "\t" << (style.isEmpty() ? "Regular" : style) << "\t"
                << file << "\n";
        }
        return FontsExitOk;
    }
    FontListModel list;
    FontEnumerator enumerator(&list);
    ReadInstalledFonts(list, enumerator);
    for (int row = 0; row < list.Count(); ++row) {
        const FontListModel::Item item = list.At(row);
        enumerator.EnumerateStyles(item.text, item.tag);
        for (const FontRecord& style : StyleTable) {
            const QString file = style.FontFile == QLatin1String("unknown") ? QString() : style.FontFile;
            out << KindWord(item.tag, file) << "\t" << item.text << "\t" << style.StyleName << "\t" << file << "\n";
        }
    }
    return FontsExitOk;
}

int RestoreCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 1 || arguments.first().startsWith('-'))
        return Fail(err, FontsExitUsage, "restore needs one FILE");
    const QString file = arguments.first();
    const QString path = AbsolutePath(file);
    if (!Sys().fonts->HiddenFontFiles().contains(path)) {
        out << file << ": not restored, it is not a hidden font file\n";
        return FontsExitFailed;
    }
    FontFileRecord font;
    QString reason;
    if (!ReadFontNames(path, &font, &reason)) {
        out << file << ": not restored, " << reason << "\n";
        return FontsExitFailed;
    }
    // Registering the file again lifts its hiding rule, as installing it does.
    std::unique_ptr<RegistryKey> key;
    Sys().registry->OpenKey(FontsKey, KEY_WRITE, &key);
    if (key)
        key->SetValue(font.RegistryName, path);
    key.reset();
    Sys().fonts->BroadcastFontChange();
    const bool listed = Sys().fonts->ListsFontFile(path);
    out << file << (listed ? ": restored as " + font.RegistryName : QStringLiteral(": not restored, the system does not list it"))
        << "\n";
    return listed ? FontsExitOk : FontsExitFailed;
}

// Every subcommand: its name, its line of the usage text, and its work.
struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments, QTextStream& out, QTextStream& err);
};

const std::array<Subcommand, 5> kSubcommands = {{
    {"install", "install FILE...                    install font files into your font folder", InstallCommand},
    {"uninstall",
     "uninstall [--delete [--permanently] | --copy-to DIR | --move-to DIR] FILE...\n"
     "                                     uninstall installed font files; without an option the\n"
     "                                     file stays where it is (the font is only hidden);\n"
     "                                     --delete moves it to the trash, and where no trash can\n"
     "                                     take it keeps it unless --permanently is given",
     UninstallCommand},
    {"list", "list [--hidden]                    one line per installed face: kind, family, style, file\n"
             "                                     (tab-separated); --hidden: the fonts uninstalled but kept",
     ListCommand},
    {"restore", "restore FILE                       install a hidden (uninstalled but kept) font file again",
     RestoreCommand},
    {"info", "info FILE [--face N]               what face N (from 0) of a font file holds: glyphs,\n"
             "                                     characters, blocks, features, axes, instances,\n"
             "                                     embedding rights, version, licence; a line each",
     RunFontInfoCommand},
}};

} // namespace

QString FontsUsage()
{
    QString text;
    QTextStream s(&text);
    s << "Usage: " << Program << " COMMAND [OPTIONS] [FILE...]\n"
      << "\n"
      << "Installs and uninstalls fonts for you as Glyphwick's install and remove\n"
      << "wizards do, without a window.\n"
      << "\n"
      << "Commands:\n";
    for (const Subcommand& command : kSubcommands)
        s << "  " << command.usage << "\n";
    s << "\n"
      << "Options:\n"
      << "  -h, --help         show this text\n"
      << "  --version          show the version\n"
      << "\n"
      << "One line per FILE tells what became of it. Nothing is replaced or deleted for\n"
      << "good without the option that asks for it.\n"
      << "\n"
      << "Exit status: 0 when every FILE was done, 1 otherwise, 2 wrong command line.\n";
    return text;
}

int RunFontsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString first = arguments.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        out << FontsUsage();
        return FontsExitOk;
    }
    if (first == QLatin1String("--version")) {
        out << Program << " " << ProgramVersion << "\n";
        return FontsExitOk;
    }
    if (first.isEmpty())
        return Fail(err, FontsExitUsage, "a command is missing");
    for (const Subcommand& command : kSubcommands) {
        if (first != QLatin1String(command.name))
            continue;
        if (!StartupValues())
            return Fail(err, FontsExitFailed, "the font registrations cannot be found");
        ConsoleMessagesInUse console(err);
        return command.run(arguments.mid(1), out, err);
    }
    return Fail(err, FontsExitUsage, "unknown command \"" + first + "\"");
}

} // namespace gw
