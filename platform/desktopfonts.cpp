// Fonts on the desktop: fontconfig's list, the fonts this process adds, the
// reject file that hides uninstalled fonts from every program.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QVarLengthArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <climits>
#include <optional>
#include <cmath>
#include <cstring>

#include <fontconfig/fontconfig.h>

#include "core/helpers.h"
#include "platform/desktop.h"
#include "platform/desktopindex.h"
#include "sfnt/fot.h"
#include "sfnt/instances.h"
#include "sfnt/names.h"
#include "sfnt/sfnt.h"

namespace gw {

namespace {

QString EnvFolder(const char* variable, const QString& underHome)
{
    QString dir = QString::fromLocal8Bit(qgetenv(variable));
    // The XDG rules ignore relative values.
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
        dir = QDir::homePath() + "/" + underHome;
    return QDir::cleanPath(dir);
}

QStringList FcStrings(FcPattern* pattern, const char* object)
{
    QStringList list;
    FcChar8* s = nullptr;
    for (int i = 0; FcPatternGetString(pattern, object, i, &s) == FcResultMatch; ++i)
        list << QString::fromUtf8(reinterpret_cast<const char*>(s));
    return list;
}

} // namespace

bool IsCleanPath(const QString& path)
{
    // Each part between slashes must be neither empty nor "." nor "..".
    if (!path.startsWith(QLatin1Char('/')) || path.size() < 2)
        return false;
    qsizetype partStart = 1;
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path.at(i) != QLatin1Char('/'))
            continue;
        const QStringView part = QStringView(path).mid(partStart, i - partStart);
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
        partStart = i + 1;
    }
    return true;
}

namespace {

// A pattern's values of one object as fontconfig keeps them, not copied: a
// listing reads several per face and converts only those it keeps.
class FcValues {
public:
    FcValues(FcPattern* pattern, const char* object)
    {
        FcChar8* s = nullptr;
        while (FcPatternGetString(pattern, object, values_.size(), &s) == FcResultMatch)
            values_.append(reinterpret_cast<const char*>(s));
    }
    int size() const { return int(values_.size()); }
    bool isEmpty() const { return values_.isEmpty(); }
    const char* at(int i) const { return values_[i]; }
    QString Text(int i) const { return i >= 0 && i < size() ? QString::fromUtf8(values_[i]) : QString(); }
    // Whether value i is an English language tag ("en", "en-us").
    bool IsEnglish(int i) const
    {
        const char* lang = i < size() ? values_[i] : nullptr;
        return lang && lang[0] == 'e' && lang[1] == 'n' && (lang[2] == '\0' || lang[2] == '-');
    }
    // The first of the first `count` values that is English; 0 when none is.
    int FirstEnglish(int count) const
    {
        for (int i = 0; i < count; ++i)
            if (IsEnglish(i))
                return i;
        return 0;
    }

private:
    QVarLengthArray<const char*, 8> values_;
};

bool IsSfntFile(const QString& file)
{
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot > file.lastIndexOf(QLatin1Char('/'))) {
        const QStringView suffix = QStringView(file).mid(dot + 1);
        for (const char* sfnt : {"ttf", "otf", "ttc", "otc"})
            if (suffix.compare(QLatin1String(sfnt), Qt::CaseInsensitive) == 0)
                return true;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return IsSfntSignature(f.read(4));
}

QString MetricsBeside(const QString& outline)
{
    const QFileInfo info(outline);
    const QString base = info.path() + "/" + info.completeBaseName();
    for (const char* ext : {".afm", ".pfm", ".AFM", ".PFM"})
        if (QFileInfo::exists(base + ext))
            return base + ext;
    return {};
}

bool HaveGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// A face of an added file that can be drawn from the file, with its family names.
struct AddedStyle {
    QStringList families;
    AddedFace face;
};

// A path added with DesktopAddFont; refs counts the adds not yet removed.
struct AddedFont {
    QString path;  // as the caller gave it (may be a ".fot")
    QString file;  // the font file itself
    int refs = 0;
    int qtId = -1;
    int faces = 0;
    bool listed = true;  // false: added for drawing only
    QVector<AddedStyle> styles;
};

QVector<AddedFont>& Added()
{
    static QVector<AddedFont> added;
    return added;
}

// The faces of the added files by case-folded family name, so that a look-up
// does not walk thousands of added fonts. Made again after a removal.
struct AddedFamilies {
    QHash<QString, QVector<AddedFace>> faces;
    bool valid = true;

    void Add(const AddedFont& font)
    {
        for (const AddedStyle& style : font.styles)
            for (const QString& family : style.families)
                faces[FoldCase(family)].append(style.face);
    }
};

AddedFamilies& AddedIndex()
{
    static AddedFamilies index;
    return index;
}

const QHash<QString, QVector<AddedFace>>& AddedFamilyFaces()
{
    AddedFamilies& index = AddedIndex();
    if (!index.valid) {
        index.faces.clear();
        for (const AddedFont& font : Added())
            index.Add(font);
        index.valid = true;
    }
    return index.faces;
}

// Qt and fontconfig can only drop their application fonts all at once and read
// every remaining file again; removals are therefore gathered and the rest is
// put back once, when next needed (not once per removed font).
bool& RebuildPending()
{
    static bool pending = false;
    return pending;
}

void EnsureAppFonts();
void InvalidateFaces();

void RebuildAppFonts()
{
    if (!RebuildPending())
        return;
    RebuildPending() = false;
    const bool gui = HaveGui();
    if (gui)
        QFontDatabase::removeAllApplicationFonts();
    FcConfigAppFontClear(FcConfigGetCurrent());
    for (AddedFont& a : Added())
        a.qtId = gui && a.listed ? QFontDatabase::addApplicationFont(a.file) : -1;
    if (gui)
        QFontDatabase::families(); // let Qt register them before the gaps are filled
    EnsureAppFonts();
}

// Qt drops every application font of fontconfig whenever it rebuilds its own
// database, and a reload starts from a fresh configuration; put ours back.
void EnsureAppFonts()
{
    if (Added().isEmpty())
        return;
    FcConfig* config = FcConfigGetCurrent();
    // Readings per file: Qt's reading of a variable font lacks its named instances.
    QHash<QString, int> present;
    if (FcFontSet* set = FcConfigGetFonts(config, FcSetApplication)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch)
                ++present[QString::fromUtf8(reinterpret_cast<const char*>(file))];
        }
    }
    for (const AddedFont& a : Added()) {
        if (a.listed && present.value(a.file) < a.faces) {
            FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(a.file.toUtf8().constData()));
            present[a.file] += a.faces;
        }
    }
}

// The files of fonts added for drawing only, counted per add entry.
QHash<QString, int>& DrawingOnlyFiles()
{
    static QHash<QString, int> files;
    return files;
}

// Fonts added for drawing only that the toolkit was shown for a run to draw
// them. The toolkit walks every family it knows for each font it loads, so
// only a few are shown at once: the oldest go all together, since each
// removal makes the toolkit build its list again.
struct ShownFont {
    QString file;
    int qtId = -1;
    QVector<FcPattern*> patterns;  // fontconfig's reading of the file
};
constexpr int kShownAtOnce = 64;

QVector<ShownFont>& Shown()
{
    static QVector<ShownFont> shown;
    return shown;
}

void HideShownFonts()
{
    if (Shown().isEmpty())
        return;
    // Nothing listed changes: no one need read the toolkit's list again.
    const QSignalBlocker quiet(qGuiApp);
    for (ShownFont& font : Shown()) {
        if (font.qtId >= 0)
            QFontDatabase::removeApplicationFont(font.qtId);
        for (FcPattern* pattern : font.patterns)
            FcPatternDestroy(pattern);
    }
    Shown().clear();
    // Qt drops fontconfig's application fonts with them. Its list is built
    // again now, with every installed font in view (not later, while fontconfig
    // matches among a few), and puts Qt's other application fonts back.
    QFontDatabase::families();
    EnsureAppFonts();
    InvalidateFaces();
}

// How many added fonts have each case-folded path or file: a path never added
// (every font of a run, when it is added) is answered without a walk.
QHash<QString, int>& AddedNames()
{
    static QHash<QString, int> names;
    return names;
}

void CountAddedNames(const AddedFont& font, int delta)
{
    for (const QString& name : {FoldCase(font.path), FoldCase(font.file)})
        if ((AddedNames()[name] += delta) <= 0)
            AddedNames().remove(name);
}

// Where each added path and file is in Added(), spelled as given. A run adds
// and removes thousands: a walk per look-up, and closing each gap, made that
// quadratic. So a removal moves the last font into the gap.
QHash<QString, int>& AddedAt()
{
    static QHash<QString, int> at;
    return at;
}

void AppendAdded(const AddedFont& font)
{
    CountAddedNames(font, 1);
    Added().append(font);
    AddedAt()[font.path] = int(Added().size()) - 1;
    AddedAt()[font.file] = int(Added().size()) - 1;
}

void RemoveAdded(int i)
{
    QVector<AddedFont>& added = Added();
    CountAddedNames(added[i], -1);
    for (const QString& name : {added[i].path, added[i].file})
        if (AddedAt().value(name, -1) == i)
            AddedAt().remove(name);
    const int last = int(added.size()) - 1;
    if (i != last) {
        added[i] = std::move(added[last]);
        for (const QString& name : {added[i].path, added[i].file})
            if (AddedAt().value(name, -1) == last)
                AddedAt()[name] = i;
    }
    added.removeLast();
}

int FindAdded(const QString& path)
{
    if (!AddedNames().contains(FoldCase(path)))
        return -1;
    const auto at = AddedAt().constFind(path);
    if (at != AddedAt().constEnd())
        return *at;
    // Another spelling of an added path, or a file two adds share.
    const QVector<AddedFont>& added = Added();
    for (int i = 0; i < added.size(); ++i)
        if (added[i].path.compare(path, Qt::CaseInsensitive) == 0
            || added[i].file.compare(path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString FontFileOf(const QString& path)
{
    if (path.endsWith(".fot", Qt::CaseInsensitive))
        return FotTargetPath(path);
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Which of fontconfig's readings of font files are styles (IsListedFace):
// the named instances a variable font's 'fvar' lists, read once per font.
// fontconfig leaves out a named instance at the default coordinates and gives
// only the font as stored for it: that reading then stands for the instance.
class ListedPatterns {
public:
    explicit ListedPatterns(const QVector<FcPattern*>& patterns) : patterns_(patterns)
    {
        readings_.reserve(patterns.size());
        for (FcPattern* p : patterns) {
            Reading reading;
            FcPatternGetInteger(p, FC_INDEX, 0, &reading.index);
            FcBool variable = FcFalse;
            FcPatternGetBool(p, FC_VARIABLE, 0, &variable);
            reading.variable = variable;
            readings_.append(reading);
            const int instance = InstanceOfFace(reading.index);
            FcChar8* file = nullptr;
            if ((!variable && instance == 0) || FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch)
                continue;
            Font& font = fonts_[Key(file, reading.index)];
            if (variable)
                font.named = int(ReadFvarInstances(FileTable(QString::fromUtf8(reinterpret_cast<const char*>(file)),
                                                             "fvar", FontOfFace(reading.index)))
                                     .size());
            if (instance > 0)
                font.read.insert(instance);
        }
    }
    // The face number pattern i stands for; -1 when it is no style.
    int ListedFace(int i) const
    {
        const Reading reading = readings_[i];
        FcChar8* file = nullptr;
        const Font font = fonts_.isEmpty() || FcPatternGetString(patterns_[i], FC_FILE, 0, &file) != FcResultMatch
                              ? Font()
                              : fonts_.value(Key(file, reading.index));
        if (!reading.variable && InstanceOfFace(reading.index) == 0)
            for (int instance = 1; instance <= font.named; ++instance)
                if (!font.read.contains(instance))
                    return InstanceFace(FontOfFace(reading.index), instance - 1);
        return IsListedFace(reading.index, reading.variable, font.named) ? reading.index : -1;
    }
    // The face number fontconfig read pattern i as.
    int ReadIndex(int i) const { return readings_[i].index; }

private:
    struct Reading {
        int index = 0;
        bool variable = false;
    };
    struct Font {
        int named = 0;    // named instances in its 'fvar'
        QSet<int> read;   // those fontconfig read (instance number + 1)
    };
    static QString Key(const FcChar8* file, int index)
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(file)) + QChar(0) + QString::number(FontOfFace(index));
    }
    const QVector<FcPattern*>& patterns_;
    QVector<Reading> readings_;
    QHash<QString, Font> fonts_;  // file + font -> its instances
};

// The number of faces fontconfig reads in a file, and the styles among them.
int QueryFaces(const QString& file, QVector<AddedStyle>* styles)
{
    FcFontSet* set = FcFontSetCreate();
    const int n = static_cast<int>(FcFreeTypeQueryAll(
        reinterpret_cast<const FcChar8*>(file.toUtf8().constData()), -1, nullptr, nullptr, set));
    const QVector<FcPattern*> patterns(set->fonts, set->fonts + set->nfont);
    const ListedPatterns listed(patterns);
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        AddedStyle style;
        style.face.index = listed.ListedFace(i);
        if (style.face.index < 0)
            continue;
        style.families = FcStrings(p, FC_FAMILY);
        style.face.file = file;
        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(p, FC_WEIGHT, 0, &weight);
        style.face.weight = DesktopWeight(weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(p, FC_SLANT, 0, &slant);
        style.face.italic = slant != FC_SLANT_ROMAN;
        styles->append(style);
    }
    FcFontSetDestroy(set);
    return n;
}

} // namespace

QString DesktopDataHome() { return EnvFolder("XDG_DATA_HOME", ".local/share"); }
QString DesktopConfigHome() { return EnvFolder("XDG_CONFIG_HOME", ".config"); }
QString DesktopUserFontFolder() { return DesktopDataHome() + "/fonts"; }
QString DesktopRejectFilePath()
{
    return DesktopConfigHome() + "/fontconfig/conf.d/90-glyphwick-removed.conf";
}

int DesktopWeight(double fcWeight)
{
    const double ot = FcWeightToOpenTypeDouble(fcWeight);
    if (ot < 0)
        return 400;
    const int w = static_cast<int>(std::lround(ot / 100.0)) * 100;
    return std::clamp(w, 100, 900);
}

namespace {

// Listing every font is slow with large font sets, and the enumeration asks for
// it once per family: keep the last listing until this process changes the
// font set or the reject file changes.
struct FacesCache {
    bool valid = false;
    QString rejectFile;
    QDateTime rejectStamp;
    QElapsedTimer rejectLooked;
    QVector<DesktopFace> faces;
    bool listed = false;
    quint64 digest = 0;  // of the font sets and hidden files the faces were listed from
    int generation = 0;
    int setsGeneration = 0;
};

// A digest of the fonts the configuration in use lists in the given sets.
quint64 FontSetsDigest(std::initializer_list<FcSetName> sets)
{
    quint64 digest = 0;
    for (FcSetName which : sets) {
        FcFontSet* set = FcConfigGetFonts(FcConfigGetCurrent(), which);
        digest = digest * 1000003 + (set ? quint64(set->nfont) : 0);
        for (int i = 0; set && i < set->nfont; ++i)
            digest = digest * 1000003 + FcPatternHash(set->fonts[i]);
    }
    return digest;
}

// The installed faces (their patterns' hashes) the toolkit's font database
// was built from: taken before the first reload, then at every rebuild.
std::optional<QSet<quint64>> toolkitFaces;

QSet<quint64> SystemFaceHashes()
{
    QSet<quint64> hashes;
    FcFontSet* set = FcConfigGetFonts(FcConfigGetCurrent(), FcSetSystem);
    hashes.reserve(set ? set->nfont : 0);
    for (int i = 0; set && i < set->nfont; ++i)
        hashes.insert(FcPatternHash(set->fonts[i]));
    return hashes;
}

FacesCache& Cache()
{
    static FacesCache cache;
    return cache;
}

void InvalidateFaces()
{
    Cache().valid = false;
}

QVector<DesktopFace> ListFontFaces();

} // namespace

QVector<DesktopFace> DesktopFontFaces(bool lookAtRejects)
{
    RebuildAppFonts();
    FacesCache& cache = Cache();
    // Only another program changes the reject file behind this one's back. One
    // reading asks for the listing thousands of times, and looking at the file
    // each time cost more than the listing: look when asked to, when a listing
    // is made, and at most once a second otherwise.
    if (cache.valid && !lookAtRejects && cache.rejectLooked.isValid() && cache.rejectLooked.elapsed() < 1000)
        return cache.faces;
    const QString rejectFile = DesktopRejectFilePath();
    const QDateTime stamp = QFileInfo(rejectFile).lastModified();
    cache.rejectLooked.start();
    if (!cache.valid || cache.rejectFile != rejectFile || cache.rejectStamp != stamp) {
        // A reloaded configuration that lists the same fonts gives the same
        // faces: they, and all made from them, are kept.
        EnsureAppFonts();
        ++cache.setsGeneration;
        const quint64 digest =
            FontSetsDigest({FcSetSystem, FcSetApplication}) * 1000003 + qHash(DesktopHiddenFiles());
        if (!cache.listed || cache.digest != digest) {
            cache.faces = ListFontFaces();
            cache.listed = true;
            cache.digest = digest;
            ++cache.generation;
        }
        cache.rejectFile = rejectFile;
        cache.rejectStamp = stamp;
        cache.valid = true;
    }
    return cache.faces;
}

int DesktopFacesGeneration()
{
    DesktopFontFaces();
    return Cache().generation;
}

int DesktopFontSetsGeneration()
{
    DesktopFontFaces();
    return Cache().setsGeneration;
}

namespace {

// A family with Type 1 and TrueType/OpenType files is listed once per kind;
// the toolkit tells the two apart only by foundry. Other faces drop it, so
// that they are drawn by their family name alone.
void KeepFoundriesOfTwins(QVector<DesktopFace>& faces)
{
    // Type 1 families are few: only a family name as long as one of theirs
    // is folded and looked up.
    QSet<QString> type1Families;
    QSet<qsizetype> type1Lengths;
    for (const DesktopFace& f : faces)
        if (f.fontType == DEVICE_FONTTYPE) {
            type1Families.insert(FoldCase(f.family));
            type1Lengths.insert(f.family.size());
        }
    QSet<QString> twins;  // folded families with faces of both kinds
    for (const DesktopFace& f : faces)
        if (f.fontType == TRUETYPE_FONTTYPE && type1Lengths.contains(f.family.size())
            && type1Families.contains(FoldCase(f.family)))
            twins.insert(FoldCase(f.family));
    for (DesktopFace& f : faces)
        if (f.fontType == RASTER_FONTTYPE || twins.isEmpty() || !type1Lengths.contains(f.family.size())
            || !twins.contains(FoldCase(f.family)))
            f.foundry.clear();
}

QVector<DesktopFace> ListFontFaces()
{
    EnsureAppFonts();
    // The configuration's own sets, read in place: FcFontList would copy every
    // pattern and hash it to drop duplicates, which the (file, index) check
    // below does for less than a third of the cost.
    FcConfig* config = FcConfigGetCurrent();
    QVector<FcPattern*> patterns;
    for (FcSetName which : {FcSetSystem, FcSetApplication})
        if (FcFontSet* set = FcConfigGetFonts(config, which))
            patterns.append(QVector<FcPattern*>(set->fonts, set->fonts + set->nfont));

    QSet<QString> hidden;
    for (const QString& h : DesktopHiddenFiles())
        hidden.insert(QDir::cleanPath(h));

    QVector<DesktopFace> faces;
    QSet<std::pair<QString, int>> seen;  // file and face number
    faces.reserve(patterns.size());
    seen.reserve(patterns.size());
    const ListedPatterns listed(patterns);
    for (int i = 0; i < patterns.size(); ++i) {
        FcPattern* p = patterns[i];
        const int index = listed.ListedFace(i);
        if (index < 0)
            continue;
        DesktopFace face;
        FcChar8* file = nullptr;
        if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        face.file = QString::fromUtf8(reinterpret_cast<const char*>(file));
        if (!IsCleanPath(face.file))
            face.file = QDir::cleanPath(face.file);
        face.index = index;
        if (hidden.contains(face.file))
            continue;
        // A file in both sets (installed, and added for drawing) is listed once.
        const qsizetype seenBefore = seen.size();
        seen.insert({face.file, index});
        if (seen.size() == seenBefore)
            continue;
        face.fontType = DesktopFontType(p, face.file);
        if (face.fontType == 0)
            continue;

        const FcValues families(p, FC_FAMILY);
        const FcValues familyLangs(p, FC_FAMILYLANG);
        const int fi = familyLangs.FirstEnglish(families.size());
        face.family = families.Text(fi);
        const FcValues styles(p, FC_STYLE);
        const FcValues styleLangs(p, FC_STYLELANG);
        // A font with a typographic and a legacy family lists the styles in the same order.
        face.style = fi < styles.size() && (styleLangs.isEmpty() || styleLangs.IsEnglish(fi))
                         ? styles.Text(fi)
                         : styles.Text(styleLangs.FirstEnglish(styles.size()));
        const FcValues fullNames(p, FC_FULLNAME);
        const FcValues fullLangs(p, FC_FULLNAMELANG);
        // Some fonts list their PostScript name too; prefer the one built on the family.
        for (int k = 0; k < fullNames.size() && face.fullName.isEmpty(); ++k) {
            if (!fullLangs.isEmpty() && !fullLangs.IsEnglish(k))
                continue;
            const QString name = fullNames.Text(k);
            if (name == face.family || name.compare(face.family, Qt::CaseInsensitive) == 0
                || (name.size() > face.family.size() && name.at(face.family.size()) == QLatin1Char(' ')
                    && name.startsWith(face.family, Qt::CaseInsensitive)))
                face.fullName = name;
        }
        if (face.fullName.isEmpty() && !fullNames.isEmpty())
            face.fullName = fullNames.Text(fullLangs.FirstEnglish(fullNames.size()));
        if (face.fullName.isEmpty())
            face.fullName = face.style.isEmpty() ? face.family : face.family + " " + face.style;
        FontNameInfo names;
        if (listed.ReadIndex(i) != index && ReadNameTableFile(face.file, names, index) && !names.subfamily.isEmpty()) {
            // The font as stored standing for its named instance: the instance's names.
            face.style = names.subfamily;
            face.fullName = names.fullName;
        }

        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(p, FC_WEIGHT, 0, &weight);
        face.weight = DesktopWeight(weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(p, FC_SLANT, 0, &slant);
        face.slant = slant;
        int width = FC_WIDTH_NORMAL;
        FcPatternGetInteger(p, FC_WIDTH, 0, &width);
        face.width = width;
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(p, FC_SPACING, 0, &spacing);
        face.fixedPitch = spacing == FC_MONO || spacing == FC_CHARCELL;
        double pixelSize = 0;
        if (FcPatternGetDouble(p, FC_PIXEL_SIZE, 0, &pixelSize) == FcResultMatch)
            face.pixelSize = static_cast<int>(std::lround(pixelSize));
        if (face.fontType == DEVICE_FONTTYPE)
            face.metricsFile = MetricsBeside(face.file);
        face.foundry = FcValues(p, FC_FOUNDRY).Text(0);
        if (!face.family.isEmpty())
            faces.append(face);
    }
    KeepFoundriesOfTwins(faces);
    return faces;
}

} // namespace

int DesktopFontType(FcPattern* p, const QString& file)
{
    FcChar8* text = nullptr;
    const QByteArray format = FcPatternGetString(p, FC_FONTFORMAT, 0, &text) == FcResultMatch
                                  ? QByteArray(reinterpret_cast<const char*>(text))
                                  : QByteArray();
    FcBool scalable = FcTrue;
    FcPatternGetBool(p, FC_SCALABLE, 0, &scalable);
    if ((format == "TrueType" || format == "CFF") && scalable)
        return IsSfntFile(file) ? TRUETYPE_FONTTYPE : 0;
    if (format == "Type 1" && scalable)
        return DEVICE_FONTTYPE;
    if (!scalable || format == "PCF" || format == "BDF" || format == "SNF")
        return RASTER_FONTTYPE;
    return 0;
}

QString FotTargetPath(const QString& fotPath)
{
    QFile f(fotPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString name = FotFontPath(f.readAll());
    if (name.isEmpty())
        return {};
    // A bare name is completed with the system font folder, as the reader does.
    return QDir::isAbsolutePath(name) ? QDir::cleanPath(name) : "/usr/share/fonts/" + name;
}

namespace {

void ListAdded(AddedFont& added)
{
    // Qt puts the font into fontconfig's application set itself; only without
    // Qt's database is it added here (checking the whole set per font is quadratic).
    if (HaveGui())
        added.qtId = QFontDatabase::addApplicationFont(added.file);
    if (added.qtId < 0)
        FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(added.file.toUtf8().constData()));
    added.listed = true;
}

// One add of `file` for drawing only is gone (removed, or now listed); the
// toolkit forgets the file if it was shown it.
void DropDrawingOnly(const QString& file)
{
    if (--DrawingOnlyFiles()[file] <= 0)
        DrawingOnlyFiles().remove(file);
    for (const ShownFont& font : Shown())
        if (font.file == file) {
            HideShownFonts();
            return;
        }
}

} // namespace

int DesktopAddFont(const QString& path, bool forDrawing)
{
    RebuildAppFonts();
    const QString file = FontFileOf(path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return 0;
    const int existing = FindAdded(path);
    if (existing >= 0 && Added()[existing].file == file) {
        AddedFont& added = Added()[existing];
        ++added.refs;
        if (!forDrawing && !added.listed) {
            DropDrawingOnly(file);
            ListAdded(added);
            InvalidateFaces();
        }
        return added.faces;
    }
    AddedFont added;
    const int faces = QueryFaces(file, &added.styles);
    if (faces <= 0)
        return 0;
    added.path = path;
    added.file = file;
    added.refs = 1;
    added.faces = faces;
    if (AddedIndex().valid)
        AddedIndex().Add(added);
    if (forDrawing) {
        added.listed = false;
        ++DrawingOnlyFiles()[file];
    } else {
        ListAdded(added);
        InvalidateFaces();
    }
    AppendAdded(added);
    return faces;
}

void DesktopEnsureFontAdded(const QString& path)
{
    InvalidateFaces();
    const QString file = FontFileOf(path);
    for (const AddedFont& a : Added())
        if (a.file == file && a.listed)
            return;
    DesktopAddFont(path);
}

int DesktopRemoveFont(const QString& path)
{
    InvalidateFaces();
    const int i = FindAdded(path);
    if (i >= 0) {
        AddedFont& added = Added()[i];
        if (--added.refs > 0)
            return 1;
        const bool listed = added.listed;
        const QString file = added.file;
        RemoveAdded(i);
        AddedIndex().valid = false;
        if (!listed) {
            DropDrawingOnly(file); // nothing else lists it
            return 1;
        }
        RebuildPending() = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [] { RebuildAppFonts(); });
        return 1;
    }
    const QString file = FontFileOf(path);
    if (file.isEmpty())
        return 0;
    // A file the reject file hides is withdrawn from every program already.
    if (DesktopHiddenFiles().contains(file))
        return 1;
    const QVector<DesktopFace> faces = DesktopFontFaces();
    for (const DesktopFace& face : faces)
        if (face.file == file)
            return 1;
    return 0;
}

void DesktopReloadFonts()
{
    if (!toolkitFaces && HaveGui())
        toolkitFaces = SystemFaceHashes();
    RebuildAppFonts();
    InvalidateFaces();
    // A fresh configuration sees new, deleted and rejected files at once;
    // the application fonts it lacks are put back right after.
    FcInitReinitialize();
    EnsureAppFonts();
}

void DesktopRescanFonts()
{
    DesktopReloadFonts();
    if (!HaveGui())
        return;
    // Building the database again costs more than reading the fonts: skipped
    // when it already holds every installed face. A face hidden or removed
    // since stays in it, unlisted: nothing draws a family the list lacks, and
    // building it again for that tripled a reread after an uninstall.
    QSet<quint64> faces = SystemFaceHashes();
    if (toolkitFaces && toolkitFaces->contains(faces))
        return;
    toolkitFaces = std::move(faces);
    // Qt builds its database from fontconfig once; adding and removing an
    // application font is the public way to make it build the database again.
    // Any font file serves (listing them all to find one doubled a reread).
    FcFontSet* set = FcConfigGetFonts(FcConfigGetCurrent(), FcSetSystem);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(reinterpret_cast<const char*>(file)));
        if (id < 0)
            continue;
        QFontDatabase::removeApplicationFont(id);
        break;
    }
    QFontDatabase::families();
    EnsureAppFonts();
    InvalidateFaces();
}

void DesktopRescanUserFonts()
{
    const QString dir = DesktopUserFontFolder();
    if (!QFileInfo(dir).isDir())
        return;
    const QString fcCache = QStandardPaths::findExecutable("fc-cache");
    if (!fcCache.isEmpty() && QProcess::startDetached(fcCache, {dir}))
        return;
    if (FcCache* cache = FcDirCacheRescan(reinterpret_cast<const FcChar8*>(dir.toUtf8().constData()),
                                          FcConfigGetCurrent()))
        FcDirCacheUnload(cache);
}

QStringList DesktopHiddenFiles(bool* readable)
{
    if (readable)
        *readable = true;
    QFile f(DesktopRejectFilePath());
    if (!f.open(QIODevice::ReadOnly) || f.size() == 0)
        return {};
    QStringList files;
    QXmlStreamReader xml(&f);
    // Each rule names one file: <patelt name="file"><string>, or a <glob>
    // that an earlier version wrote.
    QStringList open;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString name = xml.name().toString();
            const bool inReject = open.contains(QLatin1String("rejectfont"));
            if (inReject && name == QLatin1String("glob")) {
                files << xml.readElementText();
                continue;
            }
            if (inReject && name == QLatin1String("string") && open.value(open.size() - 1) == QLatin1String("patelt=file")) {
                files << xml.readElementText();
                continue;
            }
            open << (name == QLatin1String("patelt") ? "patelt=" + xml.attributes().value("name").toString() : name);
        } else if (token == QXmlStreamReader::EndElement && !open.isEmpty()) {
            open.removeLast();
        }
    }
    if (xml.hasError()) {
        if (readable)
            *readable = false;
        return {};
    }
    return files;
}

bool DesktopSetHidden(const QString& file, bool hidden)
{
    InvalidateFaces();
    const QString path = QDir::cleanPath(file);
    bool readable = true;
    QStringList files = DesktopHiddenFiles(&readable);
    if (!readable)
        return false; // the user's own text stays as it is
    const bool had = files.contains(path);
    if (had == hidden)
        return false;
    if (hidden)
        files << path;
    else
        files.removeAll(path);

    const QString confPath = DesktopRejectFilePath();
    QDir().mkpath(QFileInfo(confPath).path());
    QSaveFile out(confPath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD("<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">");
    xml.writeStartElement("fontconfig");
    xml.writeTextElement("description", "Fonts uninstalled with Glyphwick");
    for (const QString& f : files) {
        // An exact match on the file: a <glob> would read ? * [ as patterns.
        xml.writeStartElement("selectfont");
        xml.writeStartElement("rejectfont");
        xml.writeStartElement("pattern");
        xml.writeStartElement("patelt");
        xml.writeAttribute("name", "file");
        xml.writeTextElement("string", f);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();  // closes <fontconfig>
    return out.commit();
}

int RegularStyleRank(const DesktopFace& face)
{
    return (face.italic() ? 2 * RegularStyleRankLimit : 0) + (face.width != FC_WIDTH_NORMAL ? RegularStyleRankLimit : 0)
           + std::abs(face.weight - 400) * 2 + (face.weight > 400);
}

void OrderFamilyStyles(QVector<DesktopFace>& styles)
{
    std::stable_sort(styles.begin(), styles.end(), [](const DesktopFace& a, const DesktopFace& b) {
        if (a.width != b.width)
            return a.width < b.width;
        if (a.weight != b.weight)
            return a.weight < b.weight;
        return a.slant < b.slant;
    });
    auto regular = std::min_element(styles.begin(), styles.end(), [](const DesktopFace& a, const DesktopFace& b) {
        return RegularStyleRank(a) < RegularStyleRank(b);
    });
    if (regular != styles.end() && RegularStyleRank(*regular) < RegularStyleRankLimit)
        std::rotate(styles.begin(), regular, regular + 1);
}

namespace {

void FillRecord(const DesktopFace& face, EnumLogFont* elf)
{
    const bool scalable = face.fontType != RASTER_FONTTYPE;
    elf->lfHeight = scalable ? 0 : face.pixelSize;
    elf->lfWeight = face.weight;
    elf->lfItalic = face.italic() ? 1 : 0;
    // What the system reports for outline fonts: stroke precision.
    elf->lfOutPrecision = scalable ? 3 : 1;
    const uint8_t family = face.fixedPitch ? 0x30 : 0x00; // FF_MODERN / FF_DONTCARE
    elf->lfPitchAndFamily = static_cast<uint8_t>((face.fixedPitch ? 1 : 2) | family);
    SetLogFontName(elf->lfFaceName, sizeof elf->lfFaceName, face.family);
    elf->familyName = face.family;
    SetLogFontName(elf->elfFullName, sizeof elf->elfFullName, face.fullName);
    SetLogFontName(elf->elfStyle, sizeof elf->elfStyle, face.style);
    elf->filePath = face.file;
    elf->faceIndex = face.index;
    if (!face.foundry.isEmpty())
        elf->drawingFamily = WithFoundry(face.family, face.foundry);
}

// The configuration's rules without its font folders: matching in it weighs
// only the faces put into it. Made once; null when it cannot be read.
FcConfig* RulesOnlyConfig()
{
    static FcConfig* config = nullptr;
    static bool tried = false;
    if (tried)
        return config;
    tried = true;
    FcChar8* name = FcConfigFilename(nullptr);
    if (!name)
        return nullptr;
    QFile file(QString::fromUtf8(reinterpret_cast<const char*>(name)));
    FcStrFree(name);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("<dir\\b[^>]*>[^<]*</dir>")));
    FcConfig* rules = FcConfigCreate();
    if (!rules || !FcConfigParseAndLoadFromMemory(rules, reinterpret_cast<const FcChar8*>(text.toUtf8().constData()),
                                                  FcFalse)) {
        if (rules)
            FcConfigDestroy(rules);
        return nullptr;
    }
    config = rules;
    return config;
}

// Runs `work` while fontconfig matches only among copies of `patterns`, under
// the configuration's rules; with none, among every font as usual.
void MatchAmong(const QVector<FcPattern*>& patterns, const std::function<void()>& work)
{
    FcConfig* all = FcConfigGetCurrent();
    FcConfig* few = RulesOnlyConfig();
    if (!all || !few || patterns.isEmpty()) {
        work();
        return;
    }
    FcFontSet* set = FcConfigGetFonts(few, FcSetApplication);
    if (set) {
        // Emptied in place: making the set anew starts a FreeType library each time.
        for (int i = 0; i < set->nfont; ++i)
            FcPatternDestroy(set->fonts[i]);
        set->nfont = 0;
    } else {
        // Makes the empty set of application fonts (the file does not exist).
        FcConfigAppFontAddFile(few, reinterpret_cast<const FcChar8*>("/nonexistent/glyphwick"));
        set = FcConfigGetFonts(few, FcSetApplication);
    }
    int added = 0;
    for (FcPattern* pattern : patterns) {
        FcPattern* copy = set ? FcPatternDuplicate(pattern) : nullptr;
        if (copy && FcFontSetAdd(set, copy))
            ++added;
        else if (copy)
            FcPatternDestroy(copy);
    }
    if (added == 0) {
        work();
        return;
    }
    FcConfigReference(all);
    FcConfigSetCurrent(few);
    work();
    FcConfigSetCurrent(all);
    FcConfigDestroy(all);
}

// Calls `visit` with every pattern of the configuration that names a file,
// with its file and face number.
void ForEachFilePattern(FcConfig* config, const std::function<void(FcPattern*, const char*, int)>& visit)
{
    for (FcSetName which : {FcSetSystem, FcSetApplication}) {
        FcFontSet* set = FcConfigGetFonts(config, which);
        for (int i = 0; set && i < set->nfont; ++i) {
            FcChar8* path = nullptr;
            int index = 0;
            FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &path) == FcResultMatch)
                visit(set->fonts[i], reinterpret_cast<const char*>(path), index);
        }
    }
}

// The patterns of the configuration in use by file and face number.
class PatternsByFile {
public:
    FcPattern* Find(FcConfig* config, const QString& file, int index)
    {
        const int generation = DesktopFontSetsGeneration();
        if (config != config_ || generation != generation_) {
            patterns_.clear();
            // The paths are fontconfig's own, kept while these sets are.
            ForEachFilePattern(config, [this](FcPattern* pattern, const char* path, int face) {
                patterns_.insert({QByteArray::fromRawData(path, qsizetype(std::strlen(path))), face}, pattern);
            });
            config_ = config;
            generation_ = generation;
        }
        return patterns_.value({QFile::encodeName(file), index});
    }

private:
    FcConfig* config_ = nullptr;
    int generation_ = -1;
    QHash<std::pair<QByteArray, int>, FcPattern*> patterns_;  // file and face number
};

} // namespace

DesktopMatch DesktopMatchFont(const QString& name, bool bold, bool italic)
{
    // One match through the substitution rules; asking the toolkit walks its
    // whole list of fallback families, which costs seconds with thousands.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.toUtf8().constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    DesktopMatch match;
    FcChar8* value = nullptr;
    if (found && FcPatternGetString(found, FC_FAMILY, 0, &value) == FcResultMatch)
        match.family = QString::fromUtf8(reinterpret_cast<const char*>(value));
    if (found && FcPatternGetString(found, FC_FILE, 0, &value) == FcResultMatch)
        match.file = QFile::decodeName(reinterpret_cast<const char*>(value));
    if (found)
        FcPatternGetInteger(found, FC_INDEX, 0, &match.faceIndex);
    if (found)
        FcPatternDestroy(found);
    return match;
}

namespace {

class DesktopFontSystem : public FontSystem {
public:
    void EnumFontFamilies(DeviceContext dc, const QString& family, const EnumFontCallback& callback,
                          int tag) override
    {
        // A pass over all families starts a reading: the reject file is looked at anew.
        if (family.isEmpty())
            DesktopFontFaces(true);
        const DesktopFaceIndex& index = Index();
        if (dc == DeviceContext::Printer && (family.isEmpty() || !printerRead_)) {
            // A pass over all families starts a reading; the printer may have changed since.
            printerFaces_ = DefaultPrinterFaces();
            printerRead_ = true;
        }
        const bool printer = dc == DeviceContext::Printer && !printerFaces_.isEmpty();

        QVector<DesktopFace> records;
        if (family.isEmpty()) {
            records = printer ? FamilyRecords(OrderStyles(DesktopFontFaces() + printerFaces_)) : index.Families();
        } else {
            // Callers pass the face name as enumerated, so a long family arrives cut.
            QVector<DesktopFace> resident;
            if (printer) {
                const QString wanted = FaceFieldText(family);
                for (const DesktopFace& f : printerFaces_)
                    if (FaceFieldText(f.family).compare(wanted, Qt::CaseInsensitive) == 0)
                        resident.append(f);
            }
            records = resident.isEmpty() ? index.Styles(family) : OrderStyles(index.FacesOf(family) + resident);
            OrderFamilyStyles(records);
        }
        for (const DesktopFace& f : records) {
            EnumLogFont elf;
            FillRecord(f, &elf);
            callback(elf, f.fontType, tag);
        }
    }

    int AddFontResource(const QString& path) override { return DesktopAddFont(path); }
    int AddFontForDrawing(const QString& path) override { return DesktopAddFont(path, true); }
    int RemoveFontResource(const QString& path) override { return DesktopRemoveFont(path); }
    bool ListsFontFile(const QString& file) override
    {
        const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        const QVector<DesktopFace> faces = DesktopFontFaces(true);
        return std::any_of(faces.begin(), faces.end(), [&](const DesktopFace& face) { return face.file == path; });
    }
    void ForgetFontFile(const QString& file) override
    {
        if (DesktopSetHidden(QFileInfo(file).absoluteFilePath(), false))
            DesktopReloadFonts();
    }
    QStringList HiddenFontFiles() override { return DesktopHiddenFiles(); }
    int CreateScalableFontResource(int, const QString& fotFile, const QString& fontFile,
                                   const QString&, int faceIndex) override
    {
        return WriteFotFile(fotFile, fontFile, faceIndex);
    }
    void RescanFonts() override
    {
        DesktopRescanFonts();
        printerRead_ = false;
    }
    void BroadcastFontChange() override
    {
        DesktopRescanUserFonts();
        DesktopReloadFonts();
        printerRead_ = false;
    }
    void LimitToolkitFonts(const QList<std::pair<QString, int>>& faces, const QStringList& names) override
    {
        FcConfig* all = FcConfigGetCurrent();
        if (!HaveGui() || !all || !RulesOnlyConfig())
            return;
        QSet<std::pair<QByteArray, int>> wanted;  // file, face number
        for (const auto& [file, index] : faces)
            wanted.insert({QFile::encodeName(file), index});
        for (const QString& name : names) {
            QVector<DesktopFace> family = Index().FacesOf(name);
            if (family.isEmpty())
                family = Index().FacesOf(SubstituteFamily(name));
            for (const DesktopFace& face : family)
                wanted.insert({QFile::encodeName(face.file), face.index});
        }
        // Looked for once, not indexed: the run draws a few of thousands.
        QVector<FcPattern*> patterns;
        ForEachFilePattern(all, [&](FcPattern* pattern, const char* path, int index) {
            if (wanted.contains({QByteArray::fromRawData(path, qsizetype(std::strlen(path))), index}))
                patterns.append(pattern);
        });
        // The toolkit builds its database on its first question, from the
        // configuration in use; one with just these patterns is put in place for it.
        MatchAmong(patterns, [] { QFontDatabase::families(); });
    }

    void MatchWithinFamily(const QString& family, const std::function<void()>& work) override
    {
        // The toolkit matches every font it loads against all installed faces
        // (for its render settings): with thousands of fonts that is most of
        // the cost of printing each one. The same rules with only the family's
        // faces give the same settings.
        FcConfig* all = FcConfigGetCurrent();
        QVector<FcPattern*> patterns;
        if (all && RulesOnlyConfig())
            for (const DesktopFace& face : Index().FacesOf(family))
                if (FcPattern* pattern = patterns_.Find(all, face.file, face.index))
                    patterns.append(pattern);
        MatchAmong(patterns, work);
    }

    void DrawAddedFont(const QString& file, const QString& family, const std::function<void()>& work) override
    {
        if (!DrawingOnlyFiles().contains(file) || !HaveGui()) {
            MatchWithinFamily(family, work);
            return;
        }
        ShowAndRun(file, work);
    }

    void DrawFontFile(const QString& file, const QString& family, const std::function<void()>& work) override
    {
        if (!HaveGui()) {
            MatchWithinFamily(family, work);
            return;
        }
        ShowAndRun(file, work);
    }

    // Shows the file to the toolkit (a few at a time, see Shown) and runs
    // `work` while fontconfig matches among its faces only.
    void ShowAndRun(const QString& file, const std::function<void()>& work)
    {
        auto shown = std::find_if(Shown().begin(), Shown().end(), [&](const ShownFont& f) { return f.file == file; });
        if (shown == Shown().end()) {
            if (Shown().size() >= kShownAtOnce)
                HideShownFonts();
            ShownFont font;
            font.file = file;
            {
                const QSignalBlocker quiet(qGuiApp);
                font.qtId = QFontDatabase::addApplicationFont(file);
            }
            // Qt appended fontconfig's reading of the file to the application set.
            const QByteArray name = QFile::encodeName(file);
            FcFontSet* set = FcConfigGetFonts(FcConfigGetCurrent(), FcSetApplication);
            for (int i = set ? set->nfont - 1 : -1; i >= 0; --i) {
                FcChar8* path = nullptr;
                if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &path) != FcResultMatch
                    || name != reinterpret_cast<const char*>(path))
                    break;
                font.patterns.prepend(FcPatternDuplicate(set->fonts[i]));
            }
            Shown().append(font);
            shown = Shown().end() - 1;
        }
        MatchAmong(shown->patterns, work);
    }

    QString AddedFontFile(const QString& family, bool bold, bool italic, int* faceIndex) override
    {
        const auto& faces = AddedFamilyFaces();
        const auto it = faces.constFind(FoldCase(family));
        const AddedFace* face = it == faces.constEnd() ? nullptr : ClosestStyle(*it, bold, italic);
        if (faceIndex)
            *faceIndex = face ? face->index : 0;
        return face ? face->file : QString();
    }

    bool ReadFileFace(const QString& file, int faceIndex, FileFace* face) override
    {
        // The reading the toolkit lists the face by: the first family and style.
        FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(QFile::encodeName(file).constData()),
                                             static_cast<unsigned>(faceIndex), nullptr, nullptr);
        if (!pattern)
            return false;
        const QStringList families = FcStrings(pattern, FC_FAMILY);
        const QStringList styles = FcStrings(pattern, FC_STYLE);
        const QStringList foundries = FcStrings(pattern, FC_FOUNDRY);
        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(pattern, FC_WEIGHT, 0, &weight);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(pattern, FC_SLANT, 0, &slant);
        FcPatternDestroy(pattern);
        if (families.isEmpty())
            return false;
        *face = {families.first(), styles.value(0), foundries.value(0), DesktopWeight(weight), slant != FC_SLANT_ROMAN};
        return true;
    }

    QString SubstituteFamily(const QString& name) override
    {
        return Matched(name, false, false).family;
    }

    QString MatchFontFile(const QString& family, bool bold, bool italic, int* faceIndex) override
    {
        const DesktopMatch match = Matched(family, bold, italic);
        if (faceIndex)
            *faceIndex = match.faceIndex;
        return match.file;
    }

private:
    // Each match weighs every installed font: one per name and style while the fonts stay.
    DesktopMatch Matched(const QString& name, bool bold, bool italic)
    {
        const int generation = DesktopFontSetsGeneration();
        if (generation != matchesGeneration_) {
            matches_.clear();
            matchesGeneration_ = generation;
        }
        const QString key = name + QChar(0) + QChar('0' + bold + 2 * italic);
        const auto known = matches_.constFind(key);
        if (known != matches_.constEnd())
            return *known;
        return *matches_.insert(key, DesktopMatchFont(name, bold, italic));
    }

    QHash<QString, DesktopMatch> matches_;  // a name and style -> the font drawn for it
    int matchesGeneration_ = -1;

    // The index follows the listing: made anew whenever fonts were added,
    // removed, hidden or reloaded.
    const DesktopFaceIndex& Index()
    {
        const int generation = DesktopFacesGeneration();
        if (generation != indexGeneration_) {
            index_ = DesktopFaceIndex(DesktopFontFaces());
            indexGeneration_ = generation;
        }
        return index_;
    }

    DesktopFaceIndex index_;
    int indexGeneration_ = -1;
    PatternsByFile patterns_;
    QVector<DesktopFace> printerFaces_;
    bool printerRead_ = false;
};

} // namespace

std::unique_ptr<FontSystem> MakeDesktopFontSystem()
{
    return std::make_unique<DesktopFontSystem>();
}

} // namespace gw
