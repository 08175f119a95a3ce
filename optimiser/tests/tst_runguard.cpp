// The optimiser among others: the signals that end a run, the run lock, a listing that cannot
// be written and a result name at the file system's limit.
#include "FitTesting.h"
#include "ResultFileName.h"
#include "RunGuard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <unistd.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class RunGuardTest : public test::FamilyRunTest {
protected:
    // Installs a quick example problem as `name` and runs it.
    int run(const std::string& name, const RunOptions& options = {}) {
        installExample("Ex-Delay.12", name);
        return RunOptimiser(handOver(name), options);
    }
};

} // namespace

// Whatever signal ends a run, it ends as veltra's Cancel does: the listing says so, no result.
TEST_F(RunGuardTest, EndingSignalsCancelTheRun) {
    RunOptions options;
    options.cancel = &CatchCancelSignals();
    const std::string result = ResultFilePath("Ex.1", m_user);
    const std::tuple<int, const char*> signals[] = {
        {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}, {SIGXFSZ, "SIGXFSZ"}};
    for (const auto& [signal, name] : signals) {
        SCOPED_TRACE(name);
        std::ofstream(result) << "older result";
        std::raise(signal);
        EXPECT_EQ(run("Ex.1", options), RunCancelled);
        EXPECT_TRUE(lastLineOfListing().starts_with("Run cancelled by " + std::string(name)))
            << lastLineOfListing();
        EXPECT_EQ(Contents(result), "older result");
    }
}

// A second run, by hand or from another veltra, leaves the listing of the run in progress
// alone; a run that veltra hands its lock runs under it. A listing that stops taking lines
// (a full disk) ends the run with status 3, its reason on stderr and no result.
TEST_F(RunGuardTest, TheListingIsOneRunsAndEveryLineOfItIsWritten) {
    const std::string listing = ListingPath(m_dir.string());
    RunLock veltra;
    RunHolder other;
    std::string error;
    ASSERT_EQ(veltra.Take(listing, ThisProcess(m_user + "/Mine.1"), other, error),
              RunLock::Result::Taken);
    std::ofstream(listing) << "the listing of the run in progress";
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("Ex.1"), RunUsage);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("A run of " + m_user + "/Mine.1 is in progress"), std::string::npos)
        << said;
    EXPECT_EQ(Contents(listing), "the listing of the run in progress");

    ::setenv(kRunLockFdVariable, std::to_string(::dup(veltra.descriptor())).c_str(), 1);
    EXPECT_EQ(run("Ex.1"), RunOk) << lastLineOfListing();
    ::unsetenv(kRunLockFdVariable);
    veltra.Release();

    fs::remove(listing);
    fs::remove(ResultFilePath("Ex.1", m_user));
    fs::create_symlink("/dev/full", listing);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("Ex.1"), RunUsage);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("No space left on device; the run ended there"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(ResultFilePath("Ex.1", m_user)));
}

// The temporary file beside a result has a short name of its own, so a result name at the
// file system's limit of 255 bytes is written.
TEST_F(RunGuardTest, AResultNameOfTheLongestKindIsWritten) {
    const std::string name = std::string(249, 'x') + ".1";
    ASSERT_EQ(fs::path(ResultFilePath(name, m_user)).filename().string().size(), 255u);
    EXPECT_EQ(run(name), RunOk) << lastLineOfListing();
    EXPECT_TRUE(fs::exists(ResultFilePath(name, m_user)));
}
