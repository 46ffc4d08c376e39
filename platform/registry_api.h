#pragma once
// The registry calls the programs make, with the platform's result codes and value
// types. The module in registry/ relies on exactly these semantics; the store behind
// them is replaceable (a persistent per-user store on Linux, an in-memory one in tests).

#include <cstdint>
#include <string>
#include <vector>

namespace tv {

using HKEY = std::uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_NO_MORE_ITEMS = 259;
inline constexpr long ERROR_KEY_HAS_CHILDREN = 1020;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr std::uint32_t KEY_NOTIFY = 0x0010;
inline constexpr std::uint32_t STANDARD_RIGHTS_READ = 0x20000;
inline constexpr std::uint32_t STANDARD_RIGHTS_WRITE = 0x20000;
inline constexpr std::uint32_t KEY_READ =
    STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
inline constexpr std::uint32_t KEY_WRITE =
    STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

class RegistryApi {
  public:
    virtual ~RegistryApi() = default;

    // Opens an existing key; never creates one. On success *result must later be closed.
    virtual long RegOpenKeyExA(HKEY key, const std::string& subKey, std::uint32_t options,
                               std::uint32_t samDesired, HKEY* result) = 0;
    // *cbData holds the buffer size on entry and the data size on return. String data
    // is returned with its terminating NUL. Data longer than the buffer: ERROR_MORE_DATA,
    // buffer contents unspecified, *cbData the size needed. A null data pointer asks
    // only for type and size.
    virtual long RegQueryValueExA(HKEY key, const std::string& valueName, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* cbData) = 0;
    // Stores exactly cbData bytes of data with the given type.
    virtual long RegSetValueExA(HKEY key, const std::string& valueName, std::uint32_t reserved,
                                std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t cbData) = 0;
    virtual long RegDeleteValueA(HKEY key, const std::string& valueName) = 0;
    virtual long RegCloseKey(HKEY key) = 0;

    // Set-up and tools only (the programs never create or remove keys).
    virtual long RegCreateKeyExA(HKEY key, const std::string& subKey, HKEY* result) = 0;
    // Removes a key and everything below it.
    virtual long RegDeleteTree(HKEY key, const std::string& subKey) = 0;
    virtual long RegEnumKeyA(HKEY key, std::uint32_t index, std::string* name) = 0;
    virtual long RegEnumValueA(HKEY key, std::uint32_t index, std::string* name,
                               std::uint32_t* type, std::vector<std::uint8_t>* data) = 0;
};

}  // namespace tv
