#include "FileAssociation.h"

namespace veltrana {

RegError SetKeyDefault(RegistryStore& store, RegRoot root, std::string_view subKey,
                       std::string_view value) {
    RegResult<bool> created = store.CreateKey(root, subKey);
    if (!created.error.ok())
        return created.error;
    return store.SetRegValue(root, subKey, "", RegType::String, std::string(value));
}

RegError CreateFileAssociation(RegistryStore& store, std::string_view extension,
                               std::string_view programDir, std::string_view className,
                               std::string_view description, std::string_view iconPath) {
    std::string dir(programDir);
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    const std::string cls(className);
    const std::string command = "\"" + dir + "../List/list\" %1";
    struct Entry {
        std::string key;
        std::string value;
    };
    std::vector<Entry> entries{{"." + std::string(extension), cls},
                               {cls, std::string(description)}};
    if (!iconPath.empty())
        entries.push_back({cls + "\\DefaultIcon", std::string(iconPath) + ",0"});
    entries.push_back({cls + "\\shell\\open\\command", command});
    for (const Entry& e : entries) {
        RegError error = SetKeyDefault(store, RegRoot::ClassesRoot, e.key, e.value);
        if (!error.ok())
            return error;
    }
    return {};
}

} // namespace veltrana
