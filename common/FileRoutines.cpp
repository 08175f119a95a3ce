#include "FileRoutines.h"

#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

namespace {

bool HasWildcards(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

// A missing directory or a file used as a directory just means "not there".
bool MeansAbsent(int err) {
    return err == ENOENT || err == ENOTDIR;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsRegularEntry(int dirFd, const dirent& entry) {
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
        return false;
    struct stat st {};
    return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

// Runs a probe under the error scheme; anything but a clean answer counts as "not there".
template <class Probe>
bool ExistsWithScheme(Probe probe, std::string_view path, std::string_view routine,
                      Prompter& prompter, int maxRetries, bool* fatal) {
    bool exists = false;
    StepResult result = RunFileStep(prompter, routine, path, maxRetries, [&] {
        FileProbe answer = probe(path);
        exists = answer.exists;
        return answer.error;
    });
    if (fatal)
        *fatal = !result.done && result.outcome == ErrorOutcome::Fatal;
    return result.done && exists;
}

} // namespace

std::string CurrentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return buffer.c_str();
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

FileListing ListFiles(std::string_view path) {
    FileListing listing;
    PathParts parts;
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        parts = {".", std::string(path)};
    } else {
        parts = {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
        if (parts.directory.empty())
            parts.directory = "/";
    }
    if (parts.name.empty())
        return listing;

    if (!HasWildcards(parts.name)) {
        struct stat st {};
        if (::stat(std::string(path).c_str(), &st) == 0) {
            if (S_ISREG(st.st_mode))
                listing.names.push_back(parts.name);
        } else if (!MeansAbsent(errno)) {
            listing.error = FileErrorFromErrno(errno);
        }
        return listing;
    }

    std::unique_ptr<DIR, DirCloser> dir(::opendir(parts.directory.c_str()));
    if (!dir) {
        if (!MeansAbsent(errno))
            listing.error = FileErrorFromErrno(errno);
        return listing;
    }
    bool matchDotFiles = parts.name.front() == '.';
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                listing.error = FileErrorFromErrno(errno);
            break;
        }
        std::string_view name = entry->d_name;
        if (name.front() == '.' && !matchDotFiles)
            continue;
        if (WildcardMatch(parts.name, name) && IsRegularEntry(::dirfd(dir.get()), *entry))
            listing.names.emplace_back(name);
    }
    std::sort(listing.names.begin(), listing.names.end());
    return listing;
}

FileProbe ProbeFile(std::string_view path) {
    FileListing listing = ListFiles(path);
    return {!listing.names.empty(), listing.error};
}

FileProbe ProbeDir(std::string_view directory) {
    if (directory.empty())
        return {};
    struct stat st {};
    if (::stat(std::string(directory).c_str(), &st) == 0)
        return {S_ISDIR(st.st_mode), {}};
    if (MeansAbsent(errno))
        return {};
    return {false, FileErrorFromErrno(errno)};
}

bool FileExists(std::string_view path) {
    return ProbeFile(path).exists;
}

bool FileExists(std::string_view path, Prompter& prompter, int maxRetries, bool* fatal) {
    return ExistsWithScheme(ProbeFile, path, "FileExists", prompter, maxRetries, fatal);
}

bool dirExists(std::string_view directory) {
    return ProbeDir(directory).exists;
}

bool dirExists(std::string_view directory, Prompter& prompter, int maxRetries, bool* fatal) {
    return ExistsWithScheme(ProbeDir, directory, "dirExists", prompter, maxRetries, fatal);
}

std::string ShortPathOf(std::string_view path) {
    struct stat st {};
    if (path.empty() || ::stat(std::string(path).c_str(), &st) != 0)
        return {};
    return std::string(path);
}

PathParts SplitPath(std::string_view path, std::string_view currentDirectory) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {currentDirectory.empty() ? CurrentDirectory() : std::string(currentDirectory),
                std::string(path)};
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

std::string GetWindowsVer(std::uint32_t version) {
    unsigned major = version & 0xFFu;
    unsigned minor = (version >> 8) & 0xFFu;
    // In hundredths, so that a minor version of 100 or more carries into the units.
    unsigned hundredths = major * 100 + minor;
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", hundredths / 100, hundredths % 100);
    return text;
}

DeleteResult DeleteMatching(std::string_view path) {
    DeleteResult result;
    FileListing listing = ListFiles(path);
    if (!listing.error.ok()) {
        result.error = listing.error;
        return result;
    }
    size_t slash = path.rfind('/');
    std::string directory =
        slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
    for (const std::string& name : listing.names) {
        if (::unlink((directory + name).c_str()) != 0) {
            if (errno == ENOENT)
                continue; // gone already: what we wanted
            result.error = FileErrorFromErrno(errno);
            break;
        }
        ++result.deleted;
    }
    return result;
}

} // namespace veltrana
