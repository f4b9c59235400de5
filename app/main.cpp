#include "checker/vervrfy2.h"
#include "mainwindow/fw.h"
#include "startup/startup.h"

int main(int argc, char** argv)
{
    gw::SetComponentChecker(gw::RunComponentCheck);
    return gw::RunGlyphwick(argc, argv, [] { return new gw::FW; });
}
