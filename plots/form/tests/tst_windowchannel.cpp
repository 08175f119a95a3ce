#include "PlotsFormFixture.h"
#include "WindowChannel.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

#include <csignal>
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
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(in("run")));
        std::filesystem::create_directory(in("family"));
    }
    void TearDown() override {
        qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
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

private:
    QByteArray m_savedRuntime;
};

TEST_F(WindowChannelTest, OneNamePerUserAndFamilyHoweverSpelled) {
    std::filesystem::create_directory_symlink(in("family"), in("link"));
    EXPECT_EQ(WindowChannel::ServerName(in("family")), WindowChannel::ServerName(in("link")));
    EXPECT_EQ(WindowChannel::ServerName(in("family")),
              WindowChannel::ServerName(in("family") + "/"));
    EXPECT_NE(WindowChannel::ServerName(in("family")), WindowChannel::ServerName(in("run")));
    EXPECT_TRUE(name().startsWith(QString::fromStdString(in("run")) + "/"));
}

// A path (or nothing, to come to the front) goes to the window listening; nobody listening,
// or a message longer than a path, hands nothing over.
TEST_F(WindowChannelTest, APathGoesToTheWindowThatListens) {
    EXPECT_FALSE(WindowChannel(name()).HandOver("/a/b.dat", 500));
    WindowChannel window(name());
    std::vector<std::string> received;
    QObject::connect(&window, &WindowChannel::pathReceived,
                     [&received](const std::string& path) { received.push_back(path); });
    ASSERT_TRUE(window.Listen());
    EXPECT_FALSE(WindowChannel(name()).Listen()); // a second window does not listen beside it
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

// A window that was killed leaves its socket behind; the next start takes it over.
TEST_F(WindowChannelTest, ASocketLeftByAKilledWindowIsTakenOver) {
    const std::string path = name().toStdString();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));
    WindowChannel window(name());
    EXPECT_TRUE(window.HandOverOrListen("/a.dat")); // shows its own window
    EXPECT_TRUE(handOver("/b.dat"));
}

// Two starts of the program: the second hands its file to the first and ends; the first then
// has the second file open (it keeps the result file open for its later plots).
TEST_F(WindowChannelTest, ASecondStartLeavesOneWindowShowingItsFile) {
    const std::string first = sample("model_m2.dat"), second = sample("model3.dat");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELTRANA_REGISTRY", QString::fromStdString(in("registry")));
    env.insert("Quillon", QString::fromStdString(in("family")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(in("run")));
    const QString program = QStringLiteral(VELTRANA_BINARY_DIR "/plots/plots");
    const auto opens = [](qint64 pid, const std::string& file) {
        for (const auto& fd :
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(fd.path(), error) == file)
                return true;
        }
        return false;
    };

    ASSERT_TRUE(SaveFileIn(*store, first).ok());
    QProcess window;
    window.setProcessEnvironment(env);
    window.start(program, {});
    ASSERT_TRUE(window.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return opens(window.processId(), first); }, 20000));

    ASSERT_TRUE(SaveFileIn(*store, second).ok());
    QProcess again;
    again.setProcessEnvironment(env);
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
