#include "core/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "core/codepage.h"

namespace gw {

namespace {

// Each stored line keeps its own line ending so that a rewrite gives back the
// same bytes; this splits it off again.
QString Body(const QString& raw)
{
    int n = int(raw.size());
    if (n > 0 && raw.at(n - 1) == QLatin1Char('\n'))
        --n;
    if (n > 0 && raw.at(n - 1) == QLatin1Char('\r'))
        --n;
    return raw.left(n);
}

QString Ending(const QString& raw)
{
    return raw.mid(Body(raw).size());
}

bool Same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Our own files are UTF-8; a profile written elsewhere in the old ANSI code
// page still reads (and is saved back as UTF-8).
QString Decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return FromCp1252(bytes);
    return text;
}

QString Clean(QString text)
{
    // A line break inside a value would turn into lines of its own.
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

IniDocument IniDocument::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniDocument();
    return Parse(Decode(file.readAll()));
}

IniDocument IniDocument::Parse(const QString& text)
{
    IniDocument doc;
    QString section;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        end = end < 0 ? text.size() : end + 1;
        Line line;
        line.raw = text.mid(start, end - start);
        start = end;

        QString body = Body(line.raw);
        if (doc.lines_.isEmpty() && body.startsWith(QChar(0xFEFF)))
            body.remove(0, 1);
        body = body.trimmed();
        if (body.startsWith(QLatin1Char('['))) {
            const qsizetype close = body.lastIndexOf(QLatin1Char(']'));
            if (close > 0) {
                section = body.mid(1, close - 1).trimmed();
                line.header = true;
                line.section = section;
                doc.lines_.append(line);
                continue;
            }
        }
        line.section = section;
        const qsizetype eq = body.indexOf(QLatin1Char('='));
        if (eq > 0 && !body.startsWith(QLatin1Char(';')))
            line.key = body.left(eq).trimmed();
        doc.lines_.append(line);
    }
    return doc;
}

bool IniDocument::Value(const QString& section, const QString& key, QString* value) const
{
    for (const Line& line : lines_) {
        if (line.header || line.key.isEmpty() || !Same(line.section, section) || !Same(line.key, key))
            continue;
        if (value) {
            const QString body = Body(line.raw);
            *value = body.mid(body.indexOf(QLatin1Char('=')) + 1).trimmed();
        }
        return true;
    }
    return false;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString text = Clean(value);
    QString eol = QStringLiteral("\n");
    for (const Line& line : lines_) {
        if (!Ending(line.raw).isEmpty()) {
            eol = Ending(line.raw);
            break;
        }
    }

    for (Line& line : lines_) {
        if (!line.header && !line.key.isEmpty() && Same(line.section, section) && Same(line.key, key)) {
            // Keep the key as the file spells it, like the platform's profile writer.
            line.raw = line.key + QLatin1Char('=') + text + Ending(line.raw);
            return;
        }
    }

    Line added;
    added.section = section;
    added.key = Clean(key).trimmed();
    added.raw = added.key + QLatin1Char('=') + text + eol;

    // After the last non-blank line of the first section of that name, so blank
    // separator lines stay in front of the next header.
    int insertAt = -1;
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && Same(lines_[i].section, section)) {
            insertAt = i + 1;
            for (int j = i + 1; j < lines_.size() && !lines_[j].header; ++j)
                if (!Body(lines_[j].raw).trimmed().isEmpty())
                    insertAt = j + 1;
            break;
        }
    }

    if (insertAt < 0) {
        if (!lines_.isEmpty() && Ending(lines_.last().raw).isEmpty())
            lines_.last().raw += eol;
        if (!lines_.isEmpty() && !Body(lines_.last().raw).trimmed().isEmpty()) {
            Line blank;
            blank.raw = eol;
            blank.section = lines_.last().section;
            lines_.append(blank);
        }
        Line header;
        header.header = true;
        header.section = section;
        header.raw = QLatin1Char('[') + Clean(section).trimmed() + QLatin1Char(']') + eol;
        lines_.append(header);
        lines_.append(added);
        return;
    }
    if (Ending(lines_[insertAt - 1].raw).isEmpty())
        lines_[insertAt - 1].raw += eol;
    lines_.insert(insertAt, added);
}

void IniDocument::RemoveKey(const QString& section, const QString& key)
{
    for (int i = int(lines_.size()) - 1; i >= 0; --i) {
        const Line& line = lines_[i];
        if (!line.header && !line.key.isEmpty() && Same(line.section, section) && Same(line.key, key))
            lines_.removeAt(i);
    }
}

QStringList IniDocument::Sections() const
{
    QStringList names;
    for (const Line& line : lines_)
        if (line.header && !names.contains(line.section, Qt::CaseInsensitive))
            names.append(line.section);
    return names;
}

QStringList IniDocument::Keys(const QString& section) const
{
    QStringList names;
    for (const Line& line : lines_)
        if (!line.header && !line.key.isEmpty() && Same(line.section, section)
            && !names.contains(line.key, Qt::CaseInsensitive))
            names.append(line.key);
    return names;
}

QString IniDocument::ToText() const
{
    QString text;
    for (const Line& line : lines_)
        text += line.raw;
    return text;
}

bool IniDocument::Save(const QString& path) const
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ToText().toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace gw
