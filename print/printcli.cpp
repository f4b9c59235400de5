#include "print/printcli.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <algorithm>
#include <array>
#include <memory>
#include <unistd.h>

#include "core/globals.h"
#include "platformapi/platform.h"
#include "core/settings.h"
#include "core/splash.h"
#include "startup/commandline.h"
#include "startup/startup.h"
#include "print/catalogs.h"
#include "print/embedding.h"
#include "print/printlist.h"
#include "print/printrun.h"
#include "print/pdfsurface.h"
#include "print/qtprinter.h"
#include "print/sheets.h"

namespace gw {

namespace {

const QString Program = QStringLiteral("glyphwick-print");

// Fewer fonts than this print too fast for a bar to help.
constexpr int ProgressFontThreshold = 4;

int Fail(QTextStream& err, int code, const QString& message)
{
    return CommandFailure(err, Program, code, message, code == PrintExitUsage);
}

QString Quoted(const QStringList& names)
{
    QStringList q;
    for (const QString& n : names)
        q << "\"" + n + "\"";
    return q.join(", ");
}

// The name as listed, or "" when it is none of them.
QString FindName(const QStringList& names, const QString& wanted)
{
    for (const QString& n : names)
        if (n.compare(wanted.trimmed(), Qt::CaseInsensitive) == 0)
            return n;
    return QString();
}

bool IsTerminal(QTextStream& stream)
{
    const auto* file = qobject_cast<QFile*>(stream.device());
    return file && file->handle() >= 0 && isatty(file->handle());
}

// Opens the file for writing without truncating it; a file made only for the
// check is removed again so a failed run leaves nothing behind.
bool CanWrite(const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.close();
    if (!existed)
        QFile::remove(path);
    return true;
}

} // namespace

QString PrintUsage()
{
    QString text;
    QTextStream s(&text);
    s << "Usage: " << Program << " (--layout NAME | --sheets NAME[,NAME...]) [--family PATTERN]...\n"
      << "       [--folder DIR] [--title TEXT] [--paper letter|a4] (--output FILE.pdf | --printer NAME)\n"
      << "\n"
      << "Prints a font catalog or sample sheets of the installed fonts, or of the font\n"
      << "files in a folder that are not installed, to a PDF file or a printer.\n"
      << "\n"
      << "Options:\n"
      << "  --layout NAME      the catalog layout, one of:\n";
    for (const QString& n : CatalogNames())
        s << "                       " << n << "\n";
    s << "  --sheets NAMES     sample sheets instead of a catalog, separated by commas;\n"
      << "                     each font gets every named sheet:\n";
    for (const QString& n : SheetNames())
        s << "                       " << n << "\n";
    s << "  --family PATTERN   only families whose name contains PATTERN (letter case\n"
      << "                     ignored); may be given more than once\n"
      << "  --folder DIR       the uninstalled .ttf/.otf/.ttc/.otc files of DIR, added for the run\n"
      << "  --title TEXT       the catalog title (default: the title last used in Glyphwick)\n"
      << "  --paper SIZE       letter (default) or a4; PDF output only\n"
      << "  --output FILE      write a PDF file\n"
      << "  --printer NAME     send to a printer (an empty NAME: the default printer)\n"
      << "  -h, --help         show this text\n"
      << "  --version          show the version\n"
      << "\n"
      << "Names are compared without regard to letter case. The other choices (point\n"
      << "sizes, sample text, footers) come from Glyphwick's settings.\n"
      << "\n"
      << "Exit status: 0 printed, 1 failed, 2 wrong command line.\n";
    return text;
}

QString ProgressBarText(int percent, int width)
{
    percent = qBound(0, percent, 100);
    const int filled = percent * width / 100;
    return "[" + QString(filled, '#') + QString(width - filled, '.') + "] "
           + QString::number(percent).rightJustified(3) + "%";
}

int RunPrintCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption layoutOpt("layout", "", "NAME");
    const QCommandLineOption sheetsOpt("sheets", "", "NAMES");
    const QCommandLineOption familyOpt("family", "", "PATTERN");
    const QCommandLineOption folderOpt("folder", "", "DIR");
    const QCommandLineOption titleOpt("title", "", "TEXT");
    const QCommandLineOption paperOpt("paper", "", "SIZE");
    const QCommandLineOption outputOpt("output", "", "FILE");
    const QCommandLineOption printerOpt("printer", "", "NAME");
    const QCommandLineOption helpOpt(QStringList{"h", "help"});
    const QCommandLineOption versionOpt("version");
    parser.addOptions({layoutOpt, sheetsOpt, familyOpt, folderOpt, titleOpt, paperOpt, outputOpt,
                       printerOpt, helpOpt, versionOpt});
    if (!parser.parse(QStringList{Program} + arguments))
        return Fail(err, PrintExitUsage, parser.errorText());
    if (parser.isSet(helpOpt)) {
        out << PrintUsage();
        return PrintExitOk;
    }
    if (parser.isSet(versionOpt)) {
        out << Program << " " << ProgramVersion << "\n";
        return PrintExitOk;
    }
    if (!parser.positionalArguments().isEmpty())
        return Fail(err, PrintExitUsage, "unexpected argument \"" + parser.positionalArguments().first() + "\"");
    for (const QCommandLineOption* single : {&layoutOpt, &folderOpt, &titleOpt, &paperOpt, &outputOpt, &printerOpt})
        if (parser.values(*single).size() > 1)
            return Fail(err, PrintExitUsage, "--" + single->names().first() + " may be given only once");

    // What to print.
    const bool catalog = parser.isSet(layoutOpt);
    if (catalog == parser.isSet(sheetsOpt))
        return Fail(err, PrintExitUsage, "give either --layout or --sheets");
    QString layout;
    std::array<bool, 8> checked{};
    if (catalog) {
        layout = FindName(CatalogNames(), parser.value(layoutOpt));
        if (layout.isEmpty())
            return Fail(err, PrintExitUsage, "unknown layout \"" + parser.value(layoutOpt)
                                                 + "\"; the layouts are " + Quoted(CatalogNames()));
    } else {
        const QStringList names = SheetNames();
        for (const QString& value : parser.values(sheetsOpt)) {
            for (const QString& wanted : value.split(',', Qt::SkipEmptyParts)) {
                const int i = names.indexOf(FindName(names, wanted));
                if (i < 0 || i >= int(checked.size()))
                    return Fail(err, PrintExitUsage, "unknown sheet \"" + wanted.trimmed()
                                                         + "\"; the sheets are " + Quoted(names));
                checked[size_t(i)] = true;
            }
        }
        if (std::none_of(checked.begin(), checked.end(), [](bool b) { return b; }))
            return Fail(err, PrintExitUsage, "--sheets names no sheet; the sheets are " + Quoted(names));
    }

    // Where to print.
    const bool toFile = parser.isSet(outputOpt);
    if (toFile == parser.isSet(printerOpt))
        return Fail(err, PrintExitUsage, "give either --output FILE.pdf or --printer NAME");
    int paper = PaperLetter;
    if (parser.isSet(paperOpt)) {
        const QString p = parser.value(paperOpt).trimmed().toLower();
        if (p == QLatin1String("a4"))
            paper = PaperA4;
        else if (p != QLatin1String("letter"))
            return Fail(err, PrintExitUsage, "unknown paper \"" + parser.value(paperOpt) + "\"; use letter or a4");
        if (!toFile)
            return Fail(err, PrintExitUsage, "--paper applies to --output only; a printer uses its own paper");
    }
    const QString outputFile = toFile ? QFileInfo(parser.value(outputOpt)).absoluteFilePath() : QString();
    if (toFile && parser.value(outputOpt).trimmed().isEmpty())
        return Fail(err, PrintExitUsage, "--output needs a file name");
    // The output is always PDF; a name without ".pdf" is most likely a slip (a
    // font file or a folder given by mistake), and would be overwritten.
    if (toFile && !outputFile.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return Fail(err, PrintExitUsage, "the --output file name must end in \".pdf\"");
    // Opening a pipe or a device would wait for a reader or write to the device.
    if (toFile && QFileInfo::exists(outputFile) && !QFileInfo(outputFile).isFile())
        return Fail(err, PrintExitUsage, "\"" + outputFile + "\" is a folder, a device or a pipe, "
                                         "not a PDF file; give the name of a file");

    // The program's start-up values, as the main program sets them.
    if (!StartupValues())
        return Fail(err, PrintExitFailed, "the font registrations cannot be found");

    const QString folder = parser.value(folderOpt);
    if (parser.isSet(folderOpt)) {
        const QFileInfo info(folder);
        if (!info.isDir() || !info.isReadable() || !QDir(folder).isReadable())
            return Fail(err, PrintExitFailed, "cannot read the folder \"" + folder + "\"");
    }
    if (toFile && !CanWrite(outputFile))
        return Fail(err, PrintExitFailed, "cannot write \"" + outputFile + "\"");
    QString printerName;
    if (!toFile) {
        printerName = parser.value(printerOpt).trimmed();
        const QStringList printers = QPrinterInfo::availablePrinterNames();
        if (printerName.isEmpty() && QPrinterInfo::defaultPrinterName().isEmpty())
            return Fail(err, PrintExitFailed, "there is no default printer");
        if (!printerName.isEmpty() && !printers.contains(printerName))
            return Fail(err, PrintExitFailed,
                        "unknown printer \"" + printerName + "\""
                            + (printers.isEmpty() ? QString("; no printer is set up")
                                                  : "; the printers are " + Quoted(printers)));
    }

    // The fonts. Declared before the surface: the PDF writer embeds them when it closes.
    const QStringList patterns = parser.values(familyOpt);
    TemporaryPrintFonts added;
    PrintFontList fonts;
    if (parser.isSet(folderOpt)) {
        QStringList problems;
        fonts = MatchingPrintFonts(FolderPrintFonts(folder, &problems, added), patterns);
        for (const QString& p : problems)
            err << Program << ": skipped " << p << "\n";
        if (fonts.empty())
            return Fail(err, PrintExitFailed,
                        patterns.isEmpty() ? "no uninstalled fonts in \"" + folder + "\""
                                           : "no uninstalled font in \"" + folder + "\" matches "
                                                 + Quoted(patterns));
    } else {
        fonts = InstalledPrintFonts(patterns);
        if (fonts.empty())
            return Fail(err, PrintExitFailed,
                        patterns.isEmpty() ? QString("no installed fonts")
                                           : "no installed font matches " + Quoted(patterns));
    }

    // Installed fonts are drawn as the system lists them: the toolkit need
    // read only those this run draws, and the caption font.
    if (!parser.isSet(folderOpt) && Sys().fonts) {
        QList<std::pair<QString, int>> faces;
        QStringList names{CaptionFont};
        for (const PrintFontEntry& font : fonts) {
            if (!font.FontPath.isEmpty())
                faces.append({font.FontPath, font.FaceIndex});
            else
                names << font.FaceName << font.AlternateName;
        }
        Sys().fonts->LimitToolkitFonts(faces, names);
    }

    // A partial PDF that a killed run of this or another Glyphwick program left
    // in the output folder goes first: only the program's own names of dead processes.
    if (toFile && Sys().storage)
        Sys().storage->RemoveLeftovers(QFileInfo(outputFile).absolutePath());
    std::unique_ptr<PrinterSurface> surface;  // goes before the fonts added for it
    bool usable = false;
    if (toFile) {
        auto pdf = PdfSurface::Create(outputFile, paper);
        usable = pdf->IsValid();
        surface = std::move(pdf);
    } else {
        auto printer = QtPrinterSurface::ForPrinter(printerName);
        usable = printer->IsValid();
        surface = std::move(printer);
    }
    if (!usable)
        return Fail(err, PrintExitFailed,
                    toFile ? "cannot write \"" + outputFile + "\""
                           : "cannot use the printer \"" + printerName + "\"");
    if (!PaperSizeAccepted(surface->PaperSize())) {
        surface.reset();  // nothing written; an earlier file stays as it was
        return Fail(err, PrintExitFailed, PaperSizeMessage());
    }

    const QString title = parser.isSet(titleOpt) ? parser.value(titleOpt)
                                                 : ReadIniString("Inventory", "Title", QString(), IniFile);
    const bool showProgress = IsTerminal(err) && int(fonts.size()) >= ProgressFontThreshold;
    int shown = -1;
    const Gauge gauge = [&](int percent) {
        if (!showProgress || percent == shown)
            return;
        shown = percent;
        err << "\r" << ProgressBarText(percent);
        err.flush();
    };

    if (catalog)
        PrintCatalogs(*surface, layout, fonts, gauge, title, parser.isSet(folderOpt) ? folder : QString());
    else
        PrintSheets(*surface, fonts, gauge, checked);
    const QStringList unprintable = UnprintableFaces(*surface, fonts);
    QString failure;
    const bool finished = surface->Finish(&failure);
    if (showProgress) {
        if (shown != 100)
            err << "\r" << ProgressBarText(100);
        err << "\n";
        err.flush();
    }

    const QString what = catalog ? layout : QString("sample sheets");
    const QString count = QString::number(fonts.size()) + (fonts.size() == 1 ? " font" : " fonts");
    if (!finished)
        return Fail(err, PrintExitFailed, (toFile ? "cannot write \"" + outputFile + "\": "
                                                  : "cannot print: ") + failure);
    // Said once, after the run, like the wizards' message.
    const QString notice = PrintRunNotice({}, unprintable, FontsWithoutEmbedding(fonts));
    if (!notice.isEmpty())
        err << Program << ": " << notice << "\n";
    if (toFile) {
        const QFileInfo written(outputFile);
        if (!written.isFile() || written.size() == 0)
            return Fail(err, PrintExitFailed, "nothing was written to \"" + outputFile + "\"");
        out << "Printed " << count << " (" << what << ") to " << outputFile << "\n";
    } else {
        out << "Sent " << count << " (" << what << ") to the printer "
            << (printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : printerName) << "\n";
    }
    return PrintExitOk;
}

} // namespace gw
