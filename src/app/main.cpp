// The Fabulor Skin Builder: an editor for the skins of the Fabulor Reader.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FontWarmUp.h"
#include "app/SkinBuilder.h"
#include "app/StartupProbe.h"

int main(int argc, char** argv)
{
    using fabulor::CommandLine;
    // --help and --version are answered before the window system is
    // reached, so they work without a display.
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    if (const CommandLine early = fabulor::ParseCommandLine(words);
        early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return fabulor::Answer(early);

    fabulor::FontWarmUp fonts; // on the other core while Qt connects to the display
    fabulor::Application app(argc, argv);
    fonts.wait();
    // Qt has taken its own options (-platform, -style, ...) off by now.
    const CommandLine line = fabulor::ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Start) return fabulor::Answer(line);
    fabulor::ArmStartupProbe(app, 2);
    fabulor::SkinBuilder builder(app);
    builder.show();
    if (!line.skinFile.isEmpty()) builder.openAtStart(line.skinFile);
    return app.exec();
}
