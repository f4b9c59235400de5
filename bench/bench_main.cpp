// The benchmark: generates corpora of fonts, installs each into temporary XDG
// folders and times Glyphwick's work on it beside `fc-list : family style file`.
// Every piece of work runs in a child process of its own, so its time includes
// what a user waits for and its peak memory is its own.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>
#include <QMap>
#include <algorithm>
#include <functional>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fontconfig/fontconfig.h>

#include "../tests/sfntbuilder.h"
#include "bench/benchfont.h"
#include "checker/versioncheck.h"
#include "core/globals.h"
#include "startup/startup.h"
#include "fonts/enumerate.h"
#include "fonts/fontlist.h"
#include "mainwindow/mainwindow.h"
#include "platform/desktop.h"
#include "platformapi/platform.h"
#include "print/catalogs.h"
#include "print/printlist.h"
#include "print/pdfsurface.h"
#include "sfnt/names.h"

extern char** environ;

namespace {

const char* const kStyles[] = {"Regular", "Bold", "Italic", "Bold Italic"};

qint64 MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// Wall-clock and processor time of one piece of work; on a shared machine the
// processor time says what the work itself cost.
struct Span {
    double wall = -1;
    double cpu = -1;
};

class Stopwatch {
public:
    Stopwatch() : cpu_(CpuSeconds()) { timer_.start(); }
    Span Elapsed() const { return {timer_.nsecsElapsed() / 1e9, CpuSeconds() - cpu_}; }

private:
    QElapsedTimer timer_;
    double cpu_;
};

struct Measured {
    double seconds = -1;
    double cpu = -1;
    long peakKb = 0;
    int code = -1;
    int run = -1;  // which of several runs, for Median's callers
};

// Runs a program to its end; its stdout goes to `outFile` (or nowhere).
Measured RunMeasured(const QString& program, const QStringList& args, const QString& outFile = {})
{
    QList<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& a : args)
        storage << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = outFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(outFile);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    qputenv("GW_BENCH_T0", QByteArray::number(MonotonicNs()));
    const qint64 start = MonotonicNs();
    pid_t pid = 0;
    Measured m;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            m.seconds = double(MonotonicNs() - start) / 1e9;
            m.peakKb = usage.ru_maxrss;
            m.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
                    + usage.ru_stime.tv_usec / 1e6;
            m.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

// The run of median processor time of `runs` runs: on a shared machine the
// wall clock measures the neighbours too. A failed run ends the series.
Measured Median(int runs, const std::function<Measured()>& run)
{
    QList<Measured> all;
    for (int i = 0; i < runs; ++i) {
        Measured m = run();
        if (m.code != 0)
            return m;
        if (m.run < 0)
            m.run = i;
        all << m;
    }
    std::sort(all.begin(), all.end(), [](const Measured& a, const Measured& b) { return a.cpu < b.cpu; });
    return all.value(all.size() / 2);
}

// "key seconds" lines written by a child.
QMap<QString, double> ReadResults(const QString& file)
{
    QMap<QString, double> results;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n')) {
            const int space = line.lastIndexOf(' ');
            if (space > 0)
                results.insert(QString::fromUtf8(line.left(space)), line.mid(space + 1).toDouble());
        }
    return results;
}

// ---- Corpus -------------------------------------------------------------------------------

QString InstalledFile(const char* pattern)
{
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    QString file;
    FcChar8* family = nullptr;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch
        && QString::fromUtf8(reinterpret_cast<char*>(family)) == "Liberation Sans"
        && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = QString::fromUtf8(reinterpret_cast<char*>(path));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(p);
    return file;
}

// Letters, digits and the blank always; fourteen punctuation marks chosen by the
// bits of the font's number, so that no two fonts cover the same characters.
QString CharactersOf(int number)
{
    QString chars = QStringLiteral(" ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    const QString optional = QStringLiteral("!\"#$%&'()*+,-./");
    for (int bit = 0; bit < 14; ++bit)
        if (number & (1 << bit))
            chars += optional[bit];
    chars += QStringLiteral(":;<=>?@[\\]^_`{|}~");
    return chars;
}

QString FamilyName(int family)
{
    return QStringLiteral("Bench %1").arg(family, 4, 10, QLatin1Char('0'));
}

QString PoolFile(const QString& pool, int number)
{
    return pool + QStringLiteral("/bench-%1-%2.ttf")
                      .arg(number / 4 + 1, 4, 10, QLatin1Char('0'))
                      .arg(QString(kStyles[number % 4]).toLower().remove(' '));
}

bool MakePool(const QString& pool, int count, QTextStream& err)
{
    QByteArray sources[4];
    for (int s = 0; s < 4; ++s) {
        const QByteArray pattern = QByteArray("Liberation Sans:style=") + kStyles[s];
        QString file = InstalledFile(pattern.constData());
        if (file.isEmpty())
            file = InstalledFile("Liberation Sans:style=Regular");
        QFile f(file);
        if (file.isEmpty() || !f.open(QIODevice::ReadOnly)) {
            err << "The benchmark makes its fonts from Liberation Sans (Debian package fonts-liberation2), "
                   "which is not installed.\n";
            return false;
        }
        sources[s] = f.readAll();
    }
    QDir().mkpath(pool);
    for (int n = 0; n < count; ++n) {
        const QString path = PoolFile(pool, n);
        if (QFileInfo::exists(path))
            continue;
        bench::BenchFontSpec spec;
        spec.family = FamilyName(n / 4 + 1);
        spec.style = kStyles[n % 4];
        spec.weight = (n % 4) % 2 ? 700 : 400;
        spec.italic = n % 4 >= 2;
        spec.characters = CharactersOf(n);
        QString error;
        const QByteArray font = bench::MakeBenchFont(sources[n % 4], spec, &error);
        QFile out(path);
        if (font.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(font) != font.size()) {
            err << "Cannot make " << path << ": " << error << "\n";
            return false;
        }
    }
    return true;
}

// The real-font corpus: the installed TrueType and OpenType files (first face,
// .ttf and .otf, up to 4 MB), copied round after round, each copy's families
// renamed "R0001 DejaVu Sans" and so on by rewriting its naming table, styles
// as they were.
QStringList InstalledSfntFiles()
{
    QStringList files;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        if (index != 0 || FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        const QString path = QString::fromUtf8(reinterpret_cast<const char*>(file));
        const QString suffix = QFileInfo(path).suffix().toLower();
        if ((suffix == "ttf" || suffix == "otf") && QFileInfo(path).size() <= 4 * 1024 * 1024)
            files << path;
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    files.removeDuplicates();
    files.sort();
    return files;
}

QString RealPoolFile(const QString& pool, int number, const QString& source)
{
    return pool + QStringLiteral("/real-%1.").arg(number, 5, 10, QLatin1Char('0')) + QFileInfo(source).suffix().toLower();
}

bool MakeRealPool(const QString& pool, int count, QStringList* files, QTextStream& err)
{
    const QStringList sources = InstalledSfntFiles();
    if (sources.isEmpty()) {
        err << "No installed TrueType or OpenType files to make the real-font corpus from.\n";
        return false;
    }
    QDir().mkpath(pool);
    QByteArray bytes;
    QString loaded;
    for (int n = 0; n < count; ++n) {
        const QString source = sources[n % sources.size()];
        const QString path = RealPoolFile(pool, n, source);
        files->append(path);
        if (QFileInfo::exists(path))
            continue;
        if (loaded != source) {
            QFile in(source);
            bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
            loaded = source;
        }
        gw::FontNameInfo names;
        gw::ReadNameTableBytes(bytes, names);
        const QString style = names.subfamily.trimmed().isEmpty() ? QStringLiteral("Regular") : names.subfamily.trimmed();
        const QString family = QStringLiteral("R%1 ").arg(n / sources.size() + 1, 4, 10, QLatin1Char('0'))
                               + names.family.trimmed();
        const QByteArray renamed = gw::SfntBuilder::Renamed(bytes, family, family + " " + style, style);
        QFile out(path);
        if (renamed.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(renamed) != renamed.size()) {
            err << "Cannot make " << path << " from " << source << "\n";
            return false;
        }
    }
    return true;
}

// Links to `files` in `folder`, made once.
bool LinkFiles(const QStringList& files, const QString& folder)
{
    QDir().mkpath(folder);
    for (const QString& file : files) {
        const QString link = folder + "/" + QFileInfo(file).fileName();
        if (!QFileInfo::exists(link) && !QFile::link(file, link) && !QFile::copy(file, link))
            return false;
    }
    return true;
}

// Points the XDG folders and the program folder at a corpus of `files`
// (`name`: the corpus and its size, e.g. "1000", "real-1000"); with
// installed false, at empty font folders (the corpus printed from a folder).
bool InstallCorpus(const QString& root, const QStringList& files, const QString& name, bool installed = true)
{
    const QString data = root + "/data-" + (installed ? name : QStringLiteral("none"));
    QDir().mkpath(data + "/fonts");
    if (installed && !LinkFiles(files, data + "/fonts"))
        return false;
    const QString home = root + "/home-" + (installed ? name : "folder-" + name);
    QDir().mkpath(home);
    QFile ini(home + "/gw.ini");
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write("[GW]\nShowTrueType=1\nShowATM=1\nShowDevice=1\n");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config-" + (installed ? name : QStringLiteral("none"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
    qputenv("GLYPHWICK_HOME", QFile::encodeName(home));
    return true;
}

// ---- Children -----------------------------------------------------------------------------

void StartPlatform()
{
    gw::SetPlatform(gw::MakeDesktopPlatform());
    gw::StartupValues();
}

class Results {
public:
    Results() : file_(QString::fromLocal8Bit(qgetenv("GW_BENCH_OUT"))) { file_.open(QIODevice::WriteOnly); }
    void Put(const QString& key, double value)
    {
        file_.write(key.toUtf8() + ' ' + QByteArray::number(value, 'f', 6) + '\n');
        file_.flush();
    }
    void Put(const QString& key, Span span)
    {
        Put(key, span.wall);
        Put(key + " cpu", span.cpu);
    }

private:
    QFile file_;
};

int ChildInventory()
{
    StartPlatform();
    gw::FontListModel list;
    gw::FontEnumerator enumerator(&list);
    const Stopwatch t;
    enumerator.ReadFonts();
    Results().Put("inventory", t.Elapsed());
    return list.Count() > 0 ? 0 : 1;
}

// Basic Catalog I of every font of the corpus (families "Bench ..." or "R0001 ...").
int ChildCatalog(const QString& pdf)
{
    StartPlatform();
    const gw::PrintFontList fonts = gw::InstalledPrintFonts({QStringLiteral("Bench "), QStringLiteral("R0")});
    const Stopwatch t;
    {
        auto surface = gw::PdfSurface::Create(pdf, gw::PaperLetter);
        if (!surface || !surface->IsValid())
            return 1;
        gw::PrintCatalogs(*surface, QStringLiteral("Basic Catalog I"), fonts, [](int) {},
                          QStringLiteral("Glyphwick Benchmark"), QString());
        surface->Finish(nullptr);
    }
    Results r;
    r.Put("catalog", t.Elapsed());
    r.Put("catalog fonts", double(fonts.size()));
    return QFileInfo(pdf).size() > 0 ? 0 : 1;
}

// The slowest of the answers to `count` steps, events handled and the list painted.
Span Slowest(int count, const std::function<void(int)>& step, QWidget* paint)
{
    Span slowest{0, 0};
    for (int i = 0; i < count; ++i) {
        const Stopwatch t;
        step(i);
        QApplication::processEvents();
        paint->repaint();
        const Span span = t.Elapsed();
        if (span.wall > slowest.wall)
            slowest = span;
    }
    return slowest;
}

int ChildWindow()
{
    const qint64 t0 = qgetenv("GW_BENCH_T0").toLongLong();
    QApplication::setQuitOnLastWindowClosed(false);
    gw::SetPlatform(gw::MakeDesktopPlatform());
    // As the program starts: the component check is part of the wait.
    gw::SetComponentChecker(gw::RunComponentCheck);
    gw::MainWindow* window = nullptr;
    gw::StartupSequence sequence([&window] { return window = new gw::MainWindow; });
    if (!sequence.Run() || !window)
        return 1;
    Results r;
    int code = 0;
    QTimer::singleShot(0, [&] {
        // The window is up and the event loop answers: usable.
        r.Put("window", Span{double(MonotonicNs() - t0) / 1e9, CpuSeconds()});
        const Stopwatch t;
        window->findChild<QAction*>(QStringLiteral("rereadAction"))->trigger();
        QApplication::processEvents();
        r.Put("reread", t.Elapsed());
        // Rereading after a font was hidden (as removing one does): the
        // faces are listed and the toolkit's database is built again.
        const QString fonts = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/fonts";
        const QStringList files = QDir(fonts).entryList({"*.ttf", "*.otf"}, QDir::Files, QDir::Name);
        if (!files.isEmpty() && gw::DesktopSetHidden(fonts + "/" + files.first(), true)) {
            const Stopwatch changed;
            window->findChild<QAction*>(QStringLiteral("rereadAction"))->trigger();
            QApplication::processEvents();
            r.Put("reread changed", changed.Elapsed());
            gw::DesktopSetHidden(fonts + "/" + files.first(), false);
        }

        QTreeView* list = window->findChild<QTreeView*>(QStringLiteral("fontList"));
        QWidget* viewport = list->viewport();
        const int rows = list->model()->rowCount();
        r.Put("select", Slowest(20, [&](int i) { window->SelectFamily(rows * i / 20); }, viewport));
        r.Put("scroll", Slowest(20, [&](int) {
            QScrollBar* bar = list->verticalScrollBar();
            bar->setValue(bar->value() + bar->pageStep());
        }, viewport));
        list->setFocus();
        // Each search a new one, not a continuation of the last.
        QApplication::setKeyboardInputInterval(0);
        // Whole names of families spread over the list, typed at once.
        QStringList searches;
        for (int k = 0; k < 5; ++k)
            searches << list->model()->index(std::min(rows - 1, rows * k / 5 + 3), 0).data().toString();
        r.Put("find", Slowest(searches.size(), [&](int i) {
            list->keyboardSearch(searches[i]);
        }, viewport));
        // GW_BENCH_SHOTS: a folder for pictures of the window, before and while filtering.
        const QString shots = QString::fromLocal8Bit(qgetenv("GW_BENCH_SHOTS"));
        if (!shots.isEmpty())
            window->grab().save(shots + QStringLiteral("/window-%1.png").arg(rows));
        if (auto* filter = window->findChild<QLineEdit*>(QStringLiteral("findEdit"))) {
            const QString typed = QStringLiteral("ench 12");
            r.Put("filter", Slowest(typed.size() + 1, [&](int i) {
                filter->setText(i < typed.size() ? typed.left(i + 1) : QString());
            }, viewport));
            if (!shots.isEmpty()) {
                filter->setText(QStringLiteral("ench 12"));
                QApplication::processEvents();
                window->grab().save(shots + QStringLiteral("/window-%1-find.png").arg(rows));
            }
        }
        window->close();
        QApplication::quit();
    });
    QApplication::exec();
    delete window;
    return code;
}

// ---- The table ------------------------------------------------------------------------------

struct Row {
    QString work;
    QString corpus;
    int count = 0;
    Span glyphwick;
    Span fc;
    long peakKb = 0;
    QString note;
};

QString Seconds(double s)
{
    if (s < 0)
        return QStringLiteral("-");
    return s < 0.1 ? QString::number(s * 1000, 'f', 1) + " ms" : QString::number(s, 'f', 2) + " s";
}

// "2.57 ms per font (389 per CPU second)", by processor time.
QString PerFont(Span span, double fonts)
{
    if (span.cpu <= 0 || fonts <= 0)
        return QString();
    return QString::number(span.cpu / fonts * 1000, 'f', 2) + " ms CPU per font ("
           + QString::number(fonts / span.cpu, 'f', 0) + " per CPU second)";
}

QString Ratio(double a, double b)
{
    return a >= 0 && b > 0 ? QString::number(a / b, 'f', 1) + " ×" : QStringLiteral("-");
}

void PrintTable(const QList<Row>& rows, QTextStream& out)
{
    out << "| Work | Corpus | Styles | Glyphwick (CPU) | fc-list : family style file (CPU) | Ratio (CPU) | Peak memory |\n"
        << "|---|---|---:|---:|---:|---:|---:|\n";
    for (const Row& r : rows) {
        out << "| " << r.work << " | " << r.corpus << " | " << QLocale(QLocale::English).toString(r.count) << " | "
            << Seconds(r.glyphwick.wall) << " (" << Seconds(r.glyphwick.cpu) << ")"
            << (r.note.isEmpty() ? QString() : ", " + r.note) << " | ";
        if (r.fc.wall >= 0)
            out << Seconds(r.fc.wall) << " (" << Seconds(r.fc.cpu) << ") | " << Ratio(r.glyphwick.wall, r.fc.wall)
                << " (" << Ratio(r.glyphwick.cpu, r.fc.cpu) << ")";
        else
            out << "- | -";
        out << " | " << (r.peakKb > 0 ? QString::number(r.peakKb / 1024) + " MB" : QStringLiteral("-")) << " |\n";
    }
    out.flush();
}

QString LoadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? QString::fromLatin1(load.readAll().split(' ').mid(0, 3).join(", "))
                                          : QStringLiteral("unknown");
}

int Parent(const QString& self)
{
    QTextStream out(stdout), err(stderr);
    QList<int> sizes;
    for (const QString& s : QString::fromLocal8Bit(qgetenv("GW_BENCH_SIZES")).split(',', Qt::SkipEmptyParts))
        sizes << s.toInt();
    if (sizes.isEmpty())
        sizes = {1000, 2500, 10000};
    const int largest = *std::max_element(sizes.begin(), sizes.end());
    const int runs = std::max(1, qEnvironmentVariableIntValue("GW_BENCH_RUNS"));
    QString printExe = QString::fromLocal8Bit(qgetenv("GW_BENCH_PRINT"));
    if (printExe.isEmpty())
        printExe = QStringLiteral(GW_PRINT_EXE);
    // GW_BENCH_ROOT keeps the corpora (for profiling one child by hand).
    QTemporaryDir temporary;
    const QString root = qEnvironmentVariableIsSet("GW_BENCH_ROOT") ? QString::fromLocal8Bit(qgetenv("GW_BENCH_ROOT"))
                                                                    : temporary.path();
    if (root.isEmpty() || !QDir().mkpath(root))
        return 1;
    const QString pool = root + "/pool";
    err << "Making " << largest << " fonts...\n";
    err.flush();
    if (!MakePool(pool, largest, err))
        return 1;
    QStringList generated;
    for (int n = 0; n < largest; ++n)
        generated << PoolFile(pool, n);
    QStringList real;
    err << "Making " << largest << " renamed copies of installed fonts...\n";
    err.flush();
    if (!MakeRealPool(root + "/real", largest, &real, err))
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString loadAtStart = LoadAverage();
    QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo::exists(python))
        python = QStringLiteral("python3");
    const QString reportlabScript = QStringLiteral(GW_BENCH_SOURCE_DIR "/reportlab_catalog.py");

    QList<Row> rows;
    const QString results = root + "/results.txt";
    qputenv("GW_BENCH_OUT", QFile::encodeName(results));
    const QStringList fcArgs{":", "family", "style", "file"};
    for (int count : sizes) {
        for (const bool isReal : {false, true}) {
        const QStringList files = (isReal ? real : generated).mid(0, count);
        const QString corpus = isReal ? QStringLiteral("real") : QStringLiteral("generated");
        const QString name = (isReal ? QStringLiteral("real-") : QString()) + QString::number(count);
        const QString family = isReal ? QStringLiteral("R0001 ") + [&] {
            gw::FontNameInfo names;
            QFile first(files.value(0));
            if (first.open(QIODevice::ReadOnly))
                gw::ReadNameTableBytes(first.readAll(), names);
            return names.family.mid(6).trimmed();
        }() : QStringLiteral("Bench 0001");
        if (!InstallCorpus(root, files, name))
            return 1;
        err << "Corpus of " << count << " " << corpus << " styles: warming fontconfig's cache...\n";
        err.flush();
        RunMeasured("fc-cache", {QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/fonts"});
        RunMeasured("fc-list", fcArgs);
        const Measured fcRun = Median(std::max(3, runs), [&] { return RunMeasured("fc-list", fcArgs); });
        const Span fc{fcRun.seconds, fcRun.cpu};
        auto add = [&](const QString& work, Span span, long peakKb, bool ratio = true, const QString& note = {}) {
            rows << Row{work, corpus, count, span, ratio ? fc : Span{}, peakKb, note};
        };
        add(QStringLiteral("fc-list : family style file"), fc, fcRun.peakKb);

        // A child's own measurements (the run of median processor time), and its peak memory.
        QMap<QString, double> measured;
        auto child = [&](const QStringList& args, const QString& key) {
            QList<QMap<QString, double>> all;
            const Measured m = Median(runs, [&] {
                QFile::remove(results);
                Measured one = RunMeasured(self, args);
                all << ReadResults(results);
                one.seconds = one.code == 0 ? all.last().value(key, -1) : -1;
                one.cpu = one.code == 0 ? all.last().value(key + " cpu", -1) : -1;
                one.run = all.size() - 1;
                return one;
            });
            measured = m.run >= 0 ? all.value(m.run) : QMap<QString, double>();
            return m;
        };
        auto span = [&](const QString& key) {
            return Span{measured.value(key, -1), measured.value(key + " cpu", -1)};
        };

        err << "  inventory...\n";
        err.flush();
        const long inventoryPeak = child({"--child", "inventory"}, "inventory").peakKb;
        add(QStringLiteral("Inventory: both passes, font table, list"), span("inventory"), inventoryPeak);

        err << "  glyphwick-print...\n";
        err.flush();
        const Measured print = Median(runs, [&] {
            return RunMeasured(printExe, {"--family", family, "--layout", "Basic Catalog I", "--output",
                                          root + "/family.pdf"});
        });
        add("glyphwick-print --family \"" + family + "\" (whole run)",
            print.code == 0 ? Span{print.seconds, print.cpu} : Span{}, print.peakKb);

        err << "  main window...\n";
        err.flush();
        const long windowPeak = child({"--child", "window"}, "window").peakKb;
        add(QStringLiteral("Main window: start to usable"), span("window"), windowPeak);
        add(QStringLiteral("Main window: Reread Fonts"), span("reread"), windowPeak);
        add(QStringLiteral("Main window: Reread Fonts after a font is hidden"), span("reread changed"), windowPeak);
        add(QStringLiteral("Select a family (slowest of 20)"), span("select"), windowPeak, false);
        add(QStringLiteral("Scroll the list a page (slowest of 20)"), span("scroll"), windowPeak, false);
        add(QStringLiteral("Type-to-find (slowest of 5)"), span("find"), windowPeak, false);
        add(QStringLiteral("Find box keystroke (slowest of 8)"), span("filter"), windowPeak, false);

        // Printing every font of the corpus: installed, from a folder, and the reportlab script.
        err << "  catalog of " << count << " installed fonts...\n";
        err.flush();
        const long catalogPeak = child({"--child", "catalog", root + "/catalog.pdf"}, "catalog").peakKb;
        const double fonts = measured.value("catalog fonts");
        add(QStringLiteral("Basic Catalog I of %1 installed fonts").arg(QLocale(QLocale::English).toString(int(fonts))),
            span("catalog"), catalogPeak, false, PerFont(span("catalog"), fonts));

        err << "  catalog of " << count << " fonts from a folder...\n";
        err.flush();
        const QString folder = root + "/folder-" + name;
        if (!LinkFiles(files, folder) || !InstallCorpus(root, {}, name, false))
            return 1;
        const Measured fromFolder = Median(runs, [&] {
            return RunMeasured(printExe, {"--folder", folder, "--layout", "Basic Catalog I", "--output",
                                          root + "/folder.pdf"});
        });
        add(QStringLiteral("glyphwick-print --folder, Basic Catalog I of %1 fonts (whole run)")
                .arg(QLocale(QLocale::English).toString(count)),
            fromFolder.code == 0 ? Span{fromFolder.seconds, fromFolder.cpu} : Span{}, fromFolder.peakKb, false,
            fromFolder.code == 0 ? PerFont({fromFolder.seconds, fromFolder.cpu}, count) : QString());

        err << "  reportlab script...\n";
        err.flush();
        const QString list = root + "/reportlab-" + name + ".txt";
        {
            QFile f(list);
            if (!f.open(QIODevice::WriteOnly))
                return 1;
            f.write(QFile::encodeName(files.join('\n')) + '\n');
        }
        const QString reportlabOut = root + "/reportlab-out.txt";
        const Measured reportlab = Median(runs, [&] {
            return RunMeasured(python, {reportlabScript, list, root + "/reportlab.pdf"}, reportlabOut);
        });
        QString printed;
        {
            QFile f(reportlabOut);
            if (f.open(QIODevice::ReadOnly))
                printed = QString::fromUtf8(f.readAll()).trimmed();
        }
        const int reportlabFonts = printed.section(' ', 1, 1).toInt();
        add("reportlab script, one line per font (" + printed + ")",
            reportlab.code == 0 ? Span{reportlab.seconds, reportlab.cpu} : Span{}, reportlab.peakKb, false,
            reportlab.code == 0 ? PerFont({reportlab.seconds, reportlab.cpu}, reportlabFonts) : QString());
        }
    }
    out << "\n";
    PrintTable(rows, out);
    // The machine may be shared: say how busy it was.
    out << "\nLoad average (1, 5, 15 min) at the start: " << loadAtStart << "; at the end: " << LoadAverage() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child") {
        QApplication app(argc, argv);
        const QByteArray work = argv[2];
        if (work == "inventory")
            return ChildInventory();
        if (work == "window")
            return ChildWindow();
        if (work == "catalog" && argc >= 4)
            return ChildCatalog(QString::fromLocal8Bit(argv[3]));
        return 2;
    }
    QCoreApplication app(argc, argv);
    return Parent(QCoreApplication::applicationFilePath());
}
