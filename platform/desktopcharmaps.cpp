// The characters of a font file as fontconfig reads them through FreeType:
// the same answer for TrueType, CFF OpenType, collections and Type 1 files.
#include <fontconfig/fontconfig.h>

#include "platform/desktop.h"

namespace gw {

namespace {

class DesktopCharacterMaps : public CharacterMaps {
public:
    bool CharacterMap(const QString& fontFile, int index, QSet<uint>* characters) override
    {
        characters->clear();
        int count = 0;
        FcPattern* pattern = FcFreeTypeQuery(
            reinterpret_cast<const FcChar8*>(fontFile.toUtf8().constData()), index, nullptr, &count);
        if (!pattern)
            return false;
        FcCharSet* set = nullptr;
        if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &set) == FcResultMatch && set) {
            FcChar32 map[FC_CHARSET_MAP_SIZE];
            FcChar32 next = 0;
            for (FcChar32 base = FcCharSetFirstPage(set, map, &next); base != FC_CHARSET_DONE;
                 base = FcCharSetNextPage(set, map, &next)) {
                for (int word = 0; word < FC_CHARSET_MAP_SIZE; ++word)
                    for (int bit = 0; bit < 32; ++bit)
                        if (map[word] & (1u << bit))
                            characters->insert(base + uint(word) * 32 + uint(bit));
            }
        }
        FcPatternDestroy(pattern);
        return true;
    }
};

} // namespace

std::unique_ptr<CharacterMaps> MakeDesktopCharacterMaps()
{
    return std::make_unique<DesktopCharacterMaps>();
}

} // namespace gw
