// The monitor's real windows on a power source stepped by hand: what the widgets
// show against the logic's state, the tray record, the icon's mouse codes and the
// popup menu. The logic runs on a virtual clock and the views are mirrored after
// each step, as the program's real-time runtime does after each tick.

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>

#include "monitor/qt/testing/view_rig.h"
#include "platform/qt/qt_bindings.h"

// Readable failures for Qt text.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tv {
namespace {

using testing::ViewRig;

const QColor kGreenText(0, 128, 0);
const QColor kRedText(255, 0, 0);
const QColor kBlueText(0, 0, 255);

QLabel& label(ViewRig& rig, const char* name) {
    auto* widget = qobject_cast<QLabel*>(rig.views.mainWindow()->widgetFor(name));
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
}

bool shown(ViewRig& rig, const char* name) {
    QWidget* widget = rig.views.mainWindow()->widgetFor(name);
    return widget != nullptr && widget->isVisible();
}

QColor textColour(const QLabel& widget) {
    return widget.palette().color(QPalette::WindowText);
}

QString art(ViewRig& rig, const char* name) {
    return label(rig, name).property("art").toString();
}

void closeBox(QWidget& window) {
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
}

TEST(MainWindowView, OnBatteryShowsTheEstimatesColumnAndTheRating) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 57);
    MainWindowView& view = *rig.views.mainWindow();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.size(), QSize(408, 242));
    EXPECT_EQ(view.windowTitle(), "Battery Power Remaining: 57%");
    EXPECT_EQ(view.pos(), QPoint(rig.main->Left, rig.main->Top));
    EXPECT_EQ(label(rig, "lblStatus").text(), "Battery Power Remaining: 57%");
    EXPECT_EQ(textColour(label(rig, "lblStatus")), kGreenText);
    EXPECT_EQ(label(rig, "lblStatus").palette().color(QPalette::Window),
              toQColor(kSysWindow, view.palette()));
    EXPECT_EQ(label(rig, "lblStatusString").text(), "Battery Charge:  OK");
    EXPECT_EQ(label(rig, "lblPower").text(), "Power Source:  Battery");
    EXPECT_EQ(label(rig, "Label3").text(), "Microsoft Windows XP");
    EXPECT_TRUE(shown(rig, "lblTotal"));
    EXPECT_TRUE(shown(rig, "lblLeft"));
    EXPECT_FALSE(shown(rig, "Image1"));
    EXPECT_FALSE(shown(rig, "lblCharging"));
    EXPECT_EQ(art(rig, "Picture1"), "1");
    EXPECT_EQ(art(rig, "Picture2"), "ADD");
    EXPECT_FALSE(label(rig, "Picture1").pixmap().isNull());
    EXPECT_EQ(rig.chargeBar.widget().parentWidget(), &view);
    EXPECT_TRUE(rig.chargeBar.widget().isVisible());
    EXPECT_EQ(rig.chargeBar.widget().bar().Value(), 57);
}

TEST(MainWindowView, OnMainsShowsThePictureAndTheChargeReadOuts) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 70);
    rig.refresh(AC_LINE_ONLINE, 9, 80);
    EXPECT_EQ(rig.views.mainWindow()->windowTitle(), "Battery Power Remaining: 80%  (Charging)");
    EXPECT_TRUE(shown(rig, "Image1"));
    EXPECT_EQ(art(rig, "Image1"), "MAINS");
    EXPECT_EQ(label(rig, "Image1").pixmap().deviceIndependentSize(), QSizeF(64, 64));
    EXPECT_TRUE(shown(rig, "Label1"));
    EXPECT_TRUE(shown(rig, "lblCharging"));
    EXPECT_FALSE(shown(rig, "lblTotal"));
    EXPECT_FALSE(shown(rig, "lblLeft"));
    EXPECT_EQ(art(rig, "Picture1"), "OK");
    EXPECT_EQ(art(rig, "Picture2"), "CONNECTED");
    EXPECT_EQ(label(rig, "lblStatusString").text(), "Battery Charge:  Excellent");
}

TEST(MainWindowView, FullBatteryHidesChargingAndNoReadingHidesTheBar) {
    ViewRig rig;
    rig.start(AC_LINE_ONLINE, 8, 99);
    rig.refresh(AC_LINE_ONLINE, 8, 100);
    EXPECT_EQ(rig.views.mainWindow()->windowTitle(),
              "Battery Power Remaining: 100%  (Fully Charged)");
    EXPECT_EQ(label(rig, "lblCharging").text(), "Fully Charged");
    EXPECT_FALSE(shown(rig, "Label1"));
    rig.refresh(AC_LINE_UNKNOWN, 1, BATTERY_PERCENTAGE_UNKNOWN);
    EXPECT_FALSE(rig.chargeBar.widget().isVisible());
    EXPECT_EQ(label(rig, "lblPower").text(), "AC Status Unknown");
    EXPECT_EQ(textColour(label(rig, "lblPower")), kRedText);
}

TEST(MainWindowView, WithoutABatteryShowsTheFixedTextsAndTheWindowIcon) {
    ViewRig rig;
    rig.start(AC_LINE_ONLINE, BATTERY_FLAG_NO_BATTERY, BATTERY_PERCENTAGE_UNKNOWN);
    EXPECT_EQ(rig.views.mainWindow()->windowTitle(), "Battery Status: Unknown");
    EXPECT_EQ(label(rig, "lblLeft").text(), "Life Remaining:  0:00");
    EXPECT_EQ(label(rig, "lblStatusString").text(), "Battery Status:  Unknown");
    EXPECT_TRUE(rig.tray.present());
    EXPECT_EQ(rig.tray.iconName(), "TOLVANE");
    EXPECT_EQ(rig.tray.toolTip(), "Battery Status: Unknown");
}

TEST(CriticalCharge, BlinksTheRatingAndOpensTheWarningWindow) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 8);
    rig.refresh(AC_LINE_OFFLINE, 6, 4);
    EXPECT_EQ(label(rig, "lblStatusString").text(), "Battery Charge:  Critical");
    EXPECT_EQ(textColour(label(rig, "lblStatusString")), kRedText);
    EXPECT_EQ(textColour(label(rig, "lblStatus")), kRedText);
    EXPECT_EQ(art(rig, "Picture1"), "DELETE");
    EXPECT_EQ(rig.tray.iconName(), "DELETE");

    WarningWindowView* warning = rig.views.warningWindow();
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(warning->windowTitle(), "Warning");
    EXPECT_EQ(warning->size(), QSize(291, 167));
    bool rating = label(rig, "lblStatusString").isVisible();
    bool headline = warning->headline().isVisible();
    rig.wait(0.5);
    EXPECT_NE(label(rig, "lblStatusString").isVisible(), rating);
    EXPECT_NE(warning->headline().isVisible(), headline);
    EXPECT_EQ(
        warning->message().text(),
        "Battery Power Remaining: 4%\nBattery Charge:  Critical\nTolvane Remaining:  Unknown");
    EXPECT_EQ(textColour(warning->message()), kRedText);
    EXPECT_EQ(textColour(warning->headline()), kRedText);
    EXPECT_EQ(warning->okLabel().text(), "OK");
    EXPECT_FALSE(warning->icon().pixmap().isNull());
}

TEST(CriticalCharge, TheOkLabelAndTheCloseBoxCloseTheWarningOnly) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 6, 4);
    ASSERT_NE(rig.views.warningWindow(), nullptr);
    rig.views.warningWindow()->okLabel().onClick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.views.warningWindow(), nullptr);
    EXPECT_FALSE(rig.main->warningWindow()->isLoaded());
    EXPECT_TRUE(rig.views.mainWindow()->isVisible());

    rig.refresh(AC_LINE_OFFLINE, 6, 5);  // at 5 % the warning comes back
    ASSERT_NE(rig.views.warningWindow(), nullptr);
    closeBox(*rig.views.warningWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.views.warningWindow(), nullptr);
    EXPECT_FALSE(rig.quitRequested);
}

TEST(TrayIcon, CarriesTheCaptionAndTheRatingIcon) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 90);
    // The rating icon reaches the tray with the first refresh.
    EXPECT_EQ(rig.tray.iconName(), "TOLVANE");
    rig.refresh(AC_LINE_OFFLINE, 0, 65);
    EXPECT_EQ(rig.tray.iconName(), "PREF");
    EXPECT_EQ(rig.tray.toolTip(), "Battery Power Remaining: 65%");
    EXPECT_EQ(QtTray::mouseCodeFor(QSystemTrayIcon::Trigger), WM_LBUTTONUP);
    EXPECT_EQ(QtTray::mouseCodeFor(QSystemTrayIcon::DoubleClick), WM_LBUTTONDBLCLK);
    EXPECT_EQ(QtTray::mouseCodeFor(QSystemTrayIcon::Context), WM_RBUTTONUP);
}

TEST(TrayIcon, IsMadeOnTheNextPassUnlessRemovedBefore) {
    ViewRig rig;
    NotifyIconData record;
    record.setTip("Battery Power Remaining: 65%");
    ASSERT_TRUE(rig.tray.Shell_NotifyIcon(NIM_ADD, record));
    EXPECT_FALSE(rig.tray.shownOnDesktop());
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.tray.shownOnDesktop());

    QtTray gone{[] { return false; }};
    gone.Shell_NotifyIcon(NIM_ADD, record);
    gone.Shell_NotifyIcon(NIM_DELETE, record);
    QCoreApplication::processEvents();
    EXPECT_FALSE(gone.shownOnDesktop());
}

TEST(TrayIcon, ClicksRestoreTheClosedWindowAndARightClickOpensTheMenu) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 70);
    MainWindowView& view = *rig.views.mainWindow();
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
        closeBox(view);
        EXPECT_FALSE(view.isVisible());
        EXPECT_TRUE(rig.tray.present());
        rig.tray.activate(reason);
        EXPECT_TRUE(view.isVisible()) << reason;
    }
    closeBox(view);
    EXPECT_EQ(rig.views.popupMenu(), nullptr);  // made on first use
    rig.tray.activate(QSystemTrayIcon::Context);
    ASSERT_NE(rig.views.popupMenu(), nullptr);
    EXPECT_TRUE(rig.views.popupMenu()->isVisible());
    EXPECT_FALSE(view.isVisible());
}

TEST(PopupMenu, MirrorsTheSeventeenItems) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 70);
    rig.tray.activate(QSystemTrayIcon::Context);
    PopupMenuView& menu = *rig.views.popupMenu();
    QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 17);
    EXPECT_EQ(actions[0]->text(), "-----------Battery Info-----------");
    EXPECT_EQ(actions[1]->text(), qs(rig.main->mnuLife.Caption));
    EXPECT_EQ(actions[2]->text(), qs(rig.main->mnuRemaining.Caption));
    int separators = 0;
    for (QAction* action : actions) {
        separators += action->isSeparator() ? 1 : 0;
    }
    EXPECT_EQ(separators, 3);
    EXPECT_TRUE(menu.actionFor("sep2")->isSeparator());
    EXPECT_EQ(menu.actionFor("mnuScheme")->text(),
              "Power Scheme: " + label(rig, "lblPolicy").text());
    EXPECT_EQ(menu.actionFor("mnuStandby")->text(), "&Go on Standby");
    EXPECT_TRUE(menu.actionFor("mnuHibernate")->isVisible());
    EXPECT_TRUE(menu.actionFor("mnuStartup")->isCheckable());
    EXPECT_FALSE(menu.actionFor("mnuStartup")->isChecked());

    rig.files.deleteFile("C:\\hiberfil.sys");
    rig.refresh(AC_LINE_OFFLINE, 0, 70);
    EXPECT_FALSE(menu.actionFor("mnuHibernate")->isVisible());

    menu.actionFor("mnuStartup")->trigger();
    EXPECT_TRUE(rig.main->mnuStartup.Checked);
    EXPECT_TRUE(menu.actionFor("mnuStartup")->isChecked());
    menu.actionFor("mnuStandby")->trigger();
    EXPECT_EQ(rig.calls.lines().back(), "> SetSuspendState 0 0 0");
}

TEST(PopupMenu, ACheckMarkTheLogicRefusesDoesNotStay) {
    ViewRig rig;
    Form form(rig.runtime, "frmMenus");
    MenuItem popup(form, "mPopupSys", "Popup");
    MenuItem startup(form, "mnuStartup", "Start at login");
    startup.onClick = [] {};  // the entry could not be written
    PopupMenuView menu(form, popup, [] {});
    QAction& action = *menu.actionFor("mnuStartup");
    action.trigger();
    menu.sync();
    EXPECT_FALSE(action.isChecked());
}

TEST(PopupMenu, ExitRemovesTheIconAndEndsTheProgram) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 6, 4);
    rig.tray.activate(QSystemTrayIcon::Context);
    rig.views.popupMenu()->actionFor("mPopExit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(rig.quitRequested);
    EXPECT_FALSE(rig.tray.present());
    EXPECT_EQ(rig.views.mainWindow(), nullptr);
    EXPECT_EQ(rig.views.warningWindow(), nullptr);
    EXPECT_EQ(rig.views.popupMenu(), nullptr);
    EXPECT_TRUE(rig.chargeBar.widget().parentWidget() == nullptr);
}

TEST(PowerSettingsLink, TurnsBlueWithTheHandUnderThePointerAndLaunches) {
    ViewRig rig;
    rig.start(AC_LINE_OFFLINE, 0, 70);
    QLabel& link = label(rig, "lblChange");
    EXPECT_EQ(link.text(), "Adjust Power Settings");
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(textColour(link), kGreenText);

    QMouseEvent over(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&link, &over);
    EXPECT_EQ(textColour(link), kBlueText);
    EXPECT_EQ(link.cursor().shape(), Qt::BitmapCursor);

    QMouseEvent away(QEvent::MouseMove, QPointF(200, 150), QPointF(200, 150), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.views.mainWindow(), &away);
    EXPECT_EQ(textColour(link), kGreenText);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&link, &press);
    QCoreApplication::sendEvent(&link, &release);
    EXPECT_EQ(rig.calls.lines().back(), R"(> ShellExecute "open" "/opt/tolvane/Vantrel.exe" "" 1)");
}

}  // namespace
}  // namespace tv
