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
        QTest::addColumn<QString>("value"); // null: not found

        const QString gw = "[GW]\nATMpath=/opt/atm\nShowTrueType=1\n";
        QTest::newRow("section case differs") << gw << "gw" << "ATMPATH" << "/opt/atm";
        QTest::newRow("missing key") << gw << "GW" << "ShowATM" << QString();
        QTest::newRow("missing section") << gw << "Main" << "ATMpath" << QString();
        QTest::newRow("blanks trimmed")
            << " \f [ Quotes ]\f \n \v; note\n \v Quote1 \t = \v To be \f\n" << "quotes" << "QUOTE1" << "To be";
        QTest::newRow("a carriage return inside a line is a blank") << "\r\v[S]\n\r;k=1\nk=\rv\r\r\n" << "S" << "k" << "v";
        QTest::newRow("equals in value") << "[S]\nk=a=b\n" << "S" << "k" << "a=b";
        QTest::newRow("first of two wins") << "[S]\nk=1\nK=2\n" << "S" << "k" << "1";
        QTest::newRow("second section of same name") << "[A]\nx=1\n[B]\n[a]\nk=3\n" << "A" << "k" << "3";
        QTest::newRow("comment is no key") << "[S]\n;k=1\n" << "S" << ";k" << QString();
        QTest::newRow("a key before any section is in the nameless one") << "k=v\n[S]\nk=w\n" << "" << "k" << "v";
        QTest::newRow("CRLF") << "[S]\r\nk=v\r\n" << "S" << "k" << "v";
        QTest::newRow("no final line break") << "[S]\nk=v" << "S" << "k" << "v";
        QTest::newRow("an empty first line") << "\n[S]\nk=v\n" << "S" << "k" << "v";
        QTest::newRow("byte order mark") << "\uFEFF[S]\nk=v\n" << "S" << "k" << "v";
        QTest::newRow("unclosed header is no header") << "[S]\n[T\nk=v\n" << "S" << "k" << "v";
        QTest::newRow("section and key beyond ASCII, any case") << "[Gr\u00F6\u00DFe]\n\u00C4nderung=1\n" << "GR\u00D6\u00DFE"
                                                              << "\u00E4nderung" << "1";
    }
    void value()
    {
        QFETCH(QString, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QString got = "untouched";
        QCOMPARE(IniDocument::Parse(text).Value(section, key, &got), !value.isNull());
        QCOMPARE(got, value.isNull() ? QString("untouched") : value);
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
        QTest::newRow("into an empty section") << "[A]\nx=1\n[B]\n\n[C]\n" << "B" << "k" << "v" << "[A]\nx=1\n[B]\nk=v\n\n[C]\n";
        QTest::newRow("new section at end")
            << "[A]\nx=1\n" << "Main" << "Top" << " 1200" << "[A]\nx=1\n\n[Main]\nTop= 1200\n";
        QTest::newRow("no final line break, append") << "[A]\nx=1" << "A" << "y" << "2" << "[A]\nx=1\ny=2\n";
        QTest::newRow("no final line break, replace") << "[A]\nx=1" << "A" << "x" << "9" << "[A]\nx=9";
        QTest::newRow("replace with text beyond ASCII") << "[A]\nx=1\n" << "A" << "x" << "caf\u00e9 \u20ac"
                                                        << "[A]\nx=caf\u00e9 \u20ac\n";
        QTest::newRow("CRLF kept") << "[A]\r\nx=1\r\n" << "A" << "y" << "2" << "[A]\r\nx=1\r\ny=2\r\n";
        QTest::newRow("mixed endings: the first line's") << "[A]\nx=1\r\n" << "A" << "y" << "2" << "[A]\nx=1\r\ny=2\n";
        QTest::newRow("CRLF kept after a blank first line") << "\r\n[A]\r\nx=1\r\n" << "A" << "y" << "2"
                                                             << "\r\n[A]\r\nx=1\r\ny=2\r\n";
        QTest::newRow("line breaks in value become blanks")
            << "" << "S" << "k" << "a\nb\r\nc" << "[S]\nk=a b  c\n";
        QTest::newRow("second section of same name") << "[A]\nx=1\n[B]\n[a]\nk=3\n" << "A" << "k" << "4"
                                                     << "[A]\nx=1\n[B]\n[a]\nk=4\n";
        // A null value removes the key.
        QTest::newRow("remove a key before any section") << "k=v\n[S]\nk=w\n" << "" << "k" << QString() << "[S]\nk=w\n";
        QTest::newRow("remove keeps the other keys") << "[A]\nx=1\ny=2\nZ=3\n[B]\ny=4\n" << "a" << "Y" << QString()
                                                     << "[A]\nx=1\nZ=3\n[B]\ny=4\n";
    }
    void setValue()
    {
        QFETCH(QString, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, after);
        IniDocument doc = IniDocument::Parse(before);
        if (value.isNull())
            doc.RemoveKey(section, key);
        else
            doc.SetValue(section, key, value);
        QCOMPARE(doc.ToText(), after);
        // What the changed document reads is what its text reads; each section is listed once.
        const IniDocument fresh = IniDocument::Parse(after);
        QStringList sections;
        for (const QString& s : doc.Sections())
            sections << s.toCaseFolded();
        QCOMPARE(sections.removeDuplicates(), 0);
        QCOMPARE(doc.Sections(), fresh.Sections());
        for (const QString& s : fresh.Sections()) {
            QCOMPARE(doc.Keys(s), fresh.Keys(s));
            for (const QString& k : fresh.Keys(s)) {
                QString mine, theirs;
                QVERIFY(doc.Value(s, k, &mine) && fresh.Value(s, k, &theirs));
                QCOMPARE(mine, theirs);
            }
        }
    }

    // Each line is decoded on its own; lines the program does not change keep their bytes.
    void mixedEncodingLinesSurvive_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // value of S/k
        const QByteArray utf8 = "[S]\na=Gr\xC3\xBC\xC3\x9F" "e\n";
        QTest::newRow("UTF-8") << utf8 + "k=caf\xC3\xA9 \xE2\x82\xAC\n" << "caf\u00E9 \u20AC";
        QTest::newRow("code page 1252") << utf8 + "k=caf\xE9 \x80\n" << "caf\u00E9 \u20AC";
        QTest::newRow("one stray byte") << utf8 + "k=x\xFFy\xC3\xA9\n" << "x\u00FFy\u00C3\u00A9";
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + utf8 + "k=\xC3\xA9\r\n" << "\u00E9";
        QTest::newRow("binary") << utf8 + QByteArray("k=\x01\0\x02\n\0\0\n", 9) << QString::fromLatin1("\x01\0\x02", 3);
    }
    void mixedEncodingLinesSurvive()
    {
        QFETCH(QByteArray, bytes);
        const QString path = env_->root() + "/mixed.ini";
        QVERIFY(WriteFile(path, bytes));
        IniDocument doc = IniDocument::Load(path);
        QString value;
        QVERIFY(doc.Value("S", "k", &value));
        QTEST(value, "expected");
        QVERIFY(doc.Value("S", "a", &value));
        QCOMPARE(value, QStringLiteral("Gr\u00FC\u00DFe"));
        QVERIFY(doc.SetValue("S", "new", "\u00E9"));
        QVERIFY(doc.Save(path));
        QVERIFY(ReadFile(path).startsWith(bytes));
        QVERIFY(ReadFile(path).endsWith("new=\xC3\xA9\n") || ReadFile(path).endsWith("new=\xC3\xA9\r\n"));
    }

    // Text the user types is stored on one line and read back as typed; a stored escape that is
    // not one of ours stays as it stands.
    void escapedText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("breaks, tabs, backslashes") << "a\\nb\\\\n\\t\\r" << "a\nb\\n\t\r";
        QTest::newRow("code in either case") << "\\u00A0\\u00e9\\uFFFF" << "\u00A0\u00E9\uFFFF";
        QTest::newRow("the lowest codes") << "\\u0000\\u0001" << QString(QChar(0)) + QChar(1);
        QTest::newRow("not hex, too short, at the end") << "\\u00g0\\u12\\x\\" << "\\u00g0\\u12\\x\\";
        QTest::newRow("another letter before four hex digits") << "\\x00e9\\U00e9" << "\\x00e9\\U00e9";
        QTest::newRow("a code one digit short at the end") << "a\\u00e" << "a\\u00e";
    }
    void escapedText()
    {
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QCOMPARE(UnescapeText(stored), text);
        IniDocument doc;
        doc.SetValue("GW", "SampleText", EscapeText(" " + text + " "));  // blanks at the ends kept too
        QString value;
        QVERIFY(IniDocument::FromBytes(doc.ToBytes()).Value("gw", "sampletext", &value));
        QCOMPARE(UnescapeText(value), " " + text + " ");
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestIniFile)
#include "test_inifile.moc"
