#pragma once

#include <string>

namespace veltrana {

/// Run-time state of the design program, shared by the form, the file commands and the run.
struct ShellState {
    std::string currentFileName; ///< name part of the current input file
    std::string currentDir;      ///< its directory, without trailing separator
    std::string runMode = " ";   ///< " " idle, "*" during Submit, "Demo" for a demo run
    bool dataChanged = false;    ///< set by every edit, cleared by load and save
    int writeFailed = 0;         ///< 1 when the last writing of an input file failed

    std::string familyDir;         ///< value of Quillon, trimmed
    std::string programDir;        ///< familyDir + "/Veltr.hz"
    std::string userDir;           ///< programDir + "/User"
    std::string startupValuesFile; ///< programDir + "/last-run.ini"

    double waitFactor = 1; ///< from the product ini file; nothing uses it after start-up
    std::string userName;  ///< from the product ini file; nothing uses it after start-up

    std::string dialogInitialDir; ///< initial directory of the file dialog
};

} // namespace veltrana
