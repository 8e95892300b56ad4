#include "operations/installed_families.h"

#include <cstring>

#include "framework/code_page_text.h"
#include "operations/form_checks.h"

namespace {

InstalledFamilies& ListOf(LPARAM user) {
    return *reinterpret_cast<InstalledFamilies*>(user);
}

// The character set that goes with the system's ANSI code page (128 on a
// Japanese system), DEFAULT_CHARSET when the system cannot say.
BYTE SystemCharset() {
    CHARSETINFO info{};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<ULONG_PTR>(GetACP())), &info,
                              TCI_SRCCODEPAGE))
        return DEFAULT_CHARSET;
    return static_cast<BYTE>(info.ciCharset);
}

bool SameFace(const LOGFONTA& a, const LOGFONTA& b) {
    return std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

} // namespace

int CALLBACK CB_FontFamilyCount(const LOGFONTA*, const TEXTMETRICA*, DWORD fontType, LPARAM user) {
    InstalledFamilies& list = ListOf(user);
    if ((list.m_dwTypeMask & 0xFFFF) != 0 || (fontType & list.m_dwTypeMask) != 0)
        ++list.m_nFamilyCount;
    return 1;
}

int CALLBACK CB_FontFamilyInfo(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD fontType,
                               LPARAM user) {
    InstalledFamilies& list = ListOf(user);
    if (list.m_dwTypeMask != 0)
        list.StoreFamily(*logFont, fontType);
    return 1;
}

int CALLBACK CB_FontFullNameCount(const LOGFONTA*, const TEXTMETRICA*, DWORD fontType,
                                  LPARAM user) {
    if (fontType & TRUETYPE_FONTTYPE)
        ++ListOf(user).m_nFullNameCount;
    return 1;
}

int CALLBACK CB_FontFullNameInfo(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD fontType,
                                 LPARAM user) {
    InstalledFamilies& list = ListOf(user);
    if ((fontType & TRUETYPE_FONTTYPE) &&
        list.m_nFullNameCount < static_cast<int>(list.m_fullNames.size())) {
        // For a TrueType font the record is really an ENUMLOGFONTA.
        list.m_fullNames[list.m_nFullNameCount++] = *reinterpret_cast<const ENUMLOGFONTA*>(logFont);
    }
    return 1;
}

InstalledFamilies::InstalledFamilies(HDC hdc) : m_nSystemCharset(SystemCharset()) {
    CollectFamilies(hdc);
    DropRasterFamilies();
    TurnVerticalFamilies();
    CollectFullNames(hdc);
}

void InstalledFamilies::CollectFamilies(HDC hdc) {
    m_nFamilyCount = 0;
    m_dwTypeMask = TRUETYPE_FONTTYPE;
    EnumFontFamiliesA(hdc, nullptr, reinterpret_cast<FONTENUMPROCA>(CB_FontFamilyCount),
                      reinterpret_cast<LPARAM>(this));
    m_families.assign(m_nFamilyCount, LOGFONTA{});
    m_fontTypes.assign(m_nFamilyCount, 0);
    m_nFamilyCount = 0;
    EnumFontFamiliesA(hdc, nullptr, reinterpret_cast<FONTENUMPROCA>(CB_FontFamilyInfo),
                      reinterpret_cast<LPARAM>(this));
    m_families.resize(m_nFamilyCount);
    m_fontTypes.resize(m_nFamilyCount);
}

// Windows reports each family once with its native character set; Wine reports
// it once per character set it covers (a Japanese or Korean font first as
// Western). One record per face is kept where it was first seen, with the
// character set the face is best used with: the system code page's own when
// the family offers it, so a Japanese font stays Japanese on a Japanese
// system; else a Japanese, Korean or Chinese set, so a Korean font stays
// Korean there; else the first one reported.
void InstalledFamilies::StoreFamily(const LOGFONTA& logFont, DWORD fontType) {
    const auto rank = [this](BYTE charset) {
        if (charset == m_nSystemCharset)
            return 2;
        return TakesRegistrationText(charset) ? 1 : 0;
    };
    for (int i = 0; i < m_nFamilyCount; ++i) {
        if (!SameFace(m_families[i], logFont))
            continue;
        if (rank(logFont.lfCharSet) > rank(m_families[i].lfCharSet)) {
            m_families[i] = logFont;
            m_fontTypes[i] = fontType;
        }
        return;
    }
    if (m_nFamilyCount >= static_cast<int>(m_families.size()))
        return;
    m_families[m_nFamilyCount] = logFont;
    m_fontTypes[m_nFamilyCount] = fontType;
    ++m_nFamilyCount;
}

void InstalledFamilies::DropRasterFamilies() {
    int kept = 0;
    for (int i = 0; i < m_nFamilyCount; ++i) {
        if (m_fontTypes[i] & RASTER_FONTTYPE)
            continue;
        m_families[kept] = m_families[i];
        m_fontTypes[kept] = m_fontTypes[i];
        ++kept;
    }
    m_nFamilyCount = kept;
    m_families.resize(kept);
    m_fontTypes.resize(kept);
}

void InstalledFamilies::TurnVerticalFamilies() {
    for (LOGFONTA& family : m_families) {
        if (family.lfFaceName[0] == '@') {
            family.lfEscapement = 2700;
            family.lfOrientation = 2700;
        }
    }
}

void InstalledFamilies::CollectFullNames(HDC hdc) {
    m_nFullNameCount = 0;
    for (const LOGFONTA& family : m_families)
        EnumFontFamiliesA(hdc, family.lfFaceName,
                          reinterpret_cast<FONTENUMPROCA>(CB_FontFullNameCount),
                          reinterpret_cast<LPARAM>(this));
    m_fullNames.assign(m_nFullNameCount, ENUMLOGFONTA{});
    m_nFullNameCount = 0;
    for (const LOGFONTA& family : m_families)
        EnumFontFamiliesA(hdc, family.lfFaceName,
                          reinterpret_cast<FONTENUMPROCA>(CB_FontFullNameInfo),
                          reinterpret_cast<LPARAM>(this));
    m_fullNames.resize(m_nFullNameCount);
}

bool InstalledFamilies::GetAt(int index, LOGFONTA* out) const {
    if (index < 0 || index >= m_nFamilyCount)
        return false;
    *out = m_families[index];
    return true;
}

int InstalledFamilies::Find(const char* name, bool fullNames) const {
    if (fullNames) {
        for (int i = 0; i < m_nFullNameCount; ++i)
            if (lstrcmpA(reinterpret_cast<const char*>(m_fullNames[i].elfFullName), name) == 0)
                return i;
        return -1;
    }
    for (int i = 0; i < m_nFamilyCount; ++i)
        if (lstrcmpA(m_families[i].lfFaceName, name) == 0)
            return i;
    return -1;
}

bool InstalledFamilies::LookupAsMapped(const char* name, LOGFONTA* out) const {
    if (Lookup(name, out))
        return true;
    // The mapper compares face names without regard to case, as Unicode
    // does, not as the user's locale sorts them.
    const std::wstring wanted = FromCodePage(name);
    for (int i = 0; i < m_nFamilyCount; ++i) {
        const std::wstring face = FromCodePage(m_families[i].lfFaceName);
        if (CompareStringOrdinal(face.c_str(), int(face.size()), wanted.c_str(), int(wanted.size()),
                                 TRUE) == CSTR_EQUAL)
            return GetAt(i, out);
    }
    return false;
}
