// The main window's toolbar, its delayed tooltips, the menu help in the
// status bar and the etched lines beside the toolbar.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "core/globals.h"
#include "core/helpers.h"
#include "core/linuxtexts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/toolbar.h"

namespace gw {

namespace {

// Geometry in twips.
constexpr int kToolTop = 125;
constexpr int kToolSize = 615;
constexpr int kEtchLeft = 645;

struct ToolButtonData {
    int resource;
    const char* tag;
};
constexpr ToolButtonData kButtons[8] = {
    {178, "Install and view fonts with Install Wizard"},
    {180, "Print sample sheets && catalogs"},
    {177, "Print uninstalled fonts with CD-ROM Font Wizard"},
    {183, "Copy to clipboard"},
    {179, "Keyboard window"},
    {182, "Run Adobe Type Manager"},
    {176, "Open Windows Control Panel"},
    {181, "Uninstall fonts"},
};

QString ToolName(int index)
{
    return QStringLiteral("picTool(%1)").arg(index);
}

} // namespace

void MainWindow::InitToolBar()
{
    QWidget* client = centralWidget();
    int top = kToolTop;
    for (int i = 0; i < 8; ++i) {
        auto* button = new QWidget(client);
        picTool[i] = button;
        button->setObjectName(ToolName(i));
        button->setAttribute(Qt::WA_Hover);
        button->installEventFilter(this);
        // The Tag keeps the original text; "&&" stands for one ampersand.
        button->setProperty("Tag", ForLinux(QString::fromLatin1(kButtons[i].tag)).replace("&&", "&"));
        // Without a real Type 1 manager its button takes no room.
        if (i == 5 && !ShowAtmItems()) {
            button->setGeometry(0, TwipsToPixels(top - kToolSize), TwipsToPixels(kToolSize),
                                TwipsToPixels(kToolSize));
            button->hide();
            continue;
        }
        button->setGeometry(0, TwipsToPixels(top), TwipsToPixels(kToolSize), TwipsToPixels(kToolSize));
        button->show();
        top += kToolSize;
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void MainWindow::SetToolCommand(int button, std::function<void()> command)
{
    toolCommand_[button] = std::move(command);
    picTool[button]->update();
}

int MainWindow::ToolIndex(const QObject* object) const
{
    for (int i = 0; i < 8; ++i)
        if (picTool[i] && picTool[i] == object)
            return i;
    return -1;
}

void MainWindow::DrawButton(int button, int state)
{
    buttonState_[button] = state;
    picTool[button]->update();
}

void MainWindow::picTool_Paint(int index)
{
    QWidget* button = picTool[index];
    QPainter p(button);
    const int state = buttonState_[index];
    QImage bitmap = ToolBitmap(kButtons[index].resource, button->devicePixelRatioF());
    // A button whose window is not part of the program yet shows it greyed.
    if (!toolCommand_[index]) {
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) {
                const QRgb c = bitmap.pixel(x, y);
                if (c != TransparentColour.rgb()) {
                    const int g = 160 + qGray(c) / 3;
                    bitmap.setPixel(x, y, qRgb(g, g, g));
                }
            }
    }
    const int offset = state == 1 ? 1 : 0;
    const int x = (button->width() - ToolBitmapSize) / 2 + offset;
    const int y = (button->height() - ToolBitmapSize) / 2 + offset;
    DrawTransparent(p, bitmap, x, y, TransparentColour);

    const QPalette& pal = button->palette();
    QColor topLeft = pal.color(QPalette::Light);
    QColor bottomRight = pal.color(QPalette::Dark);
    if (state == 1)
        std::swap(topLeft, bottomRight);
    else if (state == 2)
        topLeft = bottomRight = pal.color(QPalette::Button);
    const int r = button->width() - 1;
    const int b = button->height() - 1;
    p.setPen(topLeft);
    p.drawLine(0, 0, r, 0);
    p.drawLine(0, 0, 0, b);
    p.setPen(bottomRight);
    p.drawLine(0, b, r, b);
    p.drawLine(r, 0, r, b);
}

void MainWindow::picTool_MouseDown(int index)
{
    DrawButton(index, 1);
}

void MainWindow::picTool_MouseUp(int index, bool over)
{
    DrawButton(index, over ? 0 : 2);
    if (over && toolCommand_[index])
        toolCommand_[index]();
}

void MainWindow::ShowToolTip(const QString& text)
{
    ToolbarTip* tip = TooltipWindow();
    if (text.isEmpty()) {
        tip->hide();
        QApplication::processEvents();
        return;
    }
    tip->ToolTipLab->setText(text);
    tip->ToolTipLab->adjustSize();
    const QPoint mouse = QCursor::pos();
    tip->resize(tip->ToolTipLab->width() + 4, tip->ToolTipLab->height() + 2);
    tip->move(mouse.x(), mouse.y() + 10);
    tip->show();
    tip->raise();
}

void MainWindow::Timer1_Timer()
{
    ShowToolTip(hoveredTag_);
}

void MainWindow::SbcEasy1_MouseEnter(const QString& controlName)
{
    for (int i = 0; i < 8; ++i) {
        if (controlName != ToolName(i))
            continue;
        DrawButton(i, 0);
        hoveredTag_ = picTool[i]->property("Tag").toString();
        Timer1->start();
    }
}

void MainWindow::SbcEasy1_MouseExit(const QString& controlName)
{
    for (int i = 0; i < 8; ++i) {
        if (controlName != ToolName(i))
            continue;
        DrawButton(i, 2);
        Timer1->stop();
        hoveredTag_.clear();
        ShowToolTip(QString());
    }
}

void MainWindow::SbcEasy1_MenuSelect(const QString& itemText)
{
    StatusPanel[2]->setText(MenuHelpText(itemText));
}

void MainWindow::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::hovered, this,
            [this](QAction* item) { SbcEasy1_MenuSelect(MenuItemText(item)); });
    // A closing menu empties the panel; the next one highlighted fills it again.
    connect(menu, &QMenu::aboutToHide, this, [this] { SbcEasy1_MenuSelect(QString()); });
    for (QAction* item : menu->actions())
        if (item->menu())
            WatchMenu(item->menu());
}

bool MainWindow::ToolbarEvent(QObject* watched, QEvent* event)
{
    const int index = ToolIndex(watched);
    if (index < 0)
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        picTool_Paint(index);
        return true;
    case QEvent::Enter:
        SbcEasy1_MouseEnter(watched->objectName());
        return false;
    case QEvent::Leave:
        SbcEasy1_MouseExit(watched->objectName());
        return false;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ShowToolTip(QString());
            picTool_MouseDown(index);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        picTool_MouseUp(index, picTool[index]->rect().contains(mouse->position().toPoint()));
        return true;
    }
    default:
        return false;
    }
}

// Etched lines in the 3-D highlight, button-shadow and dark-shadow colours:
// one under the menu bar and one between the toolbar and the tab area.
void MainWindow::Form_Paint()
{
    QWidget* client = centralWidget();
    QPainter p(client);
    const QPalette& pal = palette();
    const QColor colours[3] = {pal.color(QPalette::Light), pal.color(QPalette::Dark),
                               pal.color(QPalette::Shadow)};
    const int w = client->width();
    const int h = client->height();
    const int x = TwipsToPixels(kEtchLeft);
    const int top = TwipsToPixels(15);
    for (int i = 0; i < 2; ++i) {
        p.setPen(colours[i == 0 ? 1 : 0]);
        p.drawLine(0, i, w, i);
    }
    for (int i = 0; i < 3; ++i) {
        p.setPen(colours[i]);
        p.drawLine(x + i, top, x + i, h);
    }
}

} // namespace gw
