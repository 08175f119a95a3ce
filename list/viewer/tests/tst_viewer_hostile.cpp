#include "FollowingTextView.h"
#include "GrowingFile.h"
#include "HostileFiles.h"
#include "QtTestApp.h"
#include "TextViewer.h"

#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

#include <fstream>

using namespace veltrana;
using namespace veltrana::test;
namespace fs = std::filesystem;

namespace {

using ViewerHostileTest = TempDirTest;

// What a followed file's polls hand over until it is read: whether it exists, whether it
// restarted and its status, then all the text.
std::string PollToTheEnd(GrowingFile& file) {
    GrowingFile::Update u = file.poll();
    std::string polled =
        std::to_string(u.exists) + std::to_string(u.restart) + u.status + "|" + u.text;
    for (int polls = 1; polls < 64 && u.more; ++polls)
        polled += (u = file.poll()).text;
    return polled;
}

class ViewerHostileCase : public HostileCaseTest<> {};

// The followed file gives way to something else: the poll ends at once, the view is told to
// drop what it showed, and the status says what stands there now. A huge file with no line
// end comes as its end only, its one line cut.
TEST_P(ViewerHostileCase, AFollowedFileReplacedByWhatIsNoTextSaysWhatHappened) {
    const std::string aside = in("aside"); // the case waits here while the file is followed
    ASSERT_EQ(::rename(path().c_str(), aside.c_str()), 0);
    std::ofstream(path()) << "listing\n";
    GrowingFile file(path());
    EXPECT_EQ(PollToTheEnd(file), "11|listing\n");
    fs::remove(path());
    ASSERT_EQ(::rename(aside.c_str(), path().c_str()), 0);
    const std::string polled =
        readInChild([&](const std::string&) { return PollToTheEnd(file); }, 64 << 10);
    if (kind() == Hostile::Sparse1G) {
        EXPECT_EQ(polled, "11|[... the first 1016 MB of this file are not shown]\n" +
                              std::string(GrowingFile::kMaxLineBytes, '\0') +
                              GrowingFile::kCutMark);
    } else {
        expectRefusal(polled, "01'");
    }
}
INSTANTIATE_HOSTILE_CASES(ViewerHostileCase);

TEST_F(ViewerHostileTest, LongLinesAreCutBetweenCharactersAndTheRestLeftOut) {
    const std::size_t max = GrowingFile::kMaxLineBytes;
    const std::string cut = GrowingFile::kCutMark;
    const std::string e = "\xC3\xA9"; // two bytes in UTF-8
    // what is written (in one go, or in two), what is shown
    const std::tuple<const char*, std::string, std::string, std::string> rows[] = {
        {"just short enough", std::string(max, 'a') + "\nb\n", "", std::string(max, 'a') + "\nb\n"},
        {"one byte too long", std::string(max + 1, 'a') + "\nb\n", "",
         std::string(max, 'a') + cut + "\nb\n"},
        {"a character across the limit stays whole", std::string(max - 1, 'a') + e + "zz\n", "",
         std::string(max - 1, 'a') + e + cut + "\n"},
        {"cut over two writes", std::string(max - 5, 'a'), std::string(20, 'b') + "\r\nc",
         std::string(max - 5, 'a') + std::string(5, 'b') + cut + "\nc"},
    };
    for (const auto& [name, first, second, shown] : rows) {
        SCOPED_TRACE(name);
        const std::string path = in(name);
        std::ofstream(path, std::ios::binary) << first;
        GrowingFile file(path);
        std::string text = file.poll().text;
        std::ofstream(path, std::ios::binary | std::ios::app) << second;
        text += file.poll().text;
        EXPECT_EQ(text, shown);
    }
}

TEST_F(ViewerHostileTest, AFollowedNameSwappedWithAPipeShowsTheFileOrWhyNot) {
    const std::string path = in("out.txt"), content = "a listing\nof two lines\n";
    GrowingFile file(path);
    ExpectWholeOrRefusedWhileSwapped(path, content, [&] {
        const GrowingFile::Update u = file.poll();
        return SwapRead{u.exists && u.status.empty() && u.text == (u.restart ? content : ""),
                        !u.exists && !u.status.empty()};
    });
}

// The viewer's window over a huge file without line ends: it holds its end, one cut line.
TEST_F(ViewerHostileTest, TheViewOfAHugeLineHoldsItsEndCut) {
    EnsureApp();
    const std::string path = in("huge");
    ASSERT_TRUE(MakeHostile(Hostile::Sparse1G, path));
    const Deadline deadline("Viewing a 1 GB line");
    FollowingTextView view(QString::fromStdString(path), 20);
    const QString mark = QString::fromLatin1(GrowingFile::kCutMark);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.toPlainText().endsWith(mark); }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(view.document()->blockCount(), 2);
    EXPECT_LT(view.document()->characterCount(), int(GrowingFile::kMaxLineBytes) + 100);
    EXPECT_EQ(view.status(), "");
}

// The window says in its status bar what became of the file, and shows the file again once
// it is back.
TEST_F(ViewerHostileTest, TheStatusBarSaysWhatBecameOfTheFile) {
    EnsureApp();
    const std::string path = in("out.txt");
    std::ofstream(path) << "first\n";
    const Deadline deadline("Following a file that becomes a pipe");
    TextViewer viewer(QString::fromStdString(path));
    // what becomes of the file, what the status bar says
    const std::pair<std::function<void()>, std::string> steps[] = {
        {[&] { fs::remove(path); }, "'" + path + "' was removed."},
        {[&] { ::mkfifo(path.c_str(), 0600); },
         "'" + path + "' is a named pipe (FIFO), not a regular file."},
        {[&] { fs::remove(path), std::ofstream(path) << "back\n"; }, ""},
    };
    for (const auto& [become, said] : steps) {
        SCOPED_TRACE(said);
        become();
        viewer.view().refresh();
        EXPECT_EQ(viewer.statusBar()->currentMessage().toStdString(), said);
        EXPECT_EQ(viewer.view().placeholderText().toStdString(), said);
        EXPECT_EQ(viewer.view().toPlainText(), said.empty() ? "back\n" : "");
    }
}

} // namespace

// More lines than the view holds: it keeps the last ones and drops the oldest.
TEST_F(ViewerHostileTest, TheViewKeepsTheLastLinesOfAFileBeyondItsBudget) {
    EnsureApp();
    const int lines = FollowingTextView::kMaxLines + 10'000;
    {
        std::ofstream out(in("many"));
        for (int i = 0; i < lines; ++i)
            out << i << '\n';
    }
    const Deadline deadline("Viewing more lines than the view holds", std::chrono::seconds(30));
    FollowingTextView view(QString::fromStdString(in("many")), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.caughtUp(); }, 25'000));
    const QTextDocument* doc = view.document();
    EXPECT_LE(doc->blockCount(), FollowingTextView::kMaxLines + 1);
    EXPECT_GE(doc->blockCount(), FollowingTextView::kMaxLines * 9 / 10);
    EXPECT_EQ(doc->lastBlock().previous().text().toInt(), lines - 1);
    EXPECT_EQ(doc->firstBlock().text().toInt(), lines - doc->blockCount() + 1);
}
