// glyphwick-print: catalogs and sample sheets from the command line.
#include "print/printcli.h"
#include "print/pdfsurface.h"
#include "startup/commandline.h"

int main(int argc, char** argv)
{
    // A run stopped by a signal leaves no partial PDF beside its target.
    gw::PdfSurface::RemovePartialPdfOnInterrupt();
    return gw::RunCommandLineProgram(argc, argv, QStringLiteral("glyphwick-print"), gw::RunPrintCommand);
}
