#pragma once
// A fresh in-memory store and a made-up machine for the tool's tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/registry_seed.h"
#include "platform/linux/registry_sqlite.h"
#include "runtime/testing/temp_dir.h"
#include "tools/powercfg/powercfg_command.h"

namespace tv::powercfg::testing {

namespace fs = std::filesystem;

struct Result {
    int code = 0;
    std::string out;
    std::string err;
};

class PowercfgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine_.powerStateFile = (root_ / "state").string();
        machine_.sysfsRoot = (root_ / "sys").string();
        setStates("freeze mem disk\n");
    }

    void setStates(const std::string& text) { std::ofstream(machine_.powerStateFile) << text; }

    // A device folder below sys/bus/BUS/devices with its wakeup state and attributes.
    void addDevice(const std::string& bus, const std::string& id, const std::string& wakeup,
                   const std::string& product = "") {
        fs::path device = root_ / "sys" / "bus" / bus / "devices" / id;
        fs::create_directories(device / "power");
        std::ofstream(device / "power" / "wakeup") << wakeup << '\n';
        if (!product.empty()) {
            std::ofstream(device / "product") << product << '\n';
        }
    }

    Result run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        Result result;
        result.code = runPowercfg(args, store_, machine_, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // Every key and value below both PowerCfg keys, to see that a refusal changed nothing.
    std::string snapshot() {
        std::string out;
        walk(HKEY_CURRENT_USER, "Control Panel\\PowerCfg", out);
        walk(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder",
             out);
        return out;
    }

    void walk(HKEY root, const std::string& path, std::string& out) {
        HKEY key = 0;
        if (registry_.RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return;
        }
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        for (std::uint32_t i = 0; registry_.RegEnumValueA(key, i, &name, &type, &data) == 0; ++i) {
            out += path + "|" + name + "|" + std::to_string(type) + "|" +
                   std::string(data.begin(), data.end()) + "\n";
        }
        std::vector<std::string> subs;
        for (std::uint32_t i = 0; registry_.RegEnumKeyA(key, i, &name) == 0; ++i) {
            subs.push_back(name);
        }
        registry_.RegCloseKey(key);
        for (const std::string& sub : subs) {
            walk(root, path + "\\" + sub, out);
        }
    }

    void expectRefused(std::vector<std::string> args, const std::string& message) {
        std::string before = snapshot();
        Result r = run(args);
        EXPECT_EQ(r.code, 1) << message;
        EXPECT_EQ(r.out, "") << message;
        EXPECT_EQ(r.err, "powercfg: " + message + "\n");
        EXPECT_EQ(snapshot(), before) << message;
    }

    SqliteRegistry registry_{":memory:", std::nullopt, seedRegistry};
    SchemeStore store_{
        registry_, [this](const std::function<long()>& body) { return registry_.transact(body); }};
    Machine machine_;
    tv::testing::TempDir folder_{"powercfg-test"};
    fs::path root_{folder_.path()};
};

}  // namespace tv::powercfg::testing
