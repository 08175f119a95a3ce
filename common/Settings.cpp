#include "Settings.h"

namespace veltrana {

namespace {

RegError SaveString(RegistryStore& store, std::string_view key, std::string_view name,
                    std::string_view text) {
    if (!store.KeyExists(RegRoot::CurrentUser, key)) {
        if (RegError error = store.CreateKey(RegRoot::CurrentUser, key).error; !error.ok())
            return error;
    }
    return store.SetRegValue(RegRoot::CurrentUser, key, name, RegType::String, std::string(text));
}

} // namespace

std::string GetFileIn(const RegistryStore& store) {
    if (!store.KeyExists(RegRoot::CurrentUser, kCompanyKey))
        return {};
    return store.stringValue(RegRoot::CurrentUser, kCompanyKey, "fileIn");
}

RegError SaveFileIn(RegistryStore& store, std::string_view path) {
    return SaveString(store, kCompanyKey, "fileIn", path);
}

std::string GetLastFilePath(const RegistryStore& store) {
    if (!store.KeyExists(RegRoot::CurrentUser, kProductKey))
        return {};
    std::string path = store.stringValue(RegRoot::CurrentUser, kProductKey, "LastFilePath");
    // A network-style "//host" path is refused, as the UNC form was.
    bool absolute = path.starts_with('/') && !path.starts_with("//");
    return absolute ? path : std::string();
}

RegError SaveLastFilePath(RegistryStore& store, std::string_view directory) {
    return SaveString(store, kProductKey, "LastFilePath", directory);
}

} // namespace veltrana
