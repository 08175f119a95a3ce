#pragma once

#include <string_view>

namespace veltrana {

class Prompter;

/// Shows `text` in an exclamation box titled "Must exit!". The caller then closes the plot
/// window, which ends the program.
void ShowFatal(Prompter& prompter, std::string_view text);

} // namespace veltrana
