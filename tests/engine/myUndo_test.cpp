#include "engine/myUndo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A 3 x 2 image whose state number sits in pixel (2, 1); the width also changes so that a
// snapshot restores the size as well as the pixels.
TmyImagePal State(int n)
{
    TmyImagePal image(2, 3 + n % 2, 32);
    image.Pixel(2, 1) = TmyPixel::CreateRGBA(std::uint8_t(n), 0, 0, 255);
    return image;
}

int StateOf(const TmyImagePal* image)
{
    return image ? image->Pixel(2, 1).R : -1;
}

void ExpectNew(const tmyUndo& undo)
{
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_EQ(undo.Position, 0);
    EXPECT_FALSE(undo.CanUndo);
    EXPECT_FALSE(undo.CanRedo);
    EXPECT_FALSE(undo.SkipNextPush);
    EXPECT_TRUE(undo.PushBeforeUndo);
}

// A document's image with the edit rule of the callers: push, then change.
struct Doc {
    tmyUndo undo;
    TmyImagePal image = State(0);
    void Edit(int n)
    {
        undo.Push(image);
        image = State(n);
    }
};

} // namespace

TEST(TmyUndo, NewHistoryHandsOutNothing)
{
    tmyUndo undo;
    ExpectNew(undo);
    EXPECT_EQ(undo.Undo(), nullptr);
    EXPECT_EQ(undo.Redo(), nullptr);
    ExpectNew(undo);
    TmyImagePal image = State(7);
    EXPECT_FALSE(glimt::UndoCommand(undo, image));
    EXPECT_FALSE(glimt::RedoCommand(undo, image));
    EXPECT_EQ(StateOf(&image), 7);
    ExpectNew(undo);
}

TEST(TmyUndo, WorkedExampleThroughTheCommands)
{
    Doc d;
    d.Edit(1);
    d.Edit(2);
    EXPECT_EQ(d.undo.Position, 2);

    ASSERT_TRUE(glimt::UndoCommand(d.undo, d.image));
    EXPECT_EQ(StateOf(&d.image), 1);
    EXPECT_EQ(d.image.Width(), 4) << "the snapshot's size comes back";
    EXPECT_EQ(d.undo.Count(), 3) << "the present state was stored first";
    EXPECT_EQ(d.undo.Position, 2);
    EXPECT_TRUE(d.undo.CanUndo);
    EXPECT_TRUE(d.undo.CanRedo);

    ASSERT_TRUE(glimt::UndoCommand(d.undo, d.image));
    EXPECT_EQ(StateOf(&d.image), 0);
    EXPECT_EQ(d.undo.Position, 1);
    EXPECT_FALSE(d.undo.CanUndo);
    EXPECT_FALSE(glimt::UndoCommand(d.undo, d.image));

    ASSERT_TRUE(glimt::RedoCommand(d.undo, d.image));
    EXPECT_EQ(StateOf(&d.image), 1);
    EXPECT_TRUE(d.undo.CanRedo) << "S2 still follows";

    d.Edit(3); // cuts S2 and stores nothing: S1 is already current
    EXPECT_EQ(d.undo.Count(), 2);
    EXPECT_EQ(StateOf(d.undo.Snapshot(2)), 1);
    EXPECT_FALSE(d.undo.CanRedo);
    EXPECT_TRUE(d.undo.PushBeforeUndo);

    ASSERT_TRUE(glimt::UndoCommand(d.undo, d.image));
    EXPECT_EQ(StateOf(&d.image), 1);
    EXPECT_EQ(StateOf(d.undo.Snapshot(3)), 3) << "S3 was stored before stepping back";
    ASSERT_TRUE(glimt::RedoCommand(d.undo, d.image));
    EXPECT_EQ(StateOf(&d.image), 3);
    EXPECT_FALSE(d.undo.CanRedo);
}

TEST(TmyUndo, TwentyFivePushesKeepTwentyOne)
{
    Doc d;
    for (int n = 1; n <= 25; ++n)
        d.Edit(n);
    EXPECT_EQ(d.undo.Count(), 21);
    EXPECT_EQ(d.undo.Position, 21);
    EXPECT_EQ(StateOf(d.undo.Snapshot(1)), 4) << "oldest is the state before edit 5";

    std::vector<int> seen;
    while (glimt::UndoCommand(d.undo, d.image))
        seen.push_back(StateOf(&d.image));
    ASSERT_EQ(seen.size(), 20u);
    EXPECT_EQ(seen.front(), 24);
    EXPECT_EQ(seen.back(), 5) << "the last step returns the state before edit 6";
    EXPECT_EQ(d.undo.Count(), 21);
    EXPECT_EQ(StateOf(d.undo.Snapshot(21)), 25);

    int redone = 0;
    while (glimt::RedoCommand(d.undo, d.image))
        ++redone;
    EXPECT_EQ(redone, 20);
    EXPECT_EQ(StateOf(&d.image), 25);
}

TEST(TmyUndo, PushAfterUndoDropsRedoBranch)
{
    tmyUndo undo;
    for (int n = 0; n < 4; ++n)
        undo.Push(State(n));
    EXPECT_EQ(StateOf(undo.Undo()), 2);
    EXPECT_EQ(StateOf(undo.Undo()), 1);
    undo.Push(State(9));
    EXPECT_EQ(undo.Count(), 2) << "the two newest were freed and nothing stored";
    EXPECT_EQ(undo.Position, 2);
    EXPECT_FALSE(undo.CanRedo);
    EXPECT_TRUE(undo.PushBeforeUndo);
    EXPECT_FALSE(undo.SkipNextPush);
    EXPECT_EQ(undo.Redo(), nullptr);

    undo.Push(State(10)); // now stored again
    EXPECT_EQ(undo.Count(), 3);
    EXPECT_EQ(undo.Redo(), nullptr) << "redo right after a push";
}

// After a single push, or after a push that stored nothing at the oldest snapshot, the
// history allows Undo (the command stores the present image first) but has nothing before
// its current snapshot: the bare Undo must not step off the list.
TEST(TmyUndo, NeverHandsOutASnapshotItDoesNotHave)
{
    tmyUndo one;
    one.Push(State(1));
    EXPECT_TRUE(one.CanUndo);
    EXPECT_EQ(one.Undo(), nullptr);
    EXPECT_EQ(one.Position, 1);
    EXPECT_FALSE(one.SkipNextPush) << "a refused step changes nothing";

    tmyUndo atFirst;
    atFirst.Push(State(0));
    atFirst.Push(State(1));
    EXPECT_EQ(StateOf(atFirst.Undo()), 0);
    atFirst.Push(State(5)); // skipped; Position stays at the oldest snapshot
    EXPECT_TRUE(atFirst.CanUndo);
    EXPECT_EQ(atFirst.Undo(), nullptr);
    EXPECT_EQ(atFirst.Redo(), nullptr);
    EXPECT_EQ(atFirst.Position, 1);
    EXPECT_EQ(atFirst.Snapshot(0), nullptr);
    EXPECT_EQ(atFirst.Snapshot(2), nullptr);
}

TEST(TmyUndo, ClearReturnsToNew)
{
    Doc d;
    for (int n = 1; n <= 5; ++n)
        d.Edit(n);
    glimt::UndoCommand(d.undo, d.image);
    glimt::UndoCommand(d.undo, d.image);
    d.undo.Clear();
    ExpectNew(d.undo);
    EXPECT_EQ(d.undo.Undo(), nullptr);
    d.undo.Push(d.image);
    EXPECT_EQ(d.undo.Count(), 1) << "a push after Clear stores again";
}

namespace {

struct FakeCursor : glimt::IBusyCursor {
    std::string log;
    void ShowBusy() override { log += 'B'; }
    void ShowDefault() override { log += 'D'; }
};

} // namespace

TEST(BusyCursor, GuardRestoresOnExceptionAndDoesNotNest)
{
    FakeCursor fake;
    glimt::IBusyCursor* previous = glimt::SetBusyCursor(&fake);
    try {
        glimt::BusyGuard busy;
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(fake.log, "BD");
    {
        glimt::BusyGuard outer;
        {
            glimt::BusyGuard inner;
        }
        EXPECT_EQ(fake.log, "BDBBD") << "the inner end already restores the default cursor";
    }
    EXPECT_EQ(fake.log, "BDBBDD");
    glimt::SetBusyCursor(previous);
    BeginBusy(); // the silent cursor again
    EndBusy();
    EXPECT_EQ(fake.log, "BDBBDD");
}
