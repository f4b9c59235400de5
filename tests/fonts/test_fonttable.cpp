// Lookups on the font inventory: FontTable sentinel, RegFontList, file lookups.
#include <QtTest>
#include <memory>
#include <optional>

#include "core/globals.h"
#include "fonts/fonttable.h"
#include "testenv.h"

using namespace gw;

namespace {

const QString LinuxKey = QStringLiteral("software\\microsoft\\windows\\currentversion\\fonts");

// A registry whose key opens but cannot tell its size.
class QueryFailingKey : public RegistryKey {
public:
    explicit QueryFailingKey(int* open) : open_(open) { ++*open_; }
    ~QueryFailingKey() override { --*open_; }
    long QueryValue(const QString&, QString*) override { return ERROR_FILE_NOT_FOUND; }
    long QueryInfo(int* count, int*, int*) override
    {
        *count = reportedCount;
        return ERROR_ACCESS_DENIED;
    }
    long EnumValue(int, QString* name, QString* data) override
    {
        *name = QStringLiteral("Never Read (TrueType)");
        *data = QStringLiteral("never.ttf");
        return ERROR_SUCCESS;
    }
    long SetValue(const QString&, const QString&) override { return ERROR_ACCESS_DENIED; }
    long DeleteValue(const QString&) override { return ERROR_ACCESS_DENIED; }
    int reportedCount = 0;

private:
    int* open_;
};

class QueryFailingRegistry : public Registry {
public:
    long OpenKey(const QString&, uint32_t, std::unique_ptr<RegistryKey>* key) override
    {
        auto k = std::make_unique<QueryFailingKey>(&openKeys);
        k->reportedCount = reportedCount;
        *key = std::move(k);
        return ERROR_SUCCESS;
    }
    int openKeys = 0;
    int reportedCount = 0;
};

} // namespace

class TestFontTable : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        env.emplace();
        FontsKey = LinuxKey;
        RegFontList.clear();
        FontTable.clear();
    }
    void cleanup() { env.reset(); }

    void resetLeavesOnlyTheSentinel()
    {
        FontTable.resize(3);
        FontTable[1].FullName = QStringLiteral("Arial Bold");
        ResetFontTable();
        QCOMPARE(FontTable.size(), size_t(1));
        QCOMPARE(FontTable[0].FullName, QStringLiteral("X"));
        QVERIFY(FontTable[0].FaceName.isEmpty());
        QVERIFY(FontTable[0].FontFile.isEmpty());
    }

    void findFontRecord_data()
    {
        QTest::addColumn<QStringList>("fullNames");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<int>("index");
        QTest::newRow("reset table holds nothing") << QStringList{"X"} << "X" << -1;
        QTest::newRow("first real record") << QStringList{"Arial"} << "Arial" << 0;
        QTest::newRow("later record") << QStringList{"Arial", "Arial Bold"} << "Arial Bold" << 1;
        QTest::newRow("case matters") << QStringList{"Arial", "Arial Bold"} << "arial bold" << -1;
        QTest::newRow("no prefix match") << QStringList{"Arial Bold"} << "Arial" << -1;
        QTest::newRow("X among others") << QStringList{"Arial", "X"} << "X" << 1;
    }
    void findFontRecord()
    {
        QFETCH(QStringList, fullNames);
        QFETCH(QString, wanted);
        QFETCH(int, index);
        FontTable.clear();
        for (const QString& name : fullNames) {
            FontRecord r;
            r.FullName = name;
            FontTable.push_back(r);
        }
        QCOMPARE(FindFontRecord(wanted), index);
    }

    void readRegFontList_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("data");
        QTest::newRow("none") << QStringList{} << QStringList{};
        QTest::newRow("one") << QStringList{"Arial (TrueType)"} << QStringList{"arial.ttf"};
        QTest::newRow("several, order kept")
            << QStringList{"Zapf (TrueType)", "Arial (TrueType)", "Courier 10,12,15"}
            << QStringList{"/usr/share/fonts/Zapf.ttf", "arial.ttf", "COURE.FON"};
        QTest::newRow("empty data") << QStringList{"Odd (TrueType)"} << QStringList{""};
    }
    void readRegFontList()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, data);
        for (int i = 0; i < names.size(); ++i)
            env->fake.registry->values.append({QString(names[i]), QString(data[i])});

        RegFontList.push_back({"stale", "stale.ttf"});
        ReadRegFontList();

        QCOMPARE(RegFontList.size(), size_t(names.size() + 1));
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(RegFontList[size_t(i)][0], names[i]);
            QCOMPARE(RegFontList[size_t(i)][1], data[i]);
        }
        QVERIFY(RegFontList.back()[0].isEmpty());
        QVERIFY(RegFontList.back()[1].isEmpty());
        QCOMPARE(env->fake.registry->openKeys, 0);
        QVERIFY(env->fake.registry->openedPaths.contains(LinuxKey));
    }

    void readRegFontListKeyWillNotOpen()
    {
        env->fake.registry->values.append({QString("Arial (TrueType)"), QString("arial.ttf")});
        env->fake.registry->failOpen = true;
        RegFontList.push_back({"stale", "stale.ttf"});
        ReadRegFontList();
        QVERIFY(RegFontList.empty());
        QCOMPARE(env->fake.registry->openKeys, 0);
        QVERIFY(!IsRegisteredFont("Arial (TrueType)"));
    }

    void readRegFontListQueryFails_data()
    {
        QTest::addColumn<int>("reported");
        QTest::newRow("nothing reported") << 0;
        QTest::newRow("count reported") << 3;
    }
    void readRegFontListQueryFails()
    {
        QFETCH(int, reported);
        auto registry = std::make_unique<QueryFailingRegistry>();
        registry->reportedCount = reported;
        QueryFailingRegistry* fake = registry.get();
        Sys().registry = std::move(registry);

        ReadRegFontList();
        QCOMPARE(RegFontList.size(), size_t(reported + 1));
        for (const auto& row : RegFontList) {
            QVERIFY(row[0].isEmpty());
            QVERIFY(row[1].isEmpty());
        }
        QCOMPARE(fake->openKeys, 0);
    }

    void isRegisteredFont_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("registered");
        QTest::newRow("exact") << "Arial (TrueType)" << true;
        QTest::newRow("upper case") << "ARIAL (TRUETYPE)" << true;
        QTest::newRow("lower case") << "arial (truetype)" << true;
        QTest::newRow("later row") << "times new roman (truetype)" << true;
        QTest::newRow("face alone") << "Arial" << false;
        QTest::newRow("prefix of a name") << "Arial (True" << false;
        QTest::newRow("data is not a name") << "arial.ttf" << false;
        QTest::newRow("empty name matches the empty last row") << "" << true;
    }
    void isRegisteredFont()
    {
        QFETCH(QString, name);
        QFETCH(bool, registered);
        env->fake.registry->values = {{"Arial (TrueType)", "arial.ttf"},
                                      {"Times New Roman (TrueType)", "times.ttf"}};
        ReadRegFontList();
        QCOMPARE(IsRegisteredFont(name), registered);
    }

    void getTrueTypeFile_data()
    {
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("valueData");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("file");
        QTest::newRow("TrueType") << "Arial (TrueType)" << "arial.ttf" << "Arial" << "arial.ttf";
        QTest::newRow("True Type with a blank")
            << "Old Face (True Type)" << "oldface.ttf" << "Old Face" << "oldface.ttf";
        QTest::newRow("lower-cased") << "Arial (TrueType)" << "ARIAL.TTF" << "Arial" << "arial.ttf";
        QTest::newRow("cut at NUL")
            << "Arial (TrueType)" << QString("arial.ttf") + QChar(0) + "junk" << "Arial"
            << "arial.ttf";
        QTest::newRow("full path") << "Arial (TrueType)" << "/Fonts/Arial.ttf" << "Arial"
                                   << "/fonts/arial.ttf";
        QTest::newRow("face not registered") << "Arial (TrueType)" << "arial.ttf" << "Courier"
                                             << "unknown";
        QTest::newRow("bare face value is not enough")
            << "Arial" << "arial.ttf" << "Arial" << "unknown";
    }
    void getTrueTypeFile()
    {
        QFETCH(QString, valueName);
        QFETCH(QString, valueData);
        QFETCH(QString, face);
        QFETCH(QString, file);
        env->fake.registry->values.append({QString(valueName), QString(valueData)});
        QCOMPARE(GetTrueTypeFile(face), file);
        QCOMPARE(GetFontFile("TT", face), file);
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    void getTrueTypeFilePrefersTrueType()
    {
        env->fake.registry->values = {{"Arial (True Type)", "second.ttf"},
                                      {"Arial (TrueType)", "first.ttf"}};
        QCOMPARE(GetTrueTypeFile("Arial"), QStringLiteral("first.ttf"));
    }

    void getTrueTypeFileKeyWillNotOpen()
    {
        env->fake.registry->values.append({QString("Arial (TrueType)"), QString("arial.ttf")});
        env->fake.registry->failOpen = true;
        QCOMPARE(GetTrueTypeFile("Arial"), QStringLiteral("unknown"));
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    void getFontFileAtm_data()
    {
        QTest::addColumn<QString>("pfbDir");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("regular, ,NORMAL dropped") << "/T1/" << "Garamond,NORMAL" << "gara.pfb";
        QTest::newRow("bold key") << "/T1/" << "Garamond,BOLD" << "garab.pfb";
        QTest::newRow("outline elsewhere keeps its folder")
            << "/T1/" << "Futura" << "/other/futura.pfb";
        QTest::newRow("no PFBDir") << "" << "Garamond" << "/t1/gara.pfb";
        QTest::newRow("lower-case ,normal is part of the key")
            << "/T1/" << "Garamond,normal" << "";
        QTest::newRow("missing key") << "/T1/" << "Nothing" << "";
        QTest::newRow("no comma: the whole value") << "/T1/" << "Solo" << "solo.pfb";
        QTest::newRow("empty outline") << "/T1/" << "Metrics" << "";
    }
    void getFontFileAtm()
    {
        QFETCH(QString, pfbDir);
        QFETCH(QString, name);
        QFETCH(QString, file);
        QVERIFY(WriteFile(WinDir + "ATM.INI",
                          "[Settings]\nATM=On\n"
                          "[Fonts]\n"
                          "Garamond=/T1/Gara.pfm,/T1/GARA.PFB\n"
                          "Garamond,BOLD=/T1/GaraB.pfm,/T1/GaraB.pfb\n"
                          "Futura=/T1/futura.afm,/Other/Futura.pfb\n"
                          "Solo=/T1/Solo.pfb\n"
                          "Metrics=/T1/metrics.pfm,\n"));
        PFBDir = pfbDir;
        QCOMPARE(GetFontFile("ATM", name), file);
    }

    void getFontFileOtherKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("device") << "Device";
        QTest::newRow("empty") << "";
        QTest::newRow("lower-case tt") << "tt";
        QTest::newRow("lower-case atm") << "atm";
    }
    void getFontFileOtherKinds()
    {
        QFETCH(QString, kind);
        env->fake.registry->values.append({QString("Arial (TrueType)"), QString("arial.ttf")});
        QCOMPARE(GetFontFile(kind, "Arial"), QStringLiteral("Unknown"));
    }

private:
    std::optional<TestEnv> env;
};

QTEST_MAIN(TestFontTable)
#include "test_fonttable.moc"
