// The font registrations, read from what fontconfig lists: one value per
// TrueType/OpenType style. Deleting hides the file through the reject file.
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QPair>
#include <algorithm>
#include <memory>

#include "platform/desktop.h"

namespace gw {

namespace {

using Value = QPair<QString, QString>;

// Values set in this process, listed even before fontconfig sees their file.
struct SetValues {
    QList<Value> values;
    int Find(const QString& name) const
    {
        for (int i = 0; i < values.size(); ++i)
            if (values[i].first.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
};

QString FileOfData(const QString& data)
{
    if (data.contains('/'))
        return QDir::cleanPath(data);
    return DesktopUserFontFolder() + "/" + data;
}

bool InUserFontFolder(const QString& file)
{
    return QFileInfo(file).absolutePath() == QDir::cleanPath(DesktopUserFontFolder());
}

QList<Value> ReadValues(const SetValues& set)
{
    const QString userFolder = QDir::cleanPath(DesktopUserFontFolder());
    QList<Value> values;
    QMap<QString, int> byName; // lower-cased name -> index in values
    QVector<DesktopFace> faces = DesktopFontFaces();
    std::stable_sort(faces.begin(), faces.end(), [](const DesktopFace& a, const DesktopFace& b) {
        return a.file < b.file || (a.file == b.file && a.index < b.index);
    });
    for (const DesktopFace& face : faces) {
        if (face.fontType != TRUETYPE_FONTTYPE)
            continue;
        const bool user = QFileInfo(face.file).absolutePath() == userFolder;
        const Value value(face.fullName + " (TrueType)",
                          user ? QFileInfo(face.file).fileName() : face.file);
        const QString key = value.first.toLower();
        auto it = byName.find(key);
        if (it == byName.end()) {
            byName.insert(key, values.size());
            values.append(value);
        } else if (user && values[*it].second.contains('/')) {
            // The user's own copy is the one installed.
            values[*it] = value;
        }
    }
    const QStringList hidden = DesktopHiddenFiles();
    for (const Value& v : set.values) {
        if (hidden.contains(FileOfData(v.second)))
            continue;
        const QString key = v.first.toLower();
        auto it = byName.find(key);
        if (it == byName.end()) {
            byName.insert(key, values.size());
            values.append(v);
        } else {
            values[*it] = v;
        }
    }
    std::stable_sort(values.begin(), values.end(), [](const Value& a, const Value& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    return values;
}

class DesktopRegistryKey : public RegistryKey {
public:
    DesktopRegistryKey(std::shared_ptr<SetValues> set, bool writable)
        : set_(std::move(set)), writable_(writable), values_(ReadValues(*set_))
    {
    }

    long QueryValue(const QString& name, QString* data) override
    {
        const int i = Find(name);
        if (i < 0)
            return ERROR_FILE_NOT_FOUND;
        if (data)
            *data = values_[i].second;
        return ERROR_SUCCESS;
    }

    long QueryInfo(int* valueCount, int* maxNameLength, int* maxDataLength) override
    {
        int longestName = 0, longestData = 0;
        for (const Value& v : values_) {
            longestName = std::max(longestName, static_cast<int>(v.first.size()));
            longestData = std::max(longestData, static_cast<int>(v.second.size()));
        }
        if (valueCount)
            *valueCount = values_.size();
        if (maxNameLength)
            *maxNameLength = longestName;
        if (maxDataLength)
            *maxDataLength = longestData;
        return ERROR_SUCCESS;
    }

    long EnumValue(int index, QString* name, QString* data) override
    {
        if (index < 0 || index >= values_.size())
            return ERROR_NO_MORE_ITEMS;
        if (name)
            *name = values_[index].first;
        if (data)
            *data = values_[index].second;
        return ERROR_SUCCESS;
    }

    long SetValue(const QString& name, const QString& data) override
    {
        if (!writable_)
            return ERROR_ACCESS_DENIED;
        const QString file = FileOfData(data);
        QString stored = data;
        // Registering a file again lifts its mark; the configuration in use
        // still rejects it until it is reloaded.
        if (DesktopSetHidden(file, false))
            DesktopReloadFonts();
        if (InUserFontFolder(file)) {
            // Read back as every file of that folder is: by its bare name.
            stored = QFileInfo(file).fileName();
            if (QFileInfo(file).isFile())
                DesktopEnsureFontAdded(file);
            DesktopRescanUserFonts();
        }
        const int i = set_->Find(name);
        if (i >= 0)
            set_->values[i] = Value(name, stored);
        else
            set_->values.append(Value(name, stored));
        values_ = ReadValues(*set_);
        return ERROR_SUCCESS;
    }

    long DeleteValue(const QString& name) override
    {
        if (!writable_)
            return ERROR_ACCESS_DENIED;
        const int i = Find(name);
        if (i < 0)
            return ERROR_FILE_NOT_FOUND;
        DesktopSetHidden(FileOfData(values_[i].second), true);
        const int s = set_->Find(name);
        if (s >= 0)
            set_->values.removeAt(s);
        values_ = ReadValues(*set_);
        return ERROR_SUCCESS;
    }

private:
    // Value names match without regard to case, as the system's do.
    int Find(const QString& name) const
    {
        for (int i = 0; i < values_.size(); ++i)
            if (values_[i].first.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    std::shared_ptr<SetValues> set_;
    bool writable_;
    QList<Value> values_;
};

class DesktopRegistry : public Registry {
public:
    long OpenKey(const QString&, uint32_t access, std::unique_ptr<RegistryKey>* key) override
    {
        // KEY_SET_VALUE is the bit that allows changes.
        const bool writable = (access & 0x0002) != 0;
        *key = std::make_unique<DesktopRegistryKey>(set_, writable);
        return ERROR_SUCCESS;
    }

private:
    std::shared_ptr<SetValues> set_ = std::make_shared<SetValues>();
};

} // namespace

std::unique_ptr<Registry> MakeDesktopRegistry()
{
    return std::make_unique<DesktopRegistry>();
}

} // namespace gw
