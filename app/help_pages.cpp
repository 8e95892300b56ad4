#include "app/help_pages.h"

#include "res/batch_provision_ids.h"
#include "res/control_ids.h"
#include "res/registration_check_ids.h"

const char kHelpContentsPage[] = "index.htm";

std::string HelpPageOf(int windowId) {
    static const struct {
        int windowId;
        const char* page;
    } kPages[] = {
        {IDR_MAINFRAME, "mainwin.htm"},          {IDD_GLYPHKIT_FORM, "mainwin.htm"},
        {IDD_SELECT_PRINTER, "startup.htm"},     {IDD_ABOUTBOX, "mainwin.htm"},
        {IDD_REGISTRATION_CHECK, "mainwin.htm"}, {IDD_COMPORT, "comport.htm"},
        {IDD_NETWORK_PRINTER, "network.htm"},    {IDD_PRINTER_WAIT, "manage.htm"},
        {IDD_PROGRESS, "download.htm"},          {IDD_FONT_DETAIL, "details.htm"},
        {IDD_LOGO_DETAIL, "details.htm"},        {IDD_BATCH_PROVISION, "batch.htm"},
    };
    for (const auto& entry : kPages)
        if (entry.windowId == windowId)
            return entry.page;
    return std::string();
}

std::string HelpTopicOf(const std::string& helpFilePath, const std::string& page) {
    return page.empty() ? helpFilePath : helpFilePath + "::/" + page;
}
