#include "core/linuxtexts.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QFileInfo>

#include "core/globals.h"
#include "core/helpers.h"

namespace gw {

namespace {

// Text that is untrue on Linux -> what is true there. Longer parts come before the shorter ones they contain.
// "@FONTS@" stands for FontFolderText().
struct Replacement {
    const char* original;
    const char* onLinux;
};
constexpr Replacement Table[] = {
    {"Control &Panel", "System &Settings"},
    {"Open the Windows Control Panel", "Open the desktop's system settings"},
    {"Open Windows Control Panel", "Open the desktop's system settings"},
    {"Open the Windows clipboard", "Open the clipboard manager"},
    {"Run the Windows Character Map applet", "Run the desktop's character map"},
    {"the Windows 95 font directory", "@FONTS@"},
    {"the Windows Fonts folder", "@FONTS@"},
    {"Windows 95 font directory", "@FONTS@"},
    {"Windows Fonts folder", "@FONTS@"},
    {"the Windows directory", "@FONTS@"},
    {"your Windows PC", "this computer"},
    {"your PC", "this computer"},
    {"Use the Windows Control Panel", "Use your desktop's font settings"},
    {"Unlike the Windows Control Panel", "Unlike your desktop's font settings"},
    {"an entry is placed in the Windows Registry. Listed below are the changes that will be made to your Registry file.",
     "it is registered so that every program finds it. Listed below are the registrations that will be made."},
    {"Windows Registry", "your font registrations"},
    {"Registry Entry", "Font Registration"},
    {"Show &Adobe Type 1 (ATM) fonts", "Show T&ype 1 fonts"},
    {"&ATM path", "Type 1 font &manager"},
    {"Select file name and path for Adobe Type Manger", "Select the Type 1 font manager program"},
    {"Windows ANSI Extended Character Set (Alt + 0 +...)", "Code Page 1252 Extended Character Set"},
    {"a Windows PC", "this computer"},
    {"are currently installed in Windows.", "are currently installed on this computer."},
    {"using the Windows Control Panel", "using your desktop's font settings"},
    {"Do you wish to delete the FOT & TTF file?", "Do you wish to remove its font file?"},
    {"The following font files will be deleted.", "The following font files will be moved to the trash."},
    {"Glyphwick for Windows 95 / NT 4.0", "Glyphwick for Linux"},
    {"ActiveX / DLL File Conflict Report", "Run-time Library Conflict Report"},
    {"older versions of ActiveX and/or DLL files", "older or incompatible versions of its run-time libraries"},
};

} // namespace

QString FontFolderText()
{
    return QStringLiteral("your font folder (") + QDir::toNativeSeparators(UserDataDir + "fonts")
           + QStringLiteral(")");
}

QString ForLinux(const QString& original)
{
    QString text = original;
    for (const Replacement& r : Table) {
        const QString from = QString::fromUtf8(r.original);
        if (!text.contains(from))
            continue;
        QString to = QString::fromUtf8(r.onLinux);
        if (to == QLatin1String("@FONTS@"))
            to = FontFolderText();
        text.replace(from, to);
    }
    return text;
}

QString NoProgramText(const QString& what, const QStringList& tried)
{
    return QStringLiteral("No ") + what + QStringLiteral(" was found on this computer. Glyphwick looked for: ")
           + tried.join(QStringLiteral(", ")) + QStringLiteral(".\r\n\r\nInstall one of them with your "
                                                               "package manager, for example: sudo apt install ")
           + tried.value(0) + QStringLiteral(".");
}

QString ProgramNotStartedText(const QString& program, const QString& reason)
{
    return QStringLiteral("The program ") + program + QStringLiteral(" could not be started: ") + reason
           + QStringLiteral(".\r\n\r\nCheck the program named in Tools > Options.");
}

QString NotOpenedText(const QString& address, const QStringList& tried)
{
    return QStringLiteral("Glyphwick could not open ") + address
           + QStringLiteral(": no web browser was found. Glyphwick tried: ") + tried.join(QStringLiteral(", "))
           + QStringLiteral(".\r\n\r\nInstall a web browser and xdg-utils (for example: sudo apt install "
                            "xdg-utils firefox-esr), or open the address in a browser yourself.");
}

QString FontHiddenNote()
{
    return QStringLiteral("The font is uninstalled all the same: it is hidden from every program.");
}

QString ConfirmDeleteText(const QString& file, bool toTrash)
{
    return (toTrash ? QStringLiteral("Move the font file ") + file + QStringLiteral(" to the trash?")
                    : QStringLiteral("Delete the original font file ") + file
                          + QStringLiteral("? Its copy is complete in the target folder."))
           + QStringLiteral("\r\n\r\nYes goes on, No keeps this file, Cancel keeps it and every file after it.");
}

QString Type1FoundText(const QString& version, bool realAtmIni)
{
    if (realAtmIni)
        return QStringLiteral("Adobe Type Manager version ") + version + QStringLiteral(" detected");
    return QStringLiteral("Type 1 fonts found through fontconfig ") + version;
}

bool RealAtmIniExists()
{
    // Any letter case: the file comes from another system.
    const QDir dir(Sys().system->UserDataDirectory());
    return !dir.entryList({QStringLiteral("atm.ini")}, QDir::Files).isEmpty();
}

bool ShowAtmItems()
{
    return ATMInstalled && RealAtmIniExists();
}

QString KeystrokeReadout(const QString& character, const std::function<bool(const QString&)>& fits)
{
    const QString label = KeystrokeLabel(character);
    // A character beyond code page 1252 has no Alt code: only the keystroke.
    const bool altCode = label.startsWith(QLatin1String(" ALT+"));
    if (!altCode && !(label.isEmpty() && !character.isEmpty()))
        return label;
    const QString typed = UnicodeKeystroke(character);
    if (typed.isEmpty())
        return label;
    if (!altCode)
        return !fits || fits(typed) ? typed : typed.section(QStringLiteral("  ("), 0, 0);
    const QString withAltCode = typed + QStringLiteral(" ") + label;
    if (fits && fits(withAltCode))
        return withAltCode;
    // The keystroke itself is never cut: the code point goes first.
    const QString keystroke = typed.section(QStringLiteral("  ("), 0, 0);
    return !fits || fits(typed) ? typed : keystroke;
}

QString UnicodeKeystroke(const QString& character)
{
    if (character.isEmpty())
        return {};
    const uint code = character.toUcs4().value(0);
    if (code < 32 || code == 127)
        return {};
    const QString point = QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("Ctrl+Shift+U ") + QString::number(code, 16) + QStringLiteral("  (U+") + point
           + QStringLiteral(")");
}

QString FontKindWord(const QString& fontFile)
{
    // The outlines decide: "OTTO" starts a CFF font, 0x00010000 or "true" a
    // TrueType-outline one, whatever the file is called.
    QFile file(fontFile);
    if (QFileInfo(fontFile).isFile() && file.open(QIODevice::ReadOnly)) {
        QByteArray head = file.read(16);
        // A collection: its first face's outlines, where its offset table begins.
        if (head.startsWith("ttcf") && head.size() == 16
            && file.seek(qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(head.constData()) + 12)))
            head = file.read(4);
        head.truncate(4);
        if (head == "OTTO")
            return QStringLiteral("OpenType");
        if (head == QByteArray("\0\1\0\0", 4) || head == "true")
            return QStringLiteral("TrueType");
    }
    const QString suffix = QFileInfo(fontFile).suffix().toLower();
    if (suffix == QLatin1String("otf") || suffix == QLatin1String("otc"))
        return QStringLiteral("OpenType");
    return QStringLiteral("TrueType");
}

} // namespace gw
