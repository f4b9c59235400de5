// The dialogs open in the middle of the screen; at each step of the wizards and on
// each tab of the options no control hides another, each but a label is named, and
// every named part has its approved place and size (tests/data/layouts; after a
// deliberate change, look at the window and approve with GW_APPROVE=1).
#include <QtTest>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>

#include "core/globals.h"
#include "core/settings.h"
#include "core/splash.h"
#include "options/optionsdialog.h"
#include "testenv.h"
#include "wizards/printwizard.h"
#include "wizards/folderpicker.h"
#include "wizards/installwizard.h"
#include "wizards/removewizard.h"

using namespace gw;

namespace {

bool IsControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w)
           || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractScrollArea*>(w)
           || qobject_cast<const QLabel*>(w);
}

// "a overlaps b" for each pair of visible controls that share a parent and overlap.
QStringList Overlaps(QWidget* window)
{
    QStringList found;
    QList<QWidget*> parents{window};
    parents += window->findChildren<QWidget*>();
    for (QWidget* parent : parents) {
        if (!parent->isVisible() || qobject_cast<QAbstractScrollArea*>(parent) || qobject_cast<QComboBox*>(parent)
            || qobject_cast<QTabBar*>(parent))  // their own parts
            continue;
        QList<QWidget*> controls;
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible() && IsControl(child) && !child->geometry().isEmpty())
                controls << child;
        for (QWidget* control : controls)  // tests and the accessibility tree find them by name
            if (control->objectName().isEmpty() && !qobject_cast<QLabel*>(control))
                found << QString("an unnamed ") + control->metaObject()->className();
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                if (controls[i]->geometry().intersects(controls[j]->geometry()))
                    found << controls[i]->objectName() + " overlaps " + controls[j]->objectName();
    }
    return found;
}

// "name x,y wxh" of every visible named part, in the window's coordinates.
QStringList Geometries(QWidget* window)
{
    QStringList lines;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            const QPoint at = w->mapTo(window, QPoint(0, 0));
            lines << QString("%1 %2,%3 %4x%5").arg(w->objectName()).arg(at.x()).arg(at.y()).arg(w->width()).arg(w->height());
        }
    return lines;
}

} // namespace

class TestDialogLayout : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> env_;

private slots:
    void init() { env_ = std::make_unique<TestEnv>(); }
    void cleanup() { env_.reset(); }

    void centredAndNoControlHidden_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"print wizard", "remove wizard", "install wizard", "CD print wizard", "folder picker",
                                 "options", "splash"})
            QTest::newRow(name) << name;
    }
    void centredAndNoControlHidden()
    {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> d;
        std::function<bool()> next;  // to the next step or tab; false after the last
        if (window == "print wizard") {
            auto* w = new PrintWizard(PrintFontList{});
            d.reset(w);
            next = [w, step = 0]() mutable { w->GoToNextStep(); return ++step < 3; };
        } else if (window == "remove wizard") {
            auto* w = new RemoveWizard;
            d.reset(w);
            next = [w, step = 0]() mutable { w->GoToNextStep(); return ++step < 3; };
        } else if (window.endsWith("install wizard") || window == "CD print wizard") {
            auto* w = new InstallWizard(window == "install wizard" ? InstallWizard::Mode::Install
                                                                   : InstallWizard::Mode::PrintUninstalled);
            d.reset(w);
            next = [w]() {
                QPushButton& nextButton = Child<QPushButton>(*w, "nextButton");
                const bool more = nextButton.isEnabled();
                nextButton.click();
                return more;
            };
        } else if (window == "folder picker") {
            d.reset(new FolderPicker);
            next = [] { return false; };
        } else if (window == "splash") {
            d.reset(new SplashWindow);
            next = [] { return false; };
        } else {
            auto* w = new OptionsDialog;
            d.reset(w);
            next = [w, tab = 0]() mutable {
                if (++tab == 5)
                    return false;
                w->SelectTab(OptionsDialog::Tab(tab));
                return true;
            };
        }
        const QPoint offCentre = d->frameGeometry().center() - d->screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->resize(d->minimumSizeHint().expandedTo(d->minimumSize()));
        int step = 0;
        do {
            QApplication::processEvents();
            const QStringList overlaps = Overlaps(d.get());
            QVERIFY2(overlaps.isEmpty(), qPrintable(QString("step %1: ").arg(step) + overlaps.join(", ")));
            const QString file = QString(GW_TEST_DATA) + "/layouts/" + window.replace(' ', '-') + QString("-%1.txt").arg(step);
            const QStringList lines = Geometries(d.get());
            if (qEnvironmentVariableIsSet("GW_APPROVE"))
                QVERIFY(WriteFile(file, (lines.join('\n') + '\n').toUtf8()));
            QCOMPARE(lines, QString::fromUtf8(ReadFile(file)).split('\n', Qt::SkipEmptyParts));
            ++step;
        } while (next());
    }
};

QTEST_MAIN(TestDialogLayout)
#include "test_dialoglayout.moc"
