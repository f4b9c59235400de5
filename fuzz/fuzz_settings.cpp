// The settings file parser on any bytes.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "core/inifile.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Another spelling of a name: its ASCII letters in the other case.
QString OtherCase(QString name)
{
    for (QChar& c : name) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    }
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    gw::IniDocument doc = gw::IniDocument::FromBytes(bytes);

    // Lines nobody changed go back byte for byte.
    Check(doc.ToBytes() == bytes);

    // Every key listed is found again, whatever the case of its names' letters.
    // (A few of them: listing names is quadratic, and the lookup is what is checked.)
    const QStringList sections = doc.Sections();
    for (const QString& section : sections.mid(0, 8))
        for (const QString& key : doc.Keys(section).mid(0, 8))
            Check(doc.Value(OtherCase(section), OtherCase(key), nullptr));

    // A user text, whatever it holds, comes back whole after a write and a reread.
    const QString text = QString::fromUtf8(bytes.left(200));
    Check(gw::UnescapeText(gw::EscapeText(text)) == text);
    const QString section = sections.isEmpty() ? QStringLiteral("GW") : sections.first();
    doc.SetValue(section, QStringLiteral("SampleText"), gw::EscapeText(text));
    QString stored;
    Check(gw::IniDocument::FromBytes(doc.ToBytes()).Value(section, QStringLiteral("SampleText"), &stored));
    Check(gw::UnescapeText(stored) == text);
    return 0;
}
