#include "editor/EditorHost.h"

namespace glimt {

namespace {
IEditorHost* g_host = nullptr;
IToolEngine* g_toolEngine = nullptr;
} // namespace

IEditorHost* EditorHost()
{
    return g_host;
}

void SetEditorHost(IEditorHost* host)
{
    g_host = host;
}

IToolEngine* ToolEngine()
{
    return g_toolEngine;
}

void SetToolEngine(IToolEngine* engine)
{
    g_toolEngine = engine;
}

} // namespace glimt
