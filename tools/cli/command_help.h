#pragma once
// The longer help texts of glyphkit-cli's commands: what the command does, its
// input, options and exit statuses.

extern const wchar_t kCheckDetails[];
extern const wchar_t kListDetails[];
extern const wchar_t kUpkeepDetails[];
extern const wchar_t kDownloadDetails[];
extern const wchar_t kProvisionDetails[];
