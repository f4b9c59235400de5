#include "core/globals.h"

namespace gw {

QString IniFile;
QString HelpFile;
QString ExeFile;
QString FontsKey;
QString SystemFontDir;
QString UserDataDir;
bool ATMInstalled = false;
QString Type1MetricsDir;
QString Type1OutlineDir;
bool KeyboardOpen = false;
bool FontsChanged = false;

std::vector<FontRecord> FontTable;
int16_t FontCount = 0;
int16_t FontsRead = 0;
int16_t StyleCount = 0;
std::vector<EnumLogFont> StyleFonts;
std::vector<FontRecord> StyleTable;
std::vector<std::array<QString, 2>> RegFontList;

namespace {
std::unique_ptr<Platform>& CurrentPlatform()
{
    static std::unique_ptr<Platform> platform;
    return platform;
}
} // namespace

Platform& Sys()
{
    auto& p = CurrentPlatform();
    Q_ASSERT_X(p, "Sys", "no platform set");
    return *p;
}

void SetPlatform(std::unique_ptr<Platform> platform)
{
    CurrentPlatform() = std::move(platform);
}

} // namespace gw
