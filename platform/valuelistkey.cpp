#include "platform/valuelistkey.h"

#include <algorithm>

#include "core/helpers.h"

namespace gw {

int FindRegValue(const QList<RegValue>& values, const QString& name)
{
    for (int i = 0; i < values.size(); ++i)
        if (values[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

long ValueListKey::QueryValue(const QString& name, QString* data)
{
    const int i = Find(name);
    if (i < 0)
        return ERROR_FILE_NOT_FOUND;
    if (data)
        *data = Values()[i].second;
    return ERROR_SUCCESS;
}

long ValueListKey::QueryInfo(int* valueCount, int* maxNameLength, int* maxDataLength)
{
    int longestName = 0, longestData = 0;
    for (const RegValue& v : Values()) {
        longestName = std::max(longestName, static_cast<int>(v.first.size()));
        longestData = std::max(longestData, static_cast<int>(v.second.size()));
    }
    if (valueCount)
        *valueCount = Values().size();
    if (maxNameLength)
        *maxNameLength = longestName;
    if (maxDataLength)
        *maxDataLength = longestData;
    return ERROR_SUCCESS;
}

long ValueListKey::EnumValue(int index, QString* name, QString* data)
{
    if (index < 0 || index >= Values().size())
        return ERROR_NO_MORE_ITEMS;
    if (name)
        *name = Values()[index].first;
    if (data)
        *data = Values()[index].second;
    return ERROR_SUCCESS;
}

long ValueListKey::SetValue(const QString& name, const QString& data)
{
    if (!writable_)
        return ERROR_ACCESS_DENIED;
    Store(name, data);
    return ERROR_SUCCESS;
}

long ValueListKey::DeleteValue(const QString& name)
{
    if (!writable_)
        return ERROR_ACCESS_DENIED;
    const int i = Find(name);
    if (i < 0)
        return ERROR_FILE_NOT_FOUND;
    return Remove(i) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

} // namespace gw
