#include "monitor/qt/popup_menu_view.h"

#include "platform/qt/qt_bindings.h"

namespace tv {

PopupMenuView::PopupMenuView(Form& form, MenuItem& menu, std::function<void()> afterEvent)
    : menu_(menu) {
    setObjectName(qs(menu.name()));
    for (Control* control : form.controls()) {
        auto* item = dynamic_cast<MenuItem*>(control);
        if (item == nullptr || item == &menu) {
            continue;
        }
        QAction* action = item->Caption == "-" ? addSeparator() : addAction(QString());
        action->setObjectName(qs(item->name()));
        // Only the items that can carry a check mark get the check column.
        action->setCheckable(item->Checked || item->name() == "mnuStartup");
        // A checkable action has toggled itself: the logic's state decides again.
        QObject::connect(action, &QAction::triggered, this,
                         [this, index = entries_.size(), item, afterEvent] {
                             entries_[index].synced.forget();
                             item->click();
                             afterEvent();
                         });
        entries_.push_back({action, item});
    }
    sync();
}

void PopupMenuView::sync() {
    for (Entry& entry : entries_) {
        if (!entry.synced.changed(*entry.item)) {
            continue;
        }
        if (entry.action->isSeparator()) {
            entry.action->setVisible(entry.item->Visible);
        } else {
            syncAction(*entry.action, *entry.item);
        }
    }
}

QAction* PopupMenuView::actionFor(const std::string& itemName) const {
    for (const Entry& entry : entries_) {
        if (entry.item->name() == itemName) {
            return entry.action;
        }
    }
    return nullptr;
}

}  // namespace tv
