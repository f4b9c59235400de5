// The fakes other tests build on: enumeration order, registry rules, queues.
#include <QtTest>

#include "core/codepage.h"
#include "platform/fake.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Call {
    QString face, fullName;
    int weight = 0, italic = 0, type = 0, tag = 0;
};

QList<Call> Enumerate(DeviceContext dc, const QString& family, int tag = 7)
{
    QList<Call> calls;
    Sys().fonts->EnumFontFamilies(dc, family, [&](const EnumLogFont& elf, const TextMetric&, int type, int t) {
        calls.append({FromCp1252(elf.lfFaceName, int(qstrlen(elf.lfFaceName))),
                      FromCp1252(elf.elfFullName, int(qstrlen(elf.elfFullName))), elf.lfWeight,
                      elf.lfItalic, type, t});
    }, tag);
    return calls;
}

void FillFaces(FakeFontSystem* fonts)
{
    using F = FakeFontSystem;
    fonts->faces = {
        F::MakeFace("Zeta", "Zeta Bold", "Bold", 700, false, TRUETYPE_FONTTYPE, "/f/zetab.ttf"),
        F::MakeFace("Alpha", "Alpha", "Regular", 400, false, TRUETYPE_FONTTYPE, "/f/alpha.ttf"),
        F::MakeFace("zeta", "Zeta", "Regular", 400, false, TRUETYPE_FONTTYPE, "/f/zeta.ttf"),
        F::MakeFace("Zeta", "Zeta Type 1", "Regular", 400, false, DEVICE_FONTTYPE, "/f/zeta.pfb"),
        F::MakeFace("Zeta", "Zeta Italic", "Italic", 400, true, TRUETYPE_FONTTYPE, "/f/zetai.ttf"),
    };
    fonts->printerFaces = {
        F::MakeFace("Courier", "Courier", "Regular", 400, false, DEVICE_FONTTYPE),
        F::MakeFace("Zeta", "Zeta Printer", "Regular", 400, false, DEVICE_FONTTYPE),
    };
}

} // namespace

class TestFake : public QObject {
    Q_OBJECT
private slots:
    void familiesOncePerFaceAndType_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QStringList>("expected"); // face/type/full name of each call
        QTest::newRow("display") << false
                                 << QStringList{"Zeta/4/Zeta Bold", "Alpha/4/Alpha", "Zeta/2/Zeta Type 1"};
        QTest::newRow("printer") << true
                                 << QStringList{"Zeta/4/Zeta Bold", "Alpha/4/Alpha", "Zeta/2/Zeta Type 1",
                                                "Courier/2/Courier"};
    }
    void familiesOncePerFaceAndType()
    {
        QFETCH(bool, printer);
        QFETCH(QStringList, expected);
        TestEnv env;
        FillFaces(env.fake.fonts);
        QStringList got;
        for (const Call& c : Enumerate(printer ? DeviceContext::Printer : DeviceContext::Display, {}))
            got << QString("%1/%2/%3").arg(c.face).arg(c.type).arg(c.fullName);
        QCOMPARE(got, expected);
    }

    void stylesOfOneFamily_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("display, any case") << false << "ZETA"
                                           << QStringList{"Zeta Bold", "Zeta", "Zeta Type 1", "Zeta Italic"};
        QTest::newRow("printer adds its own") << true << "Zeta"
                                              << QStringList{"Zeta Bold", "Zeta", "Zeta Type 1", "Zeta Italic",
                                                             "Zeta Printer"};
        QTest::newRow("printer only family on display") << false << "Courier" << QStringList{};
        QTest::newRow("unknown") << true << "Nothing" << QStringList{};
    }
    void stylesOfOneFamily()
    {
        QFETCH(bool, printer);
        QFETCH(QString, family);
        QFETCH(QStringList, expected);
        TestEnv env;
        FillFaces(env.fake.fonts);
        QStringList got;
        const QList<Call> calls = Enumerate(printer ? DeviceContext::Printer : DeviceContext::Display, family, 3);
        for (const Call& c : calls) {
            got << c.fullName;
            QCOMPARE(c.tag, 3);
        }
        QCOMPARE(got, expected);
    }

    void makeFaceFields()
    {
        TestEnv env;
        const auto face = FakeFontSystem::MakeFace("A very long family name that will not fit", "Full", "Bold Italic",
                                                   700, true, TRUETYPE_FONTTYPE, "/x.ttf");
        QCOMPARE(qstrlen(face.elf.lfFaceName), size_t(31));
        QCOMPARE(face.elf.lfWeight, 700);
        QCOMPARE(int(face.elf.lfItalic), 1);
        QCOMPARE(face.tm.tmWeight, 700);
        QCOMPARE(QString(face.elf.elfStyle), QString("Bold Italic"));
        QCOMPARE(face.elf.filePath, QString("/x.ttf"));
        QCOMPARE(face.fontType, int(TRUETYPE_FONTTYPE));
    }

    void setLogFontName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short, padded") << "Ab" << 5 << QByteArray("Ab\0\0\0", 5);
        QTest::newRow("cut to size - 1") << "Abcdef" << 4 << QByteArray("Abc\0", 4);
        QTest::newRow("exactly size - 1") << "Abc" << 4 << QByteArray("Abc\0", 4);
        QTest::newRow("code page 1252") << QString::fromUtf8("€é") << 4 << QByteArray("\x80\xe9\0\0", 4);
        QTest::newRow("empty") << "" << 3 << QByteArray("\0\0\0", 3);
    }
    void setLogFontName()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(QByteArray, expected);
        QByteArray field(size + 2, 'x');
        SetLogFontName(field.data(), size, text);
        QCOMPARE(field.left(size), expected);
        QCOMPARE(field.mid(size), QByteArray("xx")); // nothing written past the field
    }

    void addAndRemoveAnswers()
    {
        TestEnv env;
        FillFaces(env.fake.fonts);
        FakeFontSystem* fonts = env.fake.fonts;
        fonts->addAnswers.insert("/t/two.ttc", 2);
        fonts->addAnswers.insert("/t/bad.ttf", 0);
        QCOMPARE(Sys().fonts->AddFontResource("/t/one.ttf"), 1);
        QCOMPARE(Sys().fonts->AddFontResource("/t/two.ttc"), 2);
        QCOMPARE(Sys().fonts->AddFontResource("/t/bad.ttf"), 0);
        QCOMPARE(fonts->added, (QStringList{"/t/one.ttf", "/t/two.ttc", "/t/bad.ttf"}));
        QCOMPARE(Sys().fonts->RemoveFontResource("/t/one.ttf"), 1);
        QCOMPARE(Sys().fonts->RemoveFontResource("/f/zeta.ttf"), 1); // a face's file
        QCOMPARE(Sys().fonts->RemoveFontResource("/t/never.ttf"), 0);
        QCOMPARE(fonts->removed, (QStringList{"/t/one.ttf", "/f/zeta.ttf", "/t/never.ttf"}));
        Sys().fonts->BroadcastFontChange();
        Sys().fonts->BroadcastFontChange();
        QCOMPARE(fonts->broadcasts, 2);
    }

    void registryAccessRules()
    {
        TestEnv env;
        FakeRegistry* reg = env.fake.registry;
        reg->values = {{"Alpha (TrueType)", "alpha.ttf"}, {"Zeta Bold (TrueType)", "/f/zetab.ttf"}};
        {
            std::unique_ptr<RegistryKey> key;
            QCOMPARE(Sys().registry->OpenKey("some\\key", KEY_READ, &key), ERROR_SUCCESS);
            QVERIFY(key);
            QCOMPARE(reg->openKeys, 1);
            QCOMPARE(key->SetValue("New (TrueType)", "new.ttf"), ERROR_ACCESS_DENIED);
            QCOMPARE(key->DeleteValue("Alpha (TrueType)"), ERROR_ACCESS_DENIED);
            QString data;
            QCOMPARE(key->QueryValue("ALPHA (truetype)", &data), ERROR_SUCCESS);
            QCOMPARE(data, QString("alpha.ttf"));
            QCOMPARE(key->QueryValue("Beta (TrueType)", &data), ERROR_FILE_NOT_FOUND);
            int count = 0, longestName = 0, longestData = 0;
            QCOMPARE(key->QueryInfo(&count, &longestName, &longestData), ERROR_SUCCESS);
            QCOMPARE(count, 2);
            QCOMPARE(longestName, int(QString("Zeta Bold (TrueType)").size()));
            QCOMPARE(longestData, int(QString("/f/zetab.ttf").size()));
            QString name;
            QCOMPARE(key->EnumValue(1, &name, &data), ERROR_SUCCESS);
            QCOMPARE(name, QString("Zeta Bold (TrueType)"));
            QCOMPARE(key->EnumValue(2, &name, &data), ERROR_NO_MORE_ITEMS);
        }
        QCOMPARE(reg->openKeys, 0);
        {
            std::unique_ptr<RegistryKey> key;
            QCOMPARE(Sys().registry->OpenKey("some\\key", KEY_WRITE, &key), ERROR_SUCCESS);
            QCOMPARE(key->SetValue("alpha (TRUETYPE)", "alpha2.ttf"), ERROR_SUCCESS); // replaces
            QCOMPARE(key->SetValue("New (TrueType)", "new.ttf"), ERROR_SUCCESS);      // appends
            QCOMPARE(key->DeleteValue("zeta bold (truetype)"), ERROR_SUCCESS);
            QCOMPARE(key->DeleteValue("zeta bold (truetype)"), ERROR_FILE_NOT_FOUND);
        }
        QCOMPARE(reg->values.size(), 2);
        QCOMPARE(reg->values[0], (QPair<QString, QString>("Alpha (TrueType)", "alpha2.ttf")));
        QCOMPARE(reg->values[1], (QPair<QString, QString>("New (TrueType)", "new.ttf")));
        QCOMPARE(reg->openedPaths, (QStringList{"some\\key", "some\\key"}));

        reg->failOpen = true;
        std::unique_ptr<RegistryKey> key;
        QVERIFY(Sys().registry->OpenKey("some\\key", KEY_READ, &key) != ERROR_SUCCESS);
        QVERIFY(!key);
        QCOMPARE(reg->openKeys, 0);
    }

    void messageAnswers_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK") << (vbOKOnly | vbCritical) << int(vbOK);
        QTest::newRow("OK/Cancel") << int(vbOKCancel) << int(vbOK);
        QTest::newRow("Abort/Retry/Ignore") << int(vbAbortRetryIgnore) << int(vbAbort);
        QTest::newRow("Yes/No/Cancel") << (vbYesNoCancel | vbQuestion) << int(vbYes);
        QTest::newRow("Yes/No, default 2") << (vbYesNo | vbQuestion | vbDefaultButton2) << int(vbYes);
        QTest::newRow("Retry/Cancel") << (vbRetryCancel | vbExclamation) << int(vbRetry);
    }
    void messageAnswers()
    {
        QFETCH(int, style);
        QFETCH(int, answer);
        TestEnv env;
        QCOMPARE(Sys().messages->MsgBox("Text", style, "Glyphwick"), answer);
        env.fake.messages->answers = {vbNo, vbCancel};
        QCOMPARE(Sys().messages->MsgBox("Second", style, "T2"), int(vbNo));
        QCOMPARE(Sys().messages->MsgBox("Third", style, "T3"), int(vbCancel));
        QCOMPARE(Sys().messages->MsgBox("Fourth", style, "T4"), answer);
        QCOMPARE(env.fake.messages->texts, (QStringList{"Text", "Second", "Third", "Fourth"}));
        QCOMPARE(env.fake.messages->titles, (QStringList{"Glyphwick", "T2", "T3", "T4"}));
        QCOMPARE(env.fake.messages->styles, (QList<int>{style, style, style, style}));
    }

    void programsRecorded()
    {
        TestEnv env;
        Sys().programs->RunProgram("CONTROL.EXE", 1);
        Sys().programs->RunProgram("/opt/atm/atmcntrl", 3);
        QCOMPARE(env.fake.programs->started, (QStringList{"CONTROL.EXE", "/opt/atm/atmcntrl"}));
        QCOMPARE(env.fake.programs->styles, (QList<int>{1, 3}));
    }

    void atmProfileFileBeforeText()
    {
        TestEnv env;
        env.fake.atm->text = "[Settings]\nATM=On\n[Fonts]\nFace,BOLD=a.pfm,b.pfb\n";
        QCOMPARE(Sys().atm->GetProfileString("settings", "atm", "x"), QString("On"));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", "face,bold", ""), QString("a.pfm,b.pfb"));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", "Face", "none"), QString("none"));
        QVERIFY(WriteFile(env.fake.system->windowsDirectory + "/ATM.INI", "[Settings]\r\nATM=Off\r\n"));
        QCOMPARE(Sys().atm->GetProfileString("Settings", "ATM", "x"), QString("Off"));
        QCOMPARE(Sys().atm->GetProfileString("Fonts", "Face,BOLD", "gone"), QString("gone"));
    }

    void systemFolders()
    {
        TestEnv env;
        FakeSystemInfo* system = env.fake.system;
        for (const QString& dir : {system->ProgramFolder(), system->WindowsDirectory(),
                                   system->WindowsDirectory() + "/fonts", system->SystemDirectory()})
            QVERIFY2(QFileInfo(dir).isDir(), qPrintable(dir));
        QVERIFY(!system->ProgramFolder().endsWith('/'));
        QVERIFY(system->ProgramFolder().startsWith(env.root()));

        OsVersionInfo info;
        info.dwOSVersionInfoSize = 148;
        QVERIFY(Sys().system->GetVersionEx(&info));
        QCOMPARE(info.dwPlatformId, uint32_t(VER_PLATFORM_LINUX));
        QCOMPARE(info.dwMajorVersion, 6u);
        QCOMPARE(info.dwMinorVersion, 1u);
        QCOMPARE(info.dwBuildNumber, 0u);
        system->version.dwBuildNumber = 1381;
        system->version.dwOSVersionInfoSize = 999;
        QVERIFY(Sys().system->GetVersionEx(&info));
        QCOMPARE(info.dwBuildNumber, 1381u);
        QCOMPARE(info.dwOSVersionInfoSize, 148u); // the caller's size stays
        system->versionFails = true;
        QVERIFY(!Sys().system->GetVersionEx(&info));
    }
};

QTEST_MAIN(TestFake)
#include "test_fake.moc"
