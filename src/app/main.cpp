// The Fabulor Skin Builder: an editor for the skins of the Fabulor Reader.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FontWarmUp.h"
#include "app/SkinBuilder.h"
#include "app/StartupProbe.h"
#include "editor/PictureLoading.h"

int main(int argc, char** argv)
{
    using fabulor::CommandLine;
    // --help and --version are answered before the window system is
    // reached, so they work without a display.
    if (const CommandLine early = fabulor::ParseCommandLine(fabulor::ProgramWords(argc, argv));
        early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return fabulor::Answer(early);

    fabulor::FontWarmUp fonts; // on the other core while Qt connects to the display
    fabulor::Application app(argc, argv);
    fonts.wait();
    // Qt has taken its own options (-platform, -style, ...) off argv by now.
    const CommandLine line = fabulor::ParseCommandLine(fabulor::ProgramWords(argc, argv));
    if (line.action != CommandLine::Action::Start) return fabulor::Answer(line);
    fabulor::SkinBuilder builder(app);
    // The windows come first; pictures load behind them.
    builder.settings().pictures().loadPicturesInBackground(true);
    fabulor::ArmStartupProbe(app, 2, [&builder] { return !builder.settings().pictures().Pictures->busy(); });
    builder.show();
    if (!line.skinFile.isEmpty()) builder.openAtStart(line.skinFile);
    return app.exec();
}
