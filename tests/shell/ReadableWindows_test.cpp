// Every window of the program opened as a user meets it, its controls measured against the
// texts they show: a caption, a box's title or a list item cut by its control (or by the window
// around it) is a control the user cannot read. The windows are opened in the desktop's font
// and two points larger, in English and in a language whose texts are 40% longer.
#include "editor/Artwork.h"
#include "editor/TextEntry.h"
#include "editor/ToolCursors.h"
#include "editor/Translate.h"
#include "editor/formBrightness.h"
#include "editor/formChangepal.h"
#include "editor/formColors.h"
#include "editor/formColorBalance.h"
#include "editor/formDesk.h"
#include "editor/formDimension.h"
#include "editor/formFadeout.h"
#include "editor/formFilter.h"
#include "editor/formFrames.h"
#include "editor/formHue.h"
#include "editor/formImageToIco.h"
#include "editor/formNew.h"
#include "editor/formOpacity.h"
#include "editor/formPreview.h"
#include "editor/formProperties.h"
#include "editor/formRotate.h"
#include "editor/formTools.h"
#include "editor/formbrush.h"
#include "editor/formimagebig.h"
#include "editor/formshadow.h"
#include "editor/thumbnail.h"
#include "editor/thumbnailitem.h"
#include "engine/GifCodec.h"
#include "engine/MyIcon.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "shell/ShellPrompts.h"
#include "shell/About.h"
#include "shell/formBatch.h"
#include "shell/formCapture.h"
#include "shell/formExplorer.h"
#include "shell/formExtract.h"
#include "shell/formMain.h"
#include "shell/formOptions.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTextStream>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

using glimt::test::TempFiles;

// ---------------------------------------------------------------------------------------------
// What a control's text needs, by the metrics of the control's own font

// The text as the control shows it: a single "&" marks the mnemonic and is not drawn.
QString Shown(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                shown += QLatin1Char('&');
            ++i;
            if (i < text.size() && text[i] != QLatin1Char('&'))
                shown += text[i];
            continue;
        }
        shown += text[i];
    }
    return shown;
}

// The size of `w` that the widgets around it leave on screen. The contents of a scroll area
// scroll: along an axis with a scroll bar neither its viewport nor anything around it cuts them.
QSize VisibleSize(const QWidget* w)
{
    const QWidget* window = w->window();
    QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    bool scrollsX = false, scrollsY = false;
    for (const QWidget* c = w; !c->isWindow() && c->parentWidget(); c = c->parentWidget()) {
        const QWidget* p = c->parentWidget();
        const auto* area = p->parentWidget() ? qobject_cast<const QAbstractScrollArea*>(p->parentWidget()) : nullptr;
        if (area && area->viewport() == p) {
            scrollsX = scrollsX || area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
            scrollsY = scrollsY || area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
        }
        const QRect pr(p->mapTo(window, QPoint(0, 0)), p->size());
        if (!scrollsX) {
            r.setLeft(std::max(r.left(), pr.left()));
            r.setRight(std::min(r.right(), pr.right()));
        }
        if (!scrollsY) {
            r.setTop(std::max(r.top(), pr.top()));
            r.setBottom(std::min(r.bottom(), pr.bottom()));
        }
    }
    return QSize(std::max(0, r.width()), std::max(0, r.height()));
}

// Room a button keeps between its frame and its text: the frame and a pixel on either side.
int ButtonPadding(const QWidget* button)
{
    return 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) + 2;
}

int ComboNeed(const QComboBox* combo, const QString& item)
{
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    opt.subControls = QStyle::SC_All;
    // The ink of the text, as the combo box measures it for itself.
    const QFontMetrics fm(combo->font());
    const QSize text(fm.boundingRect(item).width(), fm.height());
    return combo->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, text, combo).width();
}

struct TNeed {
    QString what;
    QSize need; // 0 on an axis that is not measured
};

// What one control's texts need; nothing for other controls and for empty texts.
std::vector<TNeed> Needs(const QWidget* w)
{
    std::vector<TNeed> needs;
    const QFontMetrics fm(w->font());
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return needs;
        if (label->wordWrap())
            needs.push_back({label->text(), QSize(0, label->heightForWidth(label->width()))});
        else
            needs.push_back({label->text(), label->sizeHint()});
    } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
        const auto* button = static_cast<const QAbstractButton*>(w);
        if (!button->text().isEmpty())
            needs.push_back({button->text(), button->sizeHint()});
    } else if (const auto* push = qobject_cast<const QPushButton*>(w)) {
        if (!push->text().isEmpty()) {
            const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
            needs.push_back({push->text(), QSize(fm.size(Qt::TextShowMnemonic, push->text()).width() + icon + ButtonPadding(push), fm.height())});
        }
    } else if (const auto* tool = qobject_cast<const QToolButton*>(w)) {
        const bool textShown = tool->toolButtonStyle() != Qt::ToolButtonIconOnly || tool->icon().isNull();
        if (textShown && !tool->text().isEmpty() && !tool->defaultAction())
            needs.push_back({tool->text(), QSize(fm.size(Qt::TextShowMnemonic, tool->text()).width() + ButtonPadding(tool), fm.height())});
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        if (!group->title().isEmpty())
            needs.push_back({group->title(), QSize(fm.size(Qt::TextShowMnemonic, group->title() + QLatin1Char(' ')).width() + 16, 0)});
    } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            needs.push_back({combo->itemText(i), QSize(ComboNeed(combo, combo->itemText(i)), fm.height())});
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        // Only the short values (numbers, sizes) are meant to be read whole; a path scrolls.
        const QWidget* owner = edit->parentWidget();
        const bool inner = owner && (qobject_cast<const QComboBox*>(owner) || owner->inherits("QAbstractSpinBox"));
        if (!inner && !edit->text().isEmpty() && edit->text().size() <= 6) {
            const int frame = edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            needs.push_back({edit->text(), QSize(fm.horizontalAdvance(edit->text()) + frame + 4, fm.height())});
        }
    } else if (const auto* tile = qobject_cast<const TThumbnailItem*>(w)) {
        // The program's own captions (image formats, icon and frame numbers) are meant to be
        // read whole; a file name that does not fit ends in "..." by design.
        if (tile->ShowCaption && tile->FileName.isEmpty() && !tile->Caption.isEmpty())
            needs.push_back({tile->Caption, QSize(fm.horizontalAdvance(tile->Caption), 0)});
    }
    return needs;
}

// The texts of `window`'s shown controls that their controls cut, one line each.
QStringList CutTexts(QWidget* window)
{
    QStringList cut;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        const QSize have = VisibleSize(w);
        for (const TNeed& n : Needs(w)) {
            if (n.need.width() > have.width() || n.need.height() > have.height()) {
                QString path = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
                cut.append(QStringLiteral("%1 \"%2\": needs %3 x %4, shows %5 x %6")
                               .arg(path, n.what)
                               .arg(n.need.width())
                               .arg(n.need.height())
                               .arg(have.width())
                               .arg(have.height()));
            }
        }
    }
    return cut;
}

// Lets the windows serve what they asked of themselves: layouts that follow a changed text or
// font take more than one turn of the event loop.
void Settle()
{
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
}

// Every page of every tab widget of `window` is checked, each while it is the current one.
// With GLIMT_WINDOW_PICTURES naming a folder, every page of every window is also saved there as
// a picture, so that a run on a real display can be looked at.
void KeepPicture(QWidget* window, const QString& name, int page)
{
    const QString folder = qEnvironmentVariable("GLIMT_WINDOW_PICTURES");
    if (folder.isEmpty())
        return;
    QString file = name;
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
    const QString variant = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->value_param());
    window->grab().save(QStringLiteral("%1/%2-%3-%4.png").arg(folder, variant, file).arg(page));
}

QStringList CutTextsOnEveryPage(QWidget* window, const QString& name)
{
    QStringList cut = CutTexts(window);
    int page = 0;
    KeepPicture(window, name, page++);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible())
            continue;
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current)
                continue;
            tabs->setCurrentIndex(i);
            Settle();
            cut += CutTexts(window);
            KeepPicture(window, name, page++);
        }
        tabs->setCurrentIndex(current);
    }
    cut.removeDuplicates();
    return cut;
}

// ---------------------------------------------------------------------------------------------
// A language whose texts are 40% longer

bool IsForm(const QObject* o)
{
    return o->isWidgetType() && o->objectName().startsWith(QLatin1String("frm"));
}

using TSections = std::map<QString, std::map<QString, QString>>;

void Put(TSections& texts, const QString& section, const QString& key, const QString& text)
{
    if (!text.isEmpty() && !key.startsWith(QLatin1Char('.')))
        texts[section].emplace(key, text);
}

// The texts that the translator looks up below `owner`, by section and key, walked the way it
// walks: a form met below another takes over the section for itself, what lies below it and
// its later siblings.
void CollectTexts(QObject* owner, const QString& section, bool switchToForms, TSections& texts)
{
    QString working = section;
    for (QObject* child : owner->children()) {
        if (switchToForms && IsForm(child))
            working = child->objectName();
        const QString name = child->objectName();
        if (auto* action = qobject_cast<QAction*>(child))
            Put(texts, working, glimt::CaptionKey(name), action->text());
        if (auto* w = qobject_cast<QWidget*>(child)) {
            if (IsForm(w))
                Put(texts, working, glimt::CaptionKey(name), w->windowTitle());
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                Put(texts, working, glimt::CaptionKey(name), b->text());
            else if (auto* l = qobject_cast<QLabel*>(w))
                Put(texts, working, glimt::CaptionKey(name), l->text());
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                Put(texts, working, glimt::CaptionKey(name), g->title());
            else if (auto* c = qobject_cast<QComboBox*>(w))
                for (int k = 0; k < c->count(); ++k)
                    Put(texts, working, glimt::ItemKey(name, k), c->itemText(k));
            if (w->parentWidget() && w->parentWidget()->parentWidget())
                if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                    if (tabs->indexOf(w) >= 0)
                        Put(texts, working, glimt::CaptionKey(name), tabs->tabText(tabs->indexOf(w)));
        }
        CollectTexts(child, working, true, texts);
    }
}

// `text` made 40% longer (at least one character more) with its own letters added at its end,
// so that its mnemonic and placeholders stay as they are.
QString Longer(const QString& text)
{
    QString letters = Shown(text);
    letters.remove(QRegularExpression(QStringLiteral("%[si][12]|[^\\p{L}]")));
    if (letters.isEmpty())
        letters = QStringLiteral("x");
    const int extra = int(std::ceil(Shown(text).size() * 0.4));
    QString longer = text;
    for (int i = 0; i < extra; ++i)
        longer += letters[i % letters.size()].toLower();
    return longer;
}

void WriteLanguage(const QString& path, const TSections& texts)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QTextStream out(&file);
    for (const auto& [section, keys] : texts) {
        out << '[' << section << "]\n";
        for (const auto& [key, text] : keys)
            out << key << '=' << Longer(text) << '\n';
    }
    out << "[MSG]\n";
    std::size_t count = 0;
    const glimt::MessageText* table = glimt::MessageTable(count);
    for (std::size_t i = 0; i < count; ++i)
        out << table[i].key << '=' << Longer(QString::fromUtf8(table[i].english)) << '\n';
}

// ---------------------------------------------------------------------------------------------
// The program with every window it has

// The main window, shown with all its tool windows and a document of the usual formats, and
// every dialog and tool window of the program made as the commands make them.
class TProgram {
public:
    TProgram(const QString& exe, const QString& gif)
    {
        Options() = TOptions();
        Options().MainMaximized = false;
        Options().MainLeft = 0;
        Options().MainTop = 0;
        Options().MainWidth = 1200;
        Options().MainHeight = 900;
        Options().PrevVisible = Options().ColorsVisible = Options().ToolsVisible = Options().ExplorerVisible = true;
        Options().SidebarVisible = true;
        main = std::make_unique<TfrmMain>();
        main->show();
        QCoreApplication::processEvents();

        TmyImagePal first(256, 256, 32);
        main->CreateDocumentFromImage(first);
        desk = main->ActiveDesk();
        for (const auto& [side, depth] : {std::pair{256, 24}, {48, 8}, {32, 4}, {24, 24}, {16, 1}})
            desk->Icon->AddImage(side, side, depth);
        desk->FillImageCombo(true);

        // The translation a language change gives the windows that exist from the start.
        glimt::TranslateForm(main.get());
        glimt::TranslateForm(QStringLiteral("frmCanvas"), desk);
        desk->FillImageCombo(true);

        Add("frmMain", main.get());
        Add("frmPreview", main->PreviewWindow());
        Add("frmTools", main->Tools());
        Add("frmColors", main->ColorPanel());
        // A paletted image brings the palette's buttons.
        Add("frmColors (paletted image)", main->ColorPanel(), [d = desk] {
            d->cmbImages->setCurrentIndex(2);
            d->cmbImagesChange();
        });
        Add("frmExplorer", main->ExplorerWindow());
        Add("frmBrush", main->BrushWindow());
        Add("frmOptions", main->OptionsDialog());
        Add("frmAbout", main->About());
        Add("frmBrightness", new TfrmBrightness(main.get()));
        Add("frmColorBalance", new TfrmColorBalance(main.get()));
        Add("frmHue", new TfrmHue(main.get()));
        Add("frmFilter", main->CustomFilterDialog());
        Add("frmOpacity", new TfrmOpacity(main.get()));
        Add("frmShadow", new TfrmShadow(main.get()));
        Add("frmFadeout", new TfrmFadeout(main.get()));
        TfrmNewImage* newImage = main->NewImageDialog();
        Add("frmNewImage (with source)", newImage, [newImage] { newImage->ShowSourceGroup(true); });
        Add("frmNewImage (new document)", newImage, [newImage] { newImage->ShowSourceGroup(false); });
        TfrmProperties* properties = main->PropertiesDialog();
        Add("frmProperties", properties, [properties, d = desk] { properties->ShowFor(d); });
        Add("frmDimension", main->DimensionDialog());
        Add("frmChangePal", main->ChangePalDialog());
        Add("frmImageBig", main->ImageBigDialog());
        Add("frmRotate", main->RotateDialog());
        Add("frmImageToIco", main->ImageToIcoDialog());
        Add("frmText", main->Tools()->TextDialog());
        TfrmExtract* extract = main->ExtractDialog();
        Add("frmExtract", extract, [extract, exe] { extract->FileName = exe; });
        TfrmFrames* frames = glimt::FramesDialog();
        Add("frmFrames", frames, [frames, gif] { frames->FileName = gif; });
        TfrmBatch* batch = main->BatchDialog();
        Add("frmBatch (icons from images)", batch, [batch] { batch->rbIconImage->click(); });
        Add("frmBatch (images from icons)", batch, [batch] { batch->rbImageIcon->click(); });
        Add("frmBatch (icons from resources)", batch, [batch] { batch->rbResIcon->click(); });
        Add("frmCapture", new TfrmCapture(main.get()));
    }

    ~TProgram() { glimt::test::CloseMainWindow(main); }

    struct TWindow {
        QString name;
        QWidget* window;
        std::function<void()> prepare;
    };

    // Shows `w` as its command does (without waiting for it), returns what it cuts, hides it.
    static QStringList Open(const TWindow& w)
    {
        if (w.prepare)
            w.prepare();
        const bool wasShown = w.window->isVisible();
        w.window->show();
        Settle();
        const QStringList cut = CutTextsOnEveryPage(w.window, w.name);
        if (!wasShown)
            w.window->hide();
        QCoreApplication::processEvents();
        return cut;
    }

    std::unique_ptr<TfrmMain> main;
    TfrmDesk* desk = nullptr;
    std::vector<TWindow> windows;

private:
    void Add(const char* name, QWidget* window, std::function<void()> prepare = {})
    {
        windows.push_back({QString::fromLatin1(name), window, std::move(prepare)});
    }
};

struct TVariant {
    const char* name;
    bool largerFont;
    bool longerTexts;
};

void PrintTo(const TVariant& v, std::ostream* out)
{
    *out << v.name;
}

class ReadableWindows : public ::testing::TestWithParam<TVariant> {
protected:
    void SetUp() override
    {
        glimt::test::EnsureApplication();
        m_font = QApplication::font();
        // A module with one icon of three images, and a GIF of one frame.
        const QByteArray a = glimt::test::DibImage(16, 16, 4, 1), b = glimt::test::DibImage(32, 32, 4, 2),
                         c = glimt::test::DibImage(48, 48, 32, 3);
        glimt::test::ExeBuilder builder;
        builder.AddIcon(1, a).AddIcon(2, b).AddIcon(3, c);
        builder.AddGroup(1, glimt::test::GroupResource({glimt::test::EntryFor(a, 1), glimt::test::EntryFor(b, 2),
                                                        glimt::test::EntryFor(c, 3)}));
        m_exe = m_files.Write(QStringLiteral("tools.exe"), builder.Build(glimt::test::ExeBuilder::Format::Pe32));
        m_gif = m_files.Write(QStringLiteral("one.gif"),
            glimt::EncodeGif(3, 2, {0, 1, 0, 1, 0, 1}, {TmyPixel::CreateRGBA(0, 0, 0, 255), TmyPixel::CreateRGBA(255, 255, 255, 255)}, -1));

        if (GetParam().largerFont) {
            QFont larger = m_font;
            larger.setPointSizeF(m_font.pointSizeF() + 2);
            QApplication::setFont(larger);
        }
        if (GetParam().longerTexts) {
            // The keys are those of the windows as they are in English.
            TSections texts;
            {
                TProgram english(m_exe, m_gif);
                CollectTexts(english.main.get(), QStringLiteral("APP"), true, texts);
                for (const TProgram::TWindow& w : english.windows)
                    if (!w.window->parentWidget())
                        CollectTexts(w.window, w.window->objectName(), false, texts);
                TSections canvas;
                CollectTexts(english.desk, QStringLiteral("frmCanvas"), false, canvas);
                texts[QStringLiteral("frmCanvas")] = canvas[QStringLiteral("frmCanvas")];
            }
            const QString path = m_files.Path(QStringLiteral("Longer.lng"));
            WriteLanguage(path, texts);
            Lang().SetFileName(path);
        }
    }

    void TearDown() override
    {
        Lang().SetFileName(QString());
        QApplication::setFont(m_font);
    }

    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    glimt::ShellPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    TempFiles m_files;
    QString m_exe, m_gif;
    QFont m_font;
};

TEST_P(ReadableWindows, NoControlCutsItsText)
{
    TProgram program(m_exe, m_gif);
    std::set<QWidget*> distinct;
    for (const TProgram::TWindow& w : program.windows)
        distinct.insert(w.window);
    ASSERT_EQ(distinct.size(), 27u) << "the 26 windows made at start-up and the capture window";
    for (const TProgram::TWindow& w : program.windows) {
        const QStringList cut = TProgram::Open(w);
        EXPECT_TRUE(cut.isEmpty()) << w.name.toStdString() << ":\n  " << cut.join(QStringLiteral("\n  ")).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(, ReadableWindows,
    ::testing::Values(TVariant{"English", false, false}, TVariant{"EnglishLargerFont", true, false},
                      TVariant{"LongerTexts", false, true}, TVariant{"LongerTextsLargerFont", true, true}),
    [](const ::testing::TestParamInfo<TVariant>& info) { return std::string(info.param.name); });

} // namespace

namespace {

// What the program draws for itself follows the screen's density: its cursors, the glyphs of
// its buttons and the banners of its dialogs are made for as many screen pixels as they cover
// (this is seen at work in the run at a scale of 1.5).
TEST(ReadableWindowsPictures, AreDrawnForTheScreensDensity)
{
    glimt::test::EnsureApplication();
    glimt::test::FakeDialogs dialogs;
    glimt::ScopedUserDialogs installDialogs(&dialogs);
    TProgram program{QString(), QString()};
    const qreal dpr = program.main->devicePixelRatioF();
    EXPECT_EQ(dpr, qApp->devicePixelRatio());

    EXPECT_EQ(glimt::ScreenCursor(6).pixmap().devicePixelRatio(), dpr) << "the pencil";
    EXPECT_EQ(glimt::ScreenCursor(6).pixmap().size(), QSize(32, 32) * dpr);

    for (QToolButton* b : program.main->Tools()->findChildren<QToolButton*>()) {
        const QPixmap glyph = b->icon().pixmap(b->iconSize(), dpr);
        EXPECT_EQ(glyph.size(), b->iconSize() * dpr) << b->objectName().toStdString();
    }

    TfrmDimension* dialog = program.main->DimensionDialog();
    dialog->show();
    Settle();
    QLabel* banner = dialog->Image4;
    const QImage shown = banner->grab().toImage();
    EXPECT_EQ(shown.size(), banner->size() * dpr);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              glimt::DialogBanner(banner->size(), dpr).toImage().convertToFormat(QImage::Format_RGB32));
    dialog->hide();
}

} // namespace
