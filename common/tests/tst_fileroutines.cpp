#include "FileRoutines.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class FileRoutinesTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        for (const char* name : {"a.txt", "b.dat", "noext", ".hidden", "Mixed.TXT"})
            std::ofstream(m_dir / name) << "x";
        fs::create_directory(m_dir / "sub.txt");
        fs::create_symlink(m_dir / "b.dat", m_dir / "link.lnk");
        fs::create_symlink(m_dir / "gone", m_dir / "dangling.lnk");
    }
};

TEST_F(FileRoutinesTest, FileExistsListsNormalFilesOnlyAndDirExistsDirectories) {
    // Names compare exactly; "x.*" names "x" too; "?" is one character; a directory is not a
    // file, a link to a file is that file; a wildcard does not reach a leading "."; a missing
    // directory is no error, nor is an empty path.
    const std::pair<const char*, bool> files[] = {
        {"a.txt", true},          {"*.txt", true},    {"?.txt", true},    {"A.txt", false},
        {"*.TXT", true},          {"noext.*", true},  {"noex.*", false},  {"*.?", false},
        {"sub.txt", false},       {"sub.*", false},   {"link.lnk", true}, {"dangling.lnk", false},
        {".hidden", true},        {"*hidden", false}, {".h*", true},      {"", false},
        {"missing/*.txt", false}, {"a.txt/x", false}};
    const std::pair<std::string, bool> dirs[] = {
        {in("sub.txt/"), true}, {in("a.txt"), false}, {in("gone"), false}, {"", false}};
    ScriptedPrompter prompter;
    for (const auto& [name, expected] : files)
        EXPECT_EQ(FileExists(in(name), prompter), expected) << name;
    for (const auto& [path, expected] : dirs)
        EXPECT_EQ(dirExists(path, prompter), expected) << path;
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(FileRoutinesTest, UnexpectedErrorIsShownAndGivesFalse) {
    const std::string tooLong = in(std::string(300, 'n')); // longer than any file name
    ScriptedPrompter prompter;
    for (const std::string& path : {tooLong, tooLong + "/*.txt"}) {
        bool fatal = false;
        EXPECT_FALSE(FileExists(path, prompter, 3, &fatal)) << path;
        EXPECT_TRUE(fatal);
    }
    const Prompt shown{"Unexpected error #" + std::to_string(ENAMETOOLONG) +
                           " occured: " + std::strerror(ENAMETOOLONG),
                       "In 'FileExists' routine ...", PromptIcon::Critical, PromptButtons::Ok};
    EXPECT_EQ(prompter.prompts, std::vector<Prompt>(2, shown)) << "one for each path";
    EXPECT_FALSE(FileExists(tooLong)) << "without a prompter the error is quiet";
}

TEST_F(FileRoutinesTest, DeleteMatchingRemovesOnlyMatchingFiles) {
    // Not the directory, the other case, a dangling link or the target of a deleted link.
    for (const auto& [pattern, deleted] : {std::pair{"*.txt", 1}, {"*.lnk", 1}, {"nothing.*", 0}}) {
        const DeleteResult r = DeleteMatching(in(pattern));
        EXPECT_TRUE(r.error.ok()) << pattern;
        EXPECT_EQ(r.deleted, deleted) << pattern;
    }
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(m_dir))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"b.dat", "noext", ".hidden", "Mixed.TXT", "sub.txt",
                                           "dangling.lnk"}));
}

TEST(SplitPath, NameAfterTheLastSlash) {
    const std::pair<const char*, PathParts> rows[] = {
        {"/home/ann/User/demo1.dat", {"/home/ann/User", "demo1.dat"}},
        {"/demo1.dat", {"", "demo1.dat"}},
        {"dir/", {"dir", ""}},
        {"a/b/c", {"a/b", "c"}},
        {"Start Up Values", {"/home/ann/User", "Start Up Values"}},
        {"", {"/home/ann/User", ""}},
    };
    for (const auto& [path, expected] : rows)
        EXPECT_EQ(SplitPath(path, "/home/ann/User"), expected) << path;
    EXPECT_EQ(SplitPath("x.dat").directory, fs::current_path().string());
}

} // namespace
