#pragma once
// Fonts for catalogs and sheets drawn on the recording surface: "Font 0" in
// "Face 0" from FONT0.TTF, and so on.
#include "print/pageframe.h"

inline gw::PrintFontList TestPrintFonts(int n)
{
    gw::PrintFontList list;
    for (int i = 0; i < n; ++i)
        list.push_back({QString("FONT%1.TTF").arg(i), QString("%1k").arg(i + 10), QString("Alt %1").arg(i),
                        QString("Font %1").arg(i), 1, QString("Face %1").arg(i), {}, {}, 0});
    return list;
}
