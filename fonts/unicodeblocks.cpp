#include "fonts/unicodeblocks.h"

#include <unicode/uchar.h>
#include <unicode/uset.h>

#include <QHash>
#include <algorithm>
#include <memory>

namespace gw {

namespace {

// The range and name of a block, found once per block.
const UnicodeBlock& BlockOf(int code)
{
    static QHash<int, UnicodeBlock> blocks;
    auto it = blocks.find(code);
    if (it != blocks.end())
        return *it;
    UnicodeBlock block;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<USet, void (*)(USet*)> set(uset_openEmpty(), uset_close);
    uset_applyIntPropertyValue(set.get(), UCHAR_BLOCK, code, &status);
    UChar32 first = 0;
    UChar32 last = 0;
    if (U_SUCCESS(status) && uset_getItemCount(set.get()) > 0) {
        uset_getItem(set.get(), 0, &first, &last, nullptr, 0, &status);
        block.first = uint(first);
        block.last = uint(last);
    }
    const char* name = u_getPropertyValueName(UCHAR_BLOCK, code, U_LONG_PROPERTY_NAME);
    block.name = QString::fromLatin1(name ? name : "").replace(QLatin1Char('_'), QLatin1Char(' '));
    return *blocks.insert(code, block);
}

} // namespace

QList<UnicodeBlock> BlocksCovered(const QSet<uint>& characters)
{
    QHash<int, int> counts;
    for (uint c : characters) {
        const int code = c <= 0x10FFFF ? ublock_getCode(UChar32(c)) : UBLOCK_NO_BLOCK;
        if (code != UBLOCK_NO_BLOCK && code != UBLOCK_INVALID_CODE)
            ++counts[code];
    }
    QList<UnicodeBlock> blocks;
    blocks.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        UnicodeBlock block = BlockOf(it.key());
        block.count = it.value();
        blocks.append(block);
    }
    std::sort(blocks.begin(), blocks.end(),
              [](const UnicodeBlock& a, const UnicodeBlock& b) { return a.first < b.first; });
    return blocks;
}

QString CharacterName(uint code)
{
    if (code > 0x10FFFF)
        return QString();
    char name[256];
    UErrorCode status = U_ZERO_ERROR;
    const int length = u_charName(UChar32(code), U_EXTENDED_CHAR_NAME, name, sizeof name, &status);
    return U_SUCCESS(status) ? QString::fromLatin1(name, length) : QString();
}

QString CharacterReadout(uint code)
{
    const QString point = QStringLiteral("U+%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    const QString name = CharacterName(code);
    return name.isEmpty() ? point : point + QLatin1Char(' ') + name;
}

} // namespace gw
