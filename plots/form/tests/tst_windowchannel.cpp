#include "PlotsFormFixture.h"
#include "WindowChannel.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// Sockets in a runtime directory of the test's own.
class WindowChannelTest : public PlotsFormFixture {
protected:
    void SetUp() override {
        PlotsFormFixture::SetUp();
        std::filesystem::create_directory(in("run"));
        std::filesystem::create_directory(in("family"));
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(in("run")));
    }
    void TearDown() override {
        qunsetenv("XDG_RUNTIME_DIR"); // unset, as the tests run
        PlotsFormFixture::TearDown();
    }
    QString name() { return WindowChannel::ServerName(in("family")); }

    /// Hands `path` over from another thread, as a second start does, while this one listens.
    bool handOver(const std::string& path) {
        auto done = std::async(std::launch::async,
                               [this, path] { return WindowChannel(name()).HandOver(path); });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            10000));
        return done.get();
    }
};

// One name per user and family, however spelled. A path (or nothing, to come to the front)
// goes to the window listening; nobody listening, or a message longer than a path, hands
// nothing over. A window that was killed leaves its socket behind; the next start takes it
// over.
TEST_F(WindowChannelTest, APathGoesToTheWindowThatListens) {
    std::filesystem::create_directory_symlink(in("family"), in("link"));
    for (const std::string& family : {in("link"), in("family") + "/"})
        EXPECT_EQ(WindowChannel::ServerName(family), name());
    EXPECT_NE(WindowChannel::ServerName(in("run")), name());
    EXPECT_TRUE(name().startsWith(QString::fromStdString(in("run")) + "/"));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, name().toStdString().c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    EXPECT_FALSE(WindowChannel(name()).HandOver("/a/b.dat", 500));
    WindowChannel window(name());
    std::vector<std::string> received;
    QObject::connect(&window, &WindowChannel::pathReceived,
                     [&received](const std::string& path) { received.push_back(path); });
    ASSERT_TRUE(window.HandOverOrListen("/a.dat")); // shows its own window
    EXPECT_FALSE(WindowChannel(name()).Listen());   // a second window does not listen beside it
    EXPECT_TRUE(handOver("/results/ex-yzero_01.dat"));
    EXPECT_TRUE(handOver(""));
    EXPECT_FALSE(handOver(std::string(5000, 'x')));
    EXPECT_TRUE(handOver("/results/with space/ü.dat"));
    EXPECT_EQ(received, (std::vector<std::string>{"/results/ex-yzero_01.dat", "",
                                                  "/results/with space/ü.dat"}));
    window.StopListening(); // closing: the next start shows a window of its own
    EXPECT_FALSE(handOver("/results/later.dat"));
    EXPECT_TRUE(WindowChannel(name()).Listen());
}

// Two starts of the program: the second hands its file to the first and ends; the first then
// has the second file open (it keeps the result file open for its later plots).
TEST_F(WindowChannelTest, ASecondStartLeavesOneWindowShowingItsFile) {
    const std::string first = sample("model_m2.dat"), second = sample("model3.dat");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELTRANA_REGISTRY", QString::fromStdString(in("registry")));
    env.insert("Quillon", QString::fromStdString(in("family")));
    const QString program = QStringLiteral(VELTRANA_BINARY_DIR "/plots/plots");
    const auto opens = [](qint64 pid, const std::string& file) {
        const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
        return std::ranges::any_of(std::filesystem::directory_iterator(fds), [&](const auto& fd) {
            std::error_code error;
            return std::filesystem::read_symlink(fd.path(), error) == file;
        });
    };

    ASSERT_TRUE(SaveFileIn(*store, first).ok());
    QProcess window, again;
    window.setProcessEnvironment(env);
    again.setProcessEnvironment(env);
    window.start(program, {});
    ASSERT_TRUE(window.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return opens(window.processId(), first); }, 20000));

    ASSERT_TRUE(SaveFileIn(*store, second).ok());
    again.start(program, {});
    ASSERT_TRUE(again.waitForFinished(20000));
    EXPECT_EQ(again.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opens(window.processId(), second); }, 20000));
    EXPECT_FALSE(opens(window.processId(), first));
    EXPECT_EQ(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();
}

} // namespace
