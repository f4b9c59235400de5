#include "startup/version.h"

#include "core/globals.h"

namespace gw {

namespace {

QString PlatformWord(uint32_t platformId)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32s: return QStringLiteral("Windows 32s ");
    case VER_PLATFORM_WIN32_WINDOWS: return QStringLiteral("Windows 95 ");
    case VER_PLATFORM_WIN32_NT: return QStringLiteral("Windows NT ");
    case VER_PLATFORM_LINUX: return QStringLiteral("Linux ");
    default: return QString();
    }
}

} // namespace

QString GetWindowsVersion(bool* failed)
{
    OsVersionInfo info;
    info.dwOSVersionInfoSize = 148;
    const bool ok = Sys().system->GetVersionEx(info);
    if (failed)
        *failed = !ok;
    if (!ok) {
        Sys().messages->MsgBox(QStringLiteral("Error Getting Version Information"), vbOKOnly,
                               QStringLiteral("Glyphwick"));
        return QString();
    }
    return PlatformWord(info.dwPlatformId) + QString::number(info.dwMajorVersion) + "."
           + QString::number(info.dwMinorVersion) + " (Build "
           + QString::number(info.dwBuildNumber) + ")\r\n\r\n";
}

bool IsWindowsNT(bool* failed)
{
    return GetWindowsVersion(failed).contains(QLatin1String("Windows NT"));
}

} // namespace gw
