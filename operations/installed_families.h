#pragma once
// The installed font families, built once at start-up from a device context:
// one LOGFONTA per TrueType (or vector) family, raster families dropped,
// vertical-writing "@" families turned by 270 degrees, plus one full-name
// record per TrueType style of every family.
#include <windows.h>

#include <vector>

class InstalledFamilies {
public:
    explicit InstalledFamilies(HDC hdc);

    int Count(bool fullNames) const { return fullNames ? m_nFullNameCount : m_nFamilyCount; }
    bool GetAt(int index, LOGFONTA* out) const;
    // Index of the first family (or full name) equal to name, -1 when none.
    int Find(const char* name, bool fullNames) const;
    bool Lookup(const char* name, LOGFONTA* out) const { return GetAt(Find(name, false), out); }
    // The family the system's font mapper takes for name: the one of that
    // name, else one whose name differs from it only in case.
    bool LookupAsMapped(const char* name, LOGFONTA* out) const;

    // The enumeration procedures; the user value is the list.
    friend int CALLBACK CB_FontFamilyCount(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
    friend int CALLBACK CB_FontFamilyInfo(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
    friend int CALLBACK CB_FontFullNameCount(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
    friend int CALLBACK CB_FontFullNameInfo(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);

private:
    void CollectFamilies(HDC hdc);
    void DropRasterFamilies();
    void TurnVerticalFamilies();
    void CollectFullNames(HDC hdc);
    void StoreFamily(const LOGFONTA& logFont, DWORD fontType);

    int m_nFamilyCount = 0;
    DWORD m_dwTypeMask = 0;
    std::vector<DWORD> m_fontTypes;
    std::vector<LOGFONTA> m_families;
    int m_nFullNameCount = 0;
    DWORD m_dwReserved = 0;
    std::vector<ENUMLOGFONTA> m_fullNames;
    BYTE m_nSystemCharset = DEFAULT_CHARSET;
};

int CALLBACK CB_FontFamilyCount(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
int CALLBACK CB_FontFamilyInfo(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
int CALLBACK CB_FontFullNameCount(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
int CALLBACK CB_FontFullNameInfo(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM);
