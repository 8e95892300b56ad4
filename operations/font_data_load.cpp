#include "operations/font_data_load.h"

#include "fontdata/code_page.h"
#include "fontdata/font_data_file.h"
#include "operations/settings_record.h"
#include "res/resource_ids.h"

unsigned MessageForProblem(FontDataProblem problem) {
    switch (problem) {
    case FontDataProblem::None:
        return 0;
    case FontDataProblem::Damaged:
        return IDS_READ_FILE_FAILED;
    case FontDataProblem::OtherVersion:
        return IDS_FILE_VERSION;
    case FontDataProblem::NotFontData:
        return IDS_FILE_UNUSABLE;
    }
    return IDS_READ_FILE_FAILED;
}

FontDataLoad LoadFontDataInto(const uint8_t* data, size_t size, const std::string& fileName,
                              uint32_t ansiCodePage, SettingsRecord& doc) {
    const FontDataFile file = ParseFontDataFile(data, size);
    // The names are read within their fields and end on a whole character,
    // so that nothing downstream reads past them. A face that is only a lone
    // lead byte is no face: the form would build with whatever face its
    // list shows first.
    const std::string face = WholeCharacters(
        file.header.Text(FontHeader::kFaceName, FontHeader::kNameWidth), ansiCodePage);
    FontDataProblem problem = file.problem;
    if (problem == FontDataProblem::None && face.empty())
        problem = FontDataProblem::Damaged;
    FontDataLoad load;
    load.messageId = MessageForProblem(problem);
    // A damaged file changes nothing.
    if (problem == FontDataProblem::Damaged)
        return load;

    // The range and the file name are taken before the type and identifier
    // are looked at, so a refused file still leaves them behind.
    doc.SetRangeStart(file.rangeStart);
    doc.SetRangeEnd(file.rangeEnd);
    doc.SetDataFileName(fileName);
    if (problem != FontDataProblem::None)
        return load;

    doc.SetFontHeader(file.header);
    doc.ApplyFontHeader();
    doc.SetFaceName(face);
    doc.SetRegName(WholeCharacters(doc.GetRegName(), ansiCodePage));
    load.text.reserve(file.records.size());
    for (const GlyphRecord& record : file.records)
        load.text.push_back(char16_t(record.code));
    return load;
}

LOGFONTA DescribeLoadedFace(const SettingsRecord& doc) {
    // The face name itself goes in at the build, cut to whole characters of
    // the workstation's code page where it fills the file's 32 bytes.
    const FontHeader& h = doc.GetFontHeader();
    LOGFONTA lf = doc.GetLogFont();
    lf.lfCharSet = h.Byte(FontHeader::kCharSet);
    lf.lfPitchAndFamily = uint8_t(h.Byte(FontHeader::kPitch) | h.Byte(FontHeader::kFamily));
    return lf;
}
