#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/call_log.h"
#include "runtime/forms.h"

namespace tv {
namespace {

class TwoTimerForm : public Form {
  public:
    TwoTimerForm(FormRuntime& rt, std::string name, std::vector<std::string>& log)
        : Form(rt, std::move(name)), log_(log) {
        first.onTimer = [this] { log_.push_back(this->name() + ".first@" + now()); };
        second.onTimer = [this] { log_.push_back(this->name() + ".second@" + now()); };
    }
    Timer first{*this, "first", 1000, true};
    Timer second{*this, "second", 500, false};

  private:
    std::string now() const { return std::to_string(runtime().clock().nowMs()); }
    std::vector<std::string>& log_;
};

TEST(TimerScheduling, FirstTickComesOneIntervalAfterEnabling) {
    VirtualClock clock;
    FormRuntime rt(clock);
    std::vector<std::string> log;
    TwoTimerForm form(rt, "f", log);
    rt.load(form);
    rt.runTimersUntil(999);
    EXPECT_TRUE(log.empty());
    rt.runTimersUntil(2000);
    EXPECT_EQ(log, (std::vector<std::string>{"f.first@1000", "f.first@2000"}));
    clock.advanceTo(2300);
    form.second.setEnabled(true);
    rt.runTimersUntil(3000);
    EXPECT_EQ(log.back(), "f.first@3000");
    EXPECT_EQ(log[2], "f.second@2800");
}

TEST(TimerScheduling, TiesFireInLoadOrderThenDeclarationOrder) {
    VirtualClock clock;
    FormRuntime rt(clock);
    std::vector<std::string> log;
    TwoTimerForm b(rt, "b", log);
    TwoTimerForm a(rt, "a", log);
    b.second.setInterval(1000);
    b.second.setEnabled(true);
    rt.load(b);
    rt.load(a);
    rt.runTimersUntil(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"b.first@1000", "b.second@1000", "a.first@1000"}));
}

TEST(TimerScheduling, DisabledOrUnloadedTimersNeverFire) {
    VirtualClock clock;
    FormRuntime rt(clock);
    std::vector<std::string> log;
    TwoTimerForm form(rt, "f", log);
    rt.runTimersUntil(5000);
    EXPECT_TRUE(log.empty());  // not loaded
    rt.load(form);
    form.first.setEnabled(false);
    rt.runTimersUntil(10000);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(rt.nextDueMs(), -1);
}

TEST(TimerScheduling, ASleepDelaysOverdueTicksToOneLateTick) {
    VirtualClock clock;
    FormRuntime rt(clock);
    std::vector<std::string> log;
    TwoTimerForm form(rt, "f", log);
    form.first.onTimer = [&] {
        log.push_back("tick@" + std::to_string(clock.nowMs()));
        if (log.size() == 1) {
            clock.Sleep(3500);
        }
    };
    rt.load(form);
    rt.runTimersUntil(6000);
    EXPECT_EQ(log, (std::vector<std::string>{"tick@1000", "tick@4500", "tick@5500"}));
}

TEST(ListSelection, ChoosingAnIndexByProgramRaisesClickAtOnce) {
    VirtualClock clock;
    FormRuntime rt(clock);
    Form form(rt, "f");
    ComboBox box(form, "cbo");
    std::vector<std::string> seen;
    box.onClick = [&] { seen.push_back(box.Text); };
    box.AddItem("one");
    box.AddItem("two");
    box.setListIndex(1);
    box.setListIndex(5);  // out of range: ignored
    EXPECT_EQ(seen, std::vector<std::string>{"two"});
    EXPECT_EQ(box.ListIndex(), 1);
    box.RemoveItem(0);
    EXPECT_EQ(box.ListIndex(), 0);
    box.Clear();
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(box.Text, "");
}

TEST(PropertyText, PrintsTextsBooleansNumbersAndColours) {
    EXPECT_EQ(formatProperty(std::string("a\"b\\c\n")), "\"a\\\"b\\\\c\\n\"");
    EXPECT_EQ(formatProperty(true), "True");
    EXPECT_EQ(formatProperty(-1LL), "-1");
    EXPECT_EQ(formatProperty(ColorValue{0x008000}), "&H008000");
    EXPECT_EQ(formatProperty(ColorValue{0x8000000F}), "&H8000000F");
    VirtualClock clock;
    FormRuntime rt(clock);
    Form form(rt, "f");
    ListBox list(form, "lst");
    list.AddItem("x");
    EXPECT_EQ(formatProperty(*list.property("List(0)")), "\"x\"");
    EXPECT_FALSE(list.property("List(1)").has_value());
}

TEST(CallLogLines, QuoteTextsAndPrintNumbersAndWords) {
    std::vector<std::string> printed;
    CallLog log([&](const std::string& line) { printed.push_back(line); });
    log.record("MsgBox", "Tolvane", "Incorrect Format:\n\nHKEY_x\\", 0);
    log.record("SetForegroundWindow", Word{"frmMain"});
    EXPECT_EQ(printed[0], "> MsgBox \"Tolvane\" \"Incorrect Format:\\n\\nHKEY_x\\\\\" 0");
    EXPECT_EQ(printed[1], "> SetForegroundWindow frmMain");
}

}  // namespace
}  // namespace tv
