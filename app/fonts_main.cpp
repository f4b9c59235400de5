// glyphwick-fonts: installs, uninstalls, lists and restores fonts from the command line.
#include "startup/commandline.h"
#include "wizards/fontscli.h"

int main(int argc, char** argv)
{
    return gw::RunCommandLineProgram(argc, argv, QStringLiteral("glyphwick-fonts"), gw::RunFontsCommand);
}
