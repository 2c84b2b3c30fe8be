#include "engine/Prompts.h"

namespace glimt {

namespace {
SilentPrompts g_silent;
IPrompts* g_prompts = &g_silent;
} // namespace

IPrompts& Prompts()
{
    return *g_prompts;
}

IPrompts* SetPrompts(IPrompts* prompts)
{
    IPrompts* previous = g_prompts == &g_silent ? nullptr : g_prompts;
    g_prompts = prompts ? prompts : &g_silent;
    return previous;
}

} // namespace glimt
