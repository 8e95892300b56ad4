#pragma once
// What a build on the console renders against, as the form would hand it
// over: the display context and installed fonts of this run and the values
// of the chosen printer model.
#include "app/printer_model.h"
#include "fontdata/registration_builder.h"

BuildEnvironment ConsoleBuildEnvironment(const PrinterModel& model, MessageSink& sink);
