#include "core/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cstdint>

#include "core/codepage.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/inifile.h"

namespace gw {

namespace {

bool HasFolder(const QString& file)
{
    return file.contains(QLatin1Char('/'));
}

// The platform's profile calls look for a bare file name in the Windows folder.
QString ProfilePath(const QString& file)
{
    return HasFolder(file) ? file : WinDir + file;
}

bool IsAtmProfile(const QString& file)
{
    return !HasFolder(file) && file.compare(QLatin1String("ATM.INI"), Qt::CaseInsensitive) == 0;
}

QString CutAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}


} // namespace

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& def,
                                const QString& file, int bufferSize)
{
    if (bufferSize <= 0)
        return QString();
    QString value;
    if (IsAtmProfile(file)) {
        value = Sys().atm->GetProfileString(section, key, def);
    } else if (!IniDocument::Load(ProfilePath(file)).Value(section, key, &value)) {
        value = def;
    }
    return value.left(bufferSize - 1);
}

QString ReadIniString(const QString& section, const QString& key, const QString& def,
                      const QString& file)
{
    return CutAtNul(GetPrivateProfileString(section, key, def, file, 100));
}

int ReadIniInt(const QString& section, const QString& key, int16_t def, const QString& file)
{
    // A key with no value reads as missing, as with the platform's integer reader.
    const QString value = CutAtNul(GetPrivateProfileString(section, key, QString(), file, 100));
    if (value.isEmpty())
        return def;
    return int(std::clamp(Val(value), double(INT32_MIN), double(INT32_MAX)));
}

bool ReadIniSwitch(const QString& section, const QString& key, const QString& file)
{
    const QString value = ReadIniString(section, key, QString(), file).trimmed().toLower();
    if (value == QLatin1String("true") || value == QLatin1String("yes") || value == QLatin1String("on"))
        return true;
    return ReadIniInt(section, key, 0, file) == 1;
}

void WriteIniString(const QString& section, const QString& key, const QString& value,
                    const QString& file)
{
    const QString path = ProfilePath(file);
    IniDocument doc = IniDocument::Load(path);
    doc.SetValue(section, key, value);
    doc.Save(path);
}

QString ReadParagraph(int n)
{
    const QString path =
        QFileInfo(IniFile).path() + QStringLiteral("/papara%1.txt").arg(n);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ParagraphError(("cannot open " + path).toStdString());
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = FromCp1252(bytes);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak).join(QString());
}

} // namespace gw
