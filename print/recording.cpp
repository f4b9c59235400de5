#include "print/recording.h"
#include "print/surfacecommon.h"

#include <QCursor>
#include <QGuiApplication>
#include <cmath>

namespace gw {

RecordingSurface::RecordingSurface(int paperCode, double sheetWidth, double sheetHeight,
                                   double margin)
    : paper_(paperCode), sheetWidth_(sheetWidth), sheetHeight_(sheetHeight), margin_(margin)
{
    // Nothing is open until the first output.
    pendingDocument_ = true;
}

double RecordingSurface::ToPoints(double v) const { return ScaleToPoints(scaleMode_, v); }
double RecordingSurface::FromPoints(double v) const { return PointsToScale(scaleMode_, v); }

int RecordingSurface::Width() const { return static_cast<int>(std::lround(sheetWidth_ * 20)); }
int RecordingSurface::Height() const { return static_cast<int>(std::lround(sheetHeight_ * 20)); }
double RecordingSurface::ScaleWidth() const { return FromPoints(sheetWidth_ - 2 * margin_); }
double RecordingSurface::ScaleHeight() const { return FromPoints(sheetHeight_ - 2 * margin_); }
double RecordingSurface::CurrentX() const { return FromPoints(x_); }
double RecordingSurface::CurrentY() const { return FromPoints(y_); }
void RecordingSurface::SetCurrentX(double x) { x_ = ToPoints(x); }
void RecordingSurface::SetCurrentY(double y) { y_ = ToPoints(y); }

bool RecordingSurface::SetFontName(const QString& name)
{
    for (const QString& refused : refusedFonts) {
        if (refused.compare(name, Qt::CaseInsensitive) == 0)
            return false;
    }
    fontName_ = name;
    return true;
}

bool RecordingSurface::Finish(QString* error)
{
    if (error)
        *error = failReason;
    return failReason.isEmpty();
}

QString RecordingSurface::SetFontFace(const QString& file, int faceIndex)
{
    if (file.isEmpty() || unprintableFiles.contains(file))
        return QString();
    fontName_ = file + "#" + QString::number(faceIndex);
    return fontName_;
}

double RecordingSurface::TextWidth(const QString& text)
{
    const double perCharacter = fontSize_ * (bold_ ? 0.6 : 0.5);
    double characters = 0;
    for (const QChar c : text)
        characters += widthFactors.value(c, 1);
    return FromPoints(perCharacter * characters);
}

PrintOp RecordingSurface::Op(PrintOp::Kind kind) const
{
    PrintOp op;
    op.kind = kind;
    op.x = x_;
    op.y = y_;
    op.fontName = fontName_;
    op.fontSize = fontSize_;
    op.bold = bold_;
    op.italic = italic_;
    op.align = align_;
    op.colour = colour_;
    op.drawWidth = drawWidth_;
    op.fillStyle = fillStyle_;
    op.page = page_;
    op.busy = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    op.document = document_;
    return op;
}

void RecordingSurface::Print(const QString& text)
{
    pendingDocument_ = false;
    PrintOp op = Op(PrintOp::Text);
    op.text = text;
    ops.append(op);
    x_ += ToPoints(TextWidth(text));
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, int kind, uint32_t rgb)
{
    pendingDocument_ = false;
    PrintOp::Kind opKind = PrintOp::Line;
    if (kind == LineBox)
        opKind = PrintOp::Box;
    else if (kind == LineFilledBox)
        opKind = PrintOp::FilledBox;
    PrintOp op = Op(opKind);
    op.x = ToPoints(x1);
    op.y = ToPoints(y1);
    op.x2 = ToPoints(x2);
    op.y2 = ToPoints(y2);
    op.colour = rgb;
    ops.append(op);
}

void RecordingSurface::NewPage()
{
    ops.append(Op(PrintOp::NewPage));
    ++page_;
}

void RecordingSurface::EndDoc()
{
    ops.append(Op(PrintOp::EndDoc));
    // Ending a document that was never opened leaves nothing to count.
    if (pendingDocument_)
        return;
    ++page_;
    ++document_;
    pendingDocument_ = true;
}

int RecordingSurface::SetTextAlign(int align)
{
    const int previous = align_;
    align_ = align;
    return previous;
}

const PrintOp* RecordingSurface::Find(const QString& text) const
{
    for (const PrintOp& op : ops) {
        if (op.kind == PrintOp::Text && op.text == text)
            return &op;
    }
    return nullptr;
}

int RecordingSurface::Count(PrintOp::Kind kind) const
{
    int n = 0;
    for (const PrintOp& op : ops) {
        if (op.kind == kind)
            ++n;
    }
    return n;
}

} // namespace gw
