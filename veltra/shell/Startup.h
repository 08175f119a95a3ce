#pragma once

#include "DesignProblem.h"
#include "ErrorScheme.h"
#include "FormBinding.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "ShellState.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace veltrana {

inline constexpr const char* kProductName = "Veltrana";
inline constexpr const char* kProductIniName = "Veltrana.ini";
inline constexpr const char* kStartupValuesName = "last-run.ini";
inline constexpr const char* kStartupFileName = "Start Up Values";

/// Starts a program detached, without arguments; false when it could not be started.
using ProgramLauncher = std::function<bool(const std::string& program)>;
/// Starts a program detached with its arguments; false when it could not be started.
using ArgumentLauncher =
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

/// What start-up takes from the world, so that tests can supply their own.
struct StartupEnvironment {
    std::function<std::string(const char*)> getenv;
    ProgramLauncher launch;
    ArgumentLauncher launchWith;
    std::function<std::tm()> today;
};
StartupEnvironment SystemEnvironment();

/// Finds the family and program directories through `Quillon`. False after telling the user
/// that the variable is missing or names no directory: the program cannot go on.
bool Start_Path(ShellState& state, Prompter& prompter, const StartupEnvironment& env);

/// Reads or writes the product ini file, makes the user directory and the current directory,
/// and sets the file dialog's initial directory. False after a fatal error was shown.
bool Start_INI(ShellState& state, Prompter& prompter, const RegistryStore& store,
               const StartupEnvironment& env);

/// The three lines of a new product ini file (UTF-8; written as Windows-1252, CR LF).
std::string ProductIniText(const std::tm& today);

/// Starts `plots` from the family directory; tells the user when it is missing or fails.
bool StartPlots(const ShellState& state, Prompter& prompter, const ProgramLauncher& launch);

/// The main form's load after the form's own set-up: paths, ini file, `plots` after a run,
/// and the start-up values. False when the program has to end.
bool LoadMainForm(ShellState& state, DesignProblem& problem, FormBinding& form, Prompter& prompter,
                  RegistryStore& store, const StartupEnvironment& env);

/// The window caption for the current file name.
std::string CaptionFor(const std::string& currentFileName);
void ShowFilename(const ShellState& state, FormBinding& form);

} // namespace veltrana
