#pragma once
// Unicode character names and blocks, as ICU knows them.
#include <QList>
#include <QSet>
#include <QString>

namespace gw {

// One Unicode block: its whole range, its name ("Greek And Coptic") and how
// many characters of a given set lie in it.
struct UnicodeBlock {
    uint first = 0;
    uint last = 0;
    QString name;
    int count = 0;
};

// The blocks that hold at least one of the characters, in code order.
// Characters outside every block (unassigned planes) are not counted.
QList<UnicodeBlock> BlocksCovered(const QSet<uint>& characters);

// The character's Unicode name ("COPYRIGHT SIGN"); characters without one
// get ICU's label in angle brackets ("<control-0009>", "<unassigned-0378>").
QString CharacterName(uint code);

// "U+00A9 COPYRIGHT SIGN": the code point and its name.
QString CharacterReadout(uint code);

} // namespace gw
