#include "fonts/enumerate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sys/stat.h>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "fonts/fontlist.h"
#include "fonts/fontresource.h"
#include "fonts/fonttable.h"

namespace gw {

namespace {

// A name field as text; an empty field is empty text, not a run of NULs.
template <int N>
QString Field(const char (&bytes)[N])
{
    return TrimAtNul(BytesToText(bytes, N));
}

QString FaceOf(const EnumLogFont& elf)
{
    return elf.familyName.isEmpty() ? Field(elf.lfFaceName) : elf.familyName;
}

// TrueType, also when a printer holds it (the device bit set as well).
bool IsTrueTypeType(int fontType)
{
    return (fontType & TRUETYPE_FONTTYPE) != 0;
}

QString AtmFontsValue(const QString& key)
{
    return GetPrivateProfileString("Fonts", key, QString(), "ATM.INI", 300);
}

// Files of a font are sfnt files (".ttf", ".otf", collections ".ttc" and ".otc")
// or ".fot" resources pointing at one.
bool IsSfntFileName(const QString& lower)
{
    return lower.endsWith("ttf") || lower.endsWith("otf") || lower.endsWith("ttc") || lower.endsWith("otc");
}

QString SizeText(const QString& file)
{
    // A bare stat: asked once per installed style, QFileInfo's was the
    // largest cost of the whole reading.
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("unknown");
    return QString::number(std::llround(double(st.st_size) / 1024.0)) + "k";
}

// Lets the window paint and answer while the list fills. Asking after each of
// 10,000 fonts cost a tenth of the reading; every 10 ms answers as well.
void KeepResponsive()
{
    static QElapsedTimer since;
    if (since.isValid() && since.elapsed() < 10)
        return;
    QCoreApplication::processEvents();
    since.start();
}

class BusyGuard {
public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
private:
    bool& flag_;
};

} // namespace

void LookUpTrueTypeFiles(FontRecord& record)
{
    QString file = GetFontFile("TT", record.FullName);
    if (file == "unknown")
        file = GetFontFile("TT", record.FaceName);
    if (file == "unknown")
        file = GetFontFile("TT", record.FullName + " " + record.StyleName);
    if (file == "unknown") {
        record.FontFile = record.FileSize = record.FotFile = QStringLiteral("unknown");
        return;
    }
    // A registration without a folder names a file in the user font folder.
    if (!file.contains('/'))
        file = UserDataDir + "fonts/" + file;
    const QString lower = FoldCase(file);
    if (IsSfntFileName(lower)) {
        record.FontFile = file;
        record.FotFile = QStringLiteral("n/a");
    } else if (lower.endsWith("fot")) {
        record.FotFile = file;
        record.FontFile = GetFotTarget(file);
        if (record.FontFile == "unknown") {
            record.FileSize = QStringLiteral("unknown");
            return;
        }
    } else {
        return;
    }
    record.FileSize.clear();
}

QString FileSizeOf(const FontRecord& record)
{
    return record.FileSize.isEmpty() ? SizeText(record.FontFile) : record.FileSize;
}

void FontEnumerator::CountingPass(DeviceContext dc)
{
    Sys().fonts->EnumFontFamilies(
        dc, QString(),
        [this](const EnumLogFont& elf, int type, int tag) {
            Callback3(elf, type, tag);
        },
        1);
}

void FontEnumerator::CollectingPass(DeviceContext dc)
{
    Sys().fonts->EnumFontFamilies(
        dc, QString(),
        [this](const EnumLogFont& elf, int type, int tag) {
            Callback3(elf, type, tag);
        },
        2);
}

void FontEnumerator::Progress()
{
    if (FontCount <= 0 || !DrawProgress)
        return;
    const long percent = std::lround(double(FontsRead) / double(FontCount) * 100.0);
    if (percent % 5 == 0)
        DrawProgress(int(percent));
}

bool FontEnumerator::IsAtmFamily(const QString& face, const EnumLogFont& elf) const
{
    const QString style = EnumStyleText(elf.lfWeight, elf.lfItalic);
    const QString key = style == "Normal" ? face : face + "," + style;
    if (!AtmFontsValue(key).isEmpty())
        return true;
    if (!key.contains(','))
        return false;
    for (const QString& retry : {face, face + ",ITALIC", face + ",BOLD"})
        if (!AtmFontsValue(retry).isEmpty())
            return true;
    return false;
}

int FontEnumerator::DeviceFamilyKind(const QString& face, const EnumLogFont& elf) const
{
    const bool listedTrueType = list_->FindItem(face, KindTrueType) >= 0;
    if (!ATMInstalled)
        return listedTrueType ? 0 : KindPrinter;
    // Type 1 files of a family that also has TrueType or OpenType files make
    // an item of their own; a printer font of that name is the TrueType one.
    if (IsAtmFamily(face, elf))
        return ShowATM ? KindType1 : 0;
    return ShowDevice && !listedTrueType ? KindPrinter : 0;
}

void FontEnumerator::Callback3(const EnumLogFont& elf, int fontType, int tag)
{
    if (tag == 1) {
        ++FontCount;
        return;
    }
    ++FontsRead;
    KeepResponsive();

    const QString face = FaceOf(elf);
    if (fontType == DEVICE_FONTTYPE) {
        const int kind = DeviceFamilyKind(face, elf);
        if (kind != 0)
            list_->Add(face, kind);
    } else if (IsTrueTypeType(fontType) && ShowTrueType) {
        // A family seen first as a device font turns TrueType, never the reverse;
        // a Type 1 item of the same name keeps its own files beside the TrueType one.
        const int printerRow = list_->FindItem(face, KindPrinter);
        if (printerRow >= 0) {
            list_->SetTag(printerRow, KindTrueType);
        } else if (list_->FindItem(face, KindTrueType) < 0) {
            if (!WantStyles || WantStyles(face))
                Sys().fonts->EnumFontFamilies(
                    DeviceContext::Printer, face,
                    [this](const EnumLogFont& e, int type, int tg) {
                        Callback4(e, type, tg);
                    },
                    fontType);
            list_->Add(face, KindTrueType);
        }
    }
    Progress();
}

void FontEnumerator::Callback4(const EnumLogFont& elf, int fontType, int)
{
    if (!IsTrueTypeType(fontType)) {
        if (fontType != RASTER_FONTTYPE)
            AppendStyle(elf, KindPrinter);
        return;
    }
    const QString fullName = Field(elf.elfFullName);
    FontRecord* record = nullptr;
    if (FontTable.size() == 1 && FontTable[0].FullName == "X") {
        record = &FontTable[0];
    } else {
        if (FindFontRecord(fullName) >= 0)
            return;
        FontTable.emplace_back();
        record = &FontTable.back();
    }
    *record = FontRecord{};
    record->FullName = fullName;
    record->FaceName = FaceOf(elf);
    record->RegistryName = fullName + " (TrueType)";
    record->StyleName = Field(elf.elfStyle);
    record->Italic = elf.lfItalic;
    record->FaceIndex = elf.faceIndex;
    LookUpTrueTypeFiles(*record);
}

void FontEnumerator::AppendStyle(const EnumLogFont& elf, int kind)
{
    ++StyleCount;
    StyleFonts.push_back(elf);
    FontRecord entry;
    const QString face = FaceOf(elf);
    entry.FullName = entry.FaceName = face;
    entry.StyleName = EnumStyleText(elf.lfWeight, elf.lfItalic);
    entry.FotFile = entry.FontFile = entry.FileSize = QStringLiteral("unknown");
    entry.Italic = elf.lfItalic;

    if (kind == KindType1) {
        QString key = face + "," + entry.StyleName.toUpper();
        key.replace("BOLD ITALIC", "BOLDITALIC");
        if (key.endsWith(",NORMAL"))
            key.chop(7);
        const QString value = AtmFontsValue(key);
        if (!value.isEmpty()) {
            const int comma = value.indexOf(',');
            entry.FontFile = comma < 0 ? value : value.mid(comma + 1);
            // The metrics file stands where a TrueType font shows its resource file.
            const QString metrics = comma < 0 ? QString() : value.left(comma);
            entry.FotFile = metrics.isEmpty() ? QStringLiteral("n/a") : metrics;
            entry.FileSize = SizeText(entry.FontFile);
        }
        // Shown by the name the font gives its style ("Roman"), when it gives one.
        const QString named = Field(elf.elfStyle);
        if (!named.isEmpty())
            entry.StyleName = named;
    } else if (kind == KindTrueType) {
        entry.FullName = Field(elf.elfFullName);
        entry.StyleName = Field(elf.elfStyle);
        entry.RegistryName = entry.FullName + " (TrueType)";
        LookUpTrueTypeFiles(entry);
    }
    StyleTable.push_back(entry);
}

void FontEnumerator::Callback1(const EnumLogFont& elf, int fontType, int tag)
{
    if (fontType == RASTER_FONTTYPE)
        return;
    // A family can exist in two kinds (C059 as OpenType and as Type 1 files):
    // a TrueType item shows its TrueType styles, a Type 1 item its Type 1 styles.
    if ((tag == KindTrueType && !IsTrueTypeType(fontType))
        || (tag == KindType1 && IsTrueTypeType(fontType)))
        return;
    AppendStyle(elf, tag);
}

void FontEnumerator::Callback2(const EnumLogFont& elf, int, int)
{
    if (PresenceKind == "Device") {
        for (bool& flag : presence_)
            flag = true;
        return;
    }
    if (PresenceKind == "ATM") {
        if (elf.lfItalic == 0)
            presence_[elf.lfWeight <= 400 ? Regular : Bold] = true;
        else
            presence_[elf.lfWeight == 400 ? Italic : BoldItalic] = true;
        return;
    }
    // The style name decides the slant, so italic styles of ordinary families count.
    const QString style = Field(elf.elfStyle);
    const bool slanted = NameSaysSlanted(style);
    const bool bold = elf.lfWeight > 499;
    if (slanted && bold)
        presence_[BoldItalic] = true;
    else if (bold)
        presence_[Bold] = true;
    else if (slanted)
        presence_[Italic] = true;
    else
        presence_[Regular] = true;
}

bool FontEnumerator::AskPresence(const QString& face, Presence which)
{
    for (bool& flag : presence_)
        flag = false;
    // A name that picks one kind's files ("C059 [urw]") asks about its family.
    Sys().fonts->EnumFontFamilies(
        DeviceContext::Printer, WithoutFoundry(face),
        [this](const EnumLogFont& e, int type, int tag) {
            Callback2(e, type, tag);
        },
        1);
    return presence_[which];
}

bool FontEnumerator::HasRegular(const QString& face) { return AskPresence(face, Regular); }
bool FontEnumerator::HasBold(const QString& face) { return AskPresence(face, Bold); }
bool FontEnumerator::HasItalic(const QString& face) { return AskPresence(face, Italic); }
bool FontEnumerator::HasBoldItalic(const QString& face) { return AskPresence(face, BoldItalic); }

void FontEnumerator::EnumerateStyles(const QString& face, int kind)
{
    StyleCount = 0;
    StyleFonts.clear();
    StyleTable.clear();
    Sys().fonts->EnumFontFamilies(
        DeviceContext::Printer, face,
        [this](const EnumLogFont& e, int type, int tag) {
            Callback1(e, type, tag);
        },
        kind);
}

void FontEnumerator::ReadFonts()
{
    if (busy_)
        return;
    BusyGuard guard(busy_);
    ReadingMode = 0;
    FontCount = 0;
    FontsRead = 0;
    list_->Clear();
    ResetFontTable();
    CountingPass(DeviceContext::Display);
    if (ShowStatus)
        ShowStatus("Reading " + QString::number(FontCount) + " fonts from your system...");
    ShowTrueType = ReadIniSwitch("GW", "ShowTrueType", IniFile);
    ShowATM = ReadIniSwitch("GW", "ShowATM", IniFile);
    ShowDevice = ReadIniSwitch("GW", "ShowDevice", IniFile);
    CollectingPass(DeviceContext::Display);
    if (DrawProgress)
        DrawProgress(100);
}

void FontEnumerator::RereadFonts()
{
    if (busy_)
        return;
    BusyGuard guard(busy_);
    FontCount = 0;
    FontsRead = 0;
    list_->Clear();
    ResetFontTable();
    ReadingMode = 1;
    CountingPass(DeviceContext::Display);
    if (ShowStatus)
        ShowStatus("Reading " + QString::number(FontCount) + " fonts from your system...");
    CollectingPass(DeviceContext::Printer);
    if (DrawProgress)
        DrawProgress(100);
    ReadRegFontList();
}

} // namespace gw
