#pragma once

#include "ResultFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <memory>
#include <sstream>
#include <string>

namespace veltrana::test {

inline std::string DataPath(const std::string& name) {
    return std::string(VELTRANA_TEST_DATA) + "/" + name;
}

inline std::string DataText(const std::string& name) {
    return FileText(DataPath(name));
}

/// A reader with a scripted prompter, as plots would hold one.
struct Reader {
    ScriptedPrompter prompter;
    ResultFile file{prompter};

    ReadStatus read(const std::string& name) { return file.ReadResultFile(DataPath(name)); }
    ReadStatus readText(const std::string& text) {
        return file.ReadResultStream(std::make_unique<std::istringstream>(text), "memory.dat");
    }
    /// Goes on with the trailing sections, in order, while all is well.
    ReadStatus readSections(ReadStatus status) {
        for (auto s :
             {ResultSection::Sidelobe, ResultSection::Ripple, ResultSection::ImpulseResponse})
            if (status == ReadStatus::Ok)
                status = file.ReadSection(s);
        return status;
    }
    const ResultData& data() const { return file.data(); }
};

} // namespace veltrana::test
