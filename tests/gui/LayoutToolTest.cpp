#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QVN_LAYOUT_TOOL, arguments);
    if (!tool.waitForFinished(60000))
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput())};
}

const QString sample = QVN_SOURCE_DIR "/data/samples/toolkit_gallery.xml";

TEST(LayoutToolTest, WritesTheScreenshotAtTheAskedSizeAndDumpsTheTree) {
    QTemporaryDir folder;
    const QString png = folder.filePath("shot.png");
    const ToolRun run = runTool({sample, "--png", png, "--size", "560x420", "--dump"});
    ASSERT_EQ(run.exitCode, 0);
    const QImage shot(png);
    EXPECT_EQ(shot.size(), QSize(560, 420));
    EXPECT_TRUE(run.output.contains("dialog id=0 \"Layout gallery\"\n  group id=1 \"Playback\"\n"))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("\n    button id=10 \"OK\"\n"));
}

TEST(LayoutToolTest, RefusesWhatItCannotUse) {
    QTemporaryDir folder;
    EXPECT_EQ(runTool({sample}).exitCode, 1);
    EXPECT_EQ(runTool({sample, "--png", folder.filePath("a.png"), "--size", "12"}).exitCode, 1);
    EXPECT_EQ(runTool({folder.filePath("missing.xml"), "--dump"}).exitCode, 2);
    EXPECT_EQ(runTool({sample, "--png", folder.filePath("no/such/folder/a.png")}).exitCode, 3);
}

} // namespace
