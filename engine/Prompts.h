#pragma once
#include <QString>

namespace glimt {

// The kinds of modal message box: OK-only boxes, numbered as the readers report them.
enum class TMsgKind { Warning = 0, Error = 1, Information = 2 };

// Everything the core asks of the user. The core never shows a window itself: the shell
// installs an implementation backed by message boxes and dialogs; tests install fakes.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    // A message box with an OK button.
    virtual void Message(TMsgKind kind, const QString& text) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // The change-palette question: 0 change the palette, 1 keep it.
    virtual int AskChangePalette() = 0;
    // The image-too-big question: 0 resize, 1 crop.
    virtual int AskImageTooBig() = 0;
    // The GIF frame picker: lets the user choose frames of `fileName`, each becoming a new
    // document of the target size and depth. Returns false when the picker could not run.
    virtual bool PickGifFrames(const QString& fileName, int targetWidth, int targetHeight, int targetDepth) = 0;
};

// A prompt sink that shows nothing: messages are dropped, confirmations answer No, the two
// questions answer 0, the frame picker fails. Installed until the shell installs its own.
class SilentPrompts : public IPrompts {
public:
    void Message(TMsgKind, const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    int AskChangePalette() override { return 0; }
    int AskImageTooBig() override { return 0; }
    bool PickGifFrames(const QString&, int, int, int) override { return false; }
};

// The installed prompts (never null).
IPrompts& Prompts();
// Installs `prompts` (not owned; null restores the silent sink). Returns the previous one.
IPrompts* SetPrompts(IPrompts* prompts);

// RAII installation, for tests and for the shell's lifetime.
class ScopedPrompts {
public:
    explicit ScopedPrompts(IPrompts* prompts) : m_previous(SetPrompts(prompts)) {}
    ~ScopedPrompts() { SetPrompts(m_previous); }
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    IPrompts* m_previous;
};

} // namespace glimt
