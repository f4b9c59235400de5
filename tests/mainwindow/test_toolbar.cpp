// The toolbar: buttons with and without the Type 1 manager, hover, tooltip
// delay, leave, press and release; the pictures' transparent colour; menu help.
#include <QtTest>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <memory>

#include "core/globals.h"
#include "mainwindow/fw.h"
#include "mainwindow/toolbar.h"
#include "testenv.h"

using namespace gw;

namespace {

void Enter(QWidget* w)
{
    QEnterEvent event(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &event);
}

void Leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

QList<int> VisibleTops(const FW& w)
{
    QList<int> tops;
    for (QWidget* b : w.picTool)
        if (!b->isHidden())
            tops << b->y();
    return tops;
}

} // namespace

class ToolbarTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->fake.fonts->faces = {TrueTypeFace("DejaVu Sans", "Book")};
        SetShow(true, true, true);
        ATMInstalled = false;
    }
    void cleanup()
    {
        TooltipWindow()->hide();
        env.reset();
    }

    void buttonsStackWithoutGap_data()
    {
        QTest::addColumn<bool>("realAtmIni");
        QTest::addColumn<int>("visible");
        QTest::newRow("fontconfig view hides the Type 1 button") << false << 7;
        QTest::newRow("a real ATM.INI shows it") << true << 8;
    }
    void buttonsStackWithoutGap()
    {
        QFETCH(bool, realAtmIni);
        QFETCH(int, visible);
        ATMInstalled = true;
        if (realAtmIni)
            QVERIFY(WriteFile(WinDir + "ATM.INI", "[Settings]\nATM=On\n"));
        FW w;
        const QList<int> tops = VisibleTops(w);
        QCOMPARE(tops.size(), visible);
        const int step = w.picTool[1]->y() - w.picTool[0]->y();
        QCOMPARE(step, 41);  // 615 twips
        for (int i = 1; i < tops.size(); ++i)
            QCOMPARE(tops[i] - tops[i - 1], step);
        QCOMPARE(w.findChild<QAction*>("mnuRunAdobeTypeManager")->isVisible(), realAtmIni);
    }

    void hoverShowsTooltipAfterHalfASecond()
    {
        FW w;
        QWidget* copy = w.picTool[3];
        Enter(copy);
        QCOMPARE(w.ButtonState(3), 0);  // raised
        QTest::qWait(250);
        QVERIFY(!TooltipWindow()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(TooltipWindow()->isVisible(), 1000);
        QCOMPARE(TooltipWindow()->ToolTipLab->text(), QString("Copy to clipboard"));
        QCOMPARE(TooltipWindow()->width(), TooltipWindow()->ToolTipLab->width() + 4);
        QVERIFY(w.Timer1->isActive());  // it follows the mouse

        Leave(copy);
        QCOMPARE(w.ButtonState(3), 2);  // flat
        QVERIFY(!TooltipWindow()->isVisible());
        QVERIFY(!w.Timer1->isActive());
    }

    void pressAndReleaseRunTheCommand()
    {
        FW w;
        QWidget* settings = w.picTool[6];
        QCOMPARE(settings->property("Tag").toString(), QString("Open the desktop's system settings"));
        Enter(settings);
        QTest::mousePress(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(w.ButtonState(6), 1);
        QVERIFY(env->fake.programs->started.isEmpty());
        QTest::mouseRelease(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(w.ButtonState(6), 0);
        QCOMPARE(env->fake.programs->started, QStringList{"CONTROL.EXE"});

        // Released off the button: nothing runs.
        QTest::mousePress(settings, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(settings, Qt::LeftButton, {}, QPoint(-20, 10));
        QCOMPARE(env->fake.programs->started.size(), 1);
    }

    void picturesHaveTransparentBackgrounds()
    {
        for (int resource = 176; resource <= 183; ++resource) {
            for (qreal dpr : {1.0, 2.0}) {
                const QImage bitmap = ToolBitmap(resource, dpr);
                QCOMPARE(bitmap.width(), qRound(32 * dpr));
                QCOMPARE(bitmap.pixel(0, 0), TransparentColour.rgb());
                QImage target(qRound(40 * dpr), qRound(40 * dpr), QImage::Format_RGB32);
                target.setDevicePixelRatio(dpr);
                target.fill(Qt::green);
                {
                    QPainter p(&target);
                    DrawTransparent(p, bitmap, 4, 4, TransparentColour);
                }
                int green = 0, drawn = 0;
                for (int y = 0; y < target.height(); ++y)
                    for (int x = 0; x < target.width(); ++x) {
                        const QRgb c = target.pixel(x, y);
                        QVERIFY2(c != TransparentColour.rgb(), qPrintable(QString::number(resource)));
                        (c == QColor(Qt::green).rgb() ? green : drawn)++;
                    }
                QVERIFY(drawn > 60 * dpr * dpr);
                QVERIFY(green > drawn);
            }
        }
        QVERIFY(ToolBitmap(175).isNull());
    }

    void menuHelpFollowsTheHighlightedItem_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("help");
        QTest::newRow("caption only") << "mnuFileExit" << "Exit Glyphwick";
        QTest::newRow("caption, tab, shortcut") << "mnuEditCopy" << "Copy selected character or text to the Clipboard";
        QTest::newRow("Linux text") << "mnuRunControlPanel" << "Open the desktop's system settings";
        QTest::newRow("no help text") << "mnuHelpAbout" << "";
    }
    void menuHelpFollowsTheHighlightedItem()
    {
        QFETCH(QString, item);
        QFETCH(QString, help);
        FW w;
        auto* action = w.findChild<QAction*>(item);
        QVERIFY(action);
        auto* menu = qobject_cast<QMenu*>(action->parent());
        QVERIFY(menu);
        menu->popup(QPoint(0, 0));
        emit menu->hovered(action);
        QCOMPARE(w.StatusPanel[2]->text(), help);
        menu->hide();
        QCOMPARE(w.StatusPanel[2]->text(), QString());
    }

private:
    std::unique_ptr<TestEnv> env;
};

QTEST_MAIN(ToolbarTest)
#include "test_toolbar.moc"
