// The Fabulor Skin Builder: an editor for the skins of the Fabulor Reader.

#include "app/Application.h"
#include "app/SkinBuilder.h"

int main(int argc, char** argv)
{
    fabulor::Application app(argc, argv);
    fabulor::SkinBuilder builder(app);
    builder.show();
    return app.exec();
}
