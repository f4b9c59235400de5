// The index that answers the desktop layer's enumerations: families and the
// styles of one family, as the listing of every face would give them; the
// logical font name field the desktop store shares with the fake.
#include <QtTest>

#include "platform/desktopindex.h"
#include "platform/fake.h"

using namespace gw;

namespace {

DesktopFace Face(const QString& family, int weight, bool italic, int type = TRUETYPE_FONTTYPE,
                 const QString& file = {})
{
    DesktopFace f;
    f.family = family;
    f.weight = weight;
    f.slant = italic ? 100 : 0;
    f.fontType = type;
    f.style = QString::number(weight) + (italic ? " Italic" : "");
    f.fullName = family + " " + f.style;
    f.file = file.isEmpty() ? "/fonts/" + f.fullName + ".ttf" : file;
    return f;
}

// "family/type/weight[i]" for each face.
QStringList Describe(const QVector<DesktopFace>& faces)
{
    QStringList out;
    for (const DesktopFace& f : faces)
        out << f.family + "/" + QString::number(f.fontType) + "/" + QString::number(f.weight)
                   + (f.italic() ? "i" : "");
    return out;
}

} // namespace

class TestDesktopIndex : public QObject {
    Q_OBJECT

private slots:
    void lookups_data()
    {
        QTest::addColumn<QVector<DesktopFace>>("faces");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("styles");

        QVector<DesktopFace> many{Face("Before", 400, false)};
        QStringList manyStyles;
        for (int w = 900; w >= 100; w -= 100)
            for (bool italic : {true, false})
                many << Face("Many", w, italic);
        for (int w = 100; w <= 900; w += 100)
            for (bool italic : {false, true})
                manyStyles << "Many/4/" + QString::number(w) + (italic ? "i" : "");
        many << Face("After", 700, false);
        QTest::newRow("many styles, the regular stands for the family")
            << many << "many" << QStringList{"After/4/700", "Before/4/400", "Many/4/400"} << manyStyles;

        QTest::newRow("one family as TrueType and Type 1")
            << QVector<DesktopFace>{Face("Shared", 700, false, DEVICE_FONTTYPE, "/t1/shared-bold.pfb"),
                                    Face("Shared", 700, false), Face("Shared", 400, false)}
            << "Shared" << QStringList{"Shared/4/400", "Shared/2/700"}
            << QStringList{"Shared/4/400", "Shared/4/700", "Shared/2/700"};

        QTest::newRow("names differing only in case are one family")
            << QVector<DesktopFace>{Face("CASE", 700, false), Face("Case", 400, false)} << "cAsE"
            << QStringList{"Case/4/400"} << QStringList{"CASE/4/700", "Case/4/400"};

        const QString longName = "A Family Name Longer Than The Face Field";
        QTest::newRow("a long name is asked for as the face field holds it")
            << QVector<DesktopFace>{Face(longName, 400, false)} << longName.left(31)
            << QStringList{longName + "/4/400"} << QStringList{longName + "/4/400"};
        const QString longOther = longName.left(31) + " Condensed";
        QTest::newRow("long families alike in the face field stay apart")
            << QVector<DesktopFace>{Face(longName, 400, false), Face(longOther, 700, false)} << longOther
            << QStringList{longOther + "/4/700", longName + "/4/400"} << QStringList{longOther + "/4/700"};

        DesktopFace pfb = Face("Dup", 400, false, DEVICE_FONTTYPE, "/t1/dup.pfb");
        DesktopFace t1 = pfb;
        t1.file = "/t1/dup.t1";
        QTest::newRow("one style in two files is one style")
            << QVector<DesktopFace>{t1, pfb} << "Dup" << QStringList{"Dup/2/400"} << QStringList{"Dup/2/400"};

        // The family shows its plainest style, as its list of styles offers it first.
        QTest::newRow("of two weights as near to 400, the lighter stands for the family")
            << QVector<DesktopFace>{Face("Tie", 500, false), Face("Tie", 300, false)} << "Tie"
            << QStringList{"Tie/4/300"} << QStringList{"Tie/4/300", "Tie/4/500"};
        DesktopFace condensed = Face("Narrow", 400, false);
        condensed.width = 75;
        QTest::newRow("a normal width stands for the family before a condensed regular")
            << QVector<DesktopFace>{condensed, Face("Narrow", 700, false)} << "Narrow"
            << QStringList{"Narrow/4/700"} << QStringList{"Narrow/4/400", "Narrow/4/700"};

        QTest::newRow("a family not there")
            << QVector<DesktopFace>{Face("Here", 400, false)} << "There" << QStringList{"Here/4/400"}
            << QStringList{};
    }
    void lookups()
    {
        QFETCH(QVector<DesktopFace>, faces);
        QFETCH(QString, asked);
        const DesktopFaceIndex index(faces);
        QTEST(Describe(index.Families()), "families");
        QTEST(Describe(index.Styles(asked)), "styles");
        // Every file of the family (or of its face field), the first listed too.
        const auto ofFamily = std::count_if(faces.begin(), faces.end(), [&](const DesktopFace& f) {
            return f.family.compare(asked, Qt::CaseInsensitive) == 0
                   || FaceFieldText(f.family).compare(asked, Qt::CaseInsensitive) == 0;
        });
        QCOMPARE(index.FacesOf(asked).size(), ofFamily);
    }

    void setLogFontName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short, padded") << "Ab" << 5 << QByteArray("Ab\0\0\0", 5);
        QTest::newRow("cut to size - 1") << "Abcdef" << 4 << QByteArray("Abc\0", 4);
        QTest::newRow("code page 1252") << QString::fromUtf8("€é") << 4 << QByteArray("\x80\xe9\0\0", 4);
        QTest::newRow("outside the code page: ?, a NUL kept") << QString("A\u4e00") + QChar(0) + "B" << 5
                                                             << QByteArray("A?\0B\0", 5);
    }
    void setLogFontName()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QByteArray field(size + 2, 'x');
        SetLogFontName(field.data(), size, text);
        QTEST(field.left(size), "expected");
        QCOMPARE(field.mid(size), QByteArray("xx")); // nothing written past the field
    }

    // What the face field holds of a family: at most 31 code page 1252 characters.
    void faceFieldText_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short ASCII as it is") << "Arial" << "Arial";
        QTest::newRow("code page 1252 kept") << QString::fromUtf8("Caf\u00e9 \u20ac") << QString::fromUtf8("Caf\u00e9 \u20ac");
        QTest::newRow("a C1 control is outside the code page") << QString::fromUtf8("A\u0080") << "A?";
        QTest::newRow("cut to 31") << QString(32, 'n') << QString(31, 'n');
    }
    void faceFieldText()
    {
        QFETCH(QString, family);
        QTEST(FaceFieldText(family), "expected");
    }
};

QTEST_GUILESS_MAIN(TestDesktopIndex)
#include "test_desktopindex.moc"
