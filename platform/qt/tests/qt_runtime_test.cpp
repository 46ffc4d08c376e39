#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "platform/qt/qt_bindings.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/testing/application.h"

namespace tv {
namespace {

class TickForm : public Form {
  public:
    explicit TickForm(FormRuntime& rt) : Form(rt, "frmTick") {
        fast.onTimer = [this] { ++fastTicks; };
        once.onTimer = [this] {
            ++onceTicks;
            once.setEnabled(false);
        };
    }
    Timer fast{*this, "fast", 10, true};
    Timer once{*this, "once", 30, true};
    int fastTicks = 0;
    int onceTicks = 0;
};

TEST(QtRuntime, ArmsItsTimerForTheNextTickAndRefreshesViewsAfterEach) {
    testing::application();
    VirtualClock clock;
    QtRuntime qt(clock);
    TickForm form(qt.runtime());
    int syncs = 0;
    qt.addView([&] { ++syncs; });
    qt.runtime().load(form);
    qt.afterEvent();
    EXPECT_EQ(qt.msUntilWake(), 10);
    for (int step = 0; step < 12; ++step) {
        clock.advanceTo(clock.nowMs() + qt.msUntilWake());
        qt.wake();
    }
    EXPECT_EQ(clock.nowMs(), 120);
    EXPECT_EQ(form.fastTicks, 12);
    EXPECT_EQ(form.onceTicks, 1);
    EXPECT_EQ(syncs, 13);
    // A wake before anything is due fires nothing and re-arms for the rest.
    clock.advanceTo(124);
    qt.wake();
    EXPECT_EQ(form.fastTicks, 12);
    EXPECT_EQ(qt.msUntilWake(), 6);
}

TEST(WidgetMirror, CopiesStateWithoutRaisingEventsBack) {
    testing::application();
    VirtualClock clock;
    QtRuntime qt(clock);
    Form form(qt.runtime(), "f");
    ComboBox combo(form, "cbo");
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    combo.AddItem("one");
    combo.AddItem("two");
    combo.setListIndex(1);
    ASSERT_EQ(clicks, 1);
    QComboBox widget;
    widget.setEditable(true);
    bool changed = false;
    QObject::connect(&widget, &QComboBox::currentIndexChanged, [&](int) { changed = true; });
    combo.Locked = true;
    syncCombo(widget, combo);
    EXPECT_EQ(widget.count(), 2);
    EXPECT_EQ(widget.currentText(), "two");
    EXPECT_TRUE(widget.lineEdit()->isReadOnly());
    EXPECT_FALSE(changed);
    EXPECT_EQ(clicks, 1);

    Label label(form, "lbl", "Power Source:  AC");
    label.ForeColor = kGreen;
    label.Visible = false;
    QWidget parent;
    QLabel text(&parent);
    syncLabel(text, label);
    EXPECT_EQ(text.text(), "Power Source:  AC");
    EXPECT_EQ(text.palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_FALSE(text.isVisibleTo(&parent));
}

TEST(WidgetMirror, SystemColoursFollowThePalette) {
    testing::application();
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(10, 20, 30));
    EXPECT_EQ(systemColor(13, palette), 0x1E140Au);
    EXPECT_EQ(toQColor(0x8000000D, palette), QColor(10, 20, 30));
    EXPECT_EQ(toQColor(0x0000FF, palette), QColor(255, 0, 0));
}

}  // namespace
}  // namespace tv
