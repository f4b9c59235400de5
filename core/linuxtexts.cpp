#include "core/linuxtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/globals.h"

namespace gw {

namespace {

// Designed part -> Linux part. Longer parts come before the shorter ones they contain.
// "@FONTS@" stands for FontFolderText().
struct Replacement {
    const char* designed;
    const char* onLinux;
};
constexpr Replacement Table[] = {
    {"Control &Panel", "System &Settings"},
    {"Open the Windows Control Panel", "Open the desktop's system settings"},
    {"Open Windows Control Panel", "Open the desktop's system settings"},
    {"Open the Windows clipboard", "Open the clipboard manager"},
    {"Run the Windows Character Map applet", "Run the desktop's character map"},
    {"Windows 95 font directory", "@FONTS@"},
    {"Windows Fonts folder", "@FONTS@"},
    {"the Windows directory", "@FONTS@"},
    {"your Windows PC", "this computer"},
    {"your PC", "this computer"},
    {"Use the Windows Control Panel", "Use your desktop's font settings"},
    {"Glyphwick for Windows 95 / NT 4.0", "Glyphwick for Linux"},
    {"ActiveX / DLL File Conflict Report", "Run-time Library Conflict Report"},
    {"older versions of ActiveX and/or DLL files", "older or incompatible versions of its run-time libraries"},
};

} // namespace

QString FontFolderText()
{
    return QStringLiteral("your font folder (") + QDir::toNativeSeparators(WinDir + "fonts")
           + QStringLiteral(")");
}

QString ForLinux(const QString& designed)
{
    QString text = designed;
    for (const Replacement& r : Table) {
        const QString from = QString::fromUtf8(r.designed);
        if (!text.contains(from))
            continue;
        QString to = QString::fromUtf8(r.onLinux);
        if (to == QLatin1String("@FONTS@"))
            to = FontFolderText();
        text.replace(from, to);
    }
    return text;
}

QString Type1FoundText(const QString& version, bool realAtmIni)
{
    if (realAtmIni)
        return QStringLiteral("Adobe Type Manager version ") + version + QStringLiteral(" detected");
    return QStringLiteral("Type 1 fonts found through fontconfig ") + version;
}

bool RealAtmIni()
{
    const QDir dir(WinDir);
    return !WinDir.isEmpty()
           && !dir.entryList({QStringLiteral("atm.ini")}, QDir::Files).isEmpty();
}

bool ShowAtmItems()
{
    return ATMInstalled && RealAtmIni();
}

QString UnicodeKeystrokeSuffix(const QString& character)
{
    if (character.isEmpty())
        return {};
    const uint code = character.toUcs4().value(0);
    if (code < 32 || code == 127)
        return {};
    const QString point = QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("  (U+") + point + QStringLiteral(": Ctrl+Shift+U ")
           + QString::number(code, 16) + QStringLiteral(")");
}

QString FontKindWord(const QString& fontFile)
{
    const QString suffix = QFileInfo(fontFile).suffix().toLower();
    if (suffix == QLatin1String("otf") || suffix == QLatin1String("otc"))
        return QStringLiteral("OpenType");
    if (suffix == QLatin1String("ttf") || suffix == QLatin1String("ttc"))
        return QStringLiteral("TrueType");
    // Any other name: look at the sfnt version tag.
    QFile file(fontFile);
    if (QFileInfo(fontFile).isFile() && file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(4);
        if (head == "OTTO")
            return QStringLiteral("OpenType");
    }
    return QStringLiteral("TrueType");
}

} // namespace gw
