#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kolvio {

namespace {

// Whether a good part of the window's title area would be on some screen.
bool OnSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableVirtualGeometry().intersected(
            QRect(frame.left(), frame.top(), frame.width(), 40));
        if (seen.width() >= 80 && seen.height() >= 20) return true;
    }
    return QGuiApplication::screens().isEmpty();
}

}  // namespace

Status SaveWindowPlacement(SettingsFile& ini, const QWidget& window) {
    const Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized) return Status::Ok();
    const bool maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    const QPoint pos = window.pos();
    const QSize size = window.size();
    return ini.update([&](IniDocument& doc) {
        doc.setValue(kWindowSection, "State", maximized ? "1" : "2");
        if (!maximized) {
            doc.setValue(kWindowSection, "Left", std::to_string(pos.x()));
            doc.setValue(kWindowSection, "Top", std::to_string(pos.y()));
            doc.setValue(kWindowSection, "Width", std::to_string(size.width()));
            doc.setValue(kWindowSection, "Height", std::to_string(size.height()));
        }
        return true;
    });
}

void RestoreWindowPlacement(const SettingsFile& ini, QWidget& window, QSize defaultClient) {
    const int state = ini.readInteger(kWindowSection, "State", 0);
    if (state == 0) {
        window.resize(defaultClient);
        return;
    }
    const int left = std::max(0, ini.readInteger(kWindowSection, "Left", 1));
    const int top = std::max(0, ini.readInteger(kWindowSection, "Top", 1));
    const QSize size(ini.readInteger(kWindowSection, "Width", defaultClient.width()),
                     ini.readInteger(kWindowSection, "Height", defaultClient.height()));
    window.resize(size.expandedTo(window.minimumSize()));
    // A screen that is no longer attached would hide the window.
    window.move(OnSomeScreen(QRect(QPoint(left, top), window.size())) ? QPoint(left, top)
                                                                      : QPoint(0, 0));
    window.setWindowState(state == 1 ? Qt::WindowMaximized : Qt::WindowNoState);
}

}  // namespace kolvio
