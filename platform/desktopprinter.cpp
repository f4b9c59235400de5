// The fonts resident in the default CUPS printer, from the *Font entries of its PPD.
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include "platform/desktop.h"

// The PPD functions are deprecated but remain the only way to read *Font entries.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace gw {

namespace {

const QSet<QString>& StyleWords()
{
    static const QSet<QString> words = {
        "roman", "regular", "normal", "book", "medium", "light", "demi", "demibold", "semibold",
        "bold", "black", "heavy", "ultra", "extra", "semi", "italic", "oblique", "kursiv",
        "slanted", "inclined", "bd", "it", "obl", "lt", "md"};
    return words;
}

QStringList CamelWords(const QString& text)
{
    QStringList words;
    QString word;
    for (QChar c : text) {
        if (c.isUpper() && !word.isEmpty() && !word.back().isUpper()) {
            words << word;
            word.clear();
        }
        word += c;
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

} // namespace

DesktopFace FaceFromPostScriptName(const QString& psName)
{
    DesktopFace face;
    face.fontType = DEVICE_FONTTYPE;
    face.family = psName;
    QStringList words;
    const int dash = psName.lastIndexOf('-');
    if (dash > 0) {
        words = CamelWords(psName.mid(dash + 1));
        bool allStyle = !words.isEmpty();
        for (const QString& w : words)
            allStyle = allStyle && StyleWords().contains(w.toLower());
        if (allStyle)
            face.family = psName.left(dash);
        else
            words.clear();
    }
    for (const QString& w : words) {
        const QString lw = w.toLower();
        if (lw == "bold" || lw == "bd" || lw.startsWith("demi") || lw == "semibold" || lw == "black"
            || lw == "heavy")
            face.weight = 700;
        if (lw == "italic" || lw == "it" || lw == "oblique" || lw == "obl" || lw == "kursiv"
            || lw == "slanted" || lw == "inclined")
            face.slant = lw.startsWith("obl") ? 110 : 100;
    }
    face.style = words.join(' ');
    if (face.style.isEmpty())
        face.style = "Regular";
    face.fullName = words.isEmpty() ? face.family : face.family + " " + face.style;
    return face;
}

QVector<DesktopFace> PpdFontFaces(const QString& ppdPath)
{
    QVector<DesktopFace> faces;
    ppd_file_t* ppd = ppdOpenFile(QFile::encodeName(ppdPath).constData());
    if (!ppd)
        return faces;
    for (int i = 0; i < ppd->num_fonts; ++i) {
        const QString name = QString::fromLatin1(ppd->fonts[i]).trimmed();
        if (!name.isEmpty())
            faces.append(FaceFromPostScriptName(name));
    }
    ppdClose(ppd);
    return faces;
}

namespace {
std::function<QVector<DesktopFace>()>& PrinterFacesReader()
{
    static std::function<QVector<DesktopFace>()> reader;
    return reader;
}
} // namespace

void SetPrinterFacesReader(std::function<QVector<DesktopFace>()> reader) { PrinterFacesReader() = std::move(reader); }

QVector<DesktopFace> DefaultPrinterFaces()
{
    if (PrinterFacesReader())
        return PrinterFacesReader()();
    QVector<DesktopFace> faces;
    if (DesktopChosenPrinter() == QLatin1String("PDF"))
        return faces;  // the PDF writer holds no fonts
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests(&dests);
    const QByteArray chosen = DesktopChosenPrinter().toLocal8Bit();
    cups_dest_t* dest = cupsGetDest(chosen.isEmpty() ? nullptr : chosen.constData(), nullptr,
                                    count, dests);
    if (dest) {
        // A temporary copy of the PPD; none for printers without one (driverless, PDF).
        if (const char* ppd = cupsGetPPD(dest->name)) {
            faces = PpdFontFaces(QString::fromLocal8Bit(ppd));
            unlink(ppd);
        }
    }
    cupsFreeDests(count, dests);
    return faces;
}

} // namespace gw
