#pragma once
// The characters of a registration as the console tool takes them: --text,
// or --text-file FILE [--unicode], and --range START-END (32-255).
#include <string>

#include "tools/cli/cli_args.h"

struct RegistrationInput {
    std::u16string text;
    bool rangeOn = false;
    int rangeStart = 32;
    int rangeEnd = 255;
};

// Fills input from the options. Returns 0 on success, else the exit status
// after printing why (2 for bad options, 1 for an unreadable or oversized file).
int ReadRegistrationInput(const CliArgs& args, RegistrationInput* input);

// Only the text: --text, or --text-file FILE [--unicode]; empty when neither.
// Returns as ReadRegistrationInput does.
int ReadRegistrationText(const CliArgs& args, std::u16string* text);
