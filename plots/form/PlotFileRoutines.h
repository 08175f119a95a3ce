#pragma once

#include "PlotExport.h"
#include "Prompter.h"

#include <string>
#include <string_view>

namespace veltrana {

/// The file-name part of `path` (after its last "/"); `directory` receives the part before
/// it, or the current directory when the path has no "/".
std::string SplitDataPath(std::string_view path, std::string& directory);

/// False for "" and "*.*"; otherwise whether a directory search for the name finds a file.
/// Errors are shown under "In 'FileExists' routine ..." and answer false.
bool PlotFileExists(std::string_view name, Prompter& prompter);

/// The window caption for the data file: "Plots from Tamsen Sys.", preceded by the file's
/// name and " ... " when it has one.
std::string CaptionFor(std::string_view dataFile);

/// The name Save As proposes: the data file's name up to its first "." (the whole name when
/// it starts with "." or has none), then ".bmp".
std::string SaveAsProposal(std::string_view dataFile);

FileDialogRequest OpenPlotFileRequest(const std::string& initialDir);
/// Bitmap first and chosen, then PNG, SVG and PDF, all files last.
FileDialogRequest SavePlotFileRequest(const std::string& initialDir, const std::string& proposal);

/// The file type to write: from the extension when it names one of the four, else from the
/// filter in use (a bitmap for all files).
PlotFileType PlotFileTypeFor(std::string_view path, int filterIndex);
/// `path` with the chosen filter's extension added when its name has none.
std::string WithFilterExtension(std::string_view path, int filterIndex);

/// The replace question for an existing file chosen in Save As.
Prompt ReplaceQuestion(std::string_view path);

} // namespace veltrana
