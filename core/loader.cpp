#include "core/loader.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/splash.h"

namespace gw {

namespace {
QPointer<Loader> CurrentLoader;
} // namespace

Loader::Loader(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Loader"));
    setWindowTitle(QStringLiteral("Glyphwick"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 14, 16, 14);
    row->setSpacing(14);
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(GlyphwickLogo(48));
    Picture2->setFixedSize(48, 48);
    row->addWidget(Picture2, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    column->addWidget(lblMessage);

    // The gauge draws no visible edge of its own (its frame is button face).
    auto* well = new QFrame(this);
    well->setFrameShape(QFrame::Panel);
    well->setFrameShadow(QFrame::Sunken);
    auto* wellLayout = new QVBoxLayout(well);
    wellLayout->setContentsMargins(1, 1, 1, 1);
    Picture1 = new PictureBox(well);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedHeight(16);
    Picture1->SetBackColor(palette().color(QPalette::Button));
    wellLayout->addWidget(Picture1);
    column->addWidget(well);
    column->addStretch(1);
    row->addLayout(column, 1);

    setFixedSize(380, 96);
    layout()->activate();

    Form_Load();
}

void Loader::Form_Load()
{
    CentreForm(this);
    DrawProgress(0);
}

void Loader::DrawProgress(int percent)
{
    const QColor face = palette().color(QPalette::Button);
    DrawGauge(Picture1, palette().color(QPalette::Highlight), face, face, percent, 0, 0, 1);
}

Loader* LoaderWindow()
{
    return CurrentLoader.data();
}

Loader* LoadLoader()
{
    if (!CurrentLoader)
        CurrentLoader = new Loader;
    return CurrentLoader.data();
}

void UnloadLoader()
{
    delete CurrentLoader.data();
}

} // namespace gw
