// "ATM.INI": a real file in the data folder when there is one, else the Type 1
// fonts fontconfig lists, presented in that file's layout.
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <algorithm>
#include <optional>

#include "core/helpers.h"
#include "core/inifile.h"
#include "platform/desktop.h"

namespace gw {

namespace {

// The key the enumeration forms for a style: the face alone for the plain
// style, else face + "," + weight name, "Italic" appended without a blank.
QString FontsKey(const DesktopFace& face)
{
    const QString style = EnumStyleText(face.weight, face.italic() ? 1 : 0);
    if (style == "Normal")
        return face.family;
    return face.family + "," + style.toUpper();
}

QString MostCommonFolder(const QStringList& files)
{
    QMap<QString, int> count;
    for (const QString& f : files)
        ++count[QFileInfo(f).absolutePath()];
    QString best;
    int bestCount = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

IniDocument BuildView()
{
    QVector<DesktopFace> faces = DesktopFontFaces();
    faces.erase(std::remove_if(faces.begin(), faces.end(),
                               [](const DesktopFace& f) { return f.fontType != DEVICE_FONTTYPE; }),
                faces.end());
    // Of one style kept in several files, the one with metrics, then by name.
    std::stable_sort(faces.begin(), faces.end(), [](const DesktopFace& a, const DesktopFace& b) {
        if (a.metricsFile.isEmpty() != b.metricsFile.isEmpty())
            return !a.metricsFile.isEmpty();
        return a.file < b.file;
    });
    QMap<QString, DesktopFace> byKey; // upper-cased key, so the order is stable
    QHash<QString, QString> keyText;
    for (const DesktopFace& f : faces) {
        const QString key = FontsKey(f);
        if (!byKey.contains(key.toUpper())) {
            byKey.insert(key.toUpper(), f);
            keyText.insert(key.toUpper(), key);
        }
    }

    IniDocument view;
    if (!byKey.isEmpty())
        view.SetValue("Settings", "ATM", "On");
    view.SetValue("Settings", "Version", DesktopFontconfigVersion());
    QStringList metrics, outlines;
    for (const DesktopFace& f : byKey) {
        outlines << f.file;
        if (!f.metricsFile.isEmpty())
            metrics << f.metricsFile;
    }
    const QString outlineFolder = MostCommonFolder(outlines);
    const QString metricsFolder = metrics.isEmpty() ? outlineFolder : MostCommonFolder(metrics);
    view.SetValue("Setup", "PFM_DIR", metricsFolder);
    view.SetValue("Setup", "PFB_Dir", outlineFolder);
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        view.SetValue("Fonts", keyText.value(it.key()), it.value().metricsFile + "," + it.value().file);
    return view;
}

class DesktopAtmProfile : public AtmProfile {
public:
    QString GetProfileString(const QString& section, const QString& key, const QString& def) override
    {
        QString value;
        const QString folder = DesktopDataHome();
        for (const char* name : {"/ATM.INI", "/atm.ini"}) {
            const QString path = folder + name;
            if (QFileInfo(path).isFile())
                return IniDocument::Load(path).Value(section, key, &value) ? value : def;
        }
        const int generation = DesktopFacesGeneration();
        if (!view_ || viewGeneration_ != generation) {
            view_ = BuildView();
            viewGeneration_ = generation;
        }
        return view_->Value(section, key, &value) ? value : def;
    }

private:
    std::optional<IniDocument> view_;
    int viewGeneration_ = -1;
};

} // namespace

std::unique_ptr<AtmProfile> MakeDesktopAtmProfile()
{
    return std::make_unique<DesktopAtmProfile>();
}

} // namespace gw
