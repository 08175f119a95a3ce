#pragma once

#include <array>
#include <string>

namespace veltrana {

/// Captions of the 22 question labels, in answer-slot order. The input file's comments are
/// their first 50 characters.
extern const std::array<std::string, 22> kQuestionCaptions;

/// Captions of the nine optimiser-setting labels, in setting order.
extern const std::array<std::string, 9> kSolverCaptions;

/// Comment of a setting line in the input file: the caption less its last 15 characters,
/// trimmed of blanks (the writer cuts it to 50 characters).
std::string SolverComment(int entry);

} // namespace veltrana
