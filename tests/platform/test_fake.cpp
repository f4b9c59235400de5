// The logical font name field and the registry key rules the desktop store shares with the fake.
#include <QtTest>

#include "platform/fake.h"
#include "testenv.h"

using namespace gw;

class TestFake : public QObject {
    Q_OBJECT
private slots:
    void setLogFontName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short, padded") << "Ab" << 5 << QByteArray("Ab\0\0\0", 5);
        QTest::newRow("cut to size - 1") << "Abcdef" << 4 << QByteArray("Abc\0", 4);
        QTest::newRow("code page 1252") << QString::fromUtf8("€é") << 4 << QByteArray("\x80\xe9\0\0", 4);
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

    // The key rules the desktop store shares with this fake.
    void registryAccessRules()
    {
        TestEnv env;
        FakeRegistry* reg = env.fake.registry;
        reg->values = {{"Alpha (TrueType)", "alpha.ttf"}, {"Zeta Bold (TrueType)", "/f/zetab.ttf"}};
        {
            std::unique_ptr<RegistryKey> key;
            QCOMPARE(Sys().registry->OpenKey("some\\key", KEY_READ, &key), ERROR_SUCCESS);
            QCOMPARE(reg->openKeys, 1);
            QCOMPARE(key->SetValue("New (TrueType)", "new.ttf"), ERROR_ACCESS_DENIED);
            QCOMPARE(key->DeleteValue("Alpha (TrueType)"), ERROR_ACCESS_DENIED);
            QString name, data;
            QCOMPARE(key->QueryValue("ALPHA (truetype)", &data), ERROR_SUCCESS);
            QCOMPARE(data, QString("alpha.ttf"));
            QCOMPARE(key->QueryValue("Beta (TrueType)", &data), ERROR_FILE_NOT_FOUND);
            int count = 0, longestName = 0, longestData = 0;
            QCOMPARE(key->QueryInfo(&count, &longestName, &longestData), ERROR_SUCCESS);
            QCOMPARE(QList<int>({count, longestName, longestData}), QList<int>({2, 20, 12}));
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
        QCOMPARE(reg->values, (QList<QPair<QString, QString>>{{"Alpha (TrueType)", "alpha2.ttf"},
                                                              {"New (TrueType)", "new.ttf"}}));
        reg->failOpen = true;
        std::unique_ptr<RegistryKey> key;
        QVERIFY(Sys().registry->OpenKey("some\\key", KEY_READ, &key) != ERROR_SUCCESS);
        QVERIFY(!key);
    }
};

QTEST_MAIN(TestFake)
#include "test_fake.moc"
