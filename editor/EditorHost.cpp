#include "editor/EditorHost.h"

#include "engine/PaletteLibrary.h"
#include "engine/myadjustments.h"

namespace glimt {

namespace {
IEditorHost* g_host = nullptr;
IToolEngine* g_toolEngine = nullptr;
} // namespace

void IEditorHost::ApplyPaletteAction(TmyImagePal& image)
{
    if (image.BitDepth < 24 && TmyAdjustments::ConfirmPaletteChange(image))
        TPaletteLibrary::ConvertImageDepth(image, image.BitDepth);
}

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
