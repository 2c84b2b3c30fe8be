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
    FitToPalette(image, PaletteActionAnswer());
    return true;
}

int PaletteActionAnswer()
{
    const int answer = Options().PaletteAction;
    return answer == 2 ? Prompts().AskChangePalette() : answer;
}

void FitToPalette(TmyImagePal& image, int answer)
{
    if (answer == 0 || !image.Palette)
        TPaletteLibrary::ConvertImageDepth(image, image.BitDepth);
    else
        TPaletteLibrary::MapToPalette(image, *image.Palette);
}

} // namespace glimt
