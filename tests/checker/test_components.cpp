// The component checker on a fake component table: which copies conflict,
// each flag line of the description, the report, and the window.
#include <QtTest>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "checker/components.h"
#include "checker/versioncheck.h"
#include "core/globals.h"
#include "testenv.h"

using namespace gw;

namespace {

const QDateTime kBuilt(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);

ComponentReference Reference(const QString& file, const QString& version, uint32_t flags = 0)
{
    return {file, file, version, kBuilt, 1000, flags};
}

ComponentFile Copy(const QString& path, const QString& version, qint64 size = 1000,
                   const QDateTime& date = kBuilt, bool inMemory = true)
{
    return {path, version, date, size, 0, inMemory};
}

} // namespace

class ComponentsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { env = std::make_unique<TestEnv>(); }
    void cleanup() { env.reset(); }

    void flagLines_data()
    {
        QTest::addColumn<QString>("referenceVersion");
        QTest::addColumn<uint>("referenceFlags");
        QTest::addColumn<QVector<ComponentFile>>("found");
        QTest::addColumn<QStringList>("lines");  // the flag lines, in order; empty: no conflict
        const QDateTime older = kBuilt.addDays(-3), newer = kBuilt.addDays(3);
        QTest::newRow("same version: no conflict") << "6.4.2" << 0u
            << QVector<ComponentFile>{Copy("/l/a", "6.4.2", 2000, newer)} << QStringList();
        QTest::newRow("newer minor keeps the interface") << "6.4.2" << 0u
            << QVector<ComponentFile>{Copy("/l/a", "6.5.0")} << QStringList();
        QTest::newRow("older, earlier, smaller") << "6.4.2" << 0u
            << QVector<ComponentFile>{Copy("/l/a", "6.4.1", 900, older)}
            << QStringList{"Older file was found (based on file date).", "Older Version was found.",
                           "File was found in memory.", "Smaller size file was found."};
        QTest::newRow("newer major, later, larger") << "2.14.1" << 0u
            << QVector<ComponentFile>{Copy("/l/a", "3.0", 1100, newer)}
            << QStringList{"Newer file was found (based on file date).", "Newer Version was found.",
                           "File was found in memory.", "Larger size file was found."};
        ComponentFile special = Copy("/l/a", "6.4.2");
        special.specialBuild = 1 | 2 | 4 | 8 | 16 | 32;
        QTest::newRow("special build names in order") << "6.4.2" << 0u << QVector<ComponentFile>{special}
            << QStringList{"Special Version was found: Debug, Infoinferred, Patched, Prerelease, PrivateBuild, SpecialBuild",
                           "File was found in memory."};
        QTest::newRow("always warn") << "6.4.2" << 32u << QVector<ComponentFile>{Copy("/l/a", "6.4.2")}
            << QStringList{"Always warn was set for this file.", "File was found in memory."};
        QTest::newRow("not loaded") << "6.4.2" << 0u << QVector<ComponentFile>{}
            << QStringList{"No matching file was found."};
        QTest::newRow("no version") << "6.4.2" << 0u << QVector<ComponentFile>{Copy("/l/a", "")}
            << QStringList{"File was found in memory.", "File does not contain Version Information."};
    }
    void flagLines()
    {
        QFETCH(QString, referenceVersion);
        QFETCH(uint, referenceFlags);
        QFETCH(QVector<ComponentFile>, found);
        QFETCH(QStringList, lines);
        env->fake.components->references = {Reference("libx.so.6", referenceVersion, referenceFlags)};
        env->fake.components->found["libx.so.6"] = found;
        const ComponentCheck check = ScanComponents(*env->fake.components);
        QCOMPARE(check.ConflictCount, lines.isEmpty() ? 0 : 1);
        if (lines.isEmpty())
            return;
        const QStringList text = ConflictDescription(check, 0).split("\r\n");
        const int first = text.indexOf(QRegularExpression("^Actual File Version : .*")) + 1;
        QCOMPARE(text.mid(first, lines.size()), lines);
    }

    // A clean check shows nothing; a conflict is described with the other copies found, listed
    // in the window, and its report saved.
    void descriptionReportAndWindow()
    {
        env->fake.components->references = {Reference("libok.so.1", "1.0")};
        env->fake.components->found["libok.so.1"] = {Copy("/usr/lib/libok.so.1.0", "1.0")};
        {
            VersionCheckDialog clean;
            QCOMPARE(Child<QListWidget>(clean, "conflictList").item(0)->text(), QString("No conflicts found"));
            QVERIFY(RunComponentCheck());  // nothing shown, start-up goes on
        }
        env->fake.components->references << Reference("libQt6Gui.so.6", "6.4.2");
        env->fake.components->found["libQt6Gui.so.6"] = {
            Copy("/opt/qt/lib/libQt6Gui.so.6.2.0", "6.2.0"),
            Copy("/usr/lib/libQt6Gui.so.6.4.2", "6.4.2", 1000, kBuilt, false),
            Copy("/usr/local/lib/libQt6Gui.so.6.4.3", "6.4.3", 1000, kBuilt, false)};
        const ComponentCheck check = ScanComponents(*env->fake.components);
        QCOMPARE(check.ConflictCount, 1);
        const QString description =
            "Reference File Date : 2024-05-01 12:00 UTC\r\n"
            "Reference File Size : 1000\r\n"
            "Reference File Version : 6.4.2\r\n"
            "\r\n"
            "Actual File Found : /opt/qt/lib/libQt6Gui.so.6.2.0\r\n"
            "Actual File Date : 2024-05-01 12:00 UTC\r\n"
            "Actual File Size : 1000\r\n"
            "Actual File Version : 6.2.0\r\n"
            "Older Version was found.\r\n"
            "File was found in memory.\r\n"
            "File was also found in the following directories : \r\n"
            "/usr/lib/libQt6Gui.so.6.4.2\r\n"
            "/usr/local/lib/libQt6Gui.so.6.4.3\r\n";
        QCOMPARE(ConflictDescription(check, 0), description);
        const QString report = ComponentReport(check);
        QVERIFY(report.startsWith("Glyphwick for Linux\r\nVersion "));
        QVERIFY(report.contains("\r\nRun-time Library Conflict Report\r\n" + QString(34, '-') + "\r\n\r\n"
                                "To fix these conflicts, please reinstall Glyphwick.\r\n"));
        QVERIFY(report.endsWith("\r\n\r\nThe following Incompatible files were found:\r\n"
                                "Reference File Name : libQt6Gui.so.6\r\n" + description));
        QVERIFY(!ComponentReport(ComponentCheck()).contains("Incompatible"));

        VersionCheckDialog w;
        QCOMPARE(Child<QListWidget>(w, "conflictList").count(), 1);
        QCOMPARE(Child<QListWidget>(w, "conflictList").item(0)->text(), QString("libQt6Gui.so.6"));
        QVERIFY(Child<QPlainTextEdit>(w, "detailText").toPlainText().contains("Older Version was found."));
        const QString file = env->root() + "/Report.TXT";
        env->fake.dialogs->answers = {file};
        Child<QPushButton>(w, "saveButton").click();
        QCOMPARE(QFileInfo(env->fake.dialogs->starts.value(0)).fileName(), QString("gw-ver.txt"));
        QCOMPARE(QString::fromUtf8(ReadFile(file)), report);
        QCOMPARE(env->fake.messages->texts, QStringList{"Report saved as " + file});
        QCOMPARE(env->fake.messages->styles, QList<int>{vbInformation});
        Child<QPushButton>(w, "exitButton").click();
        QVERIFY(w.ExitChosen());
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(ComponentsTest)
#include "test_components.moc"
