#include "monitor/qt/qt_tray.h"

#include <QTimer>
#include <cstdio>

#include "monitor/qt/view_support.h"
#include "resources/resources.h"

namespace tv {

QtTray::QtTray(std::function<bool()> available) : available_(std::move(available)) {
    if (!available_) {
        available_ = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
}

QtTray::~QtTray() = default;

bool QtTray::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    switch (message) {
        case NIM_ADD:
            if (present_) {
                return false;
            }
            present_ = true;
            applied_ = data;
            apply(data);
            QTimer::singleShot(0, &pending_, [this] { makeIcon(); });
            return true;
        case NIM_MODIFY:
            if (!present_) {
                return false;
            }
            // The logic sends its record on every refresh; most of them change nothing.
            if (data != applied_) {
                apply(data);
                applied_ = data;
            }
            return true;
        case NIM_DELETE:
            if (!present_) {
                return false;
            }
            present_ = false;
            icon_.reset();
            return true;
        default:
            return false;
    }
}

void QtTray::makeIcon() {
    if (!present_ || icon_) {
        return;
    }
    if (!available_()) {
        std::fputs(
            "Tolvane: this desktop has no notification area yet; the icon appears when one "
            "starts (SIGUSR1 shows a closed window again, SIGTERM ends it)\n",
            stderr);
    }
    // Made even without a tray: Qt watches for one and embeds the icon then.
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) { activate(reason); });
    if (menu_) {
        icon_->setContextMenu(menu_);
    }
    apply(applied_);
    icon_->show();
}

void QtTray::apply(const NotifyIconData& data) {
    QString name = data.uFlags & NIF_ICON ? artworkFor(iconNameFor(data.hIcon)) : iconName_;
    QString tip = data.uFlags & NIF_TIP ? QString::fromStdString(data.tipText()) : toolTip_;
    if (name != iconName_ || (icon_ && icon_->icon().isNull())) {
        iconName_ = name;
        if (icon_) {
            icon_->setIcon(loadIcon(name.toStdString()));
        }
    }
    if (tip != toolTip_ || (icon_ && icon_->toolTip() != tip)) {
        toolTip_ = tip;
        if (icon_) {
            icon_->setToolTip(tip);
        }
    }
}

void QtTray::setContextMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_) {
        icon_->setContextMenu(menu);
    }
}

std::uint32_t QtTray::mouseCodeFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return WM_LBUTTONUP;
        case QSystemTrayIcon::DoubleClick:
            return WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Context:
            return WM_RBUTTONUP;
        case QSystemTrayIcon::MiddleClick:
            return 0x0208;  // middle button up: nothing to do
        default:
            return WM_MOUSEMOVE;
    }
}

void QtTray::activate(QSystemTrayIcon::ActivationReason reason) {
    if (listener_) {
        listener_(mouseCodeFor(reason));
    }
}

}  // namespace tv
