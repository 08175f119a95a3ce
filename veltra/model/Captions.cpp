#include "Captions.h"

#include "Text.h"

namespace veltrana {

std::string SolverComment(int entry) {
    // Count characters, not bytes: the captions hold the two-byte "»".
    std::string latin = ToCp1252(kSolverCaptions.at(static_cast<size_t>(entry)));
    latin.resize(latin.size() > 15 ? latin.size() - 15 : 0);
    return TrimBlanks(FromCp1252(latin));
}

} // namespace veltrana
