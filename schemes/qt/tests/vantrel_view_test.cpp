// The real Vantrel window on the real powercfg and a private store: what the widgets
// show after each step of a user's session, the value box's lock, the link and the
// picture, the pointer replay, and the end of the program.

#include <gtest/gtest.h>

#include <QCursor>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <filesystem>

#include "platform/qt/qt_bindings.h"
#include "runtime/strings.h"
#include "schemes/qt/testing/vantrel_rig.h"
#include "schemes/scheme_tables.h"

// Readable failures for Qt text.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tv {
namespace {

using testing::settle;
using testing::VantrelRig;

const QColor kDarkGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

QStringList entries(const QComboBox& box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i) {
        out << box.itemText(i);
    }
    return out;
}

QStringList entries(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) {
        out << list.item(i)->text();
    }
    return out;
}

QString currentLine(const QListWidget& list) {
    return list.currentItem() != nullptr ? list.currentItem()->text() : QString();
}

QString text(VantrelRig& rig, const char* label) {
    return rig.widget<QLabel>(label).text();
}

QColor textColour(const QWidget& widget, QPalette::ColorRole role = QPalette::WindowText) {
    return widget.palette().color(role);
}

const QStringList kDefaultSchemes = {
    "Existing Power Schemes",   "Home/Office Desk", "Portable/Laptop", "Presentation", "Always On",
    "Minimal Power Management", "Max Battery"};

TEST(VantrelLayout, WindowHasTheDesignedPlacesTextsAndColours) {
    VantrelRig rig;
    rig.open();
    PowerWindowView& view = rig.view();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), "Vantrel");
    EXPECT_EQ(view.size(), QSize(390, 303));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    EXPECT_TRUE(view.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(view.windowFlags() & Qt::WindowMaximizeButtonHint);
    QPoint centre = view.screen()->availableGeometry().center();
    EXPECT_EQ(view.geometry().center(), centre);

    for (std::size_t i = 0; i < kPowerLayoutCount; ++i) {
        const ControlPlace& place = kPowerLayout[i];
        QWidget* widget = view.widgetFor(place.name);
        if (place.top >= 4545) {
            EXPECT_EQ(widget, nullptr) << place.name << " only holds state";
            continue;
        }
        ASSERT_NE(widget, nullptr) << place.name;
        QRect designed(qRound(place.left / 15.0), qRound(place.top / 15.0),
                       qRound(place.width / 15.0), qRound(place.height / 15.0));
        auto* label = qobject_cast<QLabel*>(widget);
        if (label != nullptr && label->pixmap().isNull()) {
            // Captions are never cut: labels grow to their text, the link around its centre.
            bool link = place.name == std::string("lblChange");
            EXPECT_GE(widget->width(), std::max(designed.width(), label->sizeHint().width()));
            EXPECT_EQ(widget->height(), designed.height());
            EXPECT_EQ(link ? widget->geometry().center().x() : widget->x(),
                      link ? designed.center().x() : designed.x())
                << place.name;
        } else {
            EXPECT_EQ(widget->geometry(), designed) << place.name;
        }
    }
    EXPECT_EQ(view.widgetFor("lstSchemes")->geometry(), QRect(11, 72, 369, 148));
    EXPECT_EQ(view.widgetFor("cmdClose")->geometry(), QRect(315, 272, 65, 23));

    const std::pair<const char*, const char*> buttons[] = {{"cmdSet", "&Set Active"},
                                                           {"cmdDelete", "&Delete"},
                                                           {"cmdCreate", "&Create"},
                                                           {"cmdDevices", "&Devices"},
                                                           {"cmdClose", "&Exit"}};
    for (auto [name, caption] : buttons) {
        EXPECT_EQ(rig.widget<QPushButton>(name).text(), caption);
    }
    EXPECT_EQ(rig.widget("cmdSet").toolTip(), "Set the selected Power Scheme to active");
    EXPECT_EQ(rig.widget("cmdDevices").toolTip(), "Show Sleep enabled Devices");
    EXPECT_EQ(rig.widget("Image1").toolTip(), "Settings Information");
    EXPECT_EQ(rig.widget("lblChange").toolTip(), "Open Windows Control Panel Setting");
    EXPECT_FALSE(rig.widget<QLabel>("Image1").pixmap().isNull());

    EXPECT_EQ(text(rig, "lblList"), "Select a Power Scheme from the list");
    EXPECT_EQ(text(rig, "lblChange"), "Windows Control Panel Power Settings");
    EXPECT_TRUE(rig.widget("lblChange").font().underline());
    for (const char* label : {"lblList", "lblPolicy", "lblChange"}) {
        EXPECT_EQ(textColour(rig.widget(label)), kDarkGreen) << label;
    }
    for (const char* box : {"cboSchemes", "cboMinutes", "lstSchemes", "lstDevices"}) {
        EXPECT_EQ(textColour(rig.widget(box), QPalette::Text), kDarkGreen) << box;
    }
    auto fixedPitch = [](const QFont& font) {
        QFontMetricsF metrics(font);
        return metrics.horizontalAdvance('i') == metrics.horizontalAdvance('W');
    };
    EXPECT_TRUE(fixedPitch(rig.settings().font()));
    EXPECT_FALSE(fixedPitch(view.font()));
    EXPECT_EQ(rig.settings().font().pixelSize(), 12);
}

// One user's session on the real tool, checking the widgets after each step.
TEST(VantrelSession, ListChooseChangeCreateActivateDeleteAndDevices) {
    VantrelRig rig;
    rig.open();
    EXPECT_EQ(entries(rig.schemes()), kDefaultSchemes);
    EXPECT_EQ(rig.schemes().currentText(), "Existing Power Schemes");
    EXPECT_FALSE(rig.schemes().isEditable());
    EXPECT_EQ(text(rig, "lblPolicy"), "Current Active Power Scheme: Home/Office Desk");
    EXPECT_EQ(rig.values().currentText(), "Time Delay");
    EXPECT_EQ(rig.values().count(), 16);
    EXPECT_TRUE(rig.values().lineEdit()->isReadOnly());
    EXPECT_FALSE(rig.devices().isVisible());

    // A scheme: its settings; taking the focus shows a current line but chooses none.
    ASSERT_TRUE(rig.choose(rig.schemes(), "Portable/Laptop"));
    QStringList lines = entries(rig.settings());
    ASSERT_EQ(lines.size(), 12);
    EXPECT_TRUE(lines[0].startsWith("Name") && lines[0].endsWith("Portable/Laptop"));
    EXPECT_EQ(lines[2], "Turn off monitor (AC)      After 15 mins");
    EXPECT_EQ(text(rig, "lblList"), "Select an item to change and choose a Time Delay");
    rig.settings().setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(rig.form().lstSchemes.ListIndex(), -1);
    EXPECT_TRUE(rig.values().lineEdit()->isReadOnly());

    // A time delay: the change is sent, the scheme re-read and the line chosen again.
    ASSERT_TRUE(rig.chooseSetting("Turn off monitor (AC)"));
    EXPECT_FALSE(rig.values().lineEdit()->isReadOnly());
    EXPECT_EQ(rig.values().currentText(), "After 15 mins");
    ASSERT_TRUE(rig.choose(rig.values(), "After 20 mins"));
    EXPECT_EQ(currentLine(rig.settings()), "Turn off monitor (AC)      After 20 mins");
    EXPECT_EQ(rig.values().currentText(), "After 20 mins");

    // A throttle policy.
    ASSERT_TRUE(rig.chooseSetting("Processor Throttle (DC)"));
    EXPECT_EQ(entries(rig.values()), QStringList({"NONE", "CONSTANT", "DEGRADE", "ADAPTIVE"}));
    ASSERT_TRUE(rig.choose(rig.values(), "DEGRADE"));
    EXPECT_EQ(currentLine(rig.settings()), "Processor Throttle (DC)    DEGRADE");

    // Create, with the name asked for; the new scheme is chosen and shown.
    rig.dialogs.answers.push_back("Travel");
    rig.click("cmdCreate");
    ASSERT_EQ(rig.dialogs.inputs.size(), 1u);
    EXPECT_EQ(rig.dialogs.inputs[0].prompt, kNamePrompt);
    EXPECT_EQ(rig.dialogs.inputs[0].title, "Power Scheme Name|Enter new name");
    EXPECT_EQ(rig.schemes().currentText(), "Travel");
    EXPECT_EQ(entries(rig.schemes()), kDefaultSchemes + QStringList{"Travel"});
    EXPECT_TRUE(rig.settings().item(0)->text().endsWith("Travel"));

    // Set active.
    rig.click("cmdSet");
    EXPECT_EQ(text(rig, "lblPolicy"), "Current Active Power Scheme: Travel");
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    // Delete: refused for the active scheme, done for another.
    rig.click("cmdDelete");
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0],
              (testing::ShownBox{activeSchemeWarning("Travel"), vbExclamation, "Vantrel"}));
    EXPECT_EQ(rig.schemes().count(), kDefaultSchemes.size() + 1);
    rig.choose(rig.schemes(), "Presentation");
    rig.click("cmdDelete");
    EXPECT_FALSE(entries(rig.schemes()).contains("Presentation"));
    EXPECT_EQ(rig.schemes().currentText(), "Existing Power Schemes");
    EXPECT_EQ(rig.settings().count(), 0);
    EXPECT_EQ(text(rig, "lblList"), "Select a Power Scheme from the list");

    // Devices: over the settings list until a scheme is chosen.
    rig.click("cmdDevices");
    QListWidget& devices = rig.devices();
    EXPECT_TRUE(devices.isVisible());
    EXPECT_EQ(rig.view().childAt(devices.geometry().center()), devices.viewport());
    EXPECT_EQ(entries(devices), QStringList({"Ethernet Controller", "USB Keyboard"}));
    EXPECT_EQ(text(rig, "lblList"), "Power Saving Devices Found - 2");
    rig.choose(rig.schemes(), "Max Battery");
    EXPECT_FALSE(devices.isVisible());
    EXPECT_EQ(text(rig, "lblList"), "Select an item to change and choose a Time Delay");
}

// While the logic keeps the value box locked, the user can neither open its list, nor
// step through it, nor type into it; unlocked, all three work.
TEST(VantrelValueBox, LockedExactlyWhileTheLogicSays) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    ASSERT_TRUE(rig.chooseSetting("Name"));
    ValueCombo& box = rig.widget<ValueCombo>("cboMinutes");
    EXPECT_TRUE(box.isLocked());
    box.showPopup();
    settle();
    EXPECT_FALSE(box.view()->isVisible());
    box.setFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&box, &down);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(box.lineEdit(), &letter);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&box, &wheel);
    // Even a choice that slips through changes nothing.
    emit box.activated(3);
    settle();
    EXPECT_EQ(box.currentText(), "Time Delay");
    EXPECT_EQ(rig.form().cboMinutes.Text, "Time Delay");
    EXPECT_EQ(rig.settings().count(), 12);
    EXPECT_TRUE(rig.dialogs.boxes.empty());

    rig.chooseSetting("System standby (AC)");
    EXPECT_FALSE(box.isLocked());
    box.showPopup();
    settle();
    EXPECT_TRUE(box.view()->isVisible());
    box.hidePopup();
    box.lineEdit()->selectAll();
    QApplication::sendEvent(box.lineEdit(), &letter);
    settle();
    EXPECT_EQ(rig.form().cboMinutes.Text, "x");
    EXPECT_EQ(box.count(), 16);  // typing adds no entry
}

void moveOver(QWidget& widget) {
    QPoint at = widget.rect().center();
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    settle();
}

TEST(VantrelLink, TurnsBlueUnderThePointerAndOpensThePowerSettings) {
    VantrelRig rig;
    rig.open();
    QLabel& link = rig.widget<QLabel>("lblChange");
    EXPECT_NE(link.cursor().shape(), Qt::BitmapCursor);
    moveOver(link);
    EXPECT_EQ(textColour(link), kBlue);
    EXPECT_EQ(link.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link.cursor().hotSpot(), QPoint(6, 0));

    QMouseEvent back(QEvent::MouseMove, QPointF(200, 10),
                     QPointF(rig.view().mapToGlobal(QPoint(200, 10))), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&rig.view(), &back);
    settle();
    EXPECT_EQ(textColour(link), kDarkGreen);

    VantrelRig::sendButton(link, QEvent::MouseButtonPress, link.rect().center());
    VantrelRig::sendButton(link, QEvent::MouseButtonRelease, link.rect().center());
    settle();
    EXPECT_EQ(rig.calls.lines(),
              std::vector<std::string>({"> StartProcess \"rundll32.exe shell32.dll,Control_RunDLL "
                                        "powercfg.cpl,,1\" 2"}));
    EXPECT_EQ(textColour(link), link.palette().color(QPalette::ButtonText));
}

TEST(VantrelLink, PictureShowsTheHandAndTheThrottleHelp) {
    VantrelRig rig;
    rig.open();
    QLabel& picture = rig.widget<QLabel>("Image1");
    moveOver(picture);
    EXPECT_EQ(picture.cursor().shape(), Qt::BitmapCursor);
    VantrelRig::sendButton(picture, QEvent::MouseButtonPress, picture.rect().center());
    VantrelRig::sendButton(picture, QEvent::MouseButtonRelease, picture.rect().center());
    settle();
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].prompt, throttleHelpText());
    EXPECT_EQ(rig.dialogs.boxes[0].style, vbInformation);
    // The picture lies over the end of the policy line and takes its clicks.
    EXPECT_EQ(rig.view().childAt(picture.geometry().topLeft() + QPoint(2, 8)), &picture);
}

// Where the design's font rule would leave the end of a long line out of reach.
TEST(VantrelSettingsList, ScrollsSidewaysToTheEndOfTheLongestLine) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    rig.dialogs.answers.push_back("Weekend travel with the small battery");
    rig.click("cmdCreate");
    QListWidget& list = rig.settings();
    ASSERT_TRUE(list.item(0)->text().endsWith("small battery"));
    QFontMetrics metrics(list.font());
    int lineWidth = metrics.horizontalAdvance(list.item(0)->text());
    EXPECT_GT(lineWidth, list.viewport()->width());
    EXPECT_GE(rig.form().lstSchemes.HorizontalExtent, lineWidth);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(),
              rig.form().lstSchemes.HorizontalExtent - list.viewport()->width());
}

// Counts the presses a widget receives.
class PressCounter : public QObject {
  public:
    int presses = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::MouseButtonPress ? 1 : 0;
        return false;
    }
};

struct Replay {
    QPoint held;     // where the button was held on the list
    QPoint pointer;  // where the pointer is after the change
    int presses = 0;
    QString line;
};

// Holds the button on a line long enough for the 50 ms tracking, moves the pointer
// away, then chooses a new value for that line.
Replay holdThenChange(VantrelRig& rig) {
    rig.choose(rig.schemes(), "Portable/Laptop");
    QListWidget& list = rig.settings();
    QPoint at = list.visualItemRect(list.item(5)).center();
    Replay out;
    out.held = list.viewport()->mapToGlobal(at);
    QCursor::setPos(out.held);
    VantrelRig::sendButton(*list.viewport(), QEvent::MouseButtonPress, at);
    settle(120);
    VantrelRig::sendButton(*list.viewport(), QEvent::MouseButtonRelease, at);
    settle();
    EXPECT_EQ(rig.form().txtX1.Text, std::to_string(out.held.x()));
    EXPECT_EQ(rig.form().txtY1.Text, std::to_string(out.held.y()));
    EXPECT_FALSE(rig.form().TMousePos.Enabled());

    QCursor::setPos(out.held + QPoint(150, 150));
    PressCounter counter;
    list.viewport()->installEventFilter(&counter);
    rig.choose(rig.values(), "After 45 mins");
    settle(20);
    out.pointer = QCursor::pos();
    out.presses = counter.presses;
    out.line = currentLine(list);
    return out;
}

TEST(VantrelPointer, ReplayClicksTheHeldLineWhereTheDesktopAllowsIt) {
    VantrelRig rig(VantrelRig::Options{.pointerReplay = true});
    rig.open();
    Replay replay = holdThenChange(rig);
    EXPECT_EQ(replay.pointer, replay.held);
    EXPECT_EQ(replay.presses, 1);
    EXPECT_EQ(replay.line, "Turn off hard disks (DC)   After 45 mins");
}

TEST(VantrelPointer, WithoutReplayTheLineIsReselectedAndThePointerStays) {
    VantrelRig rig;
    rig.open();
    Replay replay = holdThenChange(rig);
    EXPECT_EQ(replay.pointer, replay.held + QPoint(150, 150));
    EXPECT_EQ(replay.presses, 0);
    EXPECT_EQ(replay.line, "Turn off hard disks (DC)   After 45 mins");
}

TEST(VantrelEnd, ExitRemovesTheTemporaryFilesAndEndsTheProgram) {
    VantrelRig rig;
    rig.open();
    rig.choose(rig.schemes(), "Portable/Laptop");
    rig.click("cmdDevices");
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        EXPECT_TRUE(std::filesystem::exists(rig.tempFile(name))) << name;
    }
    rig.click("cmdClose");
    for (const char* name : {"Temp.txt", "Temp2.txt", "Temp3.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(rig.tempFile(name))) << name;
    }
    EXPECT_FALSE(rig.view().isVisible());
    EXPECT_EQ(rig.quits, 1);
}

TEST(VantrelEnd, CloseBoxUnloadsTheWindowLikeExit) {
    VantrelRig rig;
    rig.open();
    rig.view().close();
    settle();
    EXPECT_FALSE(rig.form().isLoaded());
    EXPECT_FALSE(rig.view().isVisible());
    EXPECT_FALSE(std::filesystem::exists(rig.tempFile("Temp.txt")));
    EXPECT_EQ(rig.quits, 1);
}

}  // namespace
}  // namespace tv
