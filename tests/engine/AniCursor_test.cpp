#include "engine/AniCursor.h"

#include "engine/ByteReader.h"
#include "engine/SafeFile.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

QByteArray ChunkBytes(const char* id, const QByteArray& data, std::int64_t statedDelta = 0)
{
    glimt::ByteWriter w;
    w.Raw(id, 4);
    w.U32(std::uint32_t(data.size() + statedDelta));
    w.Raw(data);
    if (data.size() % 2)
        w.U8(0);
    return w.Bytes();
}

QByteArray ListBytes(const char* type, const QByteArray& chunks, std::int64_t statedDelta = 0)
{
    return ChunkBytes("LIST", QByteArray(type, 4) + chunks, statedDelta);
}

QByteArray Riff(const QByteArray& chunks, std::int64_t statedDelta = 0)
{
    return ChunkBytes("RIFF", "ACON" + chunks, statedDelta);
}

const QByteArray kIcon1("\0\0\1\0\1\0first", 11);
const QByteArray kIcon2("\0\0\2\0\1\0second", 12);
const QByteArray kAnih = ChunkBytes("anih", QByteArray(36, '\0'));
const QByteArray kFrames = ListBytes("fram", ChunkBytes("icon", kIcon1) + ChunkBytes("icon", kIcon2));

} // namespace

TEST(AniCursor, FramesOfTheFramList)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        bool ok;
        std::vector<QByteArray> frames;
    } rows[] = {
        {"two frames after an odd-sized info list", Riff(ListBytes("INFO", ChunkBytes("INAM", "odd")) + kAnih + kFrames), true, {kIcon1, kIcon2}},
        {"RIFF size larger than the file", Riff(kAnih + kFrames, 1000), true, {kIcon1, kIcon2}},
        {"RIFF size smaller than the data", Riff(kAnih + kFrames, -qsizetype(kFrames.size())), true, {kIcon1, kIcon2}},
        {"info list that overstates its size by 2", Riff(ListBytes("INFO", ChunkBytes("INAM", "name"), 2) + kAnih + kFrames), true,
         {kIcon1, kIcon2}},
        {"frame cut short by the end of the file", Riff(kAnih + kFrames).left(kAnih.size() + kFrames.size() + 12 - 4), true, {kIcon1}},
        {"frame chunk larger than its list", Riff(ListBytes("fram", ChunkBytes("icon", kIcon1, 100))), true, {}},
        {"other chunks in the fram list are passed over", Riff(ListBytes("fram", ChunkBytes("junk", "x") + ChunkBytes("icon", kIcon2))),
         true, {kIcon2}},
        {"no fram list", Riff(kAnih), true, {}},
        {"list too short for its type", Riff(ChunkBytes("LIST", "fr") + kFrames), true, {kIcon1, kIcon2}},
        {"huge chunk size", Riff(ChunkBytes("anih", QByteArray(36, '\0'), 0x7FFFFFF0) + kFrames), true, {}},
        {"a RIFF palette", ChunkBytes("RIFF", "PAL data"), false, {}},
        {"too short", QByteArray("RIFF\0\0\0\0ACO", 11), false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<QByteArray> frames;
        EXPECT_EQ(glimt::ReadAniFrames(row.bytes, frames), row.ok);
        EXPECT_EQ(frames, row.frames);
    }
}

TEST(AniCursor, RealAnimatedCursorHasThreeFrames)
{
    GLIMT_REQUIRE_TESTDATA();
    const QByteArray bytes = glimt::ReadWholeFile(glimt::test::TestDataDir() + "/ani-kde/test.ani");
    std::vector<QByteArray> frames;
    ASSERT_TRUE(glimt::ReadAniFrames(bytes, frames));
    ASSERT_EQ(frames.size(), 3u);
    for (const QByteArray& f : frames)
        EXPECT_TRUE(f.startsWith(QByteArray("\0\0\1\0", 4)) || f.startsWith(QByteArray("\0\0\2\0", 4)));
}
