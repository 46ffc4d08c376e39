#include "monitor/qt/warning_notice.h"

#include <QStringList>

#include "platform/qt/qt_bindings.h"

namespace tv {

void WarningNotice::sync(const frmMain& main, bool onMains) {
    const frmWarning* warning = main.warningWindow();
    bool open = warning != nullptr && warning->isLoaded();
    if (notifications_.shown() && (!open || onMains)) {
        notifications_.close();
    }
    if (!open) {
        notified_ = false;
        return;
    }
    if (notified_ || onMains) {
        return;
    }
    notified_ = true;
    QStringList lines = qs(warning->lblMessage.Caption).split(QStringLiteral("\r\n"));
    lines[0] = qs(main.Caption);
    lines.prepend(qs(warning->Label1.Caption).trimmed());
    notifications_.showCritical(QStringLiteral("Tolvane"), QStringLiteral("dialog-error"),
                                qs(warning->Caption), lines.join(u'\n'));
}

}  // namespace tv
