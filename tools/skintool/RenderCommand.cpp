// skintool render: a picture of a skin's window, drawn by the editor itself.
// The skin is loaded into the editor's windows, built headless, through the
// same load "Wczytaj z pliku" uses, and drawn by the editor's own
// SkinRender, so the picture is what the preview shows.
//
// The settings window is built too, though only the preview is drawn: the
// preview and the skin binding alone would take about a quarter less time,
// but would not always draw the same picture. A skin's fonts reach the
// preview through the font and size pickers of "Właściwości", which draw what
// they hold rather than what the skin says: a size outside the size picker's
// limits is drawn at its stand-in size, and the path labels share one sheet
// of pickers, so a later path label's size below 1 point is drawn at the
// first label's size and a later label without a font name of its own takes
// the first's. Without the pickers the binding draws each value as the skin
// gives it. Doing without the settings window first needs those rules in the
// binding itself.

#include "Command.h"

#include "app/Application.h"
#include "app/SkinBuilder.h"
#include "document/Errors.h"
#include "document/SkinSchema.h"
#include "editor/SettingsWindow.h"
#include "editor/SkinRender.h"
#include "preview/PreviewWindow.h"
#include "skinfile/ArchiveFile.h"
#include "widgets/Dialogs.h"
#include "widgets/FileNames.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryFile>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>

namespace skintool {
namespace {

constexpr std::string_view RenderUsage =
    "usage: skintool render FILE.ski OUT.png [--hover COMPONENT] [--size N]";
constexpr int MaxThumbnail = 4096;
// A window larger than this on either side is no reader's window; drawing
// it would only tie up memory (8192 x 8192 is 256 MiB of pixels).
constexpr int MaxRenderSide = 8192;

struct RenderOptions {
    std::string skin;
    std::string out;
    int hover = -1; // catalogue index
    int size = 0;   // 0: the window's own size
};

// The options, or a message saying what is wrong with them.
std::optional<std::string> ParseRenderOptions(Args args, RenderOptions& options)
{
    options.skin = args[0];
    options.out = args[1];
    bool hoverGiven = false;
    bool sizeGiven = false;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (option != "--hover" && option != "--size") return "unknown option " + option;
        if (i + 1 >= args.size()) return option + " needs a value";
        const std::string& value = args[i + 1];
        if (option == "--hover") {
            if (hoverGiven) return "--hover given twice";
            hoverGiven = true;
            options.hover = fabulor::ComponentIndex(value);
            if (options.hover < 0) return "unknown component " + value;
            if (!fabulor::HasMouseOverPicture(options.hover))
                return value + " is no button with a mouse-over picture";
        } else {
            if (sizeGiven) return "--size given twice";
            sizeGiven = true;
            int n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size() || n < 1 || n > MaxThumbnail)
                return "--size must be a whole number from 1 to " + std::to_string(MaxThumbnail) + ": " +
                       value;
            options.size = n;
        }
    }
    return std::nullopt;
}

// No dialog ever opens: a question is answered "no", and an error box the
// editor would show is kept to fail the render with.
class HeadlessDialogs : public fabulor::Dialogs {
public:
    void showError(const QString&, const QString& message) override
    {
        if (!error) error = message;
    }
    std::optional<QString> chooseFile(const fabulor::FileDialogOptions&, const QString&) override
    {
        return {};
    }
    std::optional<fabulor::Colour> chooseColour(fabulor::Colour) override { return {}; }
    fabulor::SaveChangesAnswer askSaveChanges(const QString&, const QString&) override
    {
        return fabulor::SaveChangesAnswer::Discard;
    }
    bool askSaveAnyway(const QString&, const QString&) override { return false; }
    bool askReplaceChangedFile(const QString&, const QString&) override { return false; }

    std::optional<QString> error;
};

// The longer side made n pixels long, proportions and transparency kept.
QImage Scaled(const QImage& image, int n)
{
    const bool wide = image.width() >= image.height();
    const int longer = wide ? image.width() : image.height();
    const int shorter = wide ? image.height() : image.width();
    const int scaledShorter = std::max(
        1, int((static_cast<long long>(shorter) * n * 2 + longer) / (static_cast<long long>(longer) * 2)));
    const QSize size = wide ? QSize(n, scaledShorter) : QSize(scaledShorter, n);
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The PNG goes into a file beside OUT that takes OUT's name only once it is
// whole: a render that fails leaves no half picture and an older OUT intact.
void WritePng(const QImage& image, const std::string& out)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) throw fabulor::EWriteError();
    const std::string path =
        std::filesystem::absolute(std::filesystem::path(out)).lexically_normal().string();
    fabulor::ReplacementFile file(path, std::nullopt);
    file.write(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    file.commit();
}

} // namespace

int runRender(Args args, std::ostream&, std::ostream& err)
{
    RenderOptions options;
    if (const std::optional<std::string> wrong = ParseRenderOptions(args, options)) {
        err << "skintool render: " << *wrong << '\n' << RenderUsage << '\n';
        return ExitUsage;
    }

    // Headless unless told otherwise: the windows are never meant to be seen.
    QTemporaryFile platform;
    fabulor::UseHeadlessPlatform(platform);
    // Qt's notes about what a headless platform cannot do are no concern of
    // the user's; its errors still are.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fputs(qPrintable(message + '\n'), stderr);
    });
    static int argc = 1;
    static char name[] = "skintool";
    static char* argv[] = {name, nullptr};
    // The editor's own application object: its fonts and substitutions.
    fabulor::Application app(argc, argv);
    auto dialogs = std::make_unique<HeadlessDialogs>();
    HeadlessDialogs& boxes = *dialogs;
    fabulor::SkinBuilder editor(app, std::move(dialogs));
    editor.show();
    // A failure to load ends here with the load's own message.
    editor.settings().LoadSkinFile(fabulor::FileNameFromBytes(options.skin), false);
    // Asked before the window is painted at that size.
    fabulor::TF& preview = editor.preview();
    if (preview.width() > MaxRenderSide || preview.height() > MaxRenderSide)
        throw fabulor::Exception("Cannot render a window of " + std::to_string(preview.width()) + " x " +
                                 std::to_string(preview.height()) + " pixels (at most " +
                                 std::to_string(MaxRenderSide) + " on either side)");
    // What the load left for the event loop (an error box among it) happens
    // before the picture is taken, as it would in the editor.
    QCoreApplication::processEvents();
    if (boxes.error) throw fabulor::Exception(boxes.error->toStdString());

    // Without a shape every pixel is opaque: the picture has no alpha
    // channel to write.
    QImage image = options.hover >= 0
                       ? fabulor::RenderSkinHovered(preview, editor.settings().hover(), options.hover)
                       : fabulor::RenderSkin(preview);
    if (options.size > 0) image = Scaled(image, options.size);
    WritePng(image, options.out);
    return ExitOk;
}

} // namespace skintool
