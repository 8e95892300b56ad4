#pragma once
// The version of Glyphkit.exe, read back at run time from its version
// information (the About dialog and the help file's name).
#define GLYPHKIT_FILEVERSION 9, 1, 0, 20
#define GLYPHKIT_FILEVERSION_TEXT "9.1.0.20"
