// The font registrations, read from what fontconfig lists: one value per
// TrueType/OpenType style. Deleting hides the file through the reject file.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QList>
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

// The values, sorted by name, and their index by folded name: one per
// TrueType/OpenType style name, the user's own copy before another, else the
// first by file and face; then the values set in this process.
void ListValues(SetValues& set)
{
    const QString userFolder = QDir::cleanPath(DesktopUserFontFolder()) + QLatin1Char('/');
    const auto inUserFolder = [&](const QString& file) {
        return file.startsWith(userFolder) && file.indexOf(QLatin1Char('/'), userFolder.size()) < 0;
    };
    struct Named {
        QString folded;
        Value value;
        const DesktopFace* face = nullptr;  // null for a value set in this process
        bool user = false;
    };
    QVector<Named> named;
    QHash<QString, int> byName;  // folded name -> index in named
    const QVector<DesktopFace> faces = DesktopFontFaces();
    named.reserve(faces.size());
    byName.reserve(faces.size());
    for (const DesktopFace& face : faces) {
        if (face.fontType != TRUETYPE_FONTTYPE)
            continue;
        const bool user = inUserFolder(face.file);
        const QString name = face.fullName + QStringLiteral(" (TrueType)");
        QString folded = FoldCase(name);
        const auto it = byName.constFind(folded);
        if (it != byName.constEnd()) {
            const Named& kept = named[*it];
            const bool better = user != kept.user ? user
                                                  : face.file < kept.face->file
                                                        || (face.file == kept.face->file && face.index < kept.face->index);
            if (!better)
                continue;
            named[*it] = Named{std::move(folded), Value(name, user ? face.file.mid(userFolder.size()) : face.file),
                               &face, user};
            continue;
        }
        byName.insert(folded, named.size());
        named.append(Named{std::move(folded), Value(name, user ? face.file.mid(userFolder.size()) : face.file),
                           &face, user});
    }
    const QStringList hidden = DesktopHiddenFiles();
    for (const Value& v : set.values) {
        if (hidden.contains(FileOfData(v.second)))
            continue;
        QString folded = FoldCase(v.first);
        const auto it = byName.constFind(folded);
        if (it == byName.constEnd()) {
            byName.insert(folded, named.size());
            named.append(Named{std::move(folded), v});
        } else {
            named[*it].value = v;
        }
    }
    // The names are unique once folded: sorting the folded names sorts the values.
    std::sort(named.begin(), named.end(), [](const Named& a, const Named& b) { return a.folded < b.folded; });
    set.listed.clear();
    set.listed.reserve(named.size());
    set.listedIndex.clear();
    set.listedIndex.reserve(named.size());
    for (Named& n : named) {
        set.listedIndex.insert(n.folded, set.listed.size());
        set.listed.append(std::move(n.value));
    }
}

QList<Value> ReadValues(SetValues& set)
{
    const int generation = DesktopFacesGeneration();
    if (set.listedRevision != set.revision || set.listedGeneration != generation) {
        ListValues(set);
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
