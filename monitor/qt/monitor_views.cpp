#include "monitor/qt/monitor_views.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace tv {

MonitorViews::MonitorViews(QWidget& chargeBar, std::function<void()> afterEvent)
    : chargeBar_(chargeBar), afterEvent_(std::move(afterEvent)) {}

MonitorViews::~MonitorViews() {
    delete menu_;
    delete warning_;
    delete main_;
}

void MonitorViews::SetForegroundWindow(Form& form) {
    // A hidden window stays hidden: the platform only activates what is shown.
    QWidget* view = viewOf(form);
    if (view != nullptr && view->isVisible()) {
        view->raise();
        view->activateWindow();
    }
}

void MonitorViews::PopupMenu(Form& form, MenuItem& menu) {
    if (!menu_) {
        menu_ = new PopupMenuView(form, menu, afterEvent_);
    }
    menu_->sync();
    if (!menuExported_) {
        menu_->popup(QCursor::pos());
    }
}

PopupMenuView& MonitorViews::exportPopupMenu(Form& form, MenuItem& menu) {
    if (!menu_) {
        menu_ = new PopupMenuView(form, menu, afterEvent_);
    }
    menuExported_ = true;
    return *menu_;
}

int MonitorViews::screenWidth() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int MonitorViews::screenHeight() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void MonitorViews::windowLoaded(Form& form) {
    if (auto* main = dynamic_cast<frmMain*>(&form)) {
        if (!main_) {
            main_ = new MainWindowView(*main, chargeBar_, afterEvent_);
        }
    } else if (auto* warning = dynamic_cast<frmWarning*>(&form)) {
        if (warning_) {
            warning_->deleteLater();
        }
        warning_ = new WarningWindowView(*warning, afterEvent_);
    }
    sync();
}

void MonitorViews::windowUnloaded(Form& form) {
    QWidget* view = viewOf(form);
    if (view != nullptr) {
        // The unload may come from inside one of the view's own event handlers.
        view->hide();
        view->deleteLater();
        if (view == main_) {
            main_ = nullptr;
            if (menu_) {
                menu_->hide();
                menu_->deleteLater();
                menu_ = nullptr;
            }
        } else if (view == warning_) {
            warning_ = nullptr;
        }
    }
    if (dynamic_cast<frmMain*>(&form) != nullptr) {
        quit();
    }
}

void MonitorViews::End() {
    quit();
}

void MonitorViews::quit() {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (onQuit) {
        onQuit();
    }
}

void MonitorViews::sync() {
    if (main_) {
        main_->sync();
    }
    if (warning_) {
        warning_->sync();
    }
    if (menu_) {
        menu_->sync();
    }
}

QWidget* MonitorViews::viewOf(const Form& form) const {
    if (main_ && &main_->form() == &form) {
        return main_;
    }
    if (warning_ && &warning_->form() == &form) {
        return warning_;
    }
    return nullptr;
}

}  // namespace tv
