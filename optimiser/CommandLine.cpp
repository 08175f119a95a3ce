#include "CommandLine.h"

#include "FileBytes.h"
#include "InputFile.h"
#include "JsonSummary.h"
#include "ResultFileName.h"
#include "Text.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace veltrana {

namespace {

constexpr int kMostThreads = 1024;

/// The last line of the listing at `path`, without its line end.
std::string LastLine(const std::string& path) {
    std::string bytes;
    ReadFileBytes(path, bytes);
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
        bytes.pop_back();
    }
    return FromCp1252(bytes.substr(bytes.find_last_of('\n') + 1)); // npos + 1 is 0
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    out = CommandLine{};
    size_t at = 0;
    bool threadsGiven = false;
    for (; at < args.size() && args[at].starts_with("--"); ++at) {
        const std::string& option = args[at];
        if (option == "--") {
            ++at;
            break;
        }
        if (option != "--listing" && option != "--json" && option != "--threads") {
            error = "unknown option " + option;
            return false;
        }
        if (at + 1 >= args.size() || args[at + 1].empty()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++at];
        std::string& path = option == "--listing" ? out.listingPath : out.jsonPath;
        if ((option == "--threads" && threadsGiven) || (option != "--threads" && !path.empty())) {
            error = option + " is given twice";
            return false;
        }
        if (option != "--threads") {
            path = value;
            continue;
        }
        threadsGiven = true;
        size_t used = 0;
        try {
            out.threads = std::stoi(value, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != value.size() || out.threads < 1 || out.threads > kMostThreads) {
            error = "--threads needs a whole number from 1 to " + std::to_string(kMostThreads);
            return false;
        }
    }
    out.handOver.assign(args.begin() + static_cast<std::ptrdiff_t>(at), args.end());
    return true;
}

int RunCommandLine(const std::vector<std::string>& args, RunOptions options) {
    const auto began = std::chrono::steady_clock::now();
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, line, error)) {
        std::fprintf(stderr, "optimiser: %s\n%s", error.c_str(), kUsage);
        return RunUsage;
    }
    options.listingPath = line.listingPath;
    options.threads = line.threads;
    RunSummary summary;
    options.summary = &summary;
    const int status = RunOptimiser(line.handOver, options);
    if (line.jsonPath.empty() || status == RunUsage) {
        return status;
    }
    const std::vector<std::string>& h = line.handOver;
    JsonRun run;
    run.inputPath = JoinPath(h[1], h[0]);
    run.resultPath = ResultFilePath(h[0], h[1]);
    run.status = status;
    run.message = LastLine(line.listingPath.empty() ? ListingPath(h[2]) : line.listingPath);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const int written = ReplaceFileBytes(line.jsonPath, FormatJsonSummary(run, summary), 0644);
    if (written != 0) {
        std::fprintf(stderr, "optimiser: cannot write the summary %s: %s\n", line.jsonPath.c_str(),
                     std::strerror(written));
        return RunUsage;
    }
    return status;
}

} // namespace veltrana
