#pragma once
// The profile ("INI") file format: sections in brackets, key=value lines.
// Section and key names match without regard to case. Lines the program does
// not understand (comments, blank lines, junk) are kept as they are.
#include <QString>
#include <QStringList>
#include <QVector>

namespace gw {

class IniDocument {
public:
    // A missing or unreadable file gives an empty document.
    static IniDocument Load(const QString& path);
    static IniDocument Parse(const QString& text);

    // true and the value when section and key exist.
    bool Value(const QString& section, const QString& key, QString* value) const;
    // Replaces the first matching key, or appends the key (and the section when new).
    void SetValue(const QString& section, const QString& key, const QString& value);
    void RemoveKey(const QString& section, const QString& key);
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    QString ToText() const;
    // Writes through a temporary file in the same folder and a rename, so a
    // crash never leaves half a file. false when it could not be written.
    bool Save(const QString& path) const;

private:
    struct Line {
        QString raw;      // the line as read (or as written by SetValue)
        QString section;  // the section it belongs to (for key lines) or names (for headers)
        QString key;      // empty unless a key line
        bool header = false;
    };
    QVector<Line> lines_;
};

} // namespace gw
