#pragma once
// The real main window with a tool window, fakes answering every question, and builders of
// small documents: the fixture of the edit, image and icon command tests.
#include "editor/EditorHost.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"
#include "shell/formMain.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace glimt::test {

// Answers the core's questions: the palette question with a scripted choice, counted.
class CountingPrompts : public IPrompts {
public:
    int PaletteChoice = 1;
    int PaletteQuestions = 0;
    void Message(TMsgKind, const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    int AskChangePalette() override
    {
        ++PaletteQuestions;
        return PaletteChoice;
    }
    int AskImageTooBig() override { return 1; }
    bool PickGifFrames(const QString&, int, int, int) override { return false; }
};

// A width x height image of `depth` bits whose pixel (x, y) is opaque with R = 10 x + 1,
// G = 10 y + 1, B = 7: every cell differs, so a swapped width and height shows.
inline TmyImagePal Numbered(int width, int height, int depth = 32)
{
    TmyImagePal image(height, width, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(10 * x + 1), std::uint8_t(10 * y + 1), 7, 255);
    image.BitDepth = std::uint8_t(depth);
    if (depth < 24)
        image.BuildPalette();
    return image;
}

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qApp) {
            static int argc = 1;
            static char name[] = "glimt_shell_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
        Options() = TOptions();
        Options().MainMaximized = false;
        m_main = std::make_unique<TfrmMain>();
        if (!m_main->Tools()) {
            m_tools = std::make_unique<TfrmTools>();
            SetToolEngine(m_tools.get());
        }
        m_main->show();
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(m_main.get());
    }

    void TearDown() override
    {
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        m_main.reset();
        if (m_tools)
            SetToolEngine(nullptr);
        m_tools.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Options() = TOptions();
    }

    TfrmTools& Tools() { return *m_main->Tools(); }
    tmyselection& Selection() { return *Tools().Selection(); }

    // A new untitled, saved document holding the images in this order, the first current.
    TfrmDesk* Document(std::initializer_list<TmyImagePal> images)
    {
        auto it = images.begin();
        EXPECT_TRUE(m_main->CreateDocumentFromImage(*it));
        TfrmDesk* desk = m_main->ActiveDesk();
        for (++it; it != images.end(); ++it)
            desk->Icon->AddImageCopy(*it);
        desk->Icon->Current = 0;
        desk->Saved = true;
        desk->ShowImage(*desk->CurrentImage());
        desk->FillImageCombo(true);
        m_main->updateActions();
        return desk;
    }

    // A floating selection of `image` on the document of `slot`, as the Selection tool lifts it.
    void Float(const TmyImagePal& image, int slot)
    {
        // A selection floats with the Selection tool current; any other tool drops it as soon
        // as a document window opens.
        Tools().PressToolButton(glimt::toolSelection);
        tmyselection& s = Selection();
        s.Image = image;
        s.Image.BitDepth = 32;
        s.Image.Palette.reset();
        s.OriginalImage = s.Image;
        s.SetBounds(0, 0, image.Width(), image.Height());
        s.DocumentSlot = std::uint8_t(slot);
        s.InFront = true;
        TfrmDesk* desk = m_main->Desk(slot);
        desk->ImgSel->move(desk->Image1->pos());
        desk->ShowSelectionHandles();
        Tools().ShowSelectionLayer(true);
        m_main->UpdateClipboardActions();
    }

    QAction* Action(const char* name)
    {
        QAction* a = m_main->Action(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    bool Enabled(const char* name) { return Action(name) && Action(name)->isEnabled(); }
    void Trigger(const char* name)
    {
        if (QAction* a = Action(name))
            a->trigger();
    }

    FakeDialogs m_dialogs;
    ScopedUserDialogs m_installDialogs{&m_dialogs};
    CountingPrompts m_prompts;
    ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TfrmTools> m_tools;
};

} // namespace glimt::test
