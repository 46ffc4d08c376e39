#include "tools/powercfg/scheme_store.h"

#include <algorithm>

#include "policy/default_schemes.h"
#include "policy/power_applier.h"

namespace tv::powercfg {
namespace {

// An open key, closed when it goes.
class Key {
  public:
    Key(RegistryApi& registry, HKEY root, const std::string& path, bool create)
        : registry_(registry) {
        rc_ = create ? registry.RegCreateKeyExA(root, path, &key_)
                     : registry.RegOpenKeyExA(root, path, 0, KEY_READ, &key_);
    }
    ~Key() {
        if (rc_ == ERROR_SUCCESS) {
            registry_.RegCloseKey(key_);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool ok() const { return rc_ == ERROR_SUCCESS; }
    long rc() const { return rc_; }
    HKEY handle() const { return key_; }

    std::optional<Bytes> read(const std::string& name, std::uint32_t* type = nullptr) {
        std::uint32_t size = 0;
        std::uint32_t kind = 0;
        if (!ok() ||
            registry_.RegQueryValueExA(key_, name, &kind, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        Bytes bytes(size);
        if (registry_.RegQueryValueExA(key_, name, &kind, bytes.data(), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        bytes.resize(size);
        if (type != nullptr) {
            *type = kind;
        }
        return bytes;
    }

    std::optional<std::string> readText(const std::string& name) {
        std::uint32_t type = 0;
        std::optional<Bytes> bytes = read(name, &type);
        if (!bytes || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::string text(bytes->begin(), bytes->end());
        return text.substr(0, text.find('\0'));
    }

  private:
    RegistryApi& registry_;
    HKEY key_ = 0;
    long rc_ = ERROR_FILE_NOT_FOUND;
};

// After the highest number, else the lowest gap: a number past the highest possible one
// could not be listed, and the next create would take it again.
bool freeNumber(const std::vector<SchemeEntry>& byNumber, int* number) {
    if (byNumber.empty() || byNumber.back().number < kMaxSchemeNumber) {
        *number = byNumber.empty() ? 0 : byNumber.back().number + 1;
        return true;
    }
    int candidate = 0;
    for (const SchemeEntry& entry : byNumber) {
        if (entry.number > candidate) {
            break;
        }
        candidate = entry.number + 1;
    }
    *number = candidate;
    return candidate <= kMaxSchemeNumber;
}

std::string userPath(int number) {
    return std::string(kUserPoliciesKey) + "\\" + std::to_string(number);
}

std::string machinePath(int number) {
    return std::string(kMachinePoliciesKey) + "\\" + std::to_string(number);
}

}  // namespace

std::optional<int> parseSchemeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::vector<SchemeEntry> SchemeStore::list() {
    std::vector<SchemeEntry> schemes;
    Key policies(registry_, HKEY_CURRENT_USER, kUserPoliciesKey, false);
    std::string sub;
    for (std::uint32_t i = 0;
         policies.ok() && registry_.RegEnumKeyA(policies.handle(), i, &sub) == ERROR_SUCCESS; ++i) {
        std::optional<int> number = parseSchemeNumber(sub);
        if (!number) {
            continue;
        }
        Key scheme(registry_, HKEY_CURRENT_USER, userPath(*number), false);
        if (std::optional<std::string> name = scheme.readText("Name")) {
            schemes.push_back({*number, *name});
        }
    }
    std::sort(schemes.begin(), schemes.end(),
              [](const SchemeEntry& a, const SchemeEntry& b) { return a.number < b.number; });
    return schemes;
}

std::optional<SchemeEntry> SchemeStore::findByName(const std::string& name) {
    for (SchemeEntry& entry : list()) {
        if (entry.name == name) {
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<SchemeEntry> SchemeStore::findByNumber(int number) {
    for (SchemeEntry& entry : list()) {
        if (entry.number == number) {
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<int> SchemeStore::activeNumber() {
    Key powerCfg(registry_, HKEY_CURRENT_USER, kPowerCfgKey, false);
    std::optional<std::string> text = powerCfg.readText("CurrentPowerPolicy");
    return text ? parseSchemeNumber(*text) : std::nullopt;
}

std::optional<Bytes> SchemeStore::readBinary(HKEY root, const std::string& path) {
    Key key(registry_, root, path, false);
    return key.read("Policies");
}

PolicyRecords SchemeStore::records(int number, bool* complete) {
    std::optional<Bytes> user = readBinary(HKEY_CURRENT_USER, userPath(number));
    std::optional<Bytes> machine = readBinary(HKEY_LOCAL_MACHINE, machinePath(number));
    bool userOk = user && user->size() >= kUserPolicySize;
    bool machineOk = machine && machine->size() >= kMachinePolicySize;
    if (complete != nullptr) {
        *complete = userOk && machineOk;
    }
    if (userOk && machineOk) {
        return {*user, *machine};
    }
    PolicyRecords defaults = defaultRecords(number);
    return {userOk ? *user : defaults.user, machineOk ? *machine : defaults.machine};
}

void SchemeStore::fillMissing(int number) {
    bool complete = true;
    PolicyRecords filled = records(number, &complete);
    if (!complete) {
        writeRecords(number, filled);
    }
}

long SchemeStore::writeBinary(HKEY root, const std::string& path, const Bytes& bytes) {
    Key key(registry_, root, path, true);
    if (!key.ok()) {
        return key.rc();
    }
    return registry_.RegSetValueExA(key.handle(), "Policies", 0, REG_BINARY, bytes.data(),
                                    static_cast<std::uint32_t>(bytes.size()));
}

long SchemeStore::writeString(HKEY root, const std::string& path, const std::string& name,
                              const std::string& text) {
    Key key(registry_, root, path, true);
    if (!key.ok()) {
        return key.rc();
    }
    // Stored with the terminator, as the system's own tools store text.
    return registry_.RegSetValueExA(key.handle(), name, 0, REG_SZ,
                                    reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                    static_cast<std::uint32_t>(text.size() + 1));
}

long SchemeStore::writeRecords(int number, const PolicyRecords& records, bool applySchemes) {
    return transact_([&]() -> long {
        long rc = writeBinary(HKEY_CURRENT_USER, userPath(number), records.user);
        rc = rc != ERROR_SUCCESS
                 ? rc
                 : writeBinary(HKEY_LOCAL_MACHINE, machinePath(number), records.machine);
        return rc != ERROR_SUCCESS || !applySchemes ? rc : askToApply();
    });
}

// Changing or choosing a scheme is the user asking for schemes to take effect; the
// monitor applies them from then on.
long SchemeStore::askToApply() {
    return writeString(HKEY_CURRENT_USER, policy::kApplySwitchKey, policy::kApplySwitchValue, "1");
}

long SchemeStore::create(const std::string& name, const PolicyRecords& records, int* number) {
    // Name and number are checked inside the transaction, so two tools at once never
    // take the same number or make the same name twice.
    return transact_([&]() -> long {
        if (findByName(name)) {
            return ERROR_ALREADY_EXISTS;
        }
        std::vector<SchemeEntry> schemes = list();
        if (!freeNumber(schemes, number)) {
            return ERROR_NO_MORE_ITEMS;
        }
        // Leftovers of a scheme without a name would otherwise mix into the new one.
        registry_.RegDeleteTree(HKEY_CURRENT_USER, userPath(*number));
        registry_.RegDeleteTree(HKEY_LOCAL_MACHINE, machinePath(*number));
        long rc = writeString(HKEY_CURRENT_USER, userPath(*number), "Name", name);
        if (rc == ERROR_SUCCESS) {
            rc = writeString(HKEY_CURRENT_USER, userPath(*number), "Description", "");
        }
        if (rc == ERROR_SUCCESS) {
            rc = writeBinary(HKEY_CURRENT_USER, userPath(*number), records.user);
        }
        if (rc == ERROR_SUCCESS) {
            rc = writeBinary(HKEY_LOCAL_MACHINE, machinePath(*number), records.machine);
        }
        return rc;
    });
}

long SchemeStore::remove(int number) {
    return transact_([&]() -> long {
        if (activeNumber() == number) {
            return ERROR_ACCESS_DENIED;
        }
        long rc = registry_.RegDeleteTree(HKEY_CURRENT_USER, userPath(number));
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        rc = registry_.RegDeleteTree(HKEY_LOCAL_MACHINE, machinePath(number));
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    });
}

long SchemeStore::setActive(int number) {
    return transact_([&]() -> long {
        long rc = writeString(HKEY_CURRENT_USER, kPowerCfgKey, "CurrentPowerPolicy",
                              std::to_string(number));
        return rc != ERROR_SUCCESS ? rc : askToApply();
    });
}

}  // namespace tv::powercfg
