#pragma once
// The tray icon's popup menu: one QMenu action per menu item of the window, in
// declaration order ("-" makes a separator), mirroring captions with their access
// keys, check marks and visibility. Choosing an action clicks the item.

#include <QMenu>
#include <functional>
#include <vector>

#include "platform/qt/qt_bindings.h"
#include "runtime/forms.h"

namespace tv {

class PopupMenuView : public QMenu {
  public:
    // The items are every menu item of form other than menu itself.
    PopupMenuView(Form& form, MenuItem& menu, std::function<void()> afterEvent);

    MenuItem& menu() const { return menu_; }
    void sync();
    // The action mirroring the item of that name, or none.
    QAction* actionFor(const std::string& itemName) const;

  private:
    struct Entry {
        QAction* action;
        MenuItem* item;
        SyncedState synced{};
    };

    MenuItem& menu_;
    std::vector<Entry> entries_;
};

}  // namespace tv
