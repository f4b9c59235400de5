#include "mainwindow/about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/helpers.h"
#include "core/programinfo.h"
#include "core/splash.h"
#include "platformapi/platform.h"

namespace gw {

QString ComponentVersionInUse(const QString& name)
{
    if (!Sys().components)
        return QStringLiteral("unknown");
    for (const ComponentReference& reference : Sys().components->References()) {
        if (reference.name != name)
            continue;
        const QVector<ComponentFile> found = Sys().components->Found(reference);
        if (!found.isEmpty() && found.first().inMemory && !found.first().version.isEmpty())
            return found.first().version;
    }
    return QStringLiteral("unknown");
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Glyphwick"));
    auto* layout = new QHBoxLayout(this);
    auto* logo = new QLabel(this);
    logo->setPixmap(GlyphwickLogo(96));
    layout->addWidget(logo, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(QStringLiteral("Glyphwick"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);
    texts->addWidget(title);
    versionLabel_ = new QLabel(VersionCaption(), this);
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    texts->addWidget(versionLabel_);
    texts->addWidget(new QLabel(QStringLiteral("A font manager for typographers and print shops."), this));
    texts->addSpacing(8);
    licenceLabel_ = new QLabel(QStringLiteral("Licence: %1 (%2)")
                                   .arg(QLatin1String(ProgramLicenceName), QLatin1String(ProgramLicence)),
                               this);
    licenceLabel_->setObjectName(QStringLiteral("licenceLabel"));
    texts->addWidget(licenceLabel_);
    componentsLabel_ = new QLabel(QStringLiteral("Running with Qt %1 and fontconfig %2")
                                      .arg(ComponentVersionInUse(QStringLiteral("Qt Core")),
                                           ComponentVersionInUse(QStringLiteral("fontconfig"))),
                                  this);
    componentsLabel_->setObjectName(QStringLiteral("componentsLabel"));
    texts->addWidget(componentsLabel_);
    auto* home = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(ProgramHomePage)), this);
    home->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(home, &QLabel::linkActivated, this, [](const QString& link) { Sys().web->OpenAddress(link); });
    texts->addWidget(home);
    texts->addStretch(1);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    texts->addWidget(okButton_, 0, Qt::AlignRight);
    layout->addLayout(texts, 1);
    adjustSize();
    CentreForm(this);
}

} // namespace gw
