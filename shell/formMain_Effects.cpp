// The effect commands of the main window: the fifty tagged effect actions with their one
// dispatcher, "Last Effect", the Effect menu built from the tags, and the actions that open the
// effect dialogs.
#include "shell/formMain.h"

#include "editor/Effects.h"
#include "editor/Translate.h"
#include "editor/formBrightness.h"
#include "editor/formColorBalance.h"
#include "editor/formDesk.h"
#include "editor/formFadeout.h"
#include "editor/formFilter.h"
#include "editor/formHue.h"
#include "editor/formOpacity.h"
#include "editor/formshadow.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "engine/myselection.h"

#include <QAction>
#include <QMenu>

namespace {

// One tagged effect action: its tag, object name, caption as the form holds it, and category.
struct TEffectAction {
    int tag;
    const char* name;
    const char* caption;
    const char* category;
};

// Tags 1..50 in order. The captions stand as they are ("Blure More", "Motion Blur " with its
// trailing blank): language files address them by these texts' actions.
constexpr TEffectAction kEffectActions[glimt::kLastEffectTag] = {
    {1, "actnGrayscale", "Grayscale", "Color"},
    {2, "actnInvert", "Invert", "Color"},
    {3, "actnRed", "Red", "Color"},
    {4, "actnGreen", "Green", "Color"},
    {5, "actnBlue", "Blue", "Color"},
    {6, "actnYellow", "Yellow", "Color"},
    {7, "actnCyan", "Cyan", "Color"},
    {8, "actnMagenta", "Magenta", "Color"},
    {9, "actnRedGreen", "Swap Red-Green", "Color"},
    {10, "actnRedBlue", "Swap Red-Blue", "Color"},
    {11, "actnBreenBlue", "Swap Green-Blue", "Color"},
    {12, "actEmbossColor", "Emboss Color", "Emboss"},
    {13, "actEmbossLight", "Emboss Light", "Emboss"},
    {14, "actEmboss", "Emboss", "Emboss"},
    {15, "actEmbossDark", "Emboss Dark", "Emboss"},
    {16, "actAverage", "Average", "Blur"},
    {17, "actBlurNormal", "Blur", "Blur"},
    {18, "actBlurSoft", "Blur Soft", "Blur"},
    {19, "actBlurMore", "Blure More", "Blur"},
    {20, "actBlurMotion", "Motion Blur ", "Blur"},
    {21, "actEdgesVert", "Find Edges (Vertical)", "Edges"},
    {22, "actEdgesHoriz", "Find Edges (Horizontal)", "Edges"},
    {23, "actEnhanceEdges", "Enhance Edges", "Edges"},
    {24, "actEdgeDetect", "Detect Edges", "Edges"},
    {25, "actEdgeStrong", "Edges Strong", "Edges"},
    {26, "actEdgeWeak", "Edges Weak", "Edges"},
    {27, "actContour", "Contour", "Edges"},
    {28, "actSharpen", "Sharpen", "Sharpen"},
    {29, "actSharpenLess", "Sharpen Less", "Sharpen"},
    {30, "actSharpenMore", "Sharpen More", "Sharpen"},
    {31, "actSharpenDir", "Sharpen Directional", "Sharpen"},
    {32, "actGlow", "Glow", "Effect"},
    {33, "actWaggle", "Waggle", "Effect"},
    {34, "actPattern", "Pattern", "Effect"},
    {35, "actPaintDark", "Paint Dark", "Effect"},
    {36, "actPaintBright", "Paint Bright", "Effect"},
    {37, "actShake", "Shake", "Effect"},
    {38, "actShakeLess", "Shake Less", "Effect"},
    {39, "actPale", "Pale", "Effect"},
    {40, "actScene", "Scene", "Effect"},
    {41, "actnFlipHoriz", "Flip Horizontal", "Rotate/Flip"},
    {42, "actnFlipVert", "Flip Vertical", "Rotate/Flip"},
    {43, "actnRotateLeft", "Rotate Left 90\u00b0", "Rotate/Flip"},
    {44, "actnRotateRight", "Rotate Right 90\u00b0", "Rotate/Flip"},
    {45, "actnRotate", "Rotate 180\u00b0", "Rotate/Flip"},
    {46, "actnLeft", "Left", ""},
    {47, "actnRight", "Right", ""},
    {48, "actnUp", "Up", ""},
    {49, "actnDown", "Down", ""},
    {50, "actShadow", "Drop Shadow", "Effect"},
};

// The Effect menu's submenus: key (also the title without its access key), title, and items:
// tags, 0 a separator.
struct TEffectSubmenu {
    const char* key;
    const char* title;
    std::initializer_list<int> tags;
};

const std::initializer_list<TEffectSubmenu>& EffectSubmenus()
{
    static const std::initializer_list<TEffectSubmenu> submenus = {
        {"Color", QT_TRANSLATE_NOOP("TfrmMain", "C&olor"), {1, 2, 0, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11}},
        {"Emboss", QT_TRANSLATE_NOOP("TfrmMain", "&Emboss"), {12, 13, 14, 15}},
        {"Blur", QT_TRANSLATE_NOOP("TfrmMain", "&Blur"), {16, 17, 18, 19, 20}},
        {"Sharpen", QT_TRANSLATE_NOOP("TfrmMain", "Sha&rpen"), {28, 29, 30, 31}},
        {"Edges", QT_TRANSLATE_NOOP("TfrmMain", "E&dges"), {21, 22, 23, 24, 25, 26, 27}},
    };
    return submenus;
}

int EffectTag(const QAction* action)
{
    return action ? action->data().toInt() : -1;
}

// The effect dialog of a kind, made on first use as a child of the main window and kept.
template <class TDialog>
TDialog* EffectDialog(TfrmMain* main)
{
    auto* dialog = main->findChild<TDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new TDialog(main);
        // Made after the language was loaded: it takes the texts now (later switches reach it
        // as a window of the main window).
        glimt::TranslateForm(dialog);
    }
    return dialog;
}

// Opacity works on a floating selection of any document, or on a 32-bit current image.
bool OpacityApplies(TfrmMain* main)
{
    glimt::IToolEngine* tools = glimt::ToolEngine();
    const tmyselection* selection = tools ? tools->Selection() : nullptr;
    if (selection && !selection->IsEmpty())
        return true;
    TfrmDesk* desk = main->ActiveDesk();
    const TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    return image && image->BitDepth == 32;
}

} // namespace

QString TfrmMain::EffectActionName(int tag)
{
    if (tag < 1 || tag > glimt::kLastEffectTag)
        return {};
    return QString::fromLatin1(kEffectActions[tag - 1].name);
}

void TfrmMain::CreateEffectActions()
{
    for (const TEffectAction& e : kEffectActions) {
        const QString name = QString::fromLatin1(e.name);
        std::function<void()> handler = [this, name] { ApplyEffect(Action(name)); };
        if (e.tag >= 46 && e.tag <= 49)
            handler = [this, name] { ArrowExecute(Action(name)); };
        QAction* a = AddAction(e.name, QString::fromUtf8(e.caption), QString::fromLatin1(e.category), handler);
        a->setData(e.tag);
    }

    QAction* a = AddAction("actLast", tr("Last Effect (None)"), QStringLiteral("Effect"), [this] { actLastExecute(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    a->setEnabled(false);

    // The effects with parameters: each opens its dialog, which changes the document on OK.
    const struct {
        const char* name;
        const char* caption;
        QKeyCombination key;
        std::function<void()> show;
    } dialogs[] = {
        {"actnBrightness", "Brightness/Contrast...", Qt::CTRL | Qt::Key_B,
         [this] { EffectDialog<TfrmBrightness>(this)->exec(); }},
        {"ActnHue", "Hue/Saturation...", Qt::CTRL | Qt::Key_H, [this] { EffectDialog<TfrmHue>(this)->exec(); }},
        {"actnColor", "Color Balance...", Qt::CTRL | Qt::Key_J,
         [this] { EffectDialog<TfrmColorBalance>(this)->exec(); }},
        {"actOpacity", "Opacity...", Qt::CTRL | Qt::Key_Q,
         [this] {
             if (OpacityApplies(this))
                 EffectDialog<TfrmOpacity>(this)->exec();
         }},
        {"actFadeout", "Fadeout...", Qt::CTRL | Qt::Key_U, [this] { EffectDialog<TfrmFadeout>(this)->exec(); }},
        {"actAdvancedShadow", "Shadow...", Qt::CTRL | Qt::Key_W, [this] { EffectDialog<TfrmShadow>(this)->exec(); }},
    };
    for (const auto& d : dialogs) {
        a = AddAction(d.name, tr(d.caption), QStringLiteral("Image"), d.show);
        a->setShortcut(QKeySequence(d.key));
    }

    a = AddAction("actCustom", tr("Custom Filter..."), QStringLiteral("Effect"),
                  [this] { CustomFilterDialog()->exec(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    a->setData(0);
}

TfrmFilter* TfrmMain::CustomFilterDialog()
{
    auto* dialog = findChild<TfrmFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = EffectDialog<TfrmFilter>(this);
        connect(dialog, &TfrmFilter::FilterApplied, this, [this] { SetLastEffect(Action(QStringLiteral("actCustom"))); });
    }
    return dialog;
}

void TfrmMain::BuildEffectMenu()
{
    QMenu* menu = Menu(QStringLiteral("Effect"));
    if (!menu)
        return;
    auto addTag = [this](QMenu* into, int tag) {
        if (QAction* a = Action(EffectActionName(tag)))
            into->addAction(a);
    };
    menu->addAction(Action(QStringLiteral("actLast")));
    menu->addSeparator();
    for (const TEffectSubmenu& s : EffectSubmenus()) {
        QMenu* sub = menu->addMenu(tr(s.title));
        sub->setObjectName(QStringLiteral("mnu") + QString::fromLatin1(s.key));
        m_menus.insert(QString::fromLatin1(s.key), sub);
        for (int tag : s.tags) {
            if (tag == 0)
                sub->addSeparator();
            else
                addTag(sub, tag);
        }
    }
    for (int tag = 32; tag <= 40; ++tag)
        addTag(menu, tag);
    addTag(menu, 50);
    menu->addSeparator();
    menu->addAction(Action(QStringLiteral("actCustom")));
}

void TfrmMain::UpdateOpacityAction()
{
    // Opacity applies to 32-bit images and to floating selections only.
    if (QAction* opacity = Action(QStringLiteral("actOpacity")))
        opacity->setEnabled(m_deskCount > 0 && OpacityApplies(this));
}

void TfrmMain::ApplyEffect(QAction* action)
{
    if (!action)
        return;
    SetLastEffect(action);
    const glimt::TEffectTarget target = glimt::ActiveEffectTarget();
    if (!target)
        return;
    const int tag = EffectTag(action);
    // The custom kernel is read before anything changes: a box without a number stops here.
    const TFilterKernel custom = tag == 0 ? CustomFilterDialog()->GetFilterKernel() : TFilterKernel{};
    const bool onAlpha = Options().FilterOnAlpha;
    glimt::ChangeEffectTarget(
        target, [&](TmyImagePal& image) { glimt::ApplyEffectTag(tag, image, custom, onAlpha); },
        glimt::EffectFitsPalette(tag));
}

void TfrmMain::SetLastEffect(QAction* action)
{
    LastEffect = action;
    QAction* last = Action(QStringLiteral("actLast"));
    if (!last)
        return;
    last->setEnabled(true);
    if (action != last) {
        QString caption = glimt::MsgS("msgLastEffect", "Last Effect (%s1)", action->text());
        caption = glimt::ReplaceOnce(caption, QStringLiteral("..."), QString());
        last->setText(caption);
    }
}

void TfrmMain::actLastExecute()
{
    ApplyEffect(LastEffect);
}

void TfrmMain::ArrowExecute(QAction* action)
{
    // A selection floating on the active document moves one cell; otherwise the image shifts
    // one pixel through the dispatcher (which also serves a selection on another window by
    // shifting the active image, as every effect does).
    const int tag = EffectTag(action);
    const int dx = tag == 46 ? -1 : tag == 47 ? 1 : 0;
    const int dy = tag == 48 ? -1 : tag == 49 ? 1 : 0;
    if (!NudgeSelection(dx, dy))
        ApplyEffect(action);
}
