#include "RegistryStore.h"

#include "FileBytes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

namespace {

std::string EnvValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeDirectory() {
    std::string home = EnvValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

std::string ParentDirectory(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

bool TypeMatches(RegType type, const RegValue& value) {
    switch (type) {
    case RegType::String:
        return std::holds_alternative<std::string>(value);
    case RegType::Binary:
        return std::holds_alternative<RegBytes>(value);
    case RegType::Number:
        return std::holds_alternative<std::int32_t>(value);
    }
    return false;
}

bool SupportedType(RegType type) {
    return type == RegType::String || type == RegType::Binary || type == RegType::Number;
}

RegError UnsupportedType() {
    return {kRegErrorCreate, kRegTextUnsupportedType};
}

// Holds the writers' lock for as long as it lives.
class LockGuard {
public:
    explicit LockGuard(const std::string& lockPath) {
        m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            m_error = errno;
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = errno;
                return;
            }
        }
        m_locked = true;
    }
    ~LockGuard() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the flock
    }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

    bool locked() const { return m_locked; }
    int error() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
    bool m_locked = false;
};

} // namespace

RegistryStore::RegistryStore() : m_path(DefaultPath()) {}

RegistryStore::RegistryStore(std::string path) : m_path(std::move(path)) {}

std::string RegistryStore::DefaultPath() {
    std::string path = EnvValue("VELTRANA_REGISTRY");
    if (!path.empty())
        return path;
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    std::string config = EnvValue("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') {
        std::string home = HomeDirectory();
        if (home.empty())
            return {};
        config = home + "/.config";
    }
    return config + "/Veltrana/registry";
}

void RegistryStore::noteIoProblem(int number, std::string_view what, int err) const {
    m_problem = {number, std::string(what) + " " + m_path + ": " + std::strerror(err)};
}

RegistryStore::Snapshot RegistryStore::load() const {
    m_problem = {};
    Snapshot snapshot;
    if (m_memory) {
        snapshot.keys = *m_memory;
        return snapshot;
    }
    std::string text;
    if (FileError error = ReadFileBytes(m_path, text); !error.ok()) {
        if (error.number != ENOENT) {
            snapshot.state = LoadState::Unreadable;
            m_problem = {kRegErrorDamaged,
                         "Cannot read the registry store " + m_path + ": " + error.description};
        }
        return snapshot;
    }

    RegParseResult parsed = ParseRegistry(text);
    if (parsed.damaged) {
        snapshot.state = LoadState::Damaged;
        m_problem = {kRegErrorDamaged, "The registry store " + m_path + " is damaged (" +
                                           parsed.problem + "); its values are ignored"};
        return snapshot;
    }
    snapshot.keys = std::move(parsed.keys);
    return snapshot;
}

bool RegistryStore::writeFile(const std::string& text) {
    // A store the user has opened up to others stays so; a new one is private.
    struct stat st {};
    const mode_t mode = ::stat(m_path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
    if (int err = ReplaceFileBytes(m_path, text, mode); err != 0) {
        noteIoProblem(kRegErrorWrite, "Cannot write the registry store", err);
        return false;
    }
    return true;
}

RegError RegistryStore::modify(const Change& change, const RegError& failure) {
    const bool wasInMemory = m_memory.has_value();
    RegError error = modifyLocked(change, failure);
    if (m_memory && !wasInMemory) {
        const RegError notice{kRegNoticeReadOnly,
                              "The registry store " + m_path +
                                  " is read-only: changed settings are kept only until the "
                                  "program ends."};
        if (m_notice)
            m_notice(notice);
        else if (m_problem.ok())
            m_problem = notice;
    }
    return error;
}

RegError RegistryStore::modifyLocked(const Change& change, const RegError& failure) {
    if (m_memory) {
        m_problem = {};
        bool changed = false;
        return change(*m_memory, changed);
    }
    if (m_path.empty()) {
        m_problem = {kRegErrorWrite, "No place for the registry store: HOME is not set"};
        return failure;
    }
    std::error_code ec;
    std::filesystem::create_directories(ParentDirectory(m_path), ec);
    if (ec) {
        m_problem = {kRegErrorWrite, "Cannot create the directory of the registry store " + m_path +
                                         ": " + ec.message()};
        return failure;
    }
    LockGuard lock(m_path + ".lock");
    if (!lock.locked()) {
        noteIoProblem(kRegErrorWrite, "Cannot lock the registry store", lock.error());
        return failure;
    }

    Snapshot snapshot = load();
    if (snapshot.state == LoadState::Unreadable)
        return failure; // replacing a file we could not read would lose its values
    RegError damage = m_problem;

    bool changed = false;
    if (RegError error = change(snapshot.keys, changed); !error.ok())
        return error;
    if (!changed)
        return {};

    if (IsReadOnlyFile(m_path)) {
        // The user's choice: go on with the settings in memory, the file left as it is.
        m_memory = std::move(snapshot.keys);
        m_problem = damage;
        return {};
    }
    if (snapshot.state == LoadState::Damaged) {
        // Keep the damaged file for the user rather than overwrite what may be recoverable.
        std::string keep = m_path + ".damaged";
        if (::rename(m_path.c_str(), keep.c_str()) != 0) {
            noteIoProblem(kRegErrorWrite, "Cannot set aside the damaged registry store", errno);
            return failure;
        }
        damage.description += "; it was kept as " + keep;
    }
    if (!writeFile(SerializeRegistry(snapshot.keys)))
        return failure;
    m_problem = damage;
    return {};
}

bool RegistryStore::KeyExists(RegRoot root, std::string_view subKey) const {
    if (!RegValidSubKey(subKey))
        return false;
    if (subKey.empty())
        return true;
    Snapshot snapshot = load();
    return snapshot.keys.contains(RegKeyName(root, subKey));
}

RegResult<bool> RegistryStore::CreateKey(RegRoot root, std::string_view subKey) {
    const RegError failure{kRegErrorCreate, kRegTextCreateKey};
    if (!RegValidSubKey(subKey))
        return {false, failure};
    if (subKey.empty())
        return {true, {}};
    bool existed = false;
    RegError error = modify(
        [&](RegKeyMap& keys, bool& changed) {
            existed = keys.contains(RegKeyName(root, subKey));
            // Parents come into being with the key, as on the platform.
            for (size_t end = subKey.find('\\');; end = subKey.find('\\', end + 1)) {
                auto [it, inserted] = keys.try_emplace(RegKeyName(root, subKey.substr(0, end)));
                changed = changed || inserted;
                if (end == std::string_view::npos)
                    break;
            }
            return RegError{};
        },
        failure);
    if (!error.ok())
        return {false, error};
    return {existed, {}};
}

RegResult<RegValue> RegistryStore::GetRegValue(RegRoot root, std::string_view subKey,
                                               std::string_view valueName, RegType type,
                                               RegValue defaultValue) const {
    RegResult<RegValue> result{std::move(defaultValue), {}};
    if (!RegValidSubKey(subKey))
        return result;
    Snapshot snapshot = load();
    auto key = snapshot.keys.find(RegKeyName(root, subKey));
    if (key == snapshot.keys.end() && !subKey.empty())
        return result;
    if (!SupportedType(type)) {
        result.error = UnsupportedType();
        return result;
    }
    if (key == snapshot.keys.end())
        return result;
    auto value = key->second.find(valueName);
    if (value != key->second.end() && TypeMatches(type, value->second))
        result.value = value->second;
    return result;
}

RegError RegistryStore::SetRegValue(RegRoot root, std::string_view subKey,
                                    std::string_view valueName, RegType type,
                                    const RegValue& value) {
    if (!SupportedType(type) || !TypeMatches(type, value))
        return UnsupportedType();
    const std::string keyName = RegKeyName(root, subKey);
    const RegError failure{kRegErrorWrite, "Unable to write the registry value " +
                                               std::string(valueName) + " of " + keyName};
    if (!RegValidSubKey(subKey))
        return {kRegErrorWrite, "The registry key does not exist: " + keyName};
    return modify(
        [&](RegKeyMap& keys, bool& changed) {
            auto key = keys.find(keyName);
            if (key == keys.end()) {
                if (!subKey.empty())
                    return RegError{kRegErrorWrite, "The registry key does not exist: " + keyName};
                key = keys.try_emplace(keyName).first;
            }
            auto [it, inserted] = key->second.try_emplace(std::string(valueName), value);
            if (!inserted && it->second != value)
                it->second = value;
            else if (!inserted)
                return RegError{}; // same value: leave the file alone
            changed = true;
            return RegError{};
        },
        failure);
}

std::string RegistryStore::stringValue(RegRoot root, std::string_view subKey,
                                       std::string_view valueName, std::string defaultValue) const {
    return std::get<std::string>(
        GetRegValue(root, subKey, valueName, RegType::String, std::move(defaultValue)).value);
}

std::int32_t RegistryStore::numberValue(RegRoot root, std::string_view subKey,
                                        std::string_view valueName,
                                        std::int32_t defaultValue) const {
    return std::get<std::int32_t>(
        GetRegValue(root, subKey, valueName, RegType::Number, defaultValue).value);
}

RegBytes RegistryStore::binaryValue(RegRoot root, std::string_view subKey,
                                    std::string_view valueName, RegBytes defaultValue) const {
    return std::get<RegBytes>(
        GetRegValue(root, subKey, valueName, RegType::Binary, std::move(defaultValue)).value);
}

} // namespace veltrana
