#pragma once
#include "engine/MyImage.h"

#include <cstdint>
#include <memory>
#include <vector>

// The undo and redo history of one document window: snapshots (deep copies) of the current
// image, each taken before a change, at most MaxSnapshots of them. It holds the history of one
// image only; the owner clears it whenever another image becomes current, an image is added or
// an image is deleted.
class tmyUndo {
public:
    static constexpr int MaxSnapshots = 21;

    // 1-based position of the current snapshot, 0 when empty; after a Push it equals Count().
    std::uint8_t Position = 0;
    // Set by Undo and Redo: the image equals the snapshot at Position, so the next Push stores
    // nothing.
    bool SkipNextPush = false;
    // Drive the enabled state of the Undo and Redo commands.
    bool CanUndo = false;
    bool CanRedo = false;
    // The present image is not in the list, so the Undo command pushes it before stepping back.
    bool PushBeforeUndo = true;

    tmyUndo() { Reset(); }

    // Back to the state of a new history, without freeing snapshots (see Clear).
    void Reset();
    // Frees every snapshot.
    void FreeNodes() { m_nodes.clear(); }
    // Frees every snapshot and returns to the state of a new history.
    void Clear();

    // Records the image before a change: cuts the redo branch, then stores a copy unless the
    // image equals the snapshot at Position already; the oldest snapshot goes when full.
    void Push(const TmyImagePal& image);
    // Steps back (or forward) one snapshot and returns it, or null when there is none to step
    // to; then nothing changes. The snapshot stays owned by the history: copy it with Assign.
    const TmyImagePal* Undo();
    const TmyImagePal* Redo();

    int Count() const { return int(m_nodes.size()); }
    // Snapshot at 1-based position i (oldest first), null outside 1..Count().
    const TmyImagePal* Snapshot(int i) const;

private:
    std::vector<std::unique_ptr<TmyImagePal>> m_nodes;
};

namespace glimt {

// The Undo command of a document: when CanUndo, stores the present image first if it is not in
// the history yet (so that it can be redone), then copies the previous snapshot into the image.
// Returns true when the image changed; the caller then marks the document unsaved, puts its
// images back into editing order and redraws.
bool UndoCommand(tmyUndo& undo, TmyImagePal& image);
// The Redo command: when CanRedo, copies the next snapshot into the image. Returns true when
// the image changed, with the same follow-up as UndoCommand.
bool RedoCommand(tmyUndo& undo, TmyImagePal& image);

// Shows the hourglass or the normal cursor. The shell installs one backed by the application's
// override cursor; tests install fakes. The two calls do not nest.
class IBusyCursor {
public:
    virtual ~IBusyCursor() = default;
    virtual void ShowBusy() = 0;
    virtual void ShowDefault() = 0;
};

// Installs `cursor` (not owned; null installs a cursor that does nothing). Returns the previous
// one (null when none was installed).
IBusyCursor* SetBusyCursor(IBusyCursor* cursor);

// The busy cursor for the lifetime of the guard; the default cursor when it ends, also on an
// exception. Guards do not nest: the end of an inner one restores the default cursor.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

} // namespace glimt

// The hourglass cursor, and back to the default one (always, even inside an outer busy section).
void BeginBusy();
void EndBusy();
