#pragma once
// The profile ("INI") file format: sections in brackets, key=value lines.
// Section and key names match without regard to case. Lines the program does
// not understand (comments, blank lines, junk) are kept as they are.
//
// Each line is decoded on its own: a line that is valid UTF-8 is UTF-8, any
// other line is code page 1252 (profiles written by older programs). A line the
// program does not change is written back byte for byte.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace gw {

class IniDocument {
public:
    // A missing or unreadable file (or one that is not a regular file) gives an
    // empty document.
    static IniDocument Load(const QString& path);
    static IniDocument FromBytes(const QByteArray& bytes);
    static IniDocument Parse(const QString& text);

    // true and the value when section and key exist.
    bool Value(const QString& section, const QString& key, QString* value) const;
    // Replaces the first matching key, or appends the key (and the section when
    // new). Line breaks in the value become blanks. true when the file changed.
    bool SetValue(const QString& section, const QString& key, const QString& value);
    void RemoveKey(const QString& section, const QString& key);
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    QByteArray ToBytes() const;
    QString ToText() const;
    // Writes through a temporary file in the same folder and a rename, so a
    // crash never leaves half a file. false when it could not be written.
    bool Save(const QString& path) const;

private:
    struct Line {
        QByteArray raw;   // the bytes of the line, with its line ending
        QString section;  // the section it belongs to (for key lines) or names (for headers)
        QString key;      // empty unless a key line
        bool header = false;
        bool utf8 = true; // how its bytes decode
    };
    static QString Text(const Line& line);  // decoded, without the line ending
    int Find(const QString& section, const QString& key) const;
    void Index(const Line& line, int at);
    void Reindex();
    QByteArray LineEnding() const;

    QByteArray source_;  // the bytes read; unchanged lines are views into them
    QVector<Line> lines_;
    // Folded section name -> folded key -> its first line.
    QHash<QString, QHash<QString, int>> index_;
};

// Texts the user typed are stored on one line and come back whole: "\" as
// "\\", line breaks as "\n" and "\r", tabs as "\t", and blanks at either end
// (which the format trims) as "\uXXXX". Any other backslash reads as itself,
// so values written before this escaping read as they were.
QString EscapeText(const QString& text);
QString UnescapeText(const QString& stored);

} // namespace gw
