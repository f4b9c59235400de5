#pragma once
// Which characters a font itself has, so that a key caption is never drawn
// with a glyph borrowed from another font.
//
// Kept apart on purpose: the previews are getting shared glyph-coverage
// functions; when they exist this class should become a thin wrapper of them.
#include <QFont>
#include <QRawFont>
#include <QString>

namespace gw {

class GlyphCoverage {
public:
    // No font chosen: the window's own font, which answers for everything.
    GlyphCoverage() = default;
    // The font file when known (the enumeration record's); else the font Qt
    // finds for `font`, only when it is that family and not a substitute.
    GlyphCoverage(const QFont& font, const QString& file);

    bool Has(QChar ch) const;

private:
    bool any_ = true;
    QRawFont raw_;
};

} // namespace gw
