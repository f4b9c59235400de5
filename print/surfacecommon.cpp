#include "print/surfacecommon.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPageSize>
#include <QSet>
#include <utility>

#include "core/helpers.h"
#include "platformapi/platform.h"
#include "print/printer.h"

namespace gw {

namespace {

// What the font database knows, remembered until it changes. Every font of a
// catalog asks several times; listing all families for each question made
// printing slower the more fonts were installed, and a name the database lacks
// ("Arial") sent Qt through fontconfig's whole list of fallbacks each time a
// text in it was measured or drawn.
struct FamilyCache {
    QSet<QString> known;               // case-folded family names
    QHash<QString, QString> resolved;  // a name -> the family it resolves to
};

FamilyCache& Families()
{
    static FamilyCache cache;
    static bool valid = false;
    static QMetaObject::Connection watch;
    if (!watch && qGuiApp)
        watch = QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, [] { valid = false; });
    if (!valid || !watch) {
        cache = FamilyCache();
        for (const QString& family : QFontDatabase::families())
            cache.known.insert(FoldCase(family));
        valid = true;
    }
    return cache;
}


// The family a font resolved to, without the foundry Qt appends ("Nimbus Sans [urw]").
QString ResolvedFamily(const QString& name)
{
    FamilyCache& cache = Families();
    auto it = cache.resolved.constFind(name);
    if (it != cache.resolved.constEnd())
        return *it;
    QString family = Sys().fonts ? Sys().fonts->SubstituteFamily(name) : QString();
    if (family.isEmpty())
        family = QFontInfo(QFont(name)).family();
    family = WithoutFoundry(family);
    cache.resolved.insert(name, family);
    return family;
}


} // namespace

double ScaleToPoints(int scaleMode, double value)
{
    switch (scaleMode) {
    case ScaleTwips: return value / 20;
    case ScaleCentimetres: return value * 72 / 2.54;
    default: return value;
    }
}

double PointsToScale(int scaleMode, double value)
{
    switch (scaleMode) {
    case ScaleTwips: return value * 20;
    case ScaleCentimetres: return value * 2.54 / 72;
    default: return value;
    }
}

QString FaceName(const QString& file, int index)
{
    return file + QLatin1Char('#') + QString::number(index);
}

QPageLayout SheetLayout(int paperCode)
{
    QPageSize::PageSizeId id = QPageSize::id(paperCode);
    if (id == QPageSize::Custom)
        id = QPageSize::Letter;
    return QPageLayout(QPageSize(id), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18), QPageLayout::Point);
}

bool IsKnownFamily(const QString& name)
{
    return Families().known.contains(FoldCase(name));
}

QString DrawingFamily(const QString& name)
{
    return IsKnownFamily(name) ? name : ResolvedFamily(name);
}

bool PrinterTakesFontName(const QString& name, bool* added)
{
    *added = Sys().fonts && !Sys().fonts->AddedFontFile(name, false, false).isEmpty();
    if (*added || IsKnownFamily(name))
        return true;
    // A name the system maps to a metric-compatible family (Arial to
    // Liberation Sans) is usable; one that only falls back to the default is not.
    static const QString defaultFamily = ResolvedFamily(QStringLiteral("glyphwick-no-such-family"));
    return ResolvedFamily(name).compare(defaultFamily, Qt::CaseInsensitive) != 0;
}

bool SettingsSurface::SetFontName(const QString& name)
{
    SurfaceSettings& s = Settings();
    const bool face = s.faceNames.contains(name);
    const QString wanted = face ? name : name.trimmed();
    bool added = false;
    if (!face && (wanted.isEmpty() || !PrinterTakesFontName(wanted, &added)))
        return false;
    s.fontName = wanted;
    s.addedFont = added;
    s.faceSelected = face;
    FontChanged();
    return true;
}

QString SettingsSurface::NameFace(const QString& file, int index, const std::function<bool()>& drawable)
{
    if (file.isEmpty())
        return QString();
    SurfaceSettings& s = Settings();
    const QString name = FaceName(file, index);
    auto known = s.faceDrawable.constFind(name);
    if (known == s.faceDrawable.constEnd())
        known = s.faceDrawable.insert(name, drawable());
    if (!*known)
        return QString();
    s.faceNames.insert(name, {file, index});
    SetFontName(name);
    return name;
}

void SettingsSurface::SetFontSize(double points)
{
    if (points <= 0)
        return;
    Settings().fontSize = points;
    FontChanged();
}

void SettingsSurface::SetFontBold(bool bold)
{
    Settings().bold = bold;
    FontChanged();
}

void SettingsSurface::SetFontItalic(bool italic)
{
    Settings().italic = italic;
    FontChanged();
}

int SettingsSurface::SetTextAlign(int align)
{
    return std::exchange(Settings().align, align);
}

QList<QLineF> HatchLines(const QRectF& box, int fillStyle, double step)
{
    const bool horizontal = fillStyle == 2 || fillStyle == 6;
    const bool vertical = fillStyle == 3 || fillStyle == 6;
    const bool upward = fillStyle == 4 || fillStyle == 7;
    const bool downward = fillStyle == 5 || fillStyle == 7;
    QList<QLineF> lines;
    const double w = box.width(), h = box.height();
    for (double t = step / 2; t < w + h; t += step) {
        if (horizontal && t < h)
            lines.append(QLineF(box.left(), box.top() + t, box.right(), box.top() + t));
        if (vertical && t < w)
            lines.append(QLineF(box.left() + t, box.top(), box.left() + t, box.bottom()));
        if (upward)
            lines.append(QLineF(box.left() + t - h, box.bottom(), box.left() + t, box.top()));
        if (downward)
            lines.append(QLineF(box.left() + t - h, box.top(), box.left() + t, box.bottom()));
    }
    return lines;
}

} // namespace gw
