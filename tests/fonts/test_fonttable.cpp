// Lookups on the font inventory: RegFontList and file lookups.
#include <QtTest>
#include <optional>

#include "core/globals.h"
#include "fonts/fontlist.h"
#include "fonts/fonttable.h"
#include "testenv.h"

using namespace gw;

class TestFontTable : public QObject {
    Q_OBJECT

    std::optional<TestEnv> env;

private slots:
    void init()
    {
        env.emplace();
        FontsKey = QStringLiteral("software\\microsoft\\windows\\currentversion\\fonts");
        RegFontList.clear();
        FontTable.clear();
    }
    void cleanup() { env.reset(); }

    // The registrations as read: the key opens, will not open, or will not tell its size.
    void readRegFontList_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("data");
        QTest::addColumn<int>("rows"); // with the empty last row
        const QStringList names{"Zapf (TrueType)", "Arial (TrueType)", "Courier 10,12,15"};
        const QStringList data{"/usr/share/fonts/Zapf.ttf", "arial.ttf", "COURE.FON"};
        QTest::newRow("none") << "" << QStringList{} << QStringList{} << 1;
        QTest::newRow("several, order kept") << "" << names << data << 4;
        QTest::newRow("key will not open: no rows") << "open" << names << data << 0;
        QTest::newRow("size known: the rows it promised, none read") << "query" << names << data << 4;
    }
    void readRegFontList()
    {
        QFETCH(QString, failure);
        QFETCH(QStringList, names);
        QFETCH(QStringList, data);
        QFETCH(int, rows);
        for (int i = 0; i < names.size(); ++i)
            env->fake.registry->values.append({names[i], data[i]});
        env->fake.registry->failOpen = failure == "open";
        env->fake.registry->failQueryInfo = failure == "query";
        RegFontList.push_back({"stale", "stale.ttf"});
        ReadRegFontList();
        QCOMPARE(RegFontList.size(), size_t(rows));
        for (int i = 0; i < rows; ++i) {
            const bool read = failure.isEmpty() && i < names.size();
            QCOMPARE(QStringList({RegFontList[size_t(i)][0], RegFontList[size_t(i)][1]}),
                     read ? QStringList({names[i], data[i]}) : QStringList({"", ""}));
        }
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    // Found in a table read again with fewer fonts.
    void findFontRecord()
    {
        for (const QStringList& names : {QStringList{"A", "B", "C", "D"}, QStringList{"E"}}) {
            ResetFontTable();
            for (const QString& name : names)
                FontTable.push_back({}), FontTable.back().FullName = name;
            QCOMPARE(FindFontRecord(names.last()), int(names.size()));
        }
        QCOMPARE(FindFontRecord("D"), -1);
    }

    void isRegisteredFont_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("registered");
        QTest::newRow("upper case") << "ARIAL (TRUETYPE)" << true;
        QTest::newRow("later row") << "times new roman (truetype)" << true;
        QTest::newRow("face alone") << "Arial" << false;
        QTest::newRow("data is not a name") << "arial.ttf" << false;
        QTest::newRow("empty name matches the empty last row") << "" << true;
    }
    void isRegisteredFont()
    {
        QFETCH(QString, name);
        env->fake.registry->values = {{"Arial (TrueType)", "arial.ttf"},
                                      {"Times New Roman (TrueType)", "times.ttf"}};
        ReadRegFontList();
        QTEST(IsRegisteredFont(name), "registered");
    }

    // A TrueType face's file from its registration; a Type 1 font's outline from ATM.INI.
    void getFontFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("values");  // TT: name=data, ';' between; ATM: Type1OutlineDir
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("True Type with a blank") << "TT" << "Old Face (True Type)=oldface.ttf" << "Old Face"
                                                << "oldface.ttf";
        QTest::newRow("TrueType first") << "TT" << "Arial (True Type)=second.ttf;Arial (TrueType)=first.ttf"
                                        << "Arial" << "first.ttf";
        QTest::newRow("cut at NUL") << "TT" << "Arial (TrueType)=arial.ttf" + QString(QChar(0)) + "junk" << "Arial"
                                    << "arial.ttf";
        QTest::newRow("full path keeps its case") << "TT" << "Arial (TrueType)=/Fonts/Arial.ttf" << "Arial"
                                                  << "/Fonts/Arial.ttf";
        QTest::newRow("face not registered") << "TT" << "Arial (TrueType)=arial.ttf" << "Courier" << "unknown";
        QTest::newRow("bare face value is not enough") << "TT" << "Arial=arial.ttf" << "Arial" << "unknown";
        QTest::newRow("regular, ,NORMAL dropped") << "ATM" << "/T1/" << "Garamond,NORMAL" << "gara.pfb";
        QTest::newRow("bold key") << "ATM" << "/T1/" << "Garamond,BOLD" << "garab.pfb";
        QTest::newRow("outline elsewhere keeps its folder") << "ATM" << "/T1/" << "Futura" << "/other/futura.pfb";
        QTest::newRow("no Type1OutlineDir") << "ATM" << "" << "Garamond" << "/t1/gara.pfb";
        QTest::newRow("lower-case ,normal is part of the key") << "ATM" << "/T1/" << "Garamond,normal" << "";
        QTest::newRow("no comma: the whole value") << "ATM" << "/T1/" << "Solo" << "solo.pfb";
        QTest::newRow("empty outline") << "ATM" << "/T1/" << "Metrics" << "";
    }
    void getFontFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, values);
        QFETCH(QString, name);
        if (kind == "TT") {
            for (const QString& value : values.split(';'))
                env->fake.registry->values.append({value.section('=', 0, 0), value.section('=', 1)});
            QTEST(GetTrueTypeFile(name), "file");
        } else {
            QVERIFY(WriteFile(UserDataDir + "ATM.INI", "[Settings]\nATM=On\n[Fonts]\nGaramond=/T1/Gara.pfm,/T1/GARA.PFB\n"
                                                  "Garamond,BOLD=/T1/GaraB.pfm,/T1/GaraB.pfb\n"
                                                  "Futura=/T1/futura.afm,/Other/Futura.pfb\n"
                                                  "Solo=/T1/Solo.pfb\nMetrics=/T1/metrics.pfm,\n"));
            Type1OutlineDir = values;
        }
        QTEST(GetFontFile(kind, name), "file");
        QCOMPARE(env->fake.registry->openKeys, 0);
    }

    // Rows found by text in any case after removals from the middle, end or start; a row outside is not removed.
    void listFindsRowsAfterRemovals()
    {
        FontListModel list;
        for (const char* text : {"Alpha", "Beta", "Gamma", "beta"})
            list.Add(text, KindTrueType);
        QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);  // views follow each removal
        list.Remove(1);
        QCOMPARE(QList<int>({list.FindItem("GAMMA"), list.FindItem("beta"), list.FindItem("alpha")}),
                 QList<int>({1, 2, 0}));
        list.Remove(2);
        QCOMPARE(QList<int>({list.FindItem("Beta"), list.FindItem("Gamma", KindTrueType)}), QList<int>({-1, 1}));
        for (int outside : {-1, 2})
            list.Remove(outside);
        list.Remove(0);
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(removed.size(), 3);
        QCOMPARE(QList<int>({list.FindItem("Alpha"), list.FindItem("gamma")}), QList<int>({-1, 0}));
    }

    // The list's one heading; new icons repaint every row, if any; each kind its own icon, kind 0 none.
    void listHeadingAndNewIcons()
    {
        FontListModel list;
        QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
        list.SetIcons({}, {}, {});
        QCOMPARE(changed.size(), 0);
        for (const char* text : {"Alpha", "Beta", "Gamma"})
            list.Add(text, KindTrueType);
        changed.clear();
        list.SetIcons({}, {}, {});
        QCOMPARE(changed.size(), 1);
        QCOMPARE(QList<int>({changed[0][0].toModelIndex().row(), changed[0][1].toModelIndex().row()}), QList<int>({0, 2}));
        QCOMPARE(list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Installed Fonts"));
        const QIcon icons[4] = {QIcon(), QIcon(QPixmap(16, 16)), QIcon(QPixmap(16, 16)), QIcon(QPixmap(16, 16))};
        list.SetIcons(icons[KindTrueType], icons[KindType1], icons[KindPrinter]);
        for (int kind : {int(KindType1), int(KindPrinter), KindNotInstalled})
            list.Add("Delta", kind);
        QStringList shown;
        for (int row = 2; row < list.Count(); ++row) {
            const QVariant icon = list.index(row).data(Qt::DecorationRole);
            shown << (!icon.isValid() ? QString("none")
                      : icon.value<QIcon>().cacheKey() == icons[list.At(row).tag].cacheKey() ? QString("own") : QString("other"));
        }
        QCOMPARE(shown, QStringList({"own", "own", "own", "none"}));
        QVERIFY(!list.headerData(1, Qt::Horizontal, Qt::DisplayRole).isValid() && !list.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid()
                && !list.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }
};

QTEST_MAIN(TestFontTable)
#include "test_fonttable.moc"
