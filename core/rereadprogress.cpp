#include "core/rereadprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/helpers.h"
#include "core/picturebox.h"
#include "core/splash.h"

namespace gw {

namespace {
OneWindow<RereadProgress> CurrentRereadProgress;
} // namespace

RereadProgress::RereadProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("RereadProgress"));
    setWindowTitle(QStringLiteral("Glyphwick"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 14, 16, 14);
    row->setSpacing(14);
    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("icon"));
    icon_->setPixmap(GlyphwickLogo(48));
    icon_->setFixedSize(48, 48);
    row->addWidget(icon_, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("messageLabel"));
    messageLabel_->setWordWrap(true);
    column->addWidget(messageLabel_);

    column->addWidget(MakeGaugeWell(this, &gauge_));
    gauge_->setObjectName(QStringLiteral("gauge"));
    column->addStretch(1);
    row->addLayout(column, 1);

    setFixedSize(380, 96);
    layout()->activate();

    CentreForm(this);
    DrawProgress(0);
}

void RereadProgress::ShowMessage(const QString& text)
{
    messageLabel_->setText(text);
}

void RereadProgress::DrawProgress(int percent)
{
    DrawWindowGauge(gauge_, percent);
}

RereadProgress* RereadProgressWindow()
{
    return CurrentRereadProgress.Get();
}

RereadProgress* LoadRereadProgress()
{
    return CurrentRereadProgress.Load();
}

void UnloadRereadProgress()
{
    CurrentRereadProgress.Unload();
}

} // namespace gw
