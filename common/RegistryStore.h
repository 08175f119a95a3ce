#pragma once

#include "RegistryFormat.h"
#include "RegistryTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace veltrana {

/// The registry of both programs: one file shared by `veltra` and `plots`.
///
/// Every routine reads the file afresh, so each program sees the other's latest values.
/// Writers lock "<path>.lock", re-read the file under the lock, and replace it atomically
/// (temporary file and rename); readers never see a half-written store. A damaged or
/// unreadable file is read as empty and reported through problem(); the first write after
/// that keeps the damaged file as "<path>.damaged". A store file its user made read-only is
/// never replaced: from the first write on, the store keeps its keys in memory for the rest of
/// its life and says so once, through the notice handler or else problem(). No routine throws.
class RegistryStore {
public:
    /// The store at DefaultPath().
    RegistryStore();
    explicit RegistryStore(std::string path);

    /// $VELTRANA_REGISTRY when set and not empty; else "$XDG_CONFIG_HOME/Veltrana/registry",
    /// with "~/.config" when XDG_CONFIG_HOME is unset, empty or not absolute.
    static std::string DefaultPath();

    const std::string& path() const { return m_path; }

    /// True when the key exists; the root itself ("") always exists.
    bool KeyExists(RegRoot root, std::string_view subKey) const;

    /// Creates the key and any missing parents. The value is true when the key already
    /// existed, false when it was created. Error 1001 "Unable to create the registry key"
    /// when it cannot be created (bad name, store not writable); then nothing is written.
    RegResult<bool> CreateKey(RegRoot root, std::string_view subKey);

    /// The value, or `defaultValue` when the key is missing, the value is missing or is
    /// stored with another type. A type other than 1, 3, 4 on an existing key gives error
    /// 1001 "Unsupported value type" (and the default); on a missing key just the default.
    RegResult<RegValue> GetRegValue(RegRoot root, std::string_view subKey,
                                    std::string_view valueName, RegType type,
                                    RegValue defaultValue) const;

    /// Writes the value with the given type; `value` must hold the matching alternative.
    /// Error 1001 "Unsupported value type" for another type or a mismatching value, error
    /// 1002 when the key does not exist or the store cannot be written; nothing is written
    /// then.
    RegError SetRegValue(RegRoot root, std::string_view subKey, std::string_view valueName,
                         RegType type, const RegValue& value);

    /// Typed reads on top of GetRegValue.
    std::string stringValue(RegRoot root, std::string_view subKey, std::string_view valueName,
                            std::string defaultValue = {}) const;
    std::int32_t numberValue(RegRoot root, std::string_view subKey, std::string_view valueName,
                             std::int32_t defaultValue = 0) const;
    RegBytes binaryValue(RegRoot root, std::string_view subKey, std::string_view valueName,
                         RegBytes defaultValue = {}) const;

    /// The trouble the latest routine had with the store file: number 1003 when the file was
    /// damaged or unreadable and read as empty, 1002 when it could not be written; number 0
    /// when there was none. The description names the file and what is wrong, for showing.
    const RegError& problem() const { return m_problem; }

    /// Receives, once, the news that the store file is read-only and changes are kept in
    /// memory only (number 1004); called after the store file was let go, never under its
    /// lock. Without a handler the news is the problem() of the write that found it.
    using NoticeHandler = std::function<void(const RegError& notice)>;
    void setNoticeHandler(NoticeHandler handler) { m_notice = std::move(handler); }

private:
    enum class LoadState { Fine, Damaged, Unreadable };
    struct Snapshot {
        RegKeyMap keys;
        LoadState state = LoadState::Fine;
    };
    using Change = std::function<RegError(RegKeyMap& keys, bool& changed)>;

    Snapshot load() const;
    RegError modify(const Change& change, const RegError& failure);
    RegError modifyLocked(const Change& change, const RegError& failure);
    bool writeFile(const std::string& text);
    void noteIoProblem(int number, std::string_view what, int err) const;

    std::string m_path;
    mutable RegError m_problem;
    /// The keys, once the store file turned out read-only; the file is not read again then.
    std::optional<RegKeyMap> m_memory;
    NoticeHandler m_notice;
};

} // namespace veltrana
