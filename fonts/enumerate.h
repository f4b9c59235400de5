#pragma once
// Builds the font inventory by enumerating font families and classifying each
// as TrueType, Type 1 or printer font. The four handlers are called
// synchronously by the platform's enumeration, once per family or style.
#include <QString>
#include <functional>

#include "platformapi/platform.h"

namespace gw {

class FontListModel;
struct FontRecord;


// Fills the file fields of a TrueType record from the registrations: looks up
// its full name, face name, then full name + " " + style name. A file found
// leaves the size empty (a stat per style is most of a reading): see FileSizeOf.
void LookUpTrueTypeFiles(FontRecord& record);

// The size text of a record's file ("123k", "unknown"): FileSize when the
// reading set it, else read now.
QString FileSizeOf(const FontRecord& record);

class FontEnumerator {
public:
    explicit FontEnumerator(FontListModel* list) : list_(list) {}
    // The list the passes fill from now on.
    void SetList(FontListModel* list) { list_ = list; }

    // The display options of the main window.
    bool ShowTrueType = false;
    bool ShowATM = false;
    bool ShowDevice = false;
    // 0 while starting (splash gauge), 1 while re-reading (RereadProgress gauge).
    int ReadingMode = 0;
    // Draws the progress gauge of the current reading mode; set by the window.
    std::function<void(int percent)> DrawProgress;
    // Shows "Reading N fonts from your system..." where the reading mode says.
    std::function<void(const QString& text)> ShowStatus;
    // The TrueType families whose styles go into the font table; unset: all.
    std::function<bool(const QString& family)> WantStyles;

    // The four handlers.
    void Callback3(const EnumLogFont& elf, int fontType, int tag);
    void Callback4(const EnumLogFont& elf, int fontType, int tag);
    void Callback1(const EnumLogFont& elf, int fontType, int tag);
    void Callback2(const EnumLogFont& elf, int fontType, int tag);

    void CountingPass(DeviceContext dc);
    void CollectingPass(DeviceContext dc);

    // Start-up form: reads the display options from the settings.
    void ReadFonts();
    // Menu form: clears and refills everything, including RegFontList.
    void RereadFonts();
    // The styles of one family into StyleCount/StyleFonts/StyleTable.
    void EnumerateStyles(const QString& face, int kind);

    // Which styles a family has, for the print engine. PresenceKind is
    // "TrueType", "ATM" or "Device", set before asking.
    QString PresenceKind = QStringLiteral("TrueType");
    bool HasRegular(const QString& face);
    bool HasBold(const QString& face);
    bool HasItalic(const QString& face);
    bool HasBoldItalic(const QString& face);

    bool Busy() const { return busy_; }

private:
    enum Presence { Regular, Bold, Italic, BoldItalic };
    bool AskPresence(const QString& face, Presence which);
    void AppendStyle(const EnumLogFont& elf, int kind);
    bool IsAtmFamily(const QString& face, const EnumLogFont& elf) const;
    // The kind of item a device family gets: Type 1 (its files are in the
    // "ATM.INI" view), printer font, or 0 for none (not shown, or listed already).
    int DeviceFamilyKind(const QString& face, const EnumLogFont& elf) const;
    void Progress();

    FontListModel* list_;
    bool presence_[4] = {};
    bool busy_ = false;
};

} // namespace gw
