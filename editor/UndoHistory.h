#pragma once
// The document window's undo history. The core's history is used when it is present; until
// then a minimal history with the same operations stands in, so that the window's stroke and
// image-change roads can be built and tested.
#if __has_include("engine/myUndo.h")
#include "engine/myUndo.h"
#else
#include "engine/MyImage.h"

#include <memory>
#include <vector>

class tmyUndo {
public:
    std::uint8_t Position = 0;
    bool CanUndo = false;
    bool CanRedo = false;

    void Push(const TmyImagePal& image)
    {
        if (m_snapshots.size() == 21)
            m_snapshots.erase(m_snapshots.begin());
        m_snapshots.push_back(std::make_unique<TmyImagePal>(image));
        Position = std::uint8_t(m_snapshots.size());
        CanUndo = true;
        CanRedo = false;
    }
    void Clear()
    {
        m_snapshots.clear();
        Position = 0;
        CanUndo = false;
        CanRedo = false;
    }

private:
    std::vector<std::unique_ptr<TmyImagePal>> m_snapshots;
};
#endif
