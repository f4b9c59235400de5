#pragma once
// Screenshots for people to look at: saved only when GW_SHOT_DIR names a folder.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

namespace gw {

inline QString ShotDir() { return QString::fromLocal8Bit(qgetenv("GW_SHOT_DIR")); }

inline void SaveShot(const QImage& image, const QString& name)
{
    if (ShotDir().isEmpty())
        return;
    QDir().mkpath(ShotDir());
    image.save(ShotDir() + "/" + name + ".png");
}

// Compares a picture with the approved PNG, or writes it there when GW_APPROVE is set.
// Empty when they match; a channel may move by `tolerance` (the raster engine's
// rounding differs a little between processors), more than that counts. A picture that differs is left in
// the temporary folder to be looked at.
inline QString PictureDiffers(const QImage& picture, const QString& approvedFile, int tolerance = 2)
{
    const QImage now = picture.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("GW_APPROVE"))
        now.save(approvedFile);
    const QImage approved = QImage(approvedFile).convertToFormat(QImage::Format_RGB32);
    int differ = approved.size() == now.size() ? 0 : -1;
    for (int y = 0; differ >= 0 && y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x) {
            const QRgb a = now.pixel(x, y), b = approved.pixel(x, y);
            differ += qAbs(qRed(a) - qRed(b)) > tolerance || qAbs(qGreen(a) - qGreen(b)) > tolerance
                      || qAbs(qBlue(a) - qBlue(b)) > tolerance;
        }
    if (differ == 0)
        return {};
    const QString kept = QDir::temp().filePath(QFileInfo(approvedFile).fileName());
    now.save(kept);
    return differ < 0 ? QString("%1 is not the size approved (now in %2)").arg(approvedFile, kept)
                      : QString("%1 pixels differ from %2 (now in %3)").arg(differ).arg(approvedFile, kept);
}

inline void SaveShot(QWidget* window, const QString& name)
{
    if (!ShotDir().isEmpty())
        SaveShot(window->grab().toImage(), name);
}

} // namespace gw
