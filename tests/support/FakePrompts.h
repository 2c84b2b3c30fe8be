#pragma once
#include "engine/Prompts.h"

namespace glimt::test {

// Prompts that answer the change-palette question with `answer` and count the askings;
// everything else as SilentPrompts.
struct AnswerPrompts : SilentPrompts {
    int answer = 1;
    int asked = 0;
    int AskChangePalette() override
    {
        ++asked;
        return answer;
    }
};

} // namespace glimt::test
