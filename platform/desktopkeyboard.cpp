// The Caps Lock state on the desktop: the X keyboard extension's locked
// modifiers where the window system is X11; elsewhere (Wayland, offscreen) no
// program may read or set it, so the program keeps its own.
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include "platform/desktop.h"

// Xlib's macros (None, Bool, KeyPress, ...) collide with Qt's names: include last.
#include <X11/XKBlib.h>

namespace gw {

namespace {

class DesktopKeyboardState : public KeyboardState {
public:
    ~DesktopKeyboardState() override
    {
        if (ownDisplay_)
            XCloseDisplay(ownDisplay_);
    }

    bool CapsLock() override
    {
        if (Display* display = X11Display()) {
            XkbStateRec state{};
            if (XkbGetState(display, XkbUseCoreKbd, &state) == Success)
                return (state.locked_mods & LockMask) != 0;
        }
        return kept_;
    }

    void SetCapsLock(bool on) override
    {
        kept_ = on;
        if (Display* display = X11Display()) {
            XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
            XFlush(display);
        }
    }

    void CapsKeyPressed() override
    {
        if (!X11Display())
            kept_ = !kept_;
    }

private:
    // Qt's own connection when it runs on X11 through Xlib, else one of ours
    // while Qt runs on X11; none on any other window system.
    Display* X11Display()
    {
        auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            if (Display* display = x11->display())
                return display;
        if (!ownDisplay_ && !triedOwn_) {
            triedOwn_ = true;
            ownDisplay_ = XOpenDisplay(nullptr);
        }
        return ownDisplay_;
    }

    bool kept_ = false;
    Display* ownDisplay_ = nullptr;
    bool triedOwn_ = false;
};

} // namespace

std::unique_ptr<KeyboardState> MakeDesktopKeyboardState()
{
    return std::make_unique<DesktopKeyboardState>();
}

} // namespace gw
