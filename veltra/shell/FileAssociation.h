#pragma once

#include "RegistryStore.h"

#include <string>
#include <string_view>

namespace veltrana {

/// Class name and description under which output files are associated with the viewer.
inline constexpr const char* kAssociationClass = "Veltrana";
inline constexpr const char* kAssociationDescription = "Veltrana: a Matched Filter program";
inline constexpr const char* kOutputExtension = "Out";

/// Creates or opens root\subKey and sets its default (unnamed) value to `value`. Nothing is
/// written when the key cannot be created.
RegError SetKeyDefault(RegistryStore& store, RegRoot root, std::string_view subKey,
                       std::string_view value);

/// Records in the classes root that files with `extension` open in the suite's text viewer,
/// `<programDir>/../List/list`, with the file as its argument: ".ext" names the class, the
/// class holds the description, "<class>\DefaultIcon" the icon (only for a non-empty
/// `iconPath`), "<class>\shell\open\command" the command. The first error stops the writing.
RegError CreateFileAssociation(RegistryStore& store, std::string_view extension,
                               std::string_view programDir, std::string_view className,
                               std::string_view description, std::string_view iconPath);

} // namespace veltrana
