#pragma once
// The eight font catalog layouts: many fonts per page, each in itself with a caption.
#include <QString>
#include <QStringList>

#include "print/pageframe.h"

namespace gw {

// The layout names, in the order the wizards list them.
QStringList CatalogNames();
// The point sizes catalogs print samples ("PointSize", 24) and their information lines
// ("InfoPointSize", 10) at.
int CatalogSampleSize();
double CatalogCaptionSize();

// The caption of a font: display name with its kind, file name and size text.
QString FontCaption(const PrintFontEntry& font);

void BasicCatalogI(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                   const QString& title, const QString& folder);
void BasicCatalogII(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                    const QString& title, const QString& folder);
void TwoColumnI(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                const QString& title, const QString& folder);
void TwoColumnII(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                 const QString& title);
void ThreeColumnCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                        const QString& title, const QString& folder);
void ThreeUpCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                    const QString& title);
void SixUpCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                  const QString& title);
void BarDividedCatalog(PrinterSurface& printer, const PrintFontList& fonts, const Gauge& gauge,
                       const QString& title, const QString& folder);

// Dispatches on the upper-cased layout name; false (nothing printed) for an unknown one.
bool PrintCatalogs(PrinterSurface& printer, const QString& layoutName, const PrintFontList& fonts,
                   const Gauge& gauge, const QString& title, const QString& folder);

} // namespace gw
