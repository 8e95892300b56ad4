// Glyphkit.exe: the window program.
#include <windows.h>

#include "app/glyphkit_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return RunGlyphkit(instance, showCommand);
}
