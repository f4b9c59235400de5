#include "sfnt/instances.h"

#include "sfnt/reader.h"
#include "sfnt/sfnt.h"

namespace gw {

QList<FvarInstance> ReadFvarInstances(const QByteArray& fvar)
{
    const BoundedReader table(fvar);
    quint16 axesOffset = 0, axisCount = 0, axisSize = 0, count = 0, size = 0;
    if (!table.U16(4, axesOffset) || !table.U16(8, axisCount) || !table.U16(10, axisSize) || !table.U16(12, count)
        || !table.U16(14, size) || axisCount == 0 || size < 4 + 4 * axisCount)
        return {};
    QList<FvarInstance> instances;
    const qint64 first = qint64(axesOffset) + qint64(axisCount) * axisSize;
    for (int i = 0; i < count; ++i) {
        const qint64 at = first + qint64(i) * size;
        FvarInstance instance;
        quint16 nameId = 0;
        if (!table.Fits(at, size) || !table.U16(at, nameId))
            return {};
        instance.subfamilyNameId = nameId;
        for (int a = 0; a < axisCount; ++a) {
            quint32 fixed = 0;
            table.U32(at + 4 + 4 * a, fixed);
            instance.coordinates.append(qint32(fixed) / 65536.0);
        }
        quint16 psId = 0xFFFF;
        if (size >= 6 + 4 * axisCount && table.U16(at + 4 + 4 * axisCount, psId) && psId != 0xFFFF)
            instance.postScriptNameId = psId;
        instances.append(instance);
    }
    return instances;
}

bool IsListedFace(int faceIndex, bool wholeVariableFont, int namedInstances)
{
    if (wholeVariableFont)
        return false;
    const int instance = InstanceOfFace(faceIndex);
    // FreeType adds the default as an instance of its own when no named one
    // has its coordinates: not one the font names.
    return instance == 0 ? namedInstances == 0 : instance <= namedInstances;
}

QList<int> FileStyleFaces(const QString& path)
{
    QList<int> faces;
    const int fonts = FileFaceCount(path);
    for (int font = 0; font < fonts; ++font) {
        const qsizetype instances = ReadFvarInstances(FileTable(path, "fvar", font)).size();
        if (instances == 0)
            faces.append(font);
        for (int i = 0; i < instances; ++i)
            faces.append(InstanceFace(font, i));
    }
    return faces;
}

} // namespace gw
