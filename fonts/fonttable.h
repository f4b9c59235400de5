#pragma once
// Lookups on the font inventory: the FontTable sentinel, the snapshot of the
// font registrations (RegFontList) and the files behind a font name.
#include <QString>

namespace gw {

// FontTable back to one record whose FullName is the sentinel "X".
void ResetFontTable();
// Index of the record with exactly this FullName, or -1. The reset table holds
// no record, so the sentinel itself is never found.
int FindFontRecord(const QString& fullName);

// Replaces RegFontList with the values of FontsKey: rows 0..value count, the
// extra last row empty. A key that cannot be opened leaves it empty.
void ReadRegFontList();
// true when some row of RegFontList names `name`, letter case ignored.
bool IsRegisteredFont(const QString& name);

// The registered file of face + " (TrueType)" (or " (True Type)"), lower-cased;
// "unknown" when neither is registered.
QString GetTrueTypeFile(const QString& face);
// kind "TT": GetTrueTypeFile; kind "ATM": the outline file of a Type 1 font
// from "ATM.INI", without the Type1OutlineDir folder, lower-cased; other kinds "Unknown".
QString GetFontFile(const QString& kind, const QString& name);

} // namespace gw
