#include "core/helpers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/picturebox.h"
#include "core/settings.h"

namespace gw {

namespace {

QScreen* ScreenOf(const QWidget* window)
{
    QScreen* screen = window ? window->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The number-to-text form of the placement keys: a blank where the sign would go.
QString NumberText(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0
        || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Exists(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// A folder that exists and whose lower-cased spelling names another folder
// (or none) keeps its spelling. Asked for every font file of a reading, so the
// answer is kept for a second per folder.
bool FolderKeepsCase(const QString& folder, const QString& lower)
{
    if (folder == lower)
        return false;
    static QHash<QString, bool> known;
    static QElapsedTimer age;
    if (!age.isValid() || age.elapsed() > 1000) {
        known.clear();
        age.start();
    }
    auto it = known.constFind(folder);
    if (it == known.constEnd())
        it = known.insert(folder, Exists(folder) && !SameFile(folder, lower));
    return *it;
}

} // namespace

double Val(const QString& text)
{
    QStringView rest(text);
    while (rest.startsWith(QLatin1Char(' ')) || rest.startsWith(QLatin1Char('\t')))
        rest = rest.mid(1);
    const bool negative = rest.startsWith(QLatin1Char('-'));
    if (negative || rest.startsWith(QLatin1Char('+')))
        rest = rest.mid(1);
    double value = 0;
    double scale = 0;  // 0 before the decimal point, then 0.1, 0.01, ...
    for (const QChar c : rest) {
        if (c == QLatin1Char('.') && scale == 0) {
            scale = 0.1;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            const int digit = c.unicode() - '0';
            if (scale == 0) {
                value = std::min(value * 10 + digit, 1e15);
            } else {
                value += digit * scale;
                scale /= 10;
            }
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

QString WeightName(int weight)
{
    switch (weight) {
    case 0: return QStringLiteral("Don't Care");
    case 100: return QStringLiteral("Thin");
    case 200: return QStringLiteral("Extra Light");
    case 300: return QStringLiteral("Light");
    case 400: return QStringLiteral("Normal");
    case 500: return QStringLiteral("Medium");
    case 600: return QStringLiteral("Semi Bold");
    case 700:
    case 750: return QStringLiteral("Bold");
    case 800: return QStringLiteral("Extra Bold");
    case 900: return QStringLiteral("Black");
    default: return QString();
    }
}

QString EnumStyleText(int weight, int italic)
{
    const QString name = WeightName(weight);
    if (italic != 1)
        return name;
    return weight == 400 ? QStringLiteral("Italic") : name + "Italic";
}

bool NameSaysBold(const QString& name) { return name.contains(QLatin1String("BOLD"), Qt::CaseInsensitive); }

bool NameSaysSlanted(const QString& name)
{
    return name.contains(QLatin1String("ITALIC"), Qt::CaseInsensitive)
           || name.contains(QLatin1String("OBLIQUE"), Qt::CaseInsensitive);
}

bool NameIsOfKind(const QString& name, const QString& kind)
{
    const bool bold = NameSaysBold(name), slanted = NameSaysSlanted(name);
    if (kind == QLatin1String("ALL"))
        return true;
    if (kind == QLatin1String("NONE"))
        return false;
    if (kind == QLatin1String("REGULAR"))
        return !bold && !slanted;
    if (kind == QLatin1String("BOLD"))
        return bold && !slanted;
    if (kind == QLatin1String("ITALIC"))
        return slanted && !bold;
    if (kind == QLatin1String("BOLDITALIC"))
        return bold && slanted;
    return name.contains(kind, Qt::CaseInsensitive);
}

QString BytesToText(const char* bytes, int size)
{
    if (!bytes || size <= 0)
        return QString();
    // A NUL in front cuts nothing: the whole field comes back, NULs and all.
    const void* nul = std::memchr(bytes, 0, size_t(size));
    const int length = nul ? int(static_cast<const char*>(nul) - bytes) : size;
    return FromCp1252(bytes, length > 0 ? length : size);
}

QString WithoutFoundry(const QString& family)
{
    if (!family.endsWith(']'))
        return family;
    const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
    return bracket > 0 ? family.left(bracket) : family;
}

QString WithFoundry(const QString& family, const QString& foundry)
{
    return foundry.isEmpty() ? family : family + QStringLiteral(" [") + foundry + QLatin1Char(']');
}

QString TrimAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString KeystrokeLabel(const QString& character)
{
    if (character.isEmpty())
        return QString();
    const int code = Cp1252Code(character.at(0));
    if (code < 0)
        return QString();
    if (code < 32)
        return QStringLiteral("[none]");
    if (code < 127)
        return character.at(0) + QStringLiteral(" ");
    return QStringLiteral(" ALT+0+") + QString::number(code);
}

int ListFindExact(const QListWidget& list, const QString& text)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void CentreForm(QWidget* window)
{
    QScreen* screen = ScreenOf(window);
    if (!window || !screen)
        return;
    const QRect area = screen->geometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.x() + (area.width() - frame.width()) / 2,
                 area.y() + (area.height() - frame.height()) / 2);
}

QRect FitPlacement(const QRect& wanted, const QSize& minimum, const QRect& available)
{
    // Wide arithmetic: the values come from a file anyone can edit.
    auto fit = [](qint64 pos, qint64 size, qint64 smallest, qint64 start, qint64 length,
                  qint64* fittedPos, qint64* fittedSize) {
        size = std::max(std::min(size, length), smallest);
        pos = std::min(pos, start + length - size);
        *fittedPos = std::max(pos, start);
        *fittedSize = size;
    };
    qint64 x, y, w, h;
    fit(wanted.x(), wanted.width(), minimum.width(), available.x(), available.width(), &x, &w);
    fit(wanted.y(), wanted.height(), minimum.height(), available.y(), available.height(), &y, &h);
    return QRect(int(x), int(y), int(w), int(h));
}

namespace {

QSize SmallestSize(const QWidget* window)
{
    QSize smallest = window->minimumSize();
    if (smallest.isEmpty())
        smallest = smallest.expandedTo(window->minimumSizeHint());
    return smallest.expandedTo(QSize(1, 1));
}

// The available area of the screen that shows most of rect, else of the window's screen.
QRect AvailableAreaFor(const QWidget* window, const QRect& rect)
{
    QScreen* best = nullptr;
    qint64 bestShare = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(rect);
        const qint64 share = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (share > bestShare) {
            best = screen;
            bestShare = share;
        }
    }
    if (!best)
        best = ScreenOf(window);
    return best ? best->availableGeometry() : QRect();
}

// What the window's frame adds to its client size (nothing before it is shown).
QSize FrameEdges(const QWidget* window)
{
    return (window->frameGeometry().size() - window->size()).expandedTo(QSize(0, 0));
}

// A frame rectangle of the window brought onto the available area of its screen.
QRect FitFrame(const QWidget* window, const QRect& frameRect)
{
    const QRect area = AvailableAreaFor(window, frameRect);
    return area.isEmpty() ? frameRect : FitPlacement(frameRect, SmallestSize(window) + FrameEdges(window), area);
}

} // namespace

void LoadFormPlacement(QWidget* window, const QString& section, const QString& file)
{
    if (!window)
        return;
    int top = ReadIniInt(section, QStringLiteral("Top"), 0, file);
    int left = ReadIniInt(section, QStringLiteral("Left"), 0, file);
    if (QScreen* screen = ScreenOf(window)) {
        const QSize area = screen->geometry().size();
        if (top > PixelsToTwips(area.height()))
            top = 0;
        if (left > PixelsToTwips(area.width()))
            left = 0;
    }
    const int height = TwipsToPixels(ReadIniInt(section, QStringLiteral("Height"), 0, file));
    const int width = TwipsToPixels(ReadIniInt(section, QStringLiteral("Width"), 0, file));
    // No size (or a nonsense one) gets the smallest the window can be.
    const QSize smallest = SmallestSize(window);
    const QSize size(width > 0 ? width : smallest.width(), height > 0 ? height : smallest.height());
    const QSize edges = FrameEdges(window);
    const QRect fitted = FitFrame(window, QRect(QPoint(TwipsToPixels(left), TwipsToPixels(top)), size + edges));
    window->resize(fitted.size() - edges);
    window->move(fitted.topLeft());
}

void SaveFormPlacement(QWidget* window, const QString& section, const QString& file)
{
    if (!window)
        return;
    // Only a placement on the screen is saved.
    const QSize edges = FrameEdges(window);
    const QRect fitted = FitFrame(window, QRect(window->pos(), window->size() + edges));
    IniBatch batch(file);
    WriteIniString(section, QStringLiteral("Top"), NumberText(PixelsToTwips(fitted.y())), file);
    WriteIniString(section, QStringLiteral("Left"), NumberText(PixelsToTwips(fitted.x())), file);
    WriteIniString(section, QStringLiteral("Height"), NumberText(PixelsToTwips(fitted.height() - edges.height())), file);
    WriteIniString(section, QStringLiteral("Width"), NumberText(PixelsToTwips(fitted.width() - edges.width())), file);
}

// The gauge fills the whole box on its background colour. frameStyle is the
// bevel's width in pixels. flag1 true: raised bevel (light top and left, dark
// bottom and right); false: sunken. flag2 true: the percentage is written in the
// middle, in the background colour over the bar and the bar colour elsewhere.
// percent is held to 0..100.
void DrawGauge(PictureBox* box, const QColor& barColour, const QColor& frameLight,
               const QColor& frameDark, int percent, int flag1, int flag2, int frameStyle)
{
    if (!box)
        return;
    const bool raised = flag1 != 0;
    const bool showText = flag2 != 0;
    const int bevel = (frameStyle < 1 || frameStyle > 4) ? 2 : frameStyle;
    percent = qBound(0, percent, 100);
    // A drawn bar says nothing to a screen reader: its description does.
    box->setAccessibleDescription(QString::number(percent) + QLatin1Char('%'));

    const int w = box->width();
    const int h = box->height();
    CanvasPainter p(box);
    p.fillRect(QRect(0, 0, w, h), box->BackColor());

    const QColor topLeft = raised ? frameLight : frameDark;
    const QColor bottomRight = raised ? frameDark : frameLight;
    for (int i = 0; i < bevel && 2 * i < w && 2 * i < h; ++i) {
        p.fillRect(QRect(i, i, w - 2 * i, 1), topLeft);
        p.fillRect(QRect(i, i, 1, h - 2 * i), topLeft);
        p.fillRect(QRect(i, h - 1 - i, w - 2 * i, 1), bottomRight);
        p.fillRect(QRect(w - 1 - i, i, 1, h - 2 * i), bottomRight);
    }

    const QRect inner(bevel, bevel, w - 2 * bevel, h - 2 * bevel);
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    const QRect bar(inner.x(), inner.y(), inner.width() * percent / 100, inner.height());
    p.fillRect(bar, barColour);

    if (showText) {
        const QString text = QString::number(percent) + QLatin1Char('%');
        p.setFont(box->font());
        p.setClipRect(bar);
        p.setPen(box->BackColor());
        p.drawText(inner, Qt::AlignCenter, text);
        p.setClipRect(QRect(bar.right() + 1, inner.y(), inner.right() - bar.right(), inner.height()));
        p.setPen(barColour);
        p.drawText(inner, Qt::AlignCenter, text);
    }
}

QFrame* MakeGaugeWell(QWidget* parent, PictureBox** gauge)
{
    auto* well = new QFrame(parent);
    well->setFrameShape(QFrame::Panel);
    well->setFrameShadow(QFrame::Sunken);
    auto* wellLayout = new QVBoxLayout(well);
    wellLayout->setContentsMargins(1, 1, 1, 1);
    *gauge = new PictureBox(well);
    (*gauge)->setFixedHeight(16);
    (*gauge)->SetBackColor(parent->palette().color(QPalette::Button));
    wellLayout->addWidget(*gauge);
    return well;
}

void DrawWindowGauge(PictureBox* gauge, int percent)
{
    const QColor face = gauge->palette().color(QPalette::Button);
    DrawGauge(gauge, gauge->palette().color(QPalette::Highlight), face, face, percent, 0, 0, 1);
}

void RunProgram(const QString& commandLine, int windowStyle)
{
    Sys().programs->RunProgram(commandLine, windowStyle);
}

void ShowHelpContext(int context)
{
    Sys().help->ShowContext(HelpFile, context);
}

QString StripExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool IsAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool NameBefore(const QString& a, const QString& b)
{
    const int folded = FoldCase(a).compare(FoldCase(b));
    return folded != 0 ? folded < 0 : a < b;
}

QString FoldCase(const QString& text)
{
    const QChar* c = text.constData();
    const qsizetype n = text.size();
    qsizetype first = 0;
    for (; first < n; ++first) {
        const char16_t u = c[first].unicode();
        if (u >= 0x80)
            return text.toCaseFolded();
        if (u >= 'A' && u <= 'Z')
            break;
    }
    if (first == n)
        return text;
    QString out = text;
    QChar* d = out.data();
    for (qsizetype i = first; i < n; ++i) {
        const char16_t u = d[i].unicode();
        if (u >= 0x80)
            return text.toCaseFolded();
        if (u >= 'A' && u <= 'Z')
            d[i] = QChar(char16_t(u + 32));
    }
    return out;
}

QString LowerCasePath(const QString& path)
{
    const QString lower = IsAscii(path) ? FoldCase(path) : path.toLower();
    if (lower == path)
        return path;
    // In such a folder the lower-cased path cannot be the same file: the file
    // keeps its name if it is there, and a lower-case name needs no look at all.
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && FolderKeepsCase(path.left(slash), lower.left(slash))) {
        if (path.mid(slash) == lower.mid(slash) || Exists(path))
            return path;
        return path.left(slash) + lower.mid(slash);
    }
    if (Exists(path))
        return SameFile(path, lower) ? lower : path;
    // Not there (yet): the folders that exist keep their spelling, the rest is lower-cased.
    int cut = path.lastIndexOf('/');
    while (cut > 0 && !Exists(path.left(cut)))
        cut = path.lastIndexOf('/', cut - 1);
    if (cut <= 0)
        return lower;
    return LowerCasePath(path.left(cut)) + lower.mid(cut);
}

bool NameNotUtf8(const QString& path)
{
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
}

QString NameNotUtf8Text()
{
    return QStringLiteral("its file name is not valid UTF-8; rename the file to use it");
}

} // namespace gw
