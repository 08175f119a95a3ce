#include "PlotFileRoutines.h"

#include "FileRoutines.h"

#include <algorithm>
#include <cctype>

namespace veltrana {

namespace {

constexpr int kFileExistsRetries = 3;
constexpr int kPngFilter = 2;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace

std::string SplitDataPath(std::string_view path, std::string& directory) {
    const PathParts parts = SplitPath(path);
    directory = parts.directory;
    return parts.name;
}

bool PlotFileExists(std::string_view name, Prompter& prompter) {
    if (name.empty() || name == "*.*") {
        return false;
    }
    return FileExists(name, prompter, kFileExistsRetries);
}

std::string CaptionFor(std::string_view dataFile) {
    const std::string title = "Plots from Tamsen Sys.";
    const std::string name = SplitPath(dataFile, "/").name;
    return name.empty() ? title : name + " ... " + title;
}

std::string SaveAsProposal(std::string_view dataFile) {
    std::string name = SplitPath(dataFile, "/").name;
    const auto dot = name.find('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name + ".bmp";
}

FileDialogRequest OpenPlotFileRequest(const std::string& initialDir) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Open Response Input File";
    request.filters = {{"All Files (*.*)", "*.*"}, {"Plot Data Files (*.dat)", "*.dat"}};
    request.filterIndex = 2;
    request.initialDir = initialDir;
    return request;
}

FileDialogRequest SavePlotFileRequest(const std::string& initialDir, const std::string& proposal) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Save Plot File As ...";
    request.filters = {
        {"Bitmap (*.bmp)", "*.bmp"}, {"PNG (*.png)", "*.png"}, {"All Files (*.*)", "*.*"}};
    request.filterIndex = 1;
    request.initialDir = initialDir;
    request.fileName = proposal;
    return request;
}

ImageType ImageTypeFor(std::string_view path, int filterIndex) {
    const std::string name = Lower(SplitPath(path, "/").name);
    if (EndsWith(name, ".png")) {
        return ImageType::Png;
    }
    if (EndsWith(name, ".bmp")) {
        return ImageType::Bitmap;
    }
    return filterIndex == kPngFilter ? ImageType::Png : ImageType::Bitmap;
}

Prompt ReplaceQuestion(std::string_view path) {
    return {"File exists, want to replace it?", "Replace " + Lower(path) + " file?",
            PromptIcon::Question, PromptButtons::YesNo};
}

} // namespace veltrana
