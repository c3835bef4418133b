// The yardstick of the start-up benchmark: a bare Qt Widgets program that
// shows two empty top-level windows, built like the editor, with the same
// probe that times the editor's start.

#include "app/StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    fabulor::ArmStartupProbe(app, 2);
    QWidget first;
    first.resize(623, 364);
    first.show();
    QWidget second;
    second.resize(420, 560);
    second.show();
    return app.exec();
}
