#pragma once
// The notification icon through QSystemTrayIcon (StatusNotifierItem or XEmbed, as the
// desktop offers). It shows the icon and tip of the record the logic sends, touching
// the icon only when the picture or the tip changed, and turns activations into the
// mouse codes the logic decodes. On an XEmbed tray no menu is bound to the icon: the
// logic opens its popup itself on a right click. A StatusNotifierItem panel opens the
// menu itself, so there the popup menu is given to the icon (setContextMenu) and Qt
// exports it over D-Bus.
//
// The toolkit's icon is made on the event loop's next pass, so a window shown at the
// same time is mapped first.
//
// Where the desktop has no notification area yet, stderr says so once and the icon
// waits: Qt embeds it when a tray appears, and again when the panel restarts.

#include <QMenu>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "platform/tray.h"

namespace tv {

class QtTray : public TrayService {
  public:
    // available: whether the desktop shows notification icons; by default asked of Qt
    // when the icon is first added.
    explicit QtTray(std::function<bool()> available = {});
    ~QtTray() override;

    bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;

    // Receives the mouse code of each activation (WM_LBUTTONUP, ...).
    void setListener(std::function<void(std::uint32_t code)> listener) {
        listener_ = std::move(listener);
    }
    // The menu the panel opens for the icon (StatusNotifierItem panels); none on XEmbed.
    void setContextMenu(QMenu* menu);

    // An activation as the toolkit reports it.
    void activate(QSystemTrayIcon::ActivationReason reason);
    static std::uint32_t mouseCodeFor(QSystemTrayIcon::ActivationReason reason);

    // What the icon shows now (also without a notification area).
    bool present() const { return present_; }
    const QString& iconName() const { return iconName_; }
    const QString& toolTip() const { return toolTip_; }
    bool shownOnDesktop() const { return icon_ != nullptr; }

  private:
    void makeIcon();
    void apply(const NotifyIconData& data);

    std::function<bool()> available_;
    std::function<void(std::uint32_t)> listener_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QPointer<QMenu> menu_;
    QObject pending_;  // cancels a deferred icon when the tray goes first
    bool present_ = false;
    NotifyIconData applied_;
    QString iconName_;
    QString toolTip_;
};

}  // namespace tv
