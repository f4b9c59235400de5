#include "checker/vervrfy2.h"
#include "core/startup/startup.h"
#include "mainwindow/fw.h"

int main(int argc, char** argv)
{
    gw::SetComponentChecker(gw::RunComponentCheck);
    return gw::RunGlyphwick(argc, argv, [] { return new gw::FW; });
}
