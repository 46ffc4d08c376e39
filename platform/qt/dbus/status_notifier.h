#pragma once
// Whether the desktop shows StatusNotifierItems: a watcher runs on the session bus and a
// host (a panel) has registered with it. Qt then shows its tray icons that way and
// exports their context menus over D-Bus for the panel to open.

#include <QDBusConnection>

namespace tv {

bool statusNotifierHostRegistered(const QDBusConnection& bus);

}  // namespace tv
