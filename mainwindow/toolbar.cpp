#include "mainwindow/toolbar.h"

#include <QAction>
#include <QBitmap>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

#include "core/linuxtexts.h"

namespace gw {

namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kGrey(0xc0, 0xc0, 0xc0);
const QColor kDarkGrey(0x80, 0x80, 0x80);
const QColor kBlue(0x1f, 0x4e, 0x9c);
const QColor kGreen(0x1e, 0x8c, 0x3a);
const QColor kRed(0xc0, 0x20, 0x20);

// Pictures are drawn without anti-aliasing: a blended edge pixel would be
// neither the picture nor the transparent colour.
QFont LetterFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void Page(QPainter& p, const QRect& r)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(r);
}

void Letter(QPainter& p, const QRect& r, const QString& text, const QColor& colour, int size)
{
    p.setFont(LetterFont(size));
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void ArrowDown(QPainter& p, int x, int y, const QColor& colour)
{
    p.setPen(kInk);
    p.setBrush(colour);
    const QPoint shape[] = {{x + 3, y}, {x + 9, y}, {x + 9, y + 7}, {x + 12, y + 7},
                            {x + 6, y + 13}, {x, y + 7}, {x + 3, y + 7}};
    p.drawPolygon(shape, 7);
}

void DrawPicture(QPainter& p, int resource)
{
    switch (resource) {
    case 176: // system settings: three sliders
        p.setPen(kInk);
        p.setBrush(kGrey);
        p.drawRect(3, 4, 25, 24);
        for (int i = 0; i < 3; ++i) {
            const int y = 9 + i * 7;
            p.setPen(kDarkGrey);
            p.drawLine(7, y, 24, y);
            p.setPen(kInk);
            p.setBrush(i == 1 ? kBlue : kPaper);
            const int knob = (i == 0) ? 17 : (i == 1 ? 9 : 20);
            p.drawRect(knob, y - 2, 4, 4);
        }
        break;
    case 177: { // fonts on a CD-ROM
        p.setPen(kInk);
        p.setBrush(kGrey);
        p.drawEllipse(2, 2, 27, 27);
        p.setBrush(QColor(0xe0, 0xe8, 0xf0));
        p.drawEllipse(6, 6, 19, 19);
        p.setBrush(TransparentColour);
        p.drawEllipse(13, 13, 5, 5);
        Page(p, QRect(17, 15, 13, 15));
        Letter(p, QRect(17, 15, 14, 16), QStringLiteral("A"), kBlue, 12);
        break;
    }
    case 178: // install: a font page and a green arrow
        Page(p, QRect(3, 2, 18, 23));
        Letter(p, QRect(3, 2, 19, 24), QStringLiteral("A"), kBlue, 18);
        ArrowDown(p, 17, 15, kGreen);
        p.setPen(kInk);
        p.setBrush(kDarkGrey);
        p.drawRect(13, 28, 17, 2);
        break;
    case 179: { // keyboard
        p.setPen(kInk);
        p.setBrush(kGrey);
        p.drawRect(1, 8, 29, 17);
        p.setBrush(kPaper);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 6; ++col)
                p.drawRect(3 + col * 4 + (row == 1 ? 2 : 0), 10 + row * 4, 2, 2);
        p.drawRect(8, 22, 14, 1);
        break;
    }
    case 180: // printer with a sheet
        Page(p, QRect(8, 2, 15, 12));
        p.setPen(kBlue);
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(11, y, 20, y);
        p.setPen(kInk);
        p.setBrush(kGrey);
        p.drawRect(2, 13, 27, 11);
        p.setBrush(kDarkGrey);
        p.drawRect(6, 24, 19, 4);
        p.setBrush(kGreen);
        p.drawRect(24, 16, 2, 2);
        break;
    case 181: // uninstall: a font page crossed out
        Page(p, QRect(5, 2, 19, 25));
        Letter(p, QRect(5, 2, 20, 26), QStringLiteral("A"), kBlue, 18);
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(14, 14, 28, 28);
        p.drawLine(28, 14, 14, 28);
        break;
    case 182: // Type 1 font manager
        p.setPen(kInk);
        p.setBrush(QColor(0xb0, 0x30, 0x20));
        p.drawRect(3, 3, 25, 25);
        Letter(p, QRect(3, 2, 26, 26), QStringLiteral("a"), kPaper, 22);
        break;
    case 183: // copy: two sheets
        Page(p, QRect(3, 2, 16, 20));
        p.setPen(kDarkGrey);
        for (int y = 6; y <= 18; y += 3)
            p.drawLine(6, y, 15, y);
        Page(p, QRect(12, 9, 16, 20));
        p.setPen(kBlue);
        for (int y = 13; y <= 25; y += 3)
            p.drawLine(15, y, 24, y);
        break;
    default:
        break;
    }
}

} // namespace

QImage ToolBitmap(int resource, qreal devicePixelRatio)
{
    if (resource < 176 || resource > 183)
        return {};
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int side = qRound(ToolBitmapSize * dpr);
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(TransparentColour);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.scale(dpr, dpr);
        DrawPicture(p, resource);
    }
    image.setDevicePixelRatio(dpr);
    return image;
}

void DrawTransparent(QPainter& target, const QImage& bitmap, int x, int y,
                     const QColor& transparent)
{
    if (bitmap.isNull())
        return;
    // The pixels of the transparent colour are left out of the mask.
    QPixmap picture = QPixmap::fromImage(bitmap);
    picture.setMask(QBitmap::fromImage(
        bitmap.createMaskFromColor(transparent.rgb(), Qt::MaskInColor)));
    picture.setDevicePixelRatio(bitmap.devicePixelRatio());
    target.drawPixmap(x, y, picture);
}

QString MenuHelpText(const QString& itemText)
{
    static const QHash<QString, QString> table = [] {
        const char* const helpLines[][2] = {
            {"Preview && &Install Fonts...\tCtrl+I", "Install and preview fonts stored on CD-ROM, floppy, etc..."},
            {"&Uninstall Fonts...\tCtrl+U", "Remove fonts from your system"},
            {"&Print...\tCtrl+P", "Print a font sample sheet or font catalog"},
            {"Print fonts from &CD-ROM...", "Print uninstalled TrueType fonts stored on CD-ROM, floppy, etc..."},
            {"P&rint Setup...", "Printer setup"},
            {"E&xit", "Exit Glyphwick"},
            {"&Copy\tCtrl+C", "Copy selected character or text to the Clipboard"},
            {"&Upper Case", "View the upper case characters in this font"},
            {"&Lower Case", "View the lower case characters in this font"},
            {"&Numbers", "View the numbers in this font"},
            {"&Accents", "View the accent characters in this font"},
            {"&Symbols", "View the symbols in this font"},
            {"&Keyboard...\tCtrl+K", "Open the keyboard layout window"},
            {"&Reread Fonts", "Reread the installed fonts"},
            {"&Options...\tCtrl+S", "Change the options for Glyphwick"},
            {"Control &Panel", "Open the Windows Control Panel"},
            {"&Adobe Type Manager\u00ae", "Run Adobe Type Manager"},
            {"&Clipboard", "Open the Windows clipboard"},
            {"Character &Map", "Run the Windows Character Map applet"},
            {"&Contents\tF1", "Open the Help file"},
            {"&Contents", "Open the Help file"},
        };
        QHash<QString, QString> out;
        for (const auto& row : helpLines)
            out.insert(ForLinux(QString::fromUtf8(row[0])), ForLinux(QString::fromUtf8(row[1])));
        return out;
    }();
    return table.value(itemText);
}

QString MenuItemText(const QAction* item)
{
    if (!item)
        return {};
    const QString shortcut = item->shortcut().toString(QKeySequence::PortableText);
    return shortcut.isEmpty() ? item->text() : item->text() + '\t' + shortcut;
}

ToolbarTip::ToolbarTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("ToolbarTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    textLabel_ = new QLabel(this);
    textLabel_->setObjectName(QStringLiteral("textLabel"));
    textLabel_->move(1, 0);
}

void ToolbarTip::ShowText(const QString& text, const QPoint& at)
{
    textLabel_->setText(text);
    textLabel_->adjustSize();
    resize(textLabel_->width() + 4, textLabel_->height() + 2);
    move(at);
    show();
    raise();
}

ToolbarTip* TooltipWindow()
{
    static QPointer<ToolbarTip> window;
    if (!window)
        window = new ToolbarTip;
    return window;
}

} // namespace gw
