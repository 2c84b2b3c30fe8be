#include "editor/PaletteFit.h"

#include "engine/MyImage.h"
#include "engine/PaletteLibrary.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"

namespace glimt {

bool ApplyPaletteAction(TmyImagePal& image)
{
    if (image.BitDepth >= 24)
        return false;
    int answer = Options().PaletteAction;
    if (answer == 2)
        answer = Prompts().AskChangePalette();
    if (answer == 0 || !image.Palette)
        TPaletteLibrary::ConvertImageDepth(image, image.BitDepth);
    else
        TPaletteLibrary::MapToPalette(image, *image.Palette);
    return true;
}

} // namespace glimt
