// The settings store on large files: how long the first read (a parse), the
// reads a window makes at load, a close's batch of writes and a read after the
// file changed on disk take, at 0.1, 1 and 10 MB. Times are the process's CPU
// time (user and system), so that other work on the machine does not count.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

#include "core/settings.h"

namespace {

class CpuTimer {
public:
    void restart() { start_ = Now(); }
    double Ms() const { return (Now() - start_) / 1e6; }

private:
    static double Now()
    {
        timespec t {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
    }
    double start_ = Now();
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QTextStream out(stdout);
    out << "size MB | CPU ms: first read | 1,000 cached reads ms | close batch (13 keys) ms | read after change ms\n";
    int file = 0;
    for (const int lines : {2500, 25000, 250000}) {
        const QString path = dir.path() + QStringLiteral("/gw%1.ini").arg(++file);
        QByteArray bytes = "[GW]\nANSI=66\nSampleText=hello\n\n[Main]\nTop= 1500\n\n[Filler]\n";
        for (int i = 0; i < lines; ++i)
            bytes += "Key" + QByteArray::number(i) + "=a value of about forty bytes, number " + QByteArray::number(i) + "\n";
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
        f.close();

        CpuTimer timer;
        gw::ReadIniInt("GW", "ANSI", 65, path);
        const double first = timer.Ms();

        timer.restart();
        for (int i = 0; i < 100; ++i)
            for (const char* key : {"ANSI", "PointSize", "ChartANSI", "ChartSize", "TextSize", "CurrentTab"})
                gw::ReadIniInt("GW", key, 1, path);
        for (int i = 0; i < 100; ++i)
            for (const char* key : {"SampleText", "CurrentFont", "Top", "Width"})
                gw::ReadIniString("GW", key, QString(), path);
        const double cached = timer.Ms();

        timer.restart();
        {
            gw::IniBatch batch(path);
            for (const char* key : {"ANSI", "PointSize", "ChartANSI", "ChartSize", "ChartSelected", "TextSize",
                                    "SampleText", "CurrentTab", "CurrentFont"})
                gw::WriteIniString("GW", key, QString::number(file * 7), path);
            for (const char* key : {"Top", "Left", "Height", "Width"})
                gw::WriteIniString("Main", key, QStringLiteral(" 1500"), path);
        }
        const double close = timer.Ms();

        f.open(QIODevice::Append);
        f.write("Extra=1\n");
        f.close();
        timer.restart();
        gw::ReadIniInt("Filler", "Extra", 0, path);
        const double changed = timer.Ms();

        out << QString::number(bytes.size() / 1e6, 'f', 1) << " | " << QString::number(first, 'f', 1) << " | "
            << QString::number(cached, 'f', 2) << " | " << QString::number(close, 'f', 1) << " | "
            << QString::number(changed, 'f', 1) << "\n";
    }
    return 0;
}
