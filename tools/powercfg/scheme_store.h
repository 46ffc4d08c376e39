#pragma once
// Power schemes kept in the registry store: "CurrentPowerPolicy" and
// "PowerPolicies\N" (Name, Description, Policies) under the user's PowerCfg key,
// the machine half of each scheme's records under the machine's PowerCfg key.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_api.h"
#include "policy/power_policy.h"

namespace tv::powercfg {

inline constexpr long ERROR_ALREADY_EXISTS = 183;

struct SchemeEntry {
    int number = 0;
    std::string name;
};

// Runs a body in one write transaction (everything lands or nothing does).
using Transaction = std::function<long(const std::function<long()>& body)>;

class SchemeStore {
  public:
    SchemeStore(RegistryApi& registry, Transaction transact)
        : registry_(registry), transact_(std::move(transact)) {}

    // Runs body in one write transaction, so what it reads is still true when it writes
    // (another tool waits meanwhile). The other methods join it when called inside.
    long transaction(const std::function<long()>& body) { return transact_(body); }

    // Schemes with a name, by number.
    std::vector<SchemeEntry> list();
    // The first scheme, by number, with exactly this name.
    std::optional<SchemeEntry> findByName(const std::string& name);
    std::optional<SchemeEntry> findByNumber(int number);
    // The number "CurrentPowerPolicy" names, when it is a number.
    std::optional<int> activeNumber();

    // The scheme's records; missing or short ones come from the defaults table, so
    // stores made before the records existed work.
    PolicyRecords records(int number, bool* complete = nullptr);
    // Writes the defaults for missing records (best effort: a read-only store still
    // answers queries).
    void fillMissing(int number);

    // applySchemes: the user changed the scheme, so schemes take effect from now on
    // ("ApplyPowerScheme"), as they do when one is made active.
    long writeRecords(int number, const PolicyRecords& records, bool applySchemes = false);
    // A new scheme under the number after the highest one, else (after the highest
    // possible number) the lowest free one; ERROR_ALREADY_EXISTS when a scheme has the
    // name, ERROR_NO_MORE_ITEMS when every number is taken.
    long create(const std::string& name, const PolicyRecords& records, int* number);
    // ERROR_ACCESS_DENIED for the active scheme.
    long remove(int number);
    long setActive(int number);

  private:
    long askToApply();
    std::optional<Bytes> readBinary(HKEY root, const std::string& path);
    long writeBinary(HKEY root, const std::string& path, const Bytes& bytes);
    long writeString(HKEY root, const std::string& path, const std::string& name,
                     const std::string& text);

    RegistryApi& registry_;
    Transaction transact_;
};

// The highest scheme number: what parseSchemeNumber reads and /LIST shows.
inline constexpr int kMaxSchemeNumber = 999999999;

// Parses a whole decimal scheme number (no sign, no blanks, at most 9 digits).
std::optional<int> parseSchemeNumber(const std::string& text);

}  // namespace tv::powercfg
