#include "engine/myUndo.h"

void tmyUndo::Reset()
{
    Position = 0;
    CanUndo = false;
    CanRedo = false;
    SkipNextPush = false;
    PushBeforeUndo = true;
}

void tmyUndo::Clear()
{
    FreeNodes();
    Reset();
}

void tmyUndo::Push(const TmyImagePal& image)
{
    if (std::size_t(Position) < m_nodes.size())
        m_nodes.resize(Position);
    CanUndo = true;
    CanRedo = false;
    PushBeforeUndo = true;
    if (SkipNextPush) {
        SkipNextPush = false;
        return;
    }
    if (Position == MaxSnapshots) {
        m_nodes.erase(m_nodes.begin());
        Position = MaxSnapshots - 1;
    }
    m_nodes.push_back(std::make_unique<TmyImagePal>(image));
    ++Position;
}

// CanUndo stays set after a Push even when only one snapshot exists (the Undo command stores
// the present image first); stepping back still needs a snapshot before the current one.
const TmyImagePal* tmyUndo::Undo()
{
    if (!CanUndo || Position < 2 || std::size_t(Position) > m_nodes.size())
        return nullptr;
    SkipNextPush = true;
    --Position;
    CanUndo = Position > 1;
    CanRedo = true;
    PushBeforeUndo = false;
    return m_nodes[Position - 1].get();
}

const TmyImagePal* tmyUndo::Redo()
{
    if (!CanRedo || Position < 1 || std::size_t(Position) >= m_nodes.size())
        return nullptr;
    SkipNextPush = true;
    ++Position;
    CanRedo = std::size_t(Position) < m_nodes.size();
    CanUndo = true;
    PushBeforeUndo = false;
    return m_nodes[Position - 1].get();
}

const TmyImagePal* tmyUndo::Snapshot(int i) const
{
    if (i < 1 || i > Count())
        return nullptr;
    return m_nodes[std::size_t(i - 1)].get();
}

namespace glimt {

bool UndoCommand(tmyUndo& undo, TmyImagePal& image)
{
    if (!undo.CanUndo)
        return false;
    if (undo.PushBeforeUndo)
        undo.Push(image);
    const TmyImagePal* snapshot = undo.Undo();
    if (!snapshot)
        return false;
    image.Assign(*snapshot);
    return true;
}

bool RedoCommand(tmyUndo& undo, TmyImagePal& image)
{
    if (!undo.CanRedo)
        return false;
    const TmyImagePal* snapshot = undo.Redo();
    if (!snapshot)
        return false;
    image.Assign(*snapshot);
    return true;
}

namespace {

class NoBusyCursor : public IBusyCursor {
public:
    void ShowBusy() override {}
    void ShowDefault() override {}
};

NoBusyCursor g_noCursor;
IBusyCursor* g_cursor = &g_noCursor;

} // namespace

IBusyCursor* SetBusyCursor(IBusyCursor* cursor)
{
    IBusyCursor* previous = g_cursor == &g_noCursor ? nullptr : g_cursor;
    g_cursor = cursor ? cursor : &g_noCursor;
    return previous;
}

BusyGuard::BusyGuard()
{
    BeginBusy();
}

BusyGuard::~BusyGuard()
{
    EndBusy();
}

} // namespace glimt

void BeginBusy()
{
    glimt::g_cursor->ShowBusy();
}

void EndBusy()
{
    glimt::g_cursor->ShowDefault();
}
