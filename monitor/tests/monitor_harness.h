#pragma once
// The main window on fake services in virtual time.

#include <memory>
#include <string>
#include <vector>

#include "monitor/frm_main.h"
#include "monitor/testing/monitor_fakes.h"
#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "platform/power_events.h"

namespace tv::testing {

class BoxRecorder : public Dialogs {
  public:
    void MsgBox(const std::string& prompt, int style, const std::string& title) override {
        boxes.push_back(title + "|" + prompt + "|" + std::to_string(style));
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::vector<std::string> boxes;
};

// The store with writes or deletes that can be made to fail, as without write access.
class GuardedRegistry : public RegistryApi {
  public:
    explicit GuardedRegistry(RegistryApi& inner) : inner_(inner) {}
    long RegOpenKeyExA(HKEY key, const std::string& subKey, std::uint32_t options,
                       std::uint32_t sam, HKEY* result) override {
        return inner_.RegOpenKeyExA(key, subKey, options, sam, result);
    }
    long RegQueryValueExA(HKEY key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override {
        return inner_.RegQueryValueExA(key, name, type, data, size);
    }
    long RegSetValueExA(HKEY key, const std::string& name, std::uint32_t reserved,
                        std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
        return failWrites ? ERROR_ACCESS_DENIED
                          : inner_.RegSetValueExA(key, name, reserved, type, data, size);
    }
    long RegDeleteValueA(HKEY key, const std::string& name) override {
        return failDeletes ? ERROR_ACCESS_DENIED : inner_.RegDeleteValueA(key, name);
    }
    long RegCloseKey(HKEY key) override { return inner_.RegCloseKey(key); }
    long RegCreateKeyExA(HKEY key, const std::string& subKey, HKEY* result) override {
        return inner_.RegCreateKeyExA(key, subKey, result);
    }
    long RegDeleteTree(HKEY key, const std::string& subKey) override {
        return inner_.RegDeleteTree(key, subKey);
    }
    long RegEnumKeyA(HKEY key, std::uint32_t index, std::string* name) override {
        return inner_.RegEnumKeyA(key, index, name);
    }
    long RegEnumValueA(HKEY key, std::uint32_t index, std::string* name, std::uint32_t* type,
                       std::vector<std::uint8_t>* data) override {
        return inner_.RegEnumValueA(key, index, name, type, data);
    }

    bool failWrites = false;
    bool failDeletes = false;

  private:
    RegistryApi& inner_;
};

struct MonitorHarness {
    MonitorHarness() : MonitorHarness("/opt/tolvane") {}
    explicit MonitorHarness(std::string folder) {
        program.folder = std::move(folder);
        fakes.withHibernationFile().useDialogs(dialogs).useWindowHandle(7);
    }

    // Builds the window (once) and loads it with this first sample.
    frmMain& start(int ac, int flag, int percent) {
        power.set(static_cast<std::uint8_t>(ac), static_cast<std::uint8_t>(flag),
                  static_cast<std::uint8_t>(percent));
        window().Show();
        return *main;
    }
    frmMain& window() {
        if (!main) {
            main = std::make_unique<frmMain>(runtime, fakes.services());
        }
        return *main;
    }
    // What the next samples return.
    void set(int ac, int flag, int percent) {
        power.set(static_cast<std::uint8_t>(ac), static_cast<std::uint8_t>(flag),
                  static_cast<std::uint8_t>(percent));
    }
    void wait(double seconds) {
        runtime.runTimersUntil(clock.nowMs() + static_cast<long long>(seconds * 1000));
    }
    // Sets the sample and waits for the refresh that reads it (refreshes come every
    // 5 s from the load, so any 5 s hold exactly one).
    void refresh(int ac, int flag, int percent) {
        set(ac, flag, percent);
        wait(5);
    }
    void setRegistry(HKEY root, const std::string& subKey, const std::string& name,
                     const std::string& text) {
        HKEY key = 0;
        registry.RegCreateKeyExA(root, subKey, &key);
        std::string data = text + '\0';
        registry.RegSetValueExA(key, name, 0, REG_SZ,
                                reinterpret_cast<const std::uint8_t*>(data.data()),
                                static_cast<std::uint32_t>(data.size()));
        registry.RegCloseKey(key);
    }
    std::string readRegistry(HKEY root, const std::string& subKey, const std::string& name) {
        HKEY key = 0;
        if (registry.RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return "(no key)";
        }
        std::uint8_t buffer[512];
        std::uint32_t size = sizeof buffer;
        std::uint32_t type = 0;
        long rc = registry.RegQueryValueExA(key, name, &type, buffer, &size);
        registry.RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            return "(none)";
        }
        std::string text(reinterpret_cast<char*>(buffer), size);
        while (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        return text;
    }
    void removeRegistry(HKEY root, const std::string& subKey, const std::string& name) {
        HKEY key = 0;
        if (registry.RegOpenKeyExA(root, subKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            registry.RegDeleteValueA(key, name);
            registry.RegCloseKey(key);
        }
    }
    bool called(const std::string& line) const {
        for (const std::string& seen : calls.lines()) {
            if (seen == line) {
                return true;
            }
        }
        return false;
    }

    VirtualClock clock;
    FormRuntime runtime{clock};
    CallLog calls;
    SqliteRegistry registry{":memory:", std::nullopt, seedRegistry};
    GuardedRegistry guarded{registry};
    BoxRecorder dialogs;
    MonitorFakes fakes{calls, guarded};
    FixedPowerStatus& power = fakes.power;
    FixedInstanceCheck& instance = fakes.instance;
    RecordingTray& tray = fakes.tray;
    RecordingSleep& sleep = fakes.sleep;
    RecordingLauncher& launcher = fakes.launcher;
    FixedSystemDirectory& systemDirectory = fakes.systemDirectory;
    MemoryFiles& files = fakes.files;
    RecordingDesktop& desktop = fakes.desktop;
    ProgramInfo& program = fakes.program;
    std::unique_ptr<frmMain> main;
};

}  // namespace tv::testing
