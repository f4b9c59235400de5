// The dialogs open in the middle of the screen; at each step of the wizards and on
// each tab of the options no control hides another, each but a label is named, and
// every named part has its approved place, size, state and wiring, at the smallest size and
// larger, and every picture shown its approved pixels (tests/data/layouts; after a
// deliberate change, look at the window and approve with GW_APPROVE=1). The wizards
// go through their steps empty and with fonts, the options with every setting stored.
#include <QtTest>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFontComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>

#include "core/globals.h"
#include "core/picturebox.h"
#include "core/rereadprogress.h"
#include "core/settings.h"
#include "core/splash.h"
#include "fonts/fonttable.h"
#include "options/optionsdialog.h"
#include "sfntbuilder.h"
#include "shots.h"
#include "testenv.h"
#include "wizards/printrunner.h"
#include "wizards/printwizard.h"
#include "wizards/folderpicker.h"
#include "wizards/installwizard.h"
#include "wizards/removewizard.h"

using namespace gw;

namespace {

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
            if (child->isVisible() && !child->geometry().isEmpty()
                && (qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child)
                    || qobject_cast<QLineEdit*>(child) || qobject_cast<QAbstractScrollArea*>(child)
                    || qobject_cast<QLabel*>(child)))
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

// The signals of a control (its own and QWidget's) that something listens to, each with
// how many listen: "on clicked:1 customContextMenuRequested:1". A connection dropped shows.
struct SignalPeek : QObject {
    static int Receivers(const QObject* o, const QMetaMethod& signal)
    {
        const auto receivers = &SignalPeek::receivers;  // QObject's, protected: reached as a member pointer
        return (o->*receivers)(QByteArray("2" + signal.methodSignature()).constData());
    }
};
QString Wiring(const QObject* o, int from = QWidget::staticMetaObject.methodOffset())
{
    QStringList wired;
    const QMetaObject* meta = o->metaObject();
    for (int i = from; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() != QMetaMethod::Signal || (m.attributes() & QMetaMethod::Cloned))
            continue;
        if (const int n = SignalPeek::Receivers(o, m))
            wired << QString("%1:%2").arg(QString::fromLatin1(m.name())).arg(n);
    }
    return wired.isEmpty() ? QString() : " on " + wired.join(' ');
}

// What a user sees set in a control: "off" when disabled, [x] or [ ] when checkable, a button's text,
// a slider's value and range, a box's or field's text and whether it is typed in, a button menu's items ("-" a separator).
QString State(QWidget* w, const QString& home)
{
    QStringList state;
    if (!w->isEnabled())
        state << "off";
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
        state << (b->isChecked() ? "[x]" : "[ ]");
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty())
        state << '"' + b->text() + '"';
    if (auto* s = qobject_cast<QAbstractSlider*>(w))
        state << QString("=%1 of %2..%3").arg(s->value()).arg(s->minimum()).arg(s->maximum());
    if (auto* c = qobject_cast<QComboBox*>(w))
        state << '"' + c->currentText() + '"' + (c->isEditable() ? QString(" typed, insert %1").arg(int(c->insertPolicy())) : "");
    if (auto* e = qobject_cast<QLineEdit*>(w))
        state << '"' + e->text().replace(home, "~") + '"' + (e->hasSelectedText() ? " sel" : "") + (e->isReadOnly() ? " read-only" : "")
                     + (e->placeholderText().isEmpty() ? "" : " hint \"" + e->placeholderText() + '"');
    if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        state << '"' + t->toPlainText().replace(home, "~").replace('\n', '/').left(300) + '"' + (t->isReadOnly() ? " read-only" : "")
                     + (t->tabChangesFocus() ? " tab-leaves" : "");
    if (auto* l = qobject_cast<QLabel*>(w)) {
        state << QString("align %1").arg(int(l->alignment()), 0, 16) + (l->wordWrap() ? " wrap" : "")
                     + (l->buddy() ? " for " + l->buddy()->objectName() : "");
        if (!l->text().isEmpty())
            state << '"' + l->text().replace(home, "~").replace('\n', ' ').left(60) + '"';
    }
    if (auto* m = qobject_cast<QMenu*>(w))
        for (QAction* a : m->actions())
            state << (a->isSeparator() ? "-" : a->text() + Wiring(a, QObject::staticMetaObject.methodCount()).replace(" on ", "~"));
    // What else a user sees or gets: the focus, a tip, Enter's button, frames, colours, fonts, the
    // choices of a box, a list's sorting and columns.
    if (w->window()->focusWidget() == w)
        state << "focus";
    if (!w->toolTip().isEmpty())
        state << "tip \"" + w->toolTip() + '"';
    if (auto* b = qobject_cast<QPushButton*>(w); b && (b->isDefault() || !b->autoDefault()))
        state << (b->isDefault() ? "default" : "noauto");
    if (auto* f = qobject_cast<QFrame*>(w); f && f->frameShape() != QFrame::NoFrame)
        state << QString("frame %1/%2/%3").arg(int(f->frameShape()), 0, 16).arg(int(f->frameShadow()), 0, 16).arg(f->lineWidth());
    if (!w->styleSheet().isEmpty())
        state << "style \"" + w->styleSheet() + '"';
    if (w->autoFillBackground())
        state << "filled";
    if (w->font() != w->window()->font())
        state << QString("font %1 %2%3").arg(w->font().family()).arg(w->font().pointSizeF()).arg(w->font().bold() ? "b" : "");
    if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count() && !qobject_cast<QFontComboBox*>(w); ++i)
            state << '|' + c->itemText(i).replace(home, "~");
    // A list's first rows: each cell's text, then "~alignment", "@" for an icon and a
    // colour when set, "off" when disabled, "*" when selected.
    if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model() && !qobject_cast<QComboBox*>(w->parent())) {
        state << QString("select %1").arg(int(v->selectionMode()))
                     + (v->textElideMode() != Qt::ElideRight ? QString(" elide %1").arg(int(v->textElideMode())) : QString());
        for (int row = 0; row < std::min(v->model()->rowCount(), 8); ++row) {
            const QModelIndex first = v->model()->index(row, 0);
            QStringList cells;
            for (int c = 0; c < v->model()->columnCount(); ++c) {
                const QModelIndex i = first.siblingAtColumn(c);
                QString cell = i.data().toString().replace(home, "~");
                if (const QVariant a = i.data(Qt::TextAlignmentRole); a.isValid())
                    cell += QString("~%1").arg(a.toInt(), 0, 16);
                if (!i.data(Qt::DecorationRole).isNull())
                    cell += '@';
                if (const QVariant f = i.data(Qt::ForegroundRole); f.isValid())
                    cell += ' ' + f.value<QBrush>().color().name();
                cells << cell;
            }
            state << "{" + cells.join('|') + (first.flags() & Qt::ItemIsEnabled ? "" : " off")
                         + (v->selectionModel() && v->selectionModel()->isSelected(first) ? " *" : "") + "}";
        }
    }
    if (auto* t = qobject_cast<QTreeView*>(w))
        state << QString(t->rootIsDecorated() ? "tree" : "flat") + (t->uniformRowHeights() ? " even" : "")
                     + (t->allColumnsShowFocus() ? " row-focus" : "")
                     + (t->isHeaderHidden() ? " no-headings" : t->header()->sectionsClickable() ? " headings-click" : "");
    if (auto* t = qobject_cast<QTreeView*>(w); t && t->header()->isSortIndicatorShown())
        state << QString("sorted %1%2").arg(t->header()->sortIndicatorSection()).arg(t->header()->sortIndicatorOrder() ? "v" : "^");
    if (auto* t = qobject_cast<QTreeView*>(w))
        for (int i = 0; i < t->header()->count(); ++i)
            state << QString("[%1 %2 %3]").arg(t->model()->headerData(i, Qt::Horizontal).toString())
                         .arg(t->isColumnHidden(i) ? 0 : t->columnWidth(i))
                         .arg(t->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), 0, 16);
    if (const QString wiring = Wiring(w); !wiring.isEmpty())
        state << wiring.mid(1);
    return state.isEmpty() ? QString() : ' ' + state.join(' ');
}

// "name x,y wxh state" of every visible named part, in the window's coordinates, then
// "name hidden state" of the others that have a state (another tab, a menu).
bool InLayout(const QLayout* layout, const QWidget* w)
{
    for (int i = 0; i < layout->count(); ++i)
        if (QLayoutItem* item = layout->itemAt(i); item->widget() == w || (item->layout() && InLayout(item->layout(), w)))
            return true;
    return false;
}

// A widget whose parent lays out its children but not this one: left where it was made.
bool Unplaced(const QWidget* w)
{
    const QWidget* parent = w->parentWidget();
    return !w->isWindow() && parent && parent->layout() && !InLayout(parent->layout(), w);
}

QStringList Geometries(QWidget* window, const QString& home)
{
    QStringList lines, hidden;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Rules and panels drawn by plain frames, and captions, are seen too, named or not.
        const bool rule = w->metaObject() == &QFrame::staticMetaObject
                          && static_cast<QFrame*>(w)->frameShape() != QFrame::NoFrame;
        const auto* caption = w->metaObject() == &QLabel::staticMetaObject ? static_cast<QLabel*>(w) : nullptr;
        if ((w->objectName().isEmpty() && !rule && !(caption && !caption->text().isEmpty()))
            || w->objectName().startsWith("qt_"))
            continue;
        const QString name = !w->objectName().isEmpty() ? w->objectName()
                             : rule                      ? QStringLiteral("(frame)")
                                                         : QStringLiteral("(caption)");
        const QPoint at = w->mapTo(window, QPoint(0, 0));
        const QString placed = Unplaced(w) ? " unplaced" : "";
        if (w->isVisible())
            lines << QString("%1 %2,%3 %4x%5").arg(name).arg(at.x()).arg(at.y()).arg(w->width()).arg(w->height())
                         + placed + State(w, home);
        else if (const QString state = placed + State(w, home); !state.isEmpty())
            hidden << name + " hidden" + state;
    }
    return lines + hidden;
}

} // namespace

class TestDialogLayout : public QObject {
    Q_OBJECT

private slots:
    void centredAndNoControlHidden_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"print wizard", "remove wizard", "install wizard", "CD print wizard", "folder picker",
                                 "options", "splash", "install result", "reread progress", "print wizard with fonts",
                                 "install wizard with fonts", "CD print wizard with fonts", "remove wizard with fonts",
                                 "options with settings"})
            QTest::newRow(name) << name;
    }
    void centredAndNoControlHidden()
    {
        QFETCH(QString, window);
        TestEnv env;
        std::unique_ptr<QWidget> d;
        const bool withFonts = window.endsWith(" with fonts");
        if (withFonts) {  // three fonts in a folder for the install wizards, installed for the remove wizard
            ResetFontTable();
            FontTable.clear();
            for (const char* name : {"Alpha Sans", "Beta Serif Bold", "Gamma Mono"}) {
                FontRecord record;
                record.FullName = name;
                record.FaceName = QString(name).section(' ', 0, 1);
                record.RegistryName = record.FullName + " (TrueType)";
                record.FontFile = env.root() + "/cd/" + QString(name).remove(' ') + ".ttf";
                record.FileSize = "1k";
                QVERIFY(WriteFile(record.FontFile, SfntBuilder::Simple(record.FaceName, name)));
                FontTable.push_back(record);
                env.fake.registry->values.append({record.RegistryName, record.FontFile});
            }
            WriteIniString("CatalogWizard", "sourceDir", env.root() + "/cd", IniFile);
            ReadRegFontList();
        }
        if (window == "options with settings") {  // each shown in its own place
            const QStringList values{"GW", "UserName", "Ann", "Inventory", "EndDoc", "5", "GW", "ATMPath", "~/atm",
                                     "GW", "ShowTrueType", "0", "GW", "ShowDevice", "0", "Inventory", "PointSize", "18",
                                     "Inventory", "InfoPointSize", "12", "Inventory", "FooterLeft", "Left",
                                     "Inventory", "FooterRight", "Right", "Inventory", "QuoteIndex", "4",
                                     "SpecSheets", "QuoteIndex", "10", "SpecSheets", "Header", "Head"};
            for (int i = 0; i < values.size(); i += 3)
                WriteIniString(values[i], values[i + 1], values[i + 2], IniFile);
            for (int i = 1; i <= 8; ++i)
                WriteIniString("Quotes", QString("QUOTE%1").arg(i), QString("Quote number %1").arg(i), IniFile);
            for (int i = 1; i <= 2; ++i)
                QVERIFY(WriteFile(QFileInfo(IniFile).path() + QString("/papara%1.txt").arg(i), QString("Paragraph %1\n").arg(i).toUtf8()));
        }
        if (window == "print wizard")
            d.reset(new PrintWizard(PrintFontList{}));
        else if (window == "print wizard with fonts") {
            PrintFontList fonts;
            for (const char* face : {"Liberation Sans", "Liberation Serif", "Nimbus Mono PS"})
                fonts.push_back({QString(face).remove(' ') + ".ttf", "12k", face, face, 1, face, {}, {}, 0});
            d.reset(new PrintWizard(fonts));
        }
        else if (window.startsWith("remove wizard"))
            d.reset(new RemoveWizard);
        else if (window == "folder picker")
            d.reset(new FolderPicker);
        else if (window == "splash")
            d.reset(new SplashWindow);
        else if (window == "install result")
            d.reset(new InstallDoneDialog);
        else if (window == "reread progress")
            d.reset(new RereadProgress);
        else if (window.startsWith("options"))
            d.reset(new OptionsDialog);
        else
            d.reset(new InstallWizard(window.startsWith("install wizard") ? InstallWizard::Mode::Install
                                                                           : InstallWizard::Mode::PrintUninstalled));
        // To the next step of a wizard or tab of the options, with every row of the font list chosen; false after the last.
        auto next = [&d, tab = 0]() mutable {
            auto* list = d->findChild<QTreeWidget*>("fontList");
            if (list && list->isVisible() && list->topLevelItemCount() > 0) {
                if (list->selectedItems().isEmpty()) {
                    list->setCurrentItem(list->topLevelItem(0));
                    list->selectAll();
                    return true;
                }
                auto* tabs = d->findChild<QTabWidget*>("previewTabs");  // then each preview tab
                if (tabs && tabs->isVisible() && tabs->currentIndex() + 1 < tabs->count()) {
                    tabs->setCurrentIndex(tabs->currentIndex() + 1);
                    return true;
                }
            }
            if (auto* options = qobject_cast<OptionsDialog*>(d.get())) {
                if (++tab < 5)
                    options->SelectTab(OptionsDialog::Tab(tab));
                return tab < 5;
            }
            auto* nextButton = d->findChild<QPushButton*>("nextButton");
            const bool more = nextButton && nextButton->isEnabled();
            if (more)
                nextButton->click();
            return more;
        };
        const QPoint offCentre = d->frameGeometry().center() - d->screen()->geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        const QSize opened = d->size();
        d->resize(d->minimumSizeHint().expandedTo(d->minimumSize()));
        const QString layouts = QString(GW_TEST_DATA) + "/layouts/" + window.replace(' ', '-') + "-%1.txt";
        int step = 0;
        do {
            QApplication::processEvents();
            const QStringList overlaps = Overlaps(d.get());
            QVERIFY2(overlaps.isEmpty(), qPrintable(QString("step %1: ").arg(step) + overlaps.join(", ")));
            const QString file = layouts.arg(step);
            // At the smallest size, then larger: what stretches, and how far.
            const QSize smallest = d->size();
            QStringList lines = QStringList{d->objectName() + " title \"" + d->windowTitle() + "\""
                                            + (step ? QString() : QString(" opens at %1x%2").arg(opened.width()).arg(opened.height()))}
                                + Geometries(d.get(), env.root());
            d->resize(smallest + QSize(160, 120));
            QApplication::processEvents();
            lines << "at +160,+120:";
            for (const QString& line : Geometries(d.get(), env.root()))
                if (line.section(' ', 1, 1) != "hidden")
                    lines << line;
            d->resize(smallest);
            QApplication::processEvents();
            CompareApproved(lines, file);
            if (QTest::currentTestFailed())
                return;
            // The pictures: drawings and images shown.
            for (QWidget* w : d->findChildren<QWidget*>()) {
                auto* label = qobject_cast<QLabel*>(w);
                if (!w->isVisible() || w->objectName().isEmpty()
                    || !(qobject_cast<PictureBox*>(w) || qobject_cast<LayoutPicture*>(w) || (label && !label->pixmap().isNull())))
                    continue;
                if (auto* picture = qobject_cast<LayoutPicture*>(w))
                    picture->DrawPending();
                const QString differs = PictureDiffers(w->grab().toImage(), QString(file).replace(".txt", "-" + w->objectName() + ".png"));
                QVERIFY2(differs.isEmpty(), qPrintable(differs));
            }
            ++step;
        } while (next());
        QVERIFY2(!QFileInfo::exists(layouts.arg(step)), "a step was not reached");
    }
};

QTEST_MAIN(TestDialogLayout)
#include "test_dialoglayout.moc"
