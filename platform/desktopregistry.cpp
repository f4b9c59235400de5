// The font registrations, read from what fontconfig lists: one value per
// TrueType/OpenType style. Deleting hides the file through the reject file.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QMap>
#include <algorithm>
#include <memory>

#include "core/helpers.h"
#include "platform/desktop.h"
#include "platform/valuelistkey.h"

namespace gw {

namespace {

using Value = RegValue;

// Values set in this process, listed even before fontconfig sees their file;
// and the last listing, reused while neither they nor the fonts changed, since
// every font look-up opens the key.
struct SetValues {
    QList<Value> values;
    int revision = 0;
    int listedRevision = -1;
    int listedGeneration = -1;
    QList<Value> listed;
    QHash<QString, int> listedIndex;
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

// The reject file cannot be parsed: it is the user's text and stays as it is.
// Says so and answers true; false when it can be used.
bool RejectFileUnreadable(const QString& file)
{
    bool readable = true;
    DesktopHiddenFiles(&readable);
    if (readable)
        return false;
    if (Sys().messages)
        Sys().messages->MsgBox(QStringLiteral("The fontconfig file ") + DesktopRejectFilePath()
                                   + QStringLiteral(" cannot be read, so Glyphwick leaves it unchanged: ") + file
                                   + QStringLiteral(" stays installed."),
                               vbExclamation, QStringLiteral("Glyphwick"));
    return true;
}

QList<Value> ListValues(const SetValues& set)
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
        const QString key = FoldCase(value.first);
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
        const QString key = FoldCase(v.first);
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

QList<Value> ReadValues(SetValues& set)
{
    const int generation = DesktopFacesGeneration();
    if (set.listedRevision != set.revision || set.listedGeneration != generation) {
        set.listed = ListValues(set);
        set.listedIndex = IndexRegValues(set.listed);
        set.listedRevision = set.revision;
        set.listedGeneration = DesktopFacesGeneration();
    }
    return set.listed;
}

class DesktopRegistryKey : public ValueListKey {
public:
    DesktopRegistryKey(std::shared_ptr<SetValues> set, bool writable)
        : ValueListKey(writable), set_(std::move(set)), values_(ReadValues(*set_)), index_(set_->listedIndex)
    {
    }

protected:
    const QList<Value>& Values() const override { return values_; }
    int Find(const QString& name) const override { return index_.value(FoldCase(name), -1); }

    void Store(const QString& name, const QString& data) override
    {
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
        const int i = FindRegValue(set_->values, name);
        if (i >= 0)
            set_->values[i] = Value(name, stored);
        else
            set_->values.append(Value(name, stored));
        ++set_->revision;
        values_ = ReadValues(*set_);
        index_ = set_->listedIndex;
    }

    bool Remove(int index) override
    {
        // The value stays while its file cannot be hidden (reject file not writable).
        const QString file = QDir::cleanPath(FileOfData(values_[index].second));
        if (RejectFileUnreadable(file))
            return false;
        if (!DesktopSetHidden(file, true) && !DesktopHiddenFiles().contains(file))
            return false;
        const int s = FindRegValue(set_->values, values_[index].first);
        if (s >= 0)
            set_->values.removeAt(s);
        ++set_->revision;
        values_ = ReadValues(*set_);
        index_ = set_->listedIndex;
        return true;
    }

private:
    std::shared_ptr<SetValues> set_;
    QList<Value> values_;
    QHash<QString, int> index_;
};

class DesktopRegistry : public Registry {
public:
    long OpenKey(const QString&, uint32_t access, std::unique_ptr<RegistryKey>* key) override
    {
        *key = std::make_unique<DesktopRegistryKey>(set_, ValueListKey::Writable(access));
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
