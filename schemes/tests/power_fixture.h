#pragma once
// frmPower on fakes: virtual time, in-memory files, a fresh registry, recording
// dialogs, pointer and view, and a runner whose powercfg is the real tool's logic
// run in-process on the same registry (or canned answers, where a test sets them).

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/command_line.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/testing/memory_files.h"
#include "platform/testing/process_fake.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "runtime/testing/recording_dialogs.h"
#include "schemes/frm_power.h"
#include "tools/powercfg/powercfg_command.h"

namespace tv::testing {

class FakePointer : public PointerService {
  public:
    bool GetCursorPos(POINTAPI& point) override {
        point = position;
        return true;
    }
    bool SetCursorPos(int x, int y) override {
        calls.push_back("SetCursorPos " + std::to_string(x) + " " + std::to_string(y));
        position = {x, y};
        return true;
    }
    void mouse_event(std::uint32_t flags, int, int, int) override {
        calls.push_back("mouse_event " + std::to_string(flags));
    }
    POINTAPI position;
    std::vector<std::string> calls;
};

class FakeView : public PowerView {
  public:
    void InitCommonControls() override { calls.push_back("InitCommonControls"); }
    void LockWindowUpdate(const Control* control) override {
        calls.push_back("LockWindowUpdate " + (control ? control->name() : std::string("0")));
    }
    void setFocus(const Control& control) override { calls.push_back("focus " + control.name()); }
    void refresh(const Control& control) override { calls.push_back("refresh " + control.name()); }
    std::vector<std::string> calls;
};

// Every character is the same width, so widths are easy to predict.
class FixedWidth : public TextMeasure {
  public:
    double textWidth(const std::string& text) override {
        measured.push_back(text);
        return 6.5 * static_cast<double>(text.size());
    }
    std::vector<std::string> measured;
};

inline const char* kFolder = "/opt/vantrel";

class PowerTest : public ::testing::Test {
  protected:
    PowerTest() {
        runner.respond = [this](const std::string& line) { return powercfg(line); };
        runner.onStart = [this](const std::string& line, int) { powercfg(line); };
        std::ofstream(stateFile_) << "freeze mem disk\n";
    }
    ~PowerTest() override { std::remove(stateFile_.c_str()); }

    // The tool's logic on our registry, as the child process would run it.
    std::string powercfg(const std::string& commandLine) {
        std::vector<std::string> words = splitCommandLine(commandLine);
        if (words.empty() || !equalsIgnoreCase(words[0], "POWERCFG")) {
            return {};
        }
        words.erase(words.begin());
        std::ostringstream out;
        powercfg::Machine machine{stateFile_, sysfsRoot};
        powercfg::runPowercfg(words, store, machine, out, out);
        return out.str();
    }

    frmPower& make() {
        form = std::make_unique<frmPower>(
            runtime, PowerServices{runner, files, general, dialogs, pointer, view, measure},
            kFolder);
        return *form;
    }
    frmPower& load() {
        make();
        runtime.load(*form);
        form->Visible = true;
        return *form;
    }
    std::string file(const char* name) const { return std::string(kFolder) + "/" + name; }
    const std::string& lastCaptured() const { return runner.captured.back(); }

    VirtualClock clock;
    FormRuntime runtime{clock};
    FakeProcessRunner runner;
    MemoryFiles files;
    SqliteRegistry registry{":memory:", std::nullopt, seedRegistry};
    powercfg::SchemeStore store{
        registry, [this](const std::function<long()>& body) { return registry.transact(body); }};
    RecordingDialogs dialogs;
    General general{registry, dialogs, "Vantrel"};
    FakePointer pointer;
    FakeView view;
    FixedWidth measure;
    std::string sysfsRoot = "/nonexistent";
    std::unique_ptr<frmPower> form;

  private:
    std::string stateFile_ = "/tmp/vantrel-test-state-" + std::to_string(::getpid());
};

}  // namespace tv::testing
