#pragma once
// A variable font's named instance as a static TrueType font file of its own:
// every glyph's outline and advance at the instance's coordinates, named
// after the instance. A PDF writer embeds a font's stored outlines, which are
// the default instance's; printing an instance embeds such a copy instead.
#include <QHash>
#include <QString>

namespace gw {

// Writes named instance InstanceOfFace(faceIndex) of face FontOfFace(faceIndex)
// of fontFile (the face as stored when faceIndex names no instance) to target,
// TrueType outlines also of a CFF or CFF2 font. Its names: family and full
// name "Family Instance" (a family no other file has), style "Regular",
// PostScript name the one the font gives the instance, else "Family-Instance"
// without spaces. Returns why it could not be written, empty on success.
QString WriteStaticInstance(const QString& fontFile, int faceIndex, const QString& target,
                            QString* postScriptName = nullptr);

// OS/2 usWidthClass (1-9) of a wdth axis value (percent of normal): the
// nearest class, the narrower one on a tie.
int WidthClass(double percent);
// OS/2 usWeightClass of a wght axis value: rounded, within 1 to 1000.
int WeightClass(double weight);

// Static copies made on first use, in the program folder under the program's
// own prefix (a killed run's are removed at the next start); removed with
// this object.
class StaticInstanceFiles {
public:
    StaticInstanceFiles() = default;
    StaticInstanceFiles(const StaticInstanceFiles&) = delete;
    StaticInstanceFiles& operator=(const StaticInstanceFiles&) = delete;
    ~StaticInstanceFiles();
    // The copy of named instance faceIndex of fontFile; empty, with *error
    // saying why, when it cannot be made.
    QString FileOf(const QString& fontFile, int faceIndex, QString* error = nullptr);

private:
    struct Made {
        QString file;
        QString error;
    };
    QHash<QString, Made> made_;
};

// The copies the screen draws instances from, for this process's life.
StaticInstanceFiles& ScreenInstanceFiles();

} // namespace gw
