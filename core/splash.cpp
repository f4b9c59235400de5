#include "core/splash.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "core/picturebox.h"
#include "core/settings.h"

namespace gw {

namespace {

OneWindow<SplashWindow> CurrentSplash;

QFrame* MakeLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QString VersionCaption()
{
    return QStringLiteral("Version ") + QLatin1String(ProgramVersion) + QStringLiteral(", for Linux");
}

LogoGeometry GlyphwickLogoGeometry(qreal s)
{
    LogoGeometry g;
    g.tile = QRectF(s * 0.02, s * 0.02, s * 0.96, s * 0.96);
    g.radius = s * 0.14;
    g.baseline = s * 0.78;
    g.capHeight = s * 0.20;
    g.xHeight = s * 0.42;
    g.margin = s * 0.06;
    g.sideBearings[0] = s * 0.18;
    g.sideBearings[1] = s * 0.82;

    // A serif "G" fitted between cap height and baseline.
    QFont font(QStringLiteral("Liberation Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(200);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QStringLiteral("G"));
    const QRectF box = glyph.boundingRect();
    const qreal scale = (g.baseline - g.capHeight) / box.height();
    QTransform fit;
    fit.translate(s / 2 - box.center().x() * scale, g.baseline - box.bottom() * scale);
    fit.scale(scale, scale);
    g.glyph = fit.map(glyph);
    return g;
}

QPixmap GlyphwickLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal s = size;
    const LogoGeometry g = GlyphwickLogoGeometry(s);
    const QRectF tile = g.tile;
    QLinearGradient back(tile.topLeft(), tile.bottomRight());
    back.setColorAt(0, QColor(0x2f, 0x5d, 0x9e));
    back.setColorAt(1, QColor(0x17, 0x2a, 0x4f));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(tile, g.radius, g.radius);

    // The guides of a glyph editor: baseline, x-height, cap height, side bearings.
    const qreal baseline = g.baseline, capHeight = g.capHeight;
    p.setPen(QPen(QColor(255, 255, 255, 60), qMax<qreal>(1, s / 96)));
    for (qreal y : {g.capHeight, g.xHeight})
        p.drawLine(QPointF(tile.left() + g.margin, y), QPointF(tile.right() - g.margin, y));
    for (qreal x : g.sideBearings)
        p.drawLine(QPointF(x, tile.top() + g.margin), QPointF(x, tile.bottom() - g.margin));
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34, 170), qMax<qreal>(1, s / 64)));
    p.drawLine(QPointF(tile.left() + g.margin, baseline), QPointF(tile.right() - g.margin, baseline));
    const QPainterPath& glyph = g.glyph;

    QLinearGradient ink(0, capHeight, 0, baseline);
    ink.setColorAt(0, Qt::white);
    ink.setColorAt(1, QColor(0xdc, 0xe6, 0xf5));
    p.setPen(QPen(QColor(0x0e, 0x1a, 0x33), qMax<qreal>(1, s / 80)));
    p.setBrush(ink);
    p.drawPath(glyph);

    // Outline points, as an editor marks them.
    const qreal dot = qMax<qreal>(2, s / 36);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    for (int i = 0; i < glyph.elementCount(); ++i) {
        const QPainterPath::Element e = glyph.elementAt(i);
        if (e.type == QPainterPath::MoveToElement || e.type == QPainterPath::LineToElement)
            p.drawRect(QRectF(e.x - dot / 2, e.y - dot / 2, dot, dot));
    }
    return pixmap;
}

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setWindowTitle(QStringLiteral("Glyphwick"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    outer->addWidget(panel);

    auto* body = new QVBoxLayout(panel);
    body->setContentsMargins(22, 20, 22, 18);
    body->setSpacing(6);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    logo_ = new QLabel(panel);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setPixmap(GlyphwickLogo(120));
    logo_->setFixedSize(120, 120);
    top->addWidget(logo_, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    titleLabel_ = new QLabel(QStringLiteral("Glyphwick"), panel);
    titleLabel_->setObjectName(QStringLiteral("titleLabel"));
    QFont title = titleLabel_->font();
    title.setPointSizeF(title.pointSizeF() * 2.6);
    title.setBold(true);
    titleLabel_->setFont(title);
    texts->addWidget(titleLabel_);

    sloganLabel_ = new QLabel(QStringLiteral("The easy way to manage your TrueType fonts."), panel);
    sloganLabel_->setObjectName(QStringLiteral("sloganLabel"));
    QFont slogan = sloganLabel_->font();
    slogan.setItalic(true);
    slogan.setPointSizeF(slogan.pointSizeF() * 1.1);
    sloganLabel_->setFont(slogan);
    texts->addWidget(sloganLabel_);

    topRule_ = MakeLine(panel);
    topRule_->setObjectName(QStringLiteral("topRule"));
    texts->addSpacing(4);
    texts->addWidget(topRule_);
    texts->addSpacing(4);

    captionLabel_ = new QLabel(QStringLiteral("Preview, print, install and remove fonts."), panel);
    captionLabel_->setObjectName(QStringLiteral("captionLabel"));
    texts->addWidget(captionLabel_);
    versionLabel_ = new QLabel(panel);
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    texts->addWidget(versionLabel_);
    texts->addStretch(1);
    top->addLayout(texts, 1);
    body->addLayout(top);

    body->addSpacing(8);
    type1Label_ = new QLabel(panel);
    type1Label_->setObjectName(QStringLiteral("type1Label"));
    // Keeps its line when empty, so the window looks the same with or without ATM.
    type1Label_->setMinimumHeight(type1Label_->fontMetrics().height());
    body->addWidget(type1Label_);
    bottomRule_ = MakeLine(panel);
    bottomRule_->setObjectName(QStringLiteral("bottomRule"));
    body->addWidget(bottomRule_);

    statusLabel_ = new QLabel(panel);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    body->addWidget(statusLabel_);
    body->addWidget(MakeGaugeWell(panel, &gauge_));
    gauge_->setObjectName(QStringLiteral("gauge"));

    setFixedWidth(540);
    setFixedHeight(sizeHint().height());
    // Lay the controls out now, so the gauge is drawn at its final size.
    layout()->activate();

    ShowStartState();
}

void SplashWindow::ShowStartState()
{
    CentreForm(this);
    if (ATMInstalled)
        type1Label_->setText(Type1FoundText(ReadIniString("Settings", "Version", QString(), "atm.ini"), RealAtmIniExists()));
    statusLabel_->setText(QStringLiteral("Loading..."));
    versionLabel_->setText(VersionCaption());
    DrawProgress(0);
}

void SplashWindow::ShowStatus(const QString& text)
{
    statusLabel_->setText(text);
}

void SplashWindow::DrawProgress(int percent)
{
    DrawWindowGauge(gauge_, percent);
}

SplashWindow* Splash()
{
    return CurrentSplash.Get();
}

SplashWindow* LoadSplash()
{
    return CurrentSplash.Load();
}

void UnloadSplash()
{
    CurrentSplash.Unload();
}

} // namespace gw
