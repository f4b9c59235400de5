#include <QtTest>

#include "core/inifile.h"
#include "testenv.h"

using namespace gw;

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void value_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("value");

        const QString gw = "[GW]\nATMpath=/opt/atm\nShowTrueType=1\n";
        QTest::newRow("same case") << gw << "GW" << "ATMpath" << true << "/opt/atm";
        QTest::newRow("key case differs") << gw << "GW" << "ATMPath" << true << "/opt/atm";
        QTest::newRow("section case differs") << gw << "gw" << "ATMPATH" << true << "/opt/atm";
        QTest::newRow("missing key") << gw << "GW" << "ShowATM" << false << "";
        QTest::newRow("missing section") << gw << "Main" << "ATMpath" << false << "";
        QTest::newRow("empty text") << "" << "GW" << "ATMpath" << false << "";
        QTest::newRow("blanks trimmed")
            << "  [ Quotes ]  \n   Quote1   =   To be   \n" << "quotes" << "QUOTE1" << true << "To be";
        QTest::newRow("tab blanks") << "[S]\n\tk\t=\tv\t\n" << "S" << "k" << true << "v";
        QTest::newRow("equals in value") << "[S]\nk=a=b\n" << "S" << "k" << true << "a=b";
        QTest::newRow("empty value") << "[S]\nk=\n" << "S" << "k" << true << "";
        QTest::newRow("first of two wins") << "[S]\nk=1\nK=2\n" << "S" << "k" << true << "1";
        QTest::newRow("key in other section only")
            << "[A]\nk=1\n[B]\nj=2\n" << "B" << "k" << false << "";
        QTest::newRow("second section of same name")
            << "[A]\nx=1\n[B]\n[a]\nk=3\n" << "A" << "k" << true << "3";
        QTest::newRow("comment is no key") << "[S]\n;k=1\n" << "S" << ";k" << false << "";
        QTest::newRow("line without equals") << "[S]\njunk line\n" << "S" << "junk line" << false << "";
        QTest::newRow("CRLF") << "[S]\r\nk=v\r\n" << "S" << "k" << true << "v";
        QTest::newRow("no final line break") << "[S]\nk=v" << "S" << "k" << true << "v";
        QTest::newRow("byte order mark") << "\uFEFF[S]\nk=v\n" << "S" << "k" << true << "v";
        QTest::newRow("unclosed header is no header")
            << "[S]\n[T\nk=v\n" << "S" << "k" << true << "v";
    }
    void value()
    {
        QFETCH(QString, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, value);
        QString got = "untouched";
        QCOMPARE(IniDocument::Parse(text).Value(section, key, &got), found);
        if (found)
            QCOMPARE(got, value);
        else
            QCOMPARE(got, QString("untouched"));
        QCOMPARE(IniDocument::Parse(text).ToText(), text);
    }

    void setValue_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("after");

        QTest::newRow("empty document") << "" << "GW" << "ANSI" << "65" << "[GW]\nANSI=65\n";
        QTest::newRow("replace keeps spelling and place")
            << "; mine\n[GW]\nATMpath = old  \nUserName=me\n" << "gw" << "ATMPATH" << "new"
            << "; mine\n[GW]\nATMpath=new\nUserName=me\n";
        QTest::newRow("append before blank lines")
            << "[A]\nx=1\n\n[B]\ny=2\n" << "a" << "z" << "3" << "[A]\nx=1\nz=3\n\n[B]\ny=2\n";
        QTest::newRow("append after comment of section")
            << "[A]\nx=1\n; note\n\n" << "A" << "z" << "3" << "[A]\nx=1\n; note\nz=3\n\n";
        QTest::newRow("empty section")
            << "[A]\n\n[B]\n" << "A" << "k" << "v" << "[A]\nk=v\n\n[B]\n";
        QTest::newRow("new section at end")
            << "[A]\nx=1\n" << "Main" << "Top" << " 1200" << "[A]\nx=1\n\n[Main]\nTop= 1200\n";
        QTest::newRow("new section after blank line")
            << "[A]\nx=1\n\n" << "B" << "k" << "v" << "[A]\nx=1\n\n[B]\nk=v\n";
        QTest::newRow("no final line break, append")
            << "[A]\nx=1" << "A" << "y" << "2" << "[A]\nx=1\ny=2\n";
        QTest::newRow("no final line break, new section")
            << "[A]\nx=1" << "B" << "y" << "2" << "[A]\nx=1\n\n[B]\ny=2\n";
        QTest::newRow("no final line break, replace")
            << "[A]\nx=1" << "A" << "x" << "9" << "[A]\nx=9";
        QTest::newRow("CRLF kept")
            << "[A]\r\nx=1\r\n" << "A" << "y" << "2" << "[A]\r\nx=1\r\ny=2\r\n";
        QTest::newRow("line breaks in value become blanks")
            << "" << "S" << "k" << "a\nb\r\nc" << "[S]\nk=a b  c\n";
        QTest::newRow("empty value") << "[S]\nk=1\n" << "S" << "k" << "" << "[S]\nk=\n";
    }
    void setValue()
    {
        QFETCH(QString, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, after);
        IniDocument doc = IniDocument::Parse(before);
        doc.SetValue(section, key, value);
        QCOMPARE(doc.ToText(), after);
        // What was set reads back the same, in memory and from the text.
        QString inMemory, reparsed;
        QVERIFY(doc.Value(section, key, &inMemory));
        QVERIFY(IniDocument::Parse(after).Value(section, key, &reparsed));
        QCOMPARE(inMemory, reparsed);
    }

    void setValueTwiceAddsOnce()
    {
        IniDocument doc;
        doc.SetValue("Quotes", "Quote1", "a");
        doc.SetValue("QUOTES", "quote1", "b");
        QCOMPARE(doc.ToText(), QString("[Quotes]\nQuote1=b\n"));
    }

    void removeKeyAndLists()
    {
        IniDocument doc = IniDocument::Parse("[A]\nx=1\n;c\ny=2\n[b]\nX=3\n[a]\nz=4\nY=5\n");
        QCOMPARE(doc.Sections(), QStringList({"A", "b"}));
        QCOMPARE(doc.Keys("a"), QStringList({"x", "y", "z"}));
        doc.RemoveKey("a", "Y");
        QCOMPARE(doc.ToText(), QString("[A]\nx=1\n;c\n[b]\nX=3\n[a]\nz=4\n"));
        QVERIFY(doc.Value("b", "x", nullptr));
        doc.RemoveKey("nothing", "x");
        QCOMPARE(doc.Keys("A"), QStringList({"x", "z"}));
    }

    void loadMissingFileIsEmpty()
    {
        const IniDocument doc = IniDocument::Load(env_->root() + "/nowhere/none.ini");
        QVERIFY(doc.ToText().isEmpty());
        QVERIFY(doc.Sections().isEmpty());
    }

    void saveCreatesFolderAndLeavesNoTempFile()
    {
        const QString folder = env_->root() + "/new/deeper";
        const QString path = folder + "/gw.ini";
        IniDocument doc;
        doc.SetValue("GW", "ANSI", "66");
        QVERIFY(doc.Save(path));
        QCOMPARE(ReadFile(path), QByteArray("[GW]\nANSI=66\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList({"gw.ini"}));
    }

    void rewriteKeepsEverythingElse()
    {
        const QByteArray before =
            "; Glyphwick settings\r\n"
            "[GW]\r\n"
            "ShowTrueType=1\r\n"
            "Unknown Key = kept   as is  \r\n"
            "this line means nothing\r\n"
            "\r\n"
            "[Other]\r\n"
            "a=b\r\n"
            "; trailing comment";
        const QString path = env_->root() + "/gw.ini";
        QVERIFY(WriteFile(path, before));
        IniDocument doc = IniDocument::Load(path);
        doc.SetValue("gw", "showtruetype", "0");
        QVERIFY(doc.Save(path));
        QByteArray expected = before;
        expected.replace("ShowTrueType=1", "ShowTrueType=0");
        QCOMPARE(ReadFile(path), expected);
        QCOMPARE(QDir(env_->root()).entryList({"gw.ini*"}, QDir::Files | QDir::Hidden),
                 QStringList({"gw.ini"}));
    }

    void textEncodings()
    {
        const QString path = env_->root() + "/enc.ini";
        // UTF-8 survives as it is.
        const QByteArray utf8 = "[S]\nk=caf\xC3\xA9 \xE2\x82\xAC\n; \xD0\x96\n";
        QVERIFY(WriteFile(path, utf8));
        QString v;
        QVERIFY(IniDocument::Load(path).Value("S", "k", &v));
        QCOMPARE(v, QStringLiteral("caf\u00E9 \u20AC"));
        QVERIFY(IniDocument::Load(path).Save(path));
        QCOMPARE(ReadFile(path), utf8);
        // An old ANSI file reads through code page 1252.
        QVERIFY(WriteFile(path, "[S]\nk=caf\xE9 \x80\n"));
        QVERIFY(IniDocument::Load(path).Value("S", "k", &v));
        QCOMPARE(v, QStringLiteral("caf\u00E9 \u20AC"));
    }

    void saveFailsWhereNoFileCanBe()
    {
        const QString blocker = env_->root() + "/plainfile";
        QVERIFY(WriteFile(blocker, "x"));
        IniDocument doc;
        doc.SetValue("A", "b", "c");
        QVERIFY(!doc.Save(blocker + "/gw.ini"));
        QCOMPARE(ReadFile(blocker), QByteArray("x"));
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestIniFile)
#include "test_inifile.moc"
