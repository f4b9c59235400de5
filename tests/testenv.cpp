#include "testenv.h"

#include <QTest>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>

#include "sfnt/codepage.h"
#include "core/globals.h"
#include "core/settings.h"
#include "platform/desktop.h"

namespace gw {

namespace {

// The files under folder this process holds open.
QStringList OpenFilesUnder(const QString& folder)
{
    QStringList open;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (const QString target = QFile::symLinkTarget(fds.filePath(fd)); target.startsWith(folder + '/'))
            open << target;
    return open;
}

} // namespace

TestEnv::TestEnv()
{
    // A warning (a bad argument to Qt, a painter on nothing) is a fault; the
    // offscreen platform's own notes are not.
    QTest::failOnWarning(QRegularExpression("^(?!This plugin does not support)"));
    for (const QString& d : {home(), configHome(), dataHome(), root() + "/cache", userHome()})
        QDir().mkpath(d);
    // The user's own home: folder pickers start there, fontconfig reads ~/.fonts.
    qputenv("HOME", userHome().toLocal8Bit());
    // fontconfig writes caches of rescanned folders here, not into the user's cache.
    qputenv("XDG_CACHE_HOME", (root() + "/cache").toLocal8Bit());
    qputenv("GLYPHWICK_HOME", home().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    // Qt keeps the folder of its own settings (a file dialog's state) from the first use on.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
    fake = InstallFakePlatform(root() + "/fake");
    SetFolders();
    HelpFile = Sys().system->HelpFilePath();
    ExeFile = Sys().system->ExeFilePath();
    ATMInstalled = false;
    Type1MetricsDir.clear();
    Type1OutlineDir.clear();
}

TestEnv::~TestEnv()
{
    // What a test leaves behind is a fault of the code it ran.
    if (QGuiApplication::overrideCursor())
        QTest::qFail("a busy pointer is left on", __FILE__, __LINE__);
    if (const QStringList open = OpenFilesUnder(root()); !open.isEmpty())
        QTest::qFail(qPrintable("files left open: " + open.join(", ")), __FILE__, __LINE__);
    // The checks below ask the fakes this object put in place, if still in place (an inner TestEnv takes them away).
    const bool ours = fake.fonts && Sys().fonts.get() == fake.fonts;
    if (ours && fake.registry->openKeys != 0)
        QTest::qFail("a registrations key is left open", __FILE__, __LINE__);
    // Every answer a test prepared was asked for: a question the program no longer asks is a fault.
    if (ours && !fake.messages->answers.isEmpty())
        QTest::qFail(qPrintable(QString("%1 prepared answers to questions never asked").arg(fake.messages->answers.size())), __FILE__, __LINE__);
    if (ours && !fake.dialogs->answers.isEmpty())
        QTest::qFail(qPrintable("prepared file choices never asked for: " + fake.dialogs->answers.join(", ")), __FILE__, __LINE__);
    // The program's temporary font files: each one added is removed as often, and none is left behind.
    if (ours) {
        const FakeFontSystem& fonts = *fake.fonts;
        QStringList unbalanced;
        for (const QString& file : fonts.added) {
            const qsizetype added = fonts.addAnswers.value(file, 1) > 0 ? fonts.added.count(file) : 0;
            if (file.startsWith(Sys().system->ProgramFolder() + '/') && added != fonts.removed.count(file))
                unbalanced << QString("%1 added %2, removed %3").arg(file).arg(added).arg(fonts.removed.count(file));
        }
        unbalanced.removeDuplicates();
        if (!unbalanced.isEmpty())
            QTest::qFail(qPrintable(unbalanced.join(", ")), __FILE__, __LINE__);
    }
    {
        // This process's temporary files, anywhere: gone once the work that made them is done (the
        // static copies of named instances stay while the process draws with them).
        QStringList left;
        QDirIterator it(root(), {OwnFilePrefix() + '*'}, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString file = it.next(); !it.fileName().startsWith(OwnFilePrefix() + "instance-"))
                left << file;
        if (!left.isEmpty())
            QTest::qFail(qPrintable("temporary files left: " + left.join(", ")), __FILE__, __LINE__);
    }
    SetPlatform(nullptr);
    // Tests leave read-only folders and names that are not UTF-8, which QTemporaryDir cannot remove.
    QProcess::execute("chmod", {"-R", "u+rwX", root()});
    QProcess::execute("rm", {"-rf", root()});
}

void TestEnv::UseDesktopPlatform()
{
    fake = FakePlatform{};
    SetPlatform(MakeDesktopPlatform());
    // fontconfig keeps the folders of the environment it first read: this one's instead.
    DesktopReloadFonts();
    SetFolders();
}

void TestEnv::SetFolders()
{
    IniFile = Sys().system->ProgramFolder() + "/gw.ini";
    UserDataDir = Sys().system->UserDataDirectory() + "/";
    SystemFontDir = Sys().system->SystemFontDirectory() + "/";
}

CommandResult RunCommand(const std::function<int(const QStringList&, QTextStream&, QTextStream&)>& run,
                         const QStringList& arguments)
{
    CommandResult r;
    QTextStream out(&r.out), err(&r.err);
    r.code = run(arguments, out, err);
    return r;
}

void CompareApproved(const QStringList& lines, const QString& file)
{
    const QString path = QDir(QStringLiteral(GW_TEST_DATA)).filePath(file);
    if (qEnvironmentVariableIsSet("GW_APPROVE"))
        QVERIFY(WriteFile(path, (lines.join('\n') + '\n').toUtf8()));
    QCOMPARE(lines, QString::fromUtf8(ReadFile(path)).split('\n', Qt::SkipEmptyParts));
}

QString ToolOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList FcListFiles()
{
    return ToolOutput(QStringLiteral("fc-list"), {QStringLiteral("--format=%{file}\\n")}).split('\n', Qt::SkipEmptyParts);
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString SystemFile(const QString& fileName)
{
    for (const DesktopFace& f : DesktopFontFaces())
        if (QFileInfo(f.file).fileName() == fileName)
            return f.file;
    return {};
}

QString FieldText(const char* field, int size)
{
    return FromCp1252(field, int(qstrnlen(field, size_t(size))));
}

QStringList NameFields(const FontNameInfo& i)
{
    return {i.copyright, i.family,  i.subfamily,      i.uniqueId,
            i.fullName,  i.version, i.postscriptName, i.trademark};
}

void SetShow(bool trueType, bool atm, bool device)
{
    WriteIniString("GW", "ShowTrueType", trueType ? "1" : "0", IniFile);
    WriteIniString("GW", "ShowATM", atm ? "1" : "0", IniFile);
    WriteIniString("GW", "ShowDevice", device ? "1" : "0", IniFile);
}

FakeFontSystem::Face TrueTypeFace(const QString& family, const QString& style, int weight, bool italic)
{
    const QString full = style == "Regular" ? family : family + " " + style;
    return FakeFontSystem::MakeFace(family, full, style, weight, italic, TRUETYPE_FONTTYPE);
}

FakeFontSystem::Face DeviceFace(const QString& family, int weight, bool italic)
{
    return FakeFontSystem::MakeFace(family, family, QString(), weight, italic, DEVICE_FONTTYPE);
}

} // namespace gw
