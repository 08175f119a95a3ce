#include "PlotFileRoutines.h"

#include "FileRoutines.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace veltrana {

namespace {

constexpr int kFileExistsRetries = 3;

// The typed filters of Save As, in the dialog's order (filter 1 first).
struct TypedFilter {
    const char* description;
    const char* extension;
    PlotFileType type;
};
constexpr TypedFilter kPlotFilters[] = {{"Bitmap (*.bmp)", ".bmp", PlotFileType::Bitmap},
                                        {"PNG (*.png)", ".png", PlotFileType::Png},
                                        {"SVG (*.svg)", ".svg", PlotFileType::Svg},
                                        {"PDF (*.pdf)", ".pdf", PlotFileType::Pdf}};

const TypedFilter* FilterAt(int filterIndex) {
    const int count = static_cast<int>(std::size(kPlotFilters));
    return filterIndex >= 1 && filterIndex <= count ? &kPlotFilters[filterIndex - 1] : nullptr;
}

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
    for (const TypedFilter& filter : kPlotFilters)
        request.filters.push_back({filter.description, std::string("*") + filter.extension});
    request.filters.push_back({"All Files (*.*)", "*.*"});
    request.filterIndex = 1;
    request.initialDir = initialDir;
    request.fileName = proposal;
    return request;
}

PlotFileType PlotFileTypeFor(std::string_view path, int filterIndex) {
    const std::string name = Lower(SplitPath(path, "/").name);
    for (const TypedFilter& filter : kPlotFilters) {
        if (EndsWith(name, filter.extension)) {
            return filter.type;
        }
    }
    const TypedFilter* chosen = FilterAt(filterIndex);
    return chosen ? chosen->type : PlotFileType::Bitmap;
}

std::string WithFilterExtension(std::string_view path, int filterIndex) {
    const TypedFilter* chosen = FilterAt(filterIndex);
    if (!chosen || SplitPath(path, "/").name.find('.') != std::string::npos) {
        return std::string(path);
    }
    return std::string(path) + chosen->extension;
}

Prompt ReplaceQuestion(std::string_view path) {
    return {"File exists, want to replace it?", "Replace " + Lower(path) + " file?",
            PromptIcon::Question, PromptButtons::YesNo};
}

} // namespace veltrana
