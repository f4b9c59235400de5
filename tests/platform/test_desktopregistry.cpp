// The desktop registrations store: read from fontconfig, hidden through the
// reject file, inside temporary XDG folders.
#include <QtTest>

#include "platform/desktop.h"
#include "testenv.h"

using namespace gw;

namespace {

std::unique_ptr<RegistryKey> Open(uint32_t access)
{
    std::unique_ptr<RegistryKey> key;
    Sys().registry->OpenKey("software\\microsoft\\windows\\currentversion\\fonts", access, &key);
    return key;
}

QString Query(const QString& name)
{
    QString data;
    return Open(KEY_READ)->QueryValue(name, &data) == ERROR_SUCCESS ? data : QString("unknown");
}

long Set(const QString& name, const QString& data)
{
    return Open(KEY_WRITE)->SetValue(name, data);
}

long Delete(const QString& name)
{
    return Open(KEY_WRITE)->DeleteValue(name);
}

} // namespace

class TestDesktopRegistry : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new DesktopTestEnv); }
    void cleanup() { env_.reset(); }

    void readsTheTrueTypeStyles()
    {
        QCOMPARE(Query("Liberation Sans (TrueType)"), SystemFile("LiberationSans-Regular.ttf"));
        QCOMPARE(Query("LIBERATION SANS bold (truetype)"), SystemFile("LiberationSans-Bold.ttf"));
        QCOMPARE(Query("Nimbus Sans Regular (TrueType)"), QString("unknown")); // Type 1 only

        auto key = Open(KEY_READ);
        int count = -1;
        QCOMPARE(key->QueryInfo(&count, nullptr, nullptr), ERROR_SUCCESS);
        QSet<QString> names;
        QString name, data;
        for (int i = 0; i < count; ++i) {
            QCOMPARE(key->EnumValue(i, &name, &data), ERROR_SUCCESS);
            QVERIFY(name.endsWith(" (TrueType)"));
            QVERIFY2(!data.endsWith(".pfb") && !data.endsWith(".t1"), qPrintable(data));
            names.insert(name.toLower());
        }
        QCOMPARE(names.size(), count); // each name once
        QCOMPARE(key->EnumValue(count, &name, &data), ERROR_NO_MORE_ITEMS);
    }

    void installAndUninstallInTheUserFolder()
    {
        const QString bare = "Mono & <Co>.ttf";
        const QString user = env_->dataHome() + "/fonts/" + bare;
        const QString system = SystemFile("LiberationMono-Regular.ttf");
        QVERIFY(WriteFile(user, ReadFile(system)));
        QCOMPARE(Set("Liberation Mono (TrueType)", user), ERROR_SUCCESS);
        QCOMPARE(Query("Liberation Mono (TrueType)"), bare); // listed by its bare name
        const QVector<DesktopFace> faces = DesktopFontFaces();  // and drawn from at once
        QVERIFY(std::any_of(faces.begin(), faces.end(), [&](const DesktopFace& f) { return f.file == user; }));

        QCOMPARE(Delete("liberation mono (TRUETYPE)"), ERROR_SUCCESS);
        QCOMPARE(Delete("Never Installed (TrueType)"), ERROR_FILE_NOT_FOUND);
        QCOMPARE(DesktopHiddenFiles(), QStringList{user});
        // The system's own copy is what remains registered under that name.
        QCOMPARE(Query("Liberation Mono (TrueType)"), system);

        // Installing the file again lifts the mark.
        QCOMPARE(Set("Liberation Mono (TrueType)", bare), ERROR_SUCCESS);
        QVERIFY(DesktopHiddenFiles().isEmpty());
        QCOMPARE(Query("Liberation Mono (TrueType)"), bare);
        const QVector<DesktopFace> again = DesktopFontFaces();  // and is drawn from again at once
        QVERIFY(std::any_of(again.begin(), again.end(), [&](const DesktopFace& f) { return f.file == user; }));
    }

    // A value deleted stays deleted when its file is shown again by other means (a restore).
    void deletedValueStaysDeleted()
    {
        const QString file = env_->root() + "/elsewhere/mono.ttf";
        QVERIFY(WriteFile(file, ReadFile(SystemFile("LiberationMono-Regular.ttf"))));
        QCOMPARE(Set("My Own Mono (TrueType)", file), ERROR_SUCCESS);
        QCOMPARE(Query("My Own Mono (TrueType)"), file);
        QCOMPARE(Delete("My Own Mono (TrueType)"), ERROR_SUCCESS);
        QVERIFY(DesktopSetHidden(file, false));
        QCOMPARE(Query("My Own Mono (TrueType)"), QString("unknown"));
    }

    // A value set again, in any case, is replaced: one value of that name, with the last data.
    void valueSetAgainIsReplaced()
    {
        QCOMPARE(Set("Glyphwick Twice (TrueType)", "/opt/fonts/first.ttf"), ERROR_SUCCESS);
        QCOMPARE(Set("GLYPHWICK twice (TrueType)", "/opt/fonts/second.ttf"), ERROR_SUCCESS);
        QCOMPARE(Query("Glyphwick Twice (TrueType)"), QString("/opt/fonts/second.ttf"));
        auto key = Open(KEY_READ);
        int count = -1, same = 0;
        QCOMPARE(key->QueryInfo(&count, nullptr, nullptr), ERROR_SUCCESS);
        QString name, data;
        for (int i = 0; i < count && key->EnumValue(i, &name, &data) == ERROR_SUCCESS; ++i)
            same += name.compare("glyphwick twice (truetype)", Qt::CaseInsensitive) == 0;
        QCOMPARE(same, 1);
        // Deleted, it stays deleted when its file is shown again: no older value is left behind.
        QCOMPARE(Delete("Glyphwick Twice (TrueType)"), ERROR_SUCCESS);
        QVERIFY(DesktopSetHidden("/opt/fonts/second.ttf", false));
        QCOMPARE(Query("Glyphwick Twice (TrueType)"), QString("unknown"));
    }

    // A hiding rule names one file exactly, goes with its file, and a reject
    // file that cannot be parsed stays as the user wrote it.
    void hidingRules_data()
    {
        QTest::addColumn<QString>("name"); // the font file uninstalled, beside the other three
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("hidden");  // fontconfig no longer lists it; the others it always lists
        QTest::newRow("question mark hides one file") << "q?.ttf" << "" << true;
        QTest::newRow("star hides one file") << "q*.ttf" << "" << true;
        QTest::newRow("brackets hide one file") << "q[a].ttf" << "" << true;
        QTest::newRow("rule goes with its file") << "q?.ttf" << "forget" << false;
        QTest::newRow("unparsable file: said, left alone") << "q?.ttf" << "unparsable" << false;
        QTest::newRow("an empty reject file is taken") << "qa.ttf" << "empty" << true;
    }
    void hidingRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, setup);
        QFETCH(bool, hidden);
        auto* boxes = new FakeMessageBoxes;
        Sys().messages.reset(boxes);
        const QString folder = env_->dataHome() + "/fonts";
        const QByteArray font = ReadFile(SystemFile("LiberationMono-Regular.ttf"));
        QStringList all{"q*.ttf", "q?.ttf", "q[a].ttf", "qa.ttf"};
        for (const QString& n : all)
            QVERIFY(WriteFile(folder + "/" + n, font));
        const QByteArray broken = "<fontconfig><selectfont>\n";
        if (setup == "unparsable" || setup == "empty")
            QVERIFY(WriteFile(DesktopRejectFilePath(), setup == "empty" ? QByteArray() : broken));
        QCOMPARE(Set("Glyphwick Hidden (TrueType)", folder + "/" + name), ERROR_SUCCESS);
        QCOMPARE(Delete("Glyphwick Hidden (TrueType)") == ERROR_SUCCESS, setup != "unparsable");
        if (setup == "forget")
            Sys().fonts->ForgetFontFile(folder + "/" + name);
        if (setup == "unparsable") {
            QCOMPARE(ReadFile(DesktopRejectFilePath()), broken);
            QFile::remove(DesktopRejectFilePath()); // so that fontconfig reads the rest
            QVERIFY(boxes->texts.value(0).contains("cannot be read, so Glyphwick leaves it unchanged"));
        }
        // What another program finds in the folder.
        QStringList files;
        for (const QString& file : FcListFiles())
            if (file.startsWith(folder + "/"))
                files << QFileInfo(file).fileName();
        files.sort();
        if (hidden)
            all.removeAll(name);
        QCOMPARE(files, all);
    }

private:
    std::unique_ptr<DesktopTestEnv> env_;
};

QTEST_MAIN(TestDesktopRegistry)
#include "test_desktopregistry.moc"
