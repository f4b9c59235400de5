#include "fonts/fonttable.h"

#include <QHash>
#include <QSet>
#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"

namespace gw {

namespace {

const QString Sentinel = QStringLiteral("X");

// RegFontList's names, upper-cased, for IsRegisteredFont; made anew when the
// list was read again (nothing else changes it).
struct RegisteredNames {
    int revision = -1;
    QSet<QString> names;
};
int regFontListRevision = 0;

std::unique_ptr<RegistryKey> OpenFontsKey()
{
    std::unique_ptr<RegistryKey> key;
    if (Sys().registry->OpenKey(FontsKey, KEY_READ, &key) != ERROR_SUCCESS)
        key.reset();
    return key;
}

} // namespace

void ResetFontTable()
{
    FontTable.assign(1, FontRecord{});
    FontTable[0].FullName = Sentinel;
}

int FindFontRecord(const QString& fullName)
{
    if (FontTable.size() == 1 && FontTable[0].FullName == Sentinel)
        return -1;
    // The table only grows at its end between resets: index the new records.
    static QHash<QString, int> rowOf;
    static size_t indexed = 0;
    static QString first;
    if (indexed > FontTable.size() || (indexed > 0 && FontTable[0].FullName != first)) {
        rowOf.clear();
        indexed = 0;
    }
    first = FontTable[0].FullName;
    for (; indexed < FontTable.size(); ++indexed)
        rowOf.insert(FontTable[indexed].FullName, int(indexed));
    const int i = rowOf.value(fullName, -1);
    return i >= 0 && size_t(i) < FontTable.size() && FontTable[size_t(i)].FullName == fullName ? i : -1;
}

void ReadRegFontList()
{
    ++regFontListRevision;
    RegFontList.clear();
    std::unique_ptr<RegistryKey> key = OpenFontsKey();
    if (!key)
        return;

    int valueCount = 0, maxName = 0, maxData = 0;
    const long info = key->QueryInfo(&valueCount, &maxName, &maxData);
    // Sized before the result is looked at: a failed query keeps what it reported.
    RegFontList.assign(size_t(qMax(valueCount, 0)) + 1, {});
    if (info != ERROR_SUCCESS)
        return;

    for (int i = 0; i < valueCount; ++i) {
        QString name, data;
        if (key->EnumValue(i, &name, &data) != ERROR_SUCCESS)
            break;
        RegFontList[size_t(i)] = {name, data};
    }
}

bool IsRegisteredFont(const QString& name)
{
    static RegisteredNames index;
    if (index.revision != regFontListRevision) {
        index.names.clear();
        for (const auto& row : RegFontList)
            index.names.insert(row[0].toUpper());
        index.revision = regFontListRevision;
    }
    return index.names.contains(name.toUpper());
}

QString GetTrueTypeFile(const QString& face)
{
    std::unique_ptr<RegistryKey> key = OpenFontsKey();
    if (!key)
        return QStringLiteral("unknown");

    QString data;
    if (key->QueryValue(face + " (TrueType)", &data) != ERROR_SUCCESS
        && key->QueryValue(face + " (True Type)", &data) != ERROR_SUCCESS)
        return QStringLiteral("unknown");
    // The file as registered: Linux names are case-sensitive.
    return TrimAtNul(data);
}

QString GetFontFile(const QString& kind, const QString& name)
{
    if (kind == QLatin1String("TT"))
        return GetTrueTypeFile(name);
    if (kind != QLatin1String("ATM"))
        return QStringLiteral("Unknown");

    QString key = name;
    if (key.endsWith(QLatin1String(",NORMAL")))
        key.chop(7);
    // The value is "metrics file,outline file"; without a comma it is taken whole.
    QString file = GetPrivateProfileString("Fonts", key, QString(), "ATM.INI", 300);
    file = file.mid(file.indexOf(QLatin1Char(',')) + 1);
    if (!Type1OutlineDir.isEmpty() && file.startsWith(Type1OutlineDir))
        file = file.mid(Type1OutlineDir.size());
    return LowerCasePath(file);
}

} // namespace gw
