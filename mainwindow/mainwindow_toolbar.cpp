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
    const char* name;
    int resource;
    const char* tip;
};
constexpr ToolButtonData kButtons[8] = {
    {"installButton", 178, "Install and view fonts with Install Wizard"},
    {"printButton", 180, "Print sample sheets && catalogs"},
    {"printFolderButton", 177, "Print uninstalled fonts with CD-ROM Font Wizard"},
    {"copyButton", 183, "Copy to clipboard"},
    {"keyboardButton", 179, "Keyboard window"},
    {"typeManagerButton", 182, "Run Adobe Type Manager"},
    {"controlPanelButton", 176, "Open Windows Control Panel"},
    {"uninstallButton", 181, "Uninstall fonts"},
};

} // namespace

void MainWindow::CreateToolBar()
{
    QWidget* client = centralWidget();
    int top = kToolTop;
    for (int i = 0; i < 8; ++i) {
        auto* button = new QWidget(client);
        toolButtons_[i] = button;
        button->setObjectName(QString::fromLatin1(kButtons[i].name));
        button->setAttribute(Qt::WA_Hover);
        button->installEventFilter(this);
        // The tooltip text, shown after a delay by ShowToolTip; "&&" stands for one ampersand.
        button->setProperty("tipText", ForLinux(QString::fromLatin1(kButtons[i].tip)).replace("&&", "&"));
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
    tooltipTimer_ = new QTimer(this);
    tooltipTimer_->setObjectName(QStringLiteral("tooltipTimer"));
    tooltipTimer_->setInterval(500);
    connect(tooltipTimer_, &QTimer::timeout, this, [this] { ShowToolTip(hoveredTip_); });
}

void MainWindow::SetToolCommand(int button, std::function<void()> command)
{
    toolCommand_[button] = std::move(command);
    toolButtons_[button]->update();
}

int MainWindow::ToolIndex(const QObject* object) const
{
    for (int i = 0; i < 8; ++i)
        if (toolButtons_[i] && toolButtons_[i] == object)
            return i;
    return -1;
}

void MainWindow::SetButtonState(int button, int state)
{
    buttonState_[button] = state;
    toolButtons_[button]->update();
}

void MainWindow::PaintToolButton(int index)
{
    QWidget* button = toolButtons_[index];
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

void MainWindow::ReleaseToolButton(int index, bool over)
{
    SetButtonState(index, over ? 0 : 2);
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
    const QPoint mouse = QCursor::pos();
    tip->ShowText(text, QPoint(mouse.x(), mouse.y() + 10));
}

void MainWindow::EnterToolButton(int index)
{
    SetButtonState(index, 0);
    hoveredTip_ = toolButtons_[index]->property("tipText").toString();
    tooltipTimer_->start();
}

void MainWindow::LeaveToolButton(int index)
{
    SetButtonState(index, 2);
    tooltipTimer_->stop();
    hoveredTip_.clear();
    ShowToolTip(QString());
}

void MainWindow::ShowMenuHelp(const QString& itemText)
{
    menuHelpLabel_->setText(MenuHelpText(itemText));
}

void MainWindow::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::hovered, this,
            [this](QAction* item) { ShowMenuHelp(MenuItemText(item)); });
    // A closing menu empties the panel; the next one highlighted fills it again.
    connect(menu, &QMenu::aboutToHide, this, [this] { ShowMenuHelp(QString()); });
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
        PaintToolButton(index);
        return true;
    case QEvent::Enter:
        EnterToolButton(index);
        return false;
    case QEvent::Leave:
        LeaveToolButton(index);
        return false;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ShowToolTip(QString());
            SetButtonState(index, 1);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        ReleaseToolButton(index, toolButtons_[index]->rect().contains(mouse->position().toPoint()));
        return true;
    }
    default:
        return false;
    }
}

// Etched lines in the 3-D highlight, button-shadow and dark-shadow colours:
// one under the menu bar and one between the toolbar and the tab area.
void MainWindow::PaintEtchedLines()
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
