#include "fonts/fonttable.h"

#include <memory>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"

namespace gw {

namespace {

const QString Sentinel = QStringLiteral("X");

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
    for (size_t i = 0; i < FontTable.size(); ++i) {
        if (FontTable[i].FullName == fullName)
            return int(i);
    }
    return -1;
}

void ReadRegFontList()
{
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
    const QString wanted = name.toUpper();
    for (const auto& row : RegFontList) {
        if (row[0].toUpper() == wanted)
            return true;
    }
    return false;
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
    return LowerCasePath(TrimAtNul(data));
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
    if (!PFBDir.isEmpty() && file.startsWith(PFBDir))
        file = file.mid(PFBDir.size());
    return LowerCasePath(file);
}

} // namespace gw
