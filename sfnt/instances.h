#pragma once
// The named instances of a variable font (its 'fvar' table) and the face
// numbers that stand for them. A face number's low 16 bits number the font in
// a collection; its high 16 bits are 0 for the font as stored, else the named
// instance's number plus one (as fontconfig and FreeType number them).
#include <QByteArray>
#include <QList>
#include <QString>

namespace gw {

constexpr int FontOfFace(int faceIndex) { return faceIndex & 0xFFFF; }
// 0: the font as stored; n: named instance n - 1.
constexpr int InstanceOfFace(int faceIndex) { return (faceIndex >> 16) & 0x7FFF; }
constexpr int InstanceFace(int font, int instance) { return font | ((instance + 1) << 16); }

struct FvarInstance {
    int subfamilyNameId = 0;
    int postScriptNameId = -1;  // -1: none given
    QList<double> coordinates;  // one per axis, in the axes' order
};

// The named instances an 'fvar' table lists; empty for a damaged table.
QList<FvarInstance> ReadFvarInstances(const QByteArray& fvar);

// Whether a face the font system reads from a file is one of the file's
// styles: a variable font's named instances are, the font as stored and the
// whole variable font are not (they would repeat a style); a font without
// named instances is its one style. namedInstances: how many the font lists.
bool IsListedFace(int faceIndex, bool wholeVariableFont, int namedInstances);

// Every style of the font file at `path` by face number: each font of a
// collection, a variable font by its named instances.
QList<int> FileStyleFaces(const QString& path);

} // namespace gw
