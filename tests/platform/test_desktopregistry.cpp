// The desktop registrations store: read from fontconfig, hidden through the
// reject file, inside temporary XDG folders.
#include <QtTest>

#include <fontconfig/fontconfig.h>

#include "core/globals.h"
#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

namespace {

QString SystemFile(const QString& fileName)
{
    for (const DesktopFace& f : DesktopFontFaces())
        if (QFileInfo(f.file).fileName() == fileName)
            return f.file;
    return {};
}

std::unique_ptr<RegistryKey> Open(uint32_t access)
{
    std::unique_ptr<RegistryKey> key;
    if (Sys().registry->OpenKey("software\\microsoft\\windows\\currentversion\\fonts", access, &key)
        != ERROR_SUCCESS)
        return nullptr;
    return key;
}

QString Query(const QString& name)
{
    auto key = Open(KEY_READ);
    QString data;
    return key && key->QueryValue(name, &data) == ERROR_SUCCESS ? data : QString("unknown");
}

QList<QPair<QString, QString>> AllValues()
{
    QList<QPair<QString, QString>> values;
    auto key = Open(KEY_READ);
    QString name, data;
    for (int i = 0; key->EnumValue(i, &name, &data) == ERROR_SUCCESS; ++i)
        values.append({name, data});
    return values;
}

int StylesOf(const QString& family)
{
    int n = 0;
    Sys().fonts->EnumFontFamilies(DeviceContext::Display, family,
                                  [&](const EnumLogFont&, const TextMetric&, int, int) { ++n; }, 0);
    return n;
}

// What fontconfig lists, before the layer's own filtering.
bool FontconfigLists(const QString& file)
{
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(FcConfigGetCurrent(), pattern, objects);
    bool found = false;
    for (int i = 0; set && i < set->nfont && !found; ++i) {
        FcChar8* f = nullptr;
        found = FcPatternGetString(set->fonts[i], FC_FILE, 0, &f) == FcResultMatch
                && file == QString::fromUtf8(reinterpret_cast<const char*>(f));
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

bool FontconfigAccepts(const QString& confFile)
{
    FcConfig* config = FcConfigCreate();
    const bool ok = FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(confFile.toUtf8().constData()),
                                         FcTrue);
    FcConfigDestroy(config);
    return ok;
}

} // namespace

class TestDesktopRegistry : public QObject {
    Q_OBJECT
private slots:
    void readsTheTrueTypeStyles()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString regular = SystemFile("LiberationSans-Regular.ttf");
        QVERIFY(regular.startsWith("/usr/share/fonts/"));
        QCOMPARE(Query("Liberation Sans (TrueType)"), regular);
        QCOMPARE(Query("LIBERATION SANS bold (truetype)"), SystemFile("LiberationSans-Bold.ttf"));
        QCOMPARE(Query("Nimbus Sans Regular (TrueType)"), QString("unknown")); // Type 1 only
        QCOMPARE(Query("No Such Font (TrueType)"), QString("unknown"));

        const auto values = AllValues();
        auto key = Open(KEY_READ);
        int count = -1, longestName = -1, longestData = -1;
        QCOMPARE(key->QueryInfo(&count, &longestName, &longestData), ERROR_SUCCESS);
        QCOMPARE(count, values.size());
        int maxName = 0, maxData = 0;
        QSet<QString> names;
        for (const auto& v : values) {
            QVERIFY(v.first.endsWith(" (TrueType)"));
            QVERIFY2(!v.second.endsWith(".pfb") && !v.second.endsWith(".t1"), qPrintable(v.second));
            QVERIFY(!names.contains(v.first.toLower()));
            names.insert(v.first.toLower());
            maxName = std::max(maxName, int(v.first.size()));
            maxData = std::max(maxData, int(v.second.size()));
        }
        QCOMPARE(longestName, maxName);
        QCOMPARE(longestData, maxData);
        QString name, data;
        QCOMPARE(key->EnumValue(count, &name, &data), ERROR_NO_MORE_ITEMS);
        QCOMPARE(key->EnumValue(-1, &name, &data), ERROR_NO_MORE_ITEMS);
    }

    void readKeysRefuseChanges_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("set") << false;
        QTest::newRow("delete") << true;
    }
    void readKeysRefuseChanges()
    {
        QFETCH(bool, deleting);
        TestEnv env;
        env.UseDesktopPlatform();
        auto key = Open(KEY_READ);
        const long result = deleting ? key->DeleteValue("Liberation Sans (TrueType)")
                                     : key->SetValue("Liberation Sans (TrueType)", "x.ttf");
        QCOMPARE(result, ERROR_ACCESS_DENIED);
        QVERIFY(!QFileInfo::exists(DesktopRejectFilePath()));
        QCOMPARE(Query("Liberation Sans (TrueType)"), SystemFile("LiberationSans-Regular.ttf"));
    }

    void installAndUninstallInTheUserFolder()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        QCOMPARE(DesktopRejectFilePath(), env.configHome() + "/fontconfig/conf.d/90-glyphwick-removed.conf");
        const QString bare = "Mono & <Co>.ttf";
        const QString user = env.dataHome() + "/fonts/" + bare;
        QVERIFY(WriteFile(user, ReadFile(SystemFile("LiberationMono-Regular.ttf"))));
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->SetValue("Liberation Mono (TrueType)", bare), ERROR_SUCCESS);
            QString data;
            QCOMPARE(key->QueryValue("Liberation Mono (TrueType)", &data), ERROR_SUCCESS);
            QCOMPARE(data, bare);
        }
        QCOMPARE(Query("Liberation Mono (TrueType)"), bare);

        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->DeleteValue("liberation mono (TRUETYPE)"), ERROR_SUCCESS);
            QCOMPARE(key->DeleteValue("Never Installed (TrueType)"), ERROR_FILE_NOT_FOUND);
        }
        const QString conf = QString::fromUtf8(ReadFile(DesktopRejectFilePath()));
        QVERIFY(conf.contains("<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">"));
        const QString escaped = env.dataHome() + "/fonts/Mono &amp; &lt;Co&gt;.ttf";
        QVERIFY2(conf.contains("<selectfont>") && conf.contains("<rejectfont>"), qPrintable(conf));
        QVERIFY2(conf.contains("<glob>" + escaped + "</glob>"), qPrintable(conf));
        QVERIFY(FontconfigAccepts(DesktopRejectFilePath()));
        QCOMPARE(DesktopHiddenFiles(), QStringList{user});
        // The system's own copy is what remains registered under that name.
        QCOMPARE(Query("Liberation Mono (TrueType)"), SystemFile("LiberationMono-Regular.ttf"));
        for (const auto& v : AllValues())
            QVERIFY(v.second != bare);

        // Installing the file again lifts the mark.
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->SetValue("Liberation Mono (TrueType)", user), ERROR_SUCCESS);
        }
        QVERIFY(DesktopHiddenFiles().isEmpty());
        QVERIFY(FontconfigAccepts(DesktopRejectFilePath()));
        QCOMPARE(Query("Liberation Mono (TrueType)"), bare);
    }

    void uninstallingASystemFontHidesIt()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        const QString file = SystemFile("LiberationSerif-Bold.ttf");
        QCOMPARE(StylesOf("Liberation Serif"), 4);
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->DeleteValue("Liberation Serif Bold (TrueType)"), ERROR_SUCCESS);
            QString data;
            QCOMPARE(key->QueryValue("Liberation Serif Bold (TrueType)", &data), ERROR_FILE_NOT_FOUND);
        }
        QCOMPARE(Query("Liberation Serif Bold (TrueType)"), QString("unknown"));
        QCOMPARE(DesktopHiddenFiles(), QStringList{file});
        QCOMPARE(StylesOf("Liberation Serif"), 3);
        QVERIFY(QFileInfo(file).isFile()); // the file itself is untouched

        // Once reloaded, fontconfig itself no longer offers the file.
        QVERIFY(FontconfigLists(file));
        Sys().fonts->BroadcastFontChange();
        QVERIFY(!FontconfigLists(file));
        QCOMPARE(StylesOf("Liberation Serif"), 3);

        // Registering it again brings it back everywhere.
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->SetValue("Liberation Serif Bold (TrueType)", file), ERROR_SUCCESS);
        }
        QVERIFY(DesktopHiddenFiles().isEmpty());
        QVERIFY(FontconfigLists(file));
        QCOMPARE(StylesOf("Liberation Serif"), 4);
        QCOMPARE(Query("Liberation Serif Bold (TrueType)"), file);
    }

    void valuesSetBeforeTheFileExists()
    {
        TestEnv env;
        env.UseDesktopPlatform();
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->SetValue("Coming Soon (TrueType)", "coming.ttf"), ERROR_SUCCESS);
        }
        QCOMPARE(Query("coming soon (truetype)"), QString("coming.ttf"));
        {
            auto key = Open(KEY_WRITE);
            QCOMPARE(key->DeleteValue("Coming Soon (TrueType)"), ERROR_SUCCESS);
        }
        QCOMPARE(Query("Coming Soon (TrueType)"), QString("unknown"));
    }
};

QTEST_MAIN(TestDesktopRegistry)
#include "test_desktopregistry.moc"
