// glyphwick-print: catalogs and sample sheets from the command line.
#include "print/printcli.h"
#include "startup/commandline.h"

int main(int argc, char** argv)
{
    return gw::RunCommandLineProgram(argc, argv, QStringLiteral("glyphwick-print"), gw::RunPrintCommand);
}
