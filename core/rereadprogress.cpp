#include "core/rereadprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/splash.h"

namespace gw {

namespace {
OneWindow<RereadProgress> CurrentLoader;
} // namespace

RereadProgress::RereadProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("RereadProgress"));
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

    column->addWidget(MakeGaugeWell(this, &Picture1));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    column->addStretch(1);
    row->addLayout(column, 1);

    setFixedSize(380, 96);
    layout()->activate();

    Form_Load();
}

void RereadProgress::Form_Load()
{
    CentreForm(this);
    DrawProgress(0);
}

void RereadProgress::DrawProgress(int percent)
{
    DrawWindowGauge(Picture1, percent);
}

RereadProgress* RereadProgressWindow()
{
    return CurrentLoader.Get();
}

RereadProgress* LoadRereadProgress()
{
    return CurrentLoader.Load();
}

void UnloadRereadProgress()
{
    CurrentLoader.Unload();
}

} // namespace gw
