#include "tools/cli/build_environment.h"

#include "tools/cli/installed_fonts.h"

BuildEnvironment ConsoleBuildEnvironment(const PrinterModel& model, MessageSink& sink) {
    BuildEnvironment environment;
    environment.reference = DisplayContext();
    environment.resolution = model.resolution;
    environment.fonts = &InstalledFonts();
    environment.sink = &sink;
    environment.caption = model.caption;
    return environment;
}
