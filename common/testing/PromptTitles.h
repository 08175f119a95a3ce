#pragma once

#include "ScriptedPrompter.h"

#include <string>
#include <vector>

namespace veltrana::test {

/// The titles of the messages shown so far, in order: what a person saw pop up.
inline std::vector<std::string> PromptTitles(const ScriptedPrompter& prompter) {
    std::vector<std::string> titles;
    for (const auto& p : prompter.prompts)
        titles.push_back(p.title);
    return titles;
}

} // namespace veltrana::test
