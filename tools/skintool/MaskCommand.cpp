// skintool mask-from: a window mask made from a picture by a key colour, as
// the editor's mask maker makes it.

#include "Command.h"
#include "InputFile.h"

#include "document/Errors.h"
#include "graphics/MaskMaker.h"
#include "graphics/PictureLimits.h"
#include "skinfile/ArchiveFile.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace skintool {

namespace {

constexpr std::string_view Usage = "usage: skintool mask-from PICTURE OUT.bmp --key COLOUR [--tolerance N]";

struct MaskOptions {
    std::string picture;
    std::string out;
    fabulor::MaskKey key;
};

std::optional<int> parseTolerance(const std::string& text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 0 || value > fabulor::MaxMaskTolerance) return std::nullopt;
    return value;
}

// The options in any order after the two file names' places; nothing (after
// saying why) when they do not make sense.
std::optional<MaskOptions> parseOptions(Args args, std::ostream& err)
{
    MaskOptions options;
    std::vector<std::string> files;
    bool haveKey = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--key" || word == "--tolerance") {
            if (i + 1 == args.size()) {
                err << "skintool mask-from: " << word << " needs a value\n";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (word == "--key") {
                const std::optional<QRgb> colour = fabulor::ParseKeyColour(value);
                if (!colour) {
                    err << "skintool mask-from: not a key colour: '" << value
                        << "' (use #RRGGBB, $00BBGGRR or a name such as clBlack)\n";
                    return std::nullopt;
                }
                options.key.colour = *colour;
                haveKey = true;
            } else {
                const std::optional<int> tolerance = parseTolerance(value);
                if (!tolerance) {
                    err << "skintool mask-from: the tolerance must be a whole number from 0 to 255, not '"
                        << value << "'\n";
                    return std::nullopt;
                }
                options.key.tolerance = *tolerance;
            }
        } else if (word.starts_with("--")) {
            err << "skintool mask-from: unknown option " << word << '\n';
            return std::nullopt;
        } else {
            files.push_back(word);
        }
    }
    if (files.size() != 2 || !haveKey) {
        err << Usage << '\n';
        return std::nullopt;
    }
    options.picture = files[0];
    options.out = files[1];
    return options;
}

} // namespace

// Prints WIDTHxHEIGHT hidden=N visible=M of the mask written.
int runMaskFrom(Args args, std::ostream& out, std::ostream& err)
{
    const std::optional<MaskOptions> options = parseOptions(args, err);
    if (!options) return ExitUsage;

    const std::vector<std::uint8_t> bytes = readInputFile(options->picture, fabulor::MaxPictureBytes);
    const QImage picture = fabulor::DecodeMaskSource(std::span<const std::uint8_t>(bytes));
    const fabulor::MadeMask mask = fabulor::MakeMask(picture, options->key);
    if (mask.verdict != fabulor::MaskVerdict::Usable)
        throw fabulor::Exception(std::string(fabulor::MaskVerdictMessage(mask.verdict)));
    const std::vector<std::uint8_t> bmp = fabulor::EncodeMaskBmp(mask.image);

    // Written beside the target and renamed over it, as skins are saved: a
    // failure leaves the old file whole.
    fabulor::ReplacementFile file(options->out, std::nullopt);
    file.write(bmp);
    file.commit();

    const std::uint64_t all = std::uint64_t(mask.image.width()) * std::uint64_t(mask.image.height());
    out << mask.image.width() << 'x' << mask.image.height() << " hidden=" << mask.hidden
        << " visible=" << all - mask.hidden << '\n';
    return ExitOk;
}

} // namespace skintool
