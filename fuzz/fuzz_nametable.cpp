// The naming table parser on any bytes.
#include <cstddef>
#include <cstdint>

#include "sfnt/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    gw::FontNameInfo info;
    gw::ReadNameTableBytes(file, info);

    // Every text is copied out of the file, so none can be longer than half of it.
    for (const QString* field : {&info.copyright, &info.family, &info.subfamily, &info.uniqueId,
                                 &info.fullName, &info.version, &info.trademark}) {
        if (size_t(field->size()) > size / 2)
            __builtin_trap();
    }
    if (!info.postscriptName.isEmpty())
        __builtin_trap();
    return 0;
}
