#pragma once
// Small operations several windows share.
#include <QColor>
#include <QString>
#include <Qt>

class QAbstractItemView;
class QLineEdit;
class QListWidget;
class QWidget;

namespace gw {

class PictureBox;

// Screen positions are designed in twips: 15 twips per logical pixel.
constexpr int TwipsPerPixel = 15;
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

QString WeightName(int weight);
// Bytes of a fixed name field, code page 1252, cut before the first NUL unless it is the first byte.
QString BytesToText(const char* bytes, int size);
QString TrimAtNul(const QString& text);
QString KeystrokeLabel(const QString& character);
int SelectedCount(const QAbstractItemView* listView);
// Selects the whole text, only when the focus came by the Tab key.
void SelectAllOnTab(QLineEdit* box, Qt::FocusReason reason);
// 0-based index of the first item equal to text ignoring case, or -1.
int ListFindExact(const QListWidget* list, const QString& text);
void CentreForm(QWidget* window);
void LoadFormPlacement(QWidget* window, const QString& section, const QString& file);
void SaveFormPlacement(QWidget* window, const QString& section, const QString& file);
// A horizontal gauge filling the picture box; percent of the inner width in barColour.
void DrawGauge(PictureBox* box, const QColor& barColour, const QColor& frameLight,
               const QColor& frameDark, int percent, int flag1, int flag2, int frameStyle);
void RunProgram(const QString& commandLine, int windowStyle);
QString StripExtension(const QString& fileName);
QString FileNamePart(const QString& path);
// Lower-cases a path the program built; keeps a path from the file system as it
// is when the lower-cased one would name another file.
QString LowerCasePath(const QString& path);

} // namespace gw
