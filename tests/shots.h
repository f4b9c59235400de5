#pragma once
// Screenshots for people to look at: saved only when GW_SHOT_DIR names a folder.
#include <QDir>
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

inline void SaveShot(QWidget* window, const QString& name)
{
    if (!ShotDir().isEmpty())
        SaveShot(window->grab().toImage(), name);
}

} // namespace gw
