#include "core/inifile.h"

#include <QSet>
#include <algorithm>

#include "sfnt/codepage.h"
#include "core/profilefile.h"

namespace gw {

namespace {

int EndingLength(const QByteArray& raw)
{
    int n = 0;
    if (raw.endsWith('\n')) {
        n = 1;
        if (raw.size() > 1 && raw.at(raw.size() - 2) == '\r')
            n = 2;
    }
    return n;
}

QString Clean(QString text)
{
    // A line break inside a value would turn into lines of its own.
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

IniDocument IniDocument::Load(const QString& path)
{
    const ProfileFile file = ReadProfileFile(path);
    return FromBytes(file.bytes);
}

IniDocument IniDocument::Parse(const QString& text)
{
    return FromBytes(text.toUtf8());
}

QString IniDocument::Text(const Line& line)
{
    const QByteArray body = line.raw.left(line.raw.size() - EndingLength(line.raw));
    return line.utf8 ? QString::fromUtf8(body) : FromCp1252(body);
}

IniDocument IniDocument::FromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    // An own copy: the lines point into it, and bytes may not own its data.
    doc.source_ = QByteArray(bytes.constData(), bytes.size());
    const char* data = doc.source_.constData();
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    doc.lines_.reserve(bytes.count('\n') + 1);
    QString section;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        Line line;
        // A view into source_: no copy of a line nobody changes.
        line.raw = QByteArray::fromRawData(data + start, end - start);
        qsizetype from = start;
        qsizetype to = end - EndingLength(line.raw);
        start = end;
        line.utf8 = QByteArrayView(data + from, to - from).isValidUtf8();
        if (from == 0 && line.utf8 && QByteArrayView(data, to).startsWith("\xEF\xBB\xBF"))
            from += 3;
        // Blanks before a line's text are skipped; those after it need no cutting (names,
        // sections and values are trimmed where they are read).
        while (from < to && isBlank(data[from]))
            ++from;
        const QByteArrayView body(data + from, to - from);
        auto decode = [&line](QByteArrayView part) {
            return (line.utf8 ? QString::fromUtf8(part) : FromCp1252(part.data(), int(part.size()))).trimmed();
        };
        if (body.startsWith('[')) {
            const qsizetype close = body.lastIndexOf(']');
            if (close > 0) {
                section = decode(body.sliced(1, close - 1));
                line.header = true;
                line.section = section;
                doc.lines_.append(line);
                continue;
            }
        }
        line.section = section;
        const qsizetype eq = body.indexOf('=');
        if (eq > 0 && !body.startsWith(';'))
            line.key = decode(body.first(eq));
        doc.lines_.append(line);
        if (!line.key.isEmpty())
            doc.Index(line, int(doc.lines_.size()) - 1);
    }
    return doc;
}

void IniDocument::Index(const Line& line, int at)
{
    QHash<QString, int>& keys = index_[line.section.toCaseFolded()];
    keys.insert(line.key.toCaseFolded(), keys.value(line.key.toCaseFolded(), at));
}

void IniDocument::Reindex()
{
    index_.clear();
    for (int i = 0; i < lines_.size(); ++i)
        if (!lines_[i].header && !lines_[i].key.isEmpty())
            Index(lines_[i], i);
}

int IniDocument::Find(const QString& section, const QString& key) const
{
    const auto keys = index_.constFind(section.toCaseFolded());
    return keys == index_.cend() ? -1 : keys->value(key.toCaseFolded(), -1);
}

bool IniDocument::Value(const QString& section, const QString& key, QString* value) const
{
    const int i = Find(section, key);
    if (i < 0)
        return false;
    if (value) {
        const QString body = Text(lines_[i]);
        *value = body.mid(body.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return true;
}

QByteArray IniDocument::LineEnding() const
{
    for (const Line& line : lines_) {
        const int n = EndingLength(line.raw);
        if (n > 0)
            return line.raw.right(n);
    }
    return QByteArrayLiteral("\n");
}

bool IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString text = Clean(value);
    const int found = Find(section, key);
    if (found >= 0) {
        Line& line = lines_[found];
        // Keep the key as the file spells it, like the platform's profile writer.
        const QString body = line.key + QLatin1Char('=') + text;
        if (body == Text(line))
            return false;
        line.raw = body.toUtf8() + line.raw.right(EndingLength(line.raw));
        line.utf8 = true;
        return true;
    }

    const QByteArray eol = LineEnding();
    Line added;
    added.section = section;
    added.key = Clean(key).trimmed();
    added.raw = (added.key + QLatin1Char('=') + text).toUtf8() + eol;

    // After the last non-blank line of the first section of that name, so blank
    // separator lines stay in front of the next header.
    const QString folded = section.toCaseFolded();
    int insertAt = -1;
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && lines_[i].section.toCaseFolded() == folded) {
            insertAt = i + 1;
            for (int j = i + 1; j < lines_.size() && !lines_[j].header; ++j)
                if (!lines_[j].raw.trimmed().isEmpty())
                    insertAt = j + 1;
            break;
        }
    }

    auto endLine = [&eol](Line& line) {
        if (EndingLength(line.raw) == 0)
            line.raw += eol;
    };
    if (insertAt < 0) {
        if (!lines_.isEmpty())
            endLine(lines_.last());
        if (!lines_.isEmpty() && !lines_.last().raw.trimmed().isEmpty()) {
            Line blank;
            blank.raw = eol;
            blank.section = lines_.last().section;
            lines_.append(blank);
        }
        Line header;
        header.header = true;
        header.section = section;
        header.raw = (QLatin1Char('[') + Clean(section).trimmed() + QLatin1Char(']')).toUtf8() + eol;
        lines_.append(header);
        lines_.append(added);
        Index(added, int(lines_.size()) - 1);
        return true;
    }
    endLine(lines_[insertAt - 1]);
    lines_.insert(insertAt, added);
    // The lines after it moved down by one.
    for (QHash<QString, int>& keys : index_)
        for (int& at : keys)
            if (at >= insertAt)
                ++at;
    Index(added, insertAt);
    return true;
}

void IniDocument::RemoveKey(const QString& section, const QString& key)
{
    const QString foldedSection = section.toCaseFolded();
    const QString foldedKey = key.toCaseFolded();
    for (int i = int(lines_.size()) - 1; i >= 0; --i) {
        const Line& line = lines_[i];
        if (!line.header && !line.key.isEmpty() && line.section.toCaseFolded() == foldedSection
            && line.key.toCaseFolded() == foldedKey)
            lines_.removeAt(i);
    }
    Reindex();
}

QStringList IniDocument::Sections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const Line& line : lines_)
        if (line.header && !seen.contains(line.section.toCaseFolded())) {
            seen.insert(line.section.toCaseFolded());
            names.append(line.section);
        }
    return names;
}

QStringList IniDocument::Keys(const QString& section) const
{
    // In the order of the file: the index knows the names, the lines their order.
    QStringList names;
    const auto keys = index_.constFind(section.toCaseFolded());
    if (keys == index_.cend())
        return names;
    QList<int> first = keys->values();
    std::sort(first.begin(), first.end());
    for (const int at : first)
        names.append(lines_[at].key);
    return names;
}

QByteArray IniDocument::ToBytes() const
{
    QByteArray bytes;
    for (const Line& line : lines_)
        bytes += line.raw;
    return bytes;
}

QString IniDocument::ToText() const
{
    QString text;
    for (const Line& line : lines_)
        text += Text(line) + QLatin1String(line.raw.right(EndingLength(line.raw)));
    return text;
}

bool IniDocument::Save(const QString& path) const
{
    return ReplaceProfileFile(path, ToBytes(), nullptr);
}

QString EscapeText(const QString& text)
{
    qsizetype lead = 0;
    while (lead < text.size() && text.at(lead).isSpace())
        ++lead;
    qsizetype trail = text.size();
    while (trail > lead && text.at(trail - 1).isSpace())
        --trail;

    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (i < lead || i >= trail)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString UnescapeText(const QString& stored)
{
    if (!stored.contains(QLatin1Char('\\')))
        return stored;
    QString out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= stored.size()) {
            out += c;
            continue;
        }
        const QChar next = stored.at(i + 1);
        if (next == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
        } else if (next == QLatin1Char('n')) {
            out += QLatin1Char('\n');
        } else if (next == QLatin1Char('r')) {
            out += QLatin1Char('\r');
        } else if (next == QLatin1Char('t')) {
            out += QLatin1Char('\t');
        } else if (next == QLatin1Char('u') && i + 5 < stored.size()) {
            int code = 0;
            for (int k = 2; k < 6 && code >= 0; ++k) {
                const int digit = HexDigit(stored.at(i + k));
                code = digit < 0 ? -1 : code * 16 + digit;
            }
            if (code < 0) {
                out += c;
                continue;
            }
            out += QChar(ushort(code));
            i += 5;
            continue;
        } else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

} // namespace gw
