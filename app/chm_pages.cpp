#include "app/chm_pages.h"

#include <windows.h>

#include <objbase.h>

#include <cwctype>
#include <vector>

// The storage of compiled help files, which both Windows and Wine provide
// (itss.dll) without a header for it: the methods up to the one used here,
// in their order. Outside the unnamed namespace: there the compiler would
// take it that no class implements it and drop the calls.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                   IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority,
                                                     DWORD mode, SNB exclude, DWORD reserved,
                                                     IStorage** opened) = 0;
};

namespace {

const CLSID kClsidItStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidItStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

// Releases a COM object when it goes.
template <class T> struct Held {
    T* p = nullptr;
    ~Held() {
        if (p)
            p->Release();
    }
};

// COM for this thread while the extraction runs, if it was not there yet.
struct ComForThread {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComForThread() {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
};

// A file of the top folder a page may name: letters, digits and ".-_" only,
// which also keeps the help file's own tables ("#SYSTEM", "$FIftiMain") and
// anything that would lead out of the folder away.
bool IsPageName(const std::wstring& name) {
    if (name.empty() || name[0] == L'.')
        return false;
    for (wchar_t c : name)
        if (!(std::iswalnum(c) || c == L'.' || c == L'-' || c == L'_'))
            return false;
    return true;
}

bool CopyStream(IStorage& storage, const std::wstring& name, const std::wstring& target) {
    Held<IStream> stream;
    if (FAILED(storage.OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                  &stream.p)))
        return false;
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = stream.p->Read(buffer.data(), ULONG(buffer.size()), &read);
        DWORD wrote = 0;
        if (FAILED(hr) ||
            (read && (!WriteFile(file, buffer.data(), read, &wrote, nullptr) || wrote != read))) {
            written = false;
            break;
        }
        if (read < buffer.size())
            break;
    }
    CloseHandle(file);
    return written;
}

} // namespace

bool ExtractChmPages(const std::wstring& helpFile, const std::wstring& folder) {
    ComForThread com;
    Held<IITStorage> itss;
    if (FAILED(CoCreateInstance(kClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, kIidItStorage,
                                reinterpret_cast<void**>(&itss.p))))
        return false;
    Held<IStorage> storage;
    if (FAILED(itss.p->StgOpenStorage(helpFile.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE,
                                      nullptr, 0, &storage.p)))
        return false;
    Held<IEnumSTATSTG> entries;
    if (FAILED(storage.p->EnumElements(0, nullptr, 0, &entries.p)))
        return false;
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    bool all = true;
    size_t pages = 0;
    STATSTG entry;
    ULONG fetched = 0; // Wine's enumerator writes it even when not asked
    while (entries.p->Next(1, &entry, &fetched) == S_OK && fetched == 1) {
        // Wine names the entries by their path in the file ("/index.htm"),
        // Windows by their name.
        std::wstring name = entry.pwcsName ? entry.pwcsName : L"";
        CoTaskMemFree(entry.pwcsName);
        if (!name.empty() && name[0] == L'/')
            name.erase(0, 1);
        if (entry.type != STGTY_STREAM || !IsPageName(name))
            continue;
        if (CopyStream(*storage.p, name, folder + L"\\" + name))
            ++pages;
        else
            all = false;
    }
    return all && pages > 0;
}
