// What help COMMAND prints after the usage line, for the commands whose
// input and outcome need more than their usage says.
#include "tools/cli/command_help.h"

const wchar_t kCheckDetails[] =
    L"\n"
    L"Builds the registration as a download would send it, without a printer, and\n"
    L"prints what the window's registration check shows, one key=value a line:\n"
    L"count, bytes_per_glyph, memory_bytes (characters x (bytes per glyph + 10)),\n"
    L"fits_240KB, cell, cell_mm, then missing=U+XXXX for each character the face has\n"
    L"no glyph for (registered as its empty box) and dropped=U+XXXX for each one its\n"
    L"code page cannot hold (not registered). A FILE.kfd is checked as a download of\n"
    L"its characters would build it; a face that is not installed is named.\n"
    L"\n"
    L"  --face NAME --size PT --name REGNAME   the form's fields, as build takes them,\n"
    L"        with [--bold] [--italic] [--text TEXT | --text-file FILE [--unicode]]\n"
    L"        [--range START-END] [--model QC150|QW300|QW400] (default QC150)\n"
    L"  FILE.kfd [--model M]   a font data file, rendered for its own model or M\n"
    L"  --image FILE.bmp       also write the sheet of glyphs as a 1-bit BMP file\n"
    L"  --zoom 1|2|4|8         screen pixels per dot of that sheet (with --image)\n"
    L"  --fit                  also largest_size_fitting=N: the largest size from 1\n"
    L"        to 72 whose registration fits an empty printer (0: not even 1 point)\n"
    L"  --port P [--id N]      with --fit, also largest_size_fitting_free=N for the\n"
    L"        free memory of printer P, entry N counted as freed by the download\n"
    L"  --line TEXT            line_missing=U+XXXX for each character of TEXT the\n"
    L"        registration lacks; with --image, the image is that line as the\n"
    L"        printer prints it, under a millimetre ruler, instead of the sheet\n"
    L"  --json                 print one JSON object instead of the lines: count,\n"
    L"        bytes_per_glyph, memory_bytes (numbers), fits_240KB (true or false),\n"
    L"        cell and cell_mm (\"24x24\", \"3.0x3.0\"), missing and dropped (lists of\n"
    L"        {\"code\":\"U+XXXX\",\"character\":C}, C empty where it cannot be shown),\n"
    L"        with --fit largest_size_fitting and largest_size_fitting_free (null\n"
    L"        without --port), with --line line_missing as such a list\n"
    L"\n"
    L"Exit status: 0 checked (whether or not it fits), 1 the registration or its file\n"
    L"was refused (the message printed) or the image could not be written, 2 a usage\n"
    L"error; Ctrl+C ends it with 1.\n";

// The printers of list, delete and clear, and what they print for many.
#define GLYPHKIT_PRINTERS_HELP                                                                     \
    L"  --port P[,P...]    the printers: COM port numbers 1 to 20 (default 1) and network\n"       \
    L"                     addresses HOST[:PORT] (port 9100 when none is given)\n"                 \
    L"  --ports-file FILE  the printers of a list file too: UTF-8, one a line as --port\n"         \
    L"                     spells it, blank lines skipped, from a # on a comment\n"                \
    L"  --jobs N           serve at most N printers at once, 1 to 256 (default 16)\n"              \
    L"  --json             one JSON object a line per printer instead of the blocks:\n"            \
    L"        {\"printer\":\"COM3\",\"address\":\"COM3\",\"status\":\"ok\",\"changed\":false,\n"   \
    L"         \"message\":\"\",\"entries\":[{\"id\":7,\"name\":\"NAME\",\"kind\":\"font\",\n"     \
    L"         \"characters\":100,\"bytes\":7200,\"size\":7200}],\"memory\":8200}\n"               \
    L"        printer as the messages name it, address the endpoint reached (null when\n"          \
    L"        none was), status ok, failed or cancelled, changed whether anything was\n"           \
    L"        deleted, message what the printer said or why it failed, kind font or\n"             \
    L"        logo, bytes (and size) the glyph data, memory the bytes in use (null\n"              \
    L"        unless ok)\n"                                                                        \
    L"\n"                                                                                          \
    L"On several printers (or with --ports-file) each printer gets a block with what\n"            \
    L"it said and holds, then a table of them all: printer, registrations, memory\n"               \
    L"used and status. Two entries that reach one printer are a usage error. One\n"                \
    L"printer is checked and answered as a list of one; only its text without\n"                   \
    L"--json is the window's.\n"

const wchar_t kListDetails[] =
    L"\n"
    L"Lists what each printer holds, a line per font or logo (\"ID07 NAME 7200byte\")\n"
    L"and the memory it takes; one printer without --json as the window shows it.\n"
    L"\n" GLYPHKIT_PRINTERS_HELP L"\n"
    L"Exit status: 0 every printer listed (also when it holds nothing), 1 a printer\n"
    L"did not answer, its listing was damaged or its answer was no printer's,\n"
    L"2 a usage error.\n";

const wchar_t kUpkeepDetails[] =
    L"\n"
    L"Deletes the registration ID N (delete) or everything (clear) on each printer,\n"
    L"and lists what it holds afterwards. One printer: as the window does, asking\n"
    L"first. Several, or --json: asked once for all of them on a console; --yes\n"
    L"(or --confirm yes) answers for all, and is needed when there is no console to\n"
    L"ask; --yes with --confirm no is a usage error. A printer that holds nothing to\n"
    L"delete is as it should be: ok, changed false, status 0.\n"
    L"\n" GLYPHKIT_PRINTERS_HELP L"\n"
    L"Exit status: 0 every printer answered, 1 a printer failed or the operator said\n"
    L"no (nothing deleted), 2 a usage error.\n";

#undef GLYPHKIT_PRINTERS_HELP

const wchar_t kDownloadDetails[] =
    L"\n"
    L"Sends the registration of FILE.kfd to the printer as registration ID N, as the\n"
    L"window's download does, with a progress bar on standard error. On several\n"
    L"printers (--port 1,2,printer-3), or with --converge or --json, it is a\n"
    L"provisioning plan of that one line: see help provision for --jobs,\n"
    L"--converge, --json, the summary lines and the exit statuses.\n";

const wchar_t kProvisionDetails[] =
    L"\n"
    L"Stores every registration of PLAN in each printer, several printers at once.\n"
    L"\n"
    L"PLAN is a UTF-8 text file (with or without BOM, at most 1 MB) of lines\n"
    L"  ID FILE.kfd\n"
    L"the registration ID 0 to 99, each ID once, the font data file relative to the\n"
    L"plan's folder; blank lines and lines beginning with # are skipped. The whole\n"
    L"plan is loaded and rendered before any printer is opened, and together it must\n"
    L"fit the printer's 240 KB; a bad plan names its line. Then each printer stores\n"
    L"the plan in order and is listed, and its listing must show each planned ID\n"
    L"with its name, character count, size and character codes.\n"
    L"\n"
    L"  --port P[,P...]     the printers: COM port numbers 1 to 20 and network\n"
    L"                      addresses HOST[:PORT] (port 9100 when none is given)\n"
    L"  --ports-file FILE   the printers of a list file too (see help list)\n"
    L"  --jobs N            serve at most N printers at once, 1 to 256 (default 16);\n"
    L"                      the others wait their turn in the order given\n"
    L"  --clear             delete everything each printer holds first\n"
    L"  --converge          list each printer first and send only the registrations\n"
    L"                      its listing does not show exactly as planned (ID, name,\n"
    L"                      character count, size, character codes); the others are\n"
    L"                      kept. A planned ID that holds something else is replaced\n"
    L"                      unless --overwrite no. Not with --clear.\n"
    L"  --overwrite yes|no  replace an ID a printer holds already (default no, with\n"
    L"                      --converge yes)\n"
    L"  --model M           render for QC150, QW300 or QW400 (default: each file's own)\n"
    L"  --json              one JSON object a line per printer instead of the summary\n"
    L"                      lines (progress lines stay on standard error)\n"
    L"\n"
    L"A progress line per printer goes to standard error, then one line per printer\n"
    L"to standard output: \"COMn ok: ID01 ID02, memory K/240 KB\" (with --converge\n"
    L"\"COMn ok: ID02, kept ID01, memory K/240 KB\"), or where and why it failed or\n"
    L"that Ctrl+C cancelled it. With --json each line reads\n"
    L"  {\"printer\":\"COM1\",\"address\":\"COM1\",\"status\":\"ok\",\"changed\":true,\n"
    L"   \"step\":\"done\",\"message\":\"\",\"stored\":[2],\"kept\":[1],\"memory\":22528}\n"
    L"status ok, failed or cancelled; step the one it ended in: waiting, opening,\n"
    L"clearing, first_listing, registering (then also \"id\":N), listing or done;\n"
    L"message why it failed as the summary line says it, else empty; stored and\n"
    L"kept the IDs this run sent and found as planned, both confirmed by the\n"
    L"printer's listing and empty unless ok; memory the bytes in use, null unless ok.\n"
    L"\n"
    L"Exit status: 0 every printer stored the plan, 1 a printer failed or Ctrl+C\n"
    L"stopped the run (the printers are closed first; those whose turn had not come\n"
    L"are not touched), 2 a usage error or a bad plan (no printer opened).\n";
