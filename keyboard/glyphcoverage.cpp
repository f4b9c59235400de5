#include "keyboard/glyphcoverage.h"

#include <QFileInfo>
#include <QFontInfo>

namespace gw {

GlyphCoverage::GlyphCoverage(const QFont& font, const QString& file) : any_(false)
{
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        raw_ = QRawFont(file, 16);
        if (raw_.isValid())
            return;
    }
    if (QFontInfo(font).family().compare(font.family(), Qt::CaseInsensitive) == 0)
        raw_ = QRawFont::fromFont(font);
}

bool GlyphCoverage::Has(QChar ch) const
{
    if (any_)
        return true;
    return raw_.isValid() && raw_.supportsCharacter(ch);
}

} // namespace gw
