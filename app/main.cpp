#include "core/startup/startup.h"
#include "mainwindow/fw.h"

int main(int argc, char** argv)
{
    return gw::RunGlyphwick(argc, argv, [] { return new gw::FW; });
}
