#include "tools/powercfg/powercfg_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "platform/linux/registry_sqlite.h"
#include "policy/default_schemes.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "tools/powercfg/sleep_states.h"

namespace tv::powercfg {
namespace {

class Refusal : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Field { Monitor, Disk, Standby, Hibernate, Throttle };

struct Setting {
    const char* label;
    const char* option;
    bool ac;
    Field field;
};

constexpr std::array<Setting, 10> kSettings = {{
    {"Turn off monitor (AC)", "/monitor-timeout-ac", true, Field::Monitor},
    {"Turn off monitor (DC)", "/monitor-timeout-dc", false, Field::Monitor},
    {"Turn off hard disks (AC)", "/disk-timeout-ac", true, Field::Disk},
    {"Turn off hard disks (DC)", "/disk-timeout-dc", false, Field::Disk},
    {"System standby (AC)", "/standby-timeout-ac", true, Field::Standby},
    {"System standby (DC)", "/standby-timeout-dc", false, Field::Standby},
    {"System hibernates (AC)", "/hibernate-timeout-ac", true, Field::Hibernate},
    {"System hibernates (DC)", "/hibernate-timeout-dc", false, Field::Hibernate},
    {"Processor Throttle (AC)", "/processor-throttle-ac", true, Field::Throttle},
    {"Processor Throttle (DC)", "/processor-throttle-dc", false, Field::Throttle},
}};

// The largest number of minutes whose seconds fit the records' 32-bit fields.
constexpr std::uint32_t kMaxMinutes = 0xFFFFFFFFu / 60;
constexpr std::size_t kValueColumn = 27;

std::uint32_t* timeField(SideSettings& side, Field field) {
    switch (field) {
        case Field::Monitor:
            return &side.monitor;
        case Field::Disk:
            return &side.disk;
        case Field::Standby:
            return &side.standby;
        case Field::Hibernate:
            return &side.hibernate;
        case Field::Throttle:
            break;
    }
    return nullptr;
}

std::string row(const std::string& label, const std::string& value) {
    std::string line = label;
    line.append(line.size() < kValueColumn ? kValueColumn - line.size() : 1, ' ');
    return line + value + "\n";
}

std::string settingValue(const Setting& setting, const SchemeSettings& settings, bool hibernation) {
    SideSettings side = setting.ac ? settings.ac : settings.dc;
    if (setting.field == Field::Throttle) {
        std::string name = throttleName(side.throttle);
        return name.empty() ? "Not Supported" : name;
    }
    if (setting.field == Field::Hibernate && !hibernation) {
        return "Not Supported";
    }
    return delayLabel(*timeField(side, setting.field));
}

void checkName(const std::string& name) {
    if (name.empty()) {
        throw Refusal("a power scheme name must not be empty");
    }
    if (name.size() > kMaxNameBytes) {
        throw Refusal("a power scheme name may hold at most " + std::to_string(kMaxNameBytes) +
                      " bytes");
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) {
            throw Refusal("a power scheme name must not hold control characters");
        }
    }
    // The store keeps text as UTF-8; other bytes could not be exported or shown.
    if (!isValidUtf8(name)) {
        throw Refusal("a power scheme name must be UTF-8 text");
    }
}

// A command's words after the command itself.
struct Words {
    std::vector<std::string> items;
    bool numerical = false;
};

Words takeWords(const std::vector<std::string>& args, std::size_t from) {
    Words words;
    for (std::size_t i = from; i < args.size(); ++i) {
        // The first word is the scheme name whatever it looks like.
        if (i > from && equalsIgnoreCase(args[i], "/NUMERICAL")) {
            words.numerical = true;
        } else {
            words.items.push_back(args[i]);
        }
    }
    return words;
}

void checkSchemeWord(const std::string& name, bool numerical) {
    checkName(name);
    if (numerical && !parseSchemeNumber(name)) {
        throw Refusal("not a scheme number: \"" + name + "\"");
    }
}

SchemeEntry findScheme(SchemeStore& store, const std::string& name, bool numerical) {
    checkSchemeWord(name, numerical);
    std::optional<SchemeEntry> found;
    if (numerical) {
        found = store.findByNumber(*parseSchemeNumber(name));
    } else {
        found = store.findByName(name);
    }
    if (!found) {
        throw Refusal("no power scheme named \"" + name + "\"");
    }
    return *found;
}

void expectCount(const Words& words, std::size_t min, std::size_t max, const char* usage) {
    if (words.items.size() < min || words.items.size() > max) {
        throw Refusal(std::string("usage: powercfg ") + usage);
    }
}

void checkStored(long rc, const std::string& what) {
    if (rc == ERROR_BUSY) {
        throw Refusal("cannot " + what + ": the registry store is busy (another program is " +
                      "writing to it); try again");
    }
    if (rc != ERROR_SUCCESS) {
        throw Refusal("cannot " + what + " (registry error " + std::to_string(rc) + ")");
    }
}

void list(const StoreOpener& open, const Words& words, std::ostream& out) {
    expectCount(words, 0, 0, "/LIST");
    if (words.numerical) {
        throw Refusal("usage: powercfg /LIST");
    }
    SchemeStore& store = open();
    out << "Existing Power Schemes\n----------------------\n";
    for (const SchemeEntry& entry : store.list()) {
        out << entry.name << '\n';
    }
}

void query(const StoreOpener& open, const Machine& machine, const Words& words, std::ostream& out) {
    expectCount(words, 0, 1, "/QUERY [NAME] [/NUMERICAL]");
    if (!words.items.empty()) {
        checkSchemeWord(words.items[0], words.numerical);
    }
    SchemeStore& store = open();
    SchemeEntry entry;
    if (words.items.empty()) {
        std::optional<int> active = store.activeNumber();
        std::optional<SchemeEntry> found = active ? store.findByNumber(*active) : std::nullopt;
        if (!found) {
            throw Refusal("no active power scheme");
        }
        entry = *found;
    } else {
        entry = findScheme(store, words.items[0], words.numerical);
    }
    store.fillMissing(entry.number);
    SchemeSettings settings =
        decodeSettings(store.records(entry.number)).value_or(SchemeSettings{});
    bool hibernation = readSleepStates(machine.powerStateFile).hibernate;
    std::string text = "Field Description          Value\n-----------------          -----\n";
    text += row("Name", entry.name) + row("Numerical ID", std::to_string(entry.number));
    for (const Setting& setting : kSettings) {
        text += row(setting.label, settingValue(setting, settings, hibernation));
    }
    out << text;
}

void changeOne(SchemeSettings& settings, const std::string& option, const std::string& value) {
    for (const Setting& setting : kSettings) {
        if (!equalsIgnoreCase(option, setting.option)) {
            continue;
        }
        SideSettings& side = setting.ac ? settings.ac : settings.dc;
        if (setting.field == Field::Throttle) {
            std::optional<Throttle> policy = throttleFromName(value);
            if (!policy) {
                throw Refusal("not a throttle policy for " + option + ": \"" + value + "\"");
            }
            side.throttle = static_cast<std::uint8_t>(*policy);
            return;
        }
        if (value.empty() || value.size() > 8 ||
            value.find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(value) > kMaxMinutes) {
            throw Refusal("not a number of minutes for " + option + ": \"" + value + "\"");
        }
        *timeField(side, setting.field) = static_cast<std::uint32_t>(std::stoul(value)) * 60;
        return;
    }
    throw Refusal("unknown setting: " + option);
}

void change(const StoreOpener& open, const Words& words) {
    if (words.items.size() < 3 || words.items.size() % 2 == 0) {
        throw Refusal("usage: powercfg /CHANGE NAME [/NUMERICAL] /SETTING VALUE ...");
    }
    checkSchemeWord(words.items[0], words.numerical);
    SchemeSettings probe;
    for (std::size_t i = 1; i + 1 < words.items.size(); i += 2) {
        changeOne(probe, words.items[i], words.items[i + 1]);
    }
    SchemeStore& store = open();
    // Read, change and write back in one transaction: the record holds every setting,
    // so a change read before another tool's write would undo that write.
    long rc = store.transaction([&]() -> long {
        SchemeEntry entry = findScheme(store, words.items[0], words.numerical);
        PolicyRecords records = store.records(entry.number);
        SchemeSettings settings = *decodeSettings(records);
        for (std::size_t i = 1; i + 1 < words.items.size(); i += 2) {
            changeOne(settings, words.items[i], words.items[i + 1]);
        }
        std::optional<PolicyRecords> encoded = encodeSettings(settings, records);
        if (!encoded) {
            throw Refusal("hibernation must come later than standby");
        }
        return store.writeRecords(entry.number, *encoded, true);
    });
    checkStored(rc, "change the scheme");
}

void create(const StoreOpener& open, const Words& words) {
    expectCount(words, 1, 1, "/CREATE NAME");
    const std::string& name = words.items[0];
    checkName(name);
    SchemeStore& store = open();
    int number = 0;
    long rc = store.transaction([&]() -> long {
        std::optional<int> active = store.activeNumber();
        PolicyRecords records =
            active && store.findByNumber(*active) ? store.records(*active) : defaultRecords(0);
        return store.create(name, records, &number);
    });
    if (rc == ERROR_ALREADY_EXISTS) {
        throw Refusal("a power scheme named \"" + name + "\" already exists");
    }
    if (rc == ERROR_NO_MORE_ITEMS) {
        throw Refusal("every scheme number is taken");
    }
    checkStored(rc, "create the scheme");
}

void remove(const StoreOpener& open, const Words& words) {
    expectCount(words, 1, 1, "/DELETE NAME [/NUMERICAL]");
    checkSchemeWord(words.items[0], words.numerical);
    SchemeStore& store = open();
    SchemeEntry entry;
    // Found and removed under one lock, as /SETACTIVE finds and activates.
    long rc = store.transaction([&]() -> long {
        entry = findScheme(store, words.items[0], words.numerical);
        return store.remove(entry.number);
    });
    if (rc == ERROR_ACCESS_DENIED) {
        throw Refusal("\"" + entry.name + "\" is the active power scheme and cannot be deleted");
    }
    checkStored(rc, "delete the scheme");
}

void setActive(const StoreOpener& open, const Words& words) {
    expectCount(words, 1, 1, "/SETACTIVE NAME [/NUMERICAL]");
    checkSchemeWord(words.items[0], words.numerical);
    SchemeStore& store = open();
    // The scheme must still exist when it becomes active: a /DELETE at the same moment
    // either runs before (and this finds nothing) or after (and refuses the active one).
    long rc = store.transaction([&]() -> long {
        SchemeEntry entry = findScheme(store, words.items[0], words.numerical);
        store.fillMissing(entry.number);
        return store.setActive(entry.number);
    });
    checkStored(rc, "activate the scheme");
}

void deviceQuery(const Machine& machine, const Words& words, std::ostream& out) {
    expectCount(words, 1, 1, "/DEVICEQUERY QUERY_FLAG");
    static const std::array<const char*, 12> kFlags = {"wake_from_S1_supported",
                                                       "wake_from_S2_supported",
                                                       "wake_from_S3_supported",
                                                       "wake_from_any",
                                                       "S1_supported",
                                                       "S2_supported",
                                                       "S3_supported",
                                                       "S4_supported",
                                                       "wake_programmable",
                                                       "wake_armed",
                                                       "all_devices",
                                                       "all_devices_verbose"};
    std::string flag;
    for (const char* known : kFlags) {
        if (equalsIgnoreCase(words.items[0], known)) {
            flag = known;
        }
    }
    if (flag.empty()) {
        throw Refusal("unknown device query: \"" + words.items[0] + "\"");
    }
    SleepStates states = readSleepStates(machine.powerStateFile);
    bool stateMissing = (contains(flag, "S1") && !states.s1) || (contains(flag, "S2")) ||
                        (contains(flag, "S3") && !states.s3) ||
                        (contains(flag, "S4") && !states.hibernate);
    std::string header = "Device query - " + flag;
    out << header << '\n' << std::string(header.size(), '-') << '\n';
    if (stateMissing) {
        return;
    }
    for (const WakeDevice& device : readWakeDevices(machine.sysfsRoot)) {
        if (flag != "wake_armed" || device.armed) {
            out << device.name << '\n';
        }
    }
}

}  // namespace

std::string usageText() {
    return "powercfg COMMAND\n"
           "  /LIST                        lists the power schemes\n"
           "  /QUERY [NAME] [/NUMERICAL]   shows a scheme's settings (the active one by default)\n"
           "  /CREATE NAME                 copies the active scheme under a new name\n"
           "  /DELETE NAME [/NUMERICAL]    deletes a scheme that is not active\n"
           "  /SETACTIVE NAME [/NUMERICAL] makes a scheme the active one\n"
           "  /CHANGE NAME [/NUMERICAL] /SETTING VALUE ...\n"
           "      /monitor-timeout-ac|dc, /disk-timeout-ac|dc, /standby-timeout-ac|dc,\n"
           "      /hibernate-timeout-ac|dc: minutes, 0 for never;\n"
           "      /processor-throttle-ac|dc: NONE, CONSTANT, DEGRADE or ADAPTIVE\n"
           "  /AVAILABLESLEEPSTATES        lists the sleep states of this machine\n"
           "  /DEVICEQUERY QUERY_FLAG      lists the devices that can wake the machine\n";
}

namespace {

void dispatch(const std::vector<std::string>& args, const StoreOpener& store,
              const Machine& machine, std::ostream& out) {
    if (args.empty()) {
        throw Refusal("no command given; try powercfg /?");
    }
    const std::string& command = args[0];
    Words words = takeWords(args, 1);
    if (command == "/?" || command == "-?") {
        out << usageText();
    } else if (equalsIgnoreCase(command, "/LIST")) {
        list(store, words, out);
    } else if (equalsIgnoreCase(command, "/QUERY")) {
        query(store, machine, words, out);
    } else if (equalsIgnoreCase(command, "/CHANGE")) {
        change(store, words);
    } else if (equalsIgnoreCase(command, "/CREATE")) {
        create(store, words);
    } else if (equalsIgnoreCase(command, "/DELETE")) {
        remove(store, words);
    } else if (equalsIgnoreCase(command, "/SETACTIVE")) {
        setActive(store, words);
    } else if (equalsIgnoreCase(command, "/AVAILABLESLEEPSTATES")) {
        expectCount(words, 0, 0, "/AVAILABLESLEEPSTATES");
        out << formatSleepStates(readSleepStates(machine.powerStateFile));
    } else if (equalsIgnoreCase(command, "/DEVICEQUERY")) {
        deviceQuery(machine, words, out);
    } else {
        throw Refusal("unknown command: " + command);
    }
}

}  // namespace

std::string delayLabel(std::uint32_t seconds) {
    if (seconds == 0) {
        return "Never";
    }
    std::uint32_t minutes = seconds < 60 ? 1 : seconds / 60;
    if (minutes % 60 == 0) {
        std::uint32_t hours = minutes / 60;
        return hours == 1 ? "After 1 hour" : "After " + std::to_string(hours) + " hours";
    }
    return minutes == 1 ? "After 1 min" : "After " + std::to_string(minutes) + " mins";
}

int runPowercfg(const std::vector<std::string>& args, SchemeStore& store, const Machine& machine,
                std::ostream& out, std::ostream& err) {
    return runPowercfg(
        args, [&store]() -> SchemeStore& { return store; }, machine, out, err);
}

int runPowercfg(const std::vector<std::string>& args, const StoreOpener& openStore,
                const Machine& machine, std::ostream& out, std::ostream& err) {
    try {
        dispatch(args, openStore, machine, out);
    } catch (const Refusal& refusal) {
        err << "powercfg: " << refusal.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tv::powercfg
