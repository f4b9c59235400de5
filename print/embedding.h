#pragma once
// Embedding rights on paper: the fonts of a print run whose licence does not
// let the printout embed them, and the notice after a run.
#include <QString>
#include <QStringList>

#include "print/pageframe.h"

namespace gw {

// "Embedding: Print and preview" for a font file with embedding bits, else empty.
QString EmbeddingNote(const PrintFontEntry& font);

// "Display Name (Restricted)" for each font whose file does not allow embedding,
// each once, in list order.
QStringList FontsWithoutEmbedding(const PrintFontList& fonts);

// The one message after a print run: the fonts the printer could not use, the
// faces that could not be printed at all and the fonts that could not be
// embedded; empty when there is nothing to say.
QString PrintRunNotice(const QStringList& refused, const QStringList& unprintable,
                       const QStringList& withoutEmbedding);

} // namespace gw
