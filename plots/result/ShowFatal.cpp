#include "ShowFatal.h"

#include "Prompter.h"

#include <string>

namespace veltrana {

void ShowFatal(Prompter& prompter, std::string_view text) {
    prompter.message({std::string(text), "Must exit!", PromptIcon::Exclamation, PromptButtons::Ok});
}

} // namespace veltrana
