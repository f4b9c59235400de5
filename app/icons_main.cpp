// Writes the program's icon into a hicolor theme folder: a scalable SVG and
// PNGs of the usual sizes, all drawn from the logo the splash window shows.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QTextStream>

#include "core/splash.h"

namespace {

const char* const kIconName = "org.glyphwick.Glyphwick";

QString Num(qreal v)
{
    return QString::number(v, 'f', 2);
}

QString PathData(const QPainterPath& path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement: d += "M" + Num(e.x) + " " + Num(e.y); break;
        case QPainterPath::LineToElement: d += "L" + Num(e.x) + " " + Num(e.y); break;
        case QPainterPath::CurveToElement: d += "C" + Num(e.x) + " " + Num(e.y); break;
        case QPainterPath::CurveToDataElement: d += " " + Num(e.x) + " " + Num(e.y); break;
        }
    }
    return d + "Z";
}

QString Svg(qreal s)
{
    const gw::LogoGeometry g = gw::GlyphwickLogoGeometry(s);
    QString out;
    QTextStream svg(&out);
    const QRectF& t = g.tile;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << s << "\" height=\"" << s
        << "\" viewBox=\"0 0 " << s << " " << s << "\">\n"
        << "  <defs>\n"
        << "    <linearGradient id=\"back\" gradientUnits=\"userSpaceOnUse\" x1=\"" << Num(t.left()) << "\" y1=\""
        << Num(t.top()) << "\" x2=\"" << Num(t.right()) << "\" y2=\"" << Num(t.bottom()) << "\">\n"
        << "      <stop offset=\"0\" stop-color=\"#2f5d9e\"/><stop offset=\"1\" stop-color=\"#172a4f\"/>\n"
        << "    </linearGradient>\n"
        << "    <linearGradient id=\"ink\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" << Num(g.capHeight)
        << "\" x2=\"0\" y2=\"" << Num(g.baseline) << "\">\n"
        << "      <stop offset=\"0\" stop-color=\"#ffffff\"/><stop offset=\"1\" stop-color=\"#dce6f5\"/>\n"
        << "    </linearGradient>\n"
        << "  </defs>\n"
        << "  <rect x=\"" << Num(t.left()) << "\" y=\"" << Num(t.top()) << "\" width=\"" << Num(t.width())
        << "\" height=\"" << Num(t.height()) << "\" rx=\"" << Num(g.radius) << "\" fill=\"url(#back)\"/>\n";
    const qreal left = t.left() + g.margin, right = t.right() - g.margin;
    svg << "  <g stroke=\"#ffffff\" stroke-opacity=\"0.24\" stroke-width=\"" << Num(s / 96) << "\">\n";
    for (qreal y : {g.capHeight, g.xHeight})
        svg << "    <line x1=\"" << Num(left) << "\" y1=\"" << Num(y) << "\" x2=\"" << Num(right) << "\" y2=\"" << Num(y) << "\"/>\n";
    for (qreal x : g.sideBearings)
        svg << "    <line x1=\"" << Num(x) << "\" y1=\"" << Num(t.top() + g.margin) << "\" x2=\"" << Num(x)
            << "\" y2=\"" << Num(t.bottom() - g.margin) << "\"/>\n";
    svg << "  </g>\n"
        << "  <line x1=\"" << Num(left) << "\" y1=\"" << Num(g.baseline) << "\" x2=\"" << Num(right) << "\" y2=\""
        << Num(g.baseline) << "\" stroke=\"#f2b134\" stroke-opacity=\"0.67\" stroke-width=\"" << Num(s / 64) << "\"/>\n"
        << "  <path d=\"" << PathData(g.glyph) << "\" fill=\"url(#ink)\" fill-rule=\""
        << (g.glyph.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd") << "\" stroke=\"#0e1a33\" stroke-width=\""
        << Num(s / 80) << "\"/>\n";
    const qreal dot = s / 36;
    svg << "  <g fill=\"#f2b134\">\n";
    for (int i = 0; i < g.glyph.elementCount(); ++i) {
        const QPainterPath::Element e = g.glyph.elementAt(i);
        if (e.type == QPainterPath::MoveToElement || e.type == QPainterPath::LineToElement)
            svg << "    <rect x=\"" << Num(e.x - dot / 2) << "\" y=\"" << Num(e.y - dot / 2) << "\" width=\""
                << Num(dot) << "\" height=\"" << Num(dot) << "\"/>\n";
    }
    svg << "  </g>\n</svg>\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: glyphwick-icons HICOLOR_FOLDER\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString scalable = root + "/scalable/apps";
    QFile svg(scalable + "/" + kIconName + ".svg");
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || svg.write(Svg(256).toUtf8()) < 0)
        return 1;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !gw::GlyphwickLogo(size).save(folder + "/" + kIconName + ".png"))
            return 1;
    }
    return 0;
}
