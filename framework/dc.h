#pragma once
// Device contexts and GDI objects that clean up after themselves: a context
// created here is deleted; a selected object is
// selected back and a saved state restored on every path out of a scope.
#include <windows.h>

#include <utility>

class CDC {
public:
    CDC() = default;
    virtual ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

    // A memory context compatible with reference (the screen when null).
    bool CreateCompatibleDC(HDC reference);
    // Deletes the context this object created.
    void DeleteDC();

private:
    HDC m_hDC = nullptr;
};

// The description of a 1-bit device-independent bitmap: width by |height|
// dots (height < 0: rows top first), colour 0 and colour 1.
struct MonochromeBitmapInfo {
    MonochromeBitmapInfo(int width, int height, RGBQUAD zero, RGBQUAD one) : colours{zero, one} {
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 1;
        header.biCompression = BI_RGB;
    }
    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }

    BITMAPINFOHEADER header{};
    RGBQUAD colours[2];
};

// The context of a window's client area (GetDC), released at the end of the
// scope.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(GetDC(hwnd)) {}
    ~ScopedWindowDC() {
        if (m_hDC)
            ReleaseDC(m_hWnd, m_hDC);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

    HDC Get() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// BeginPaint at construction, EndPaint at the end of the scope.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : m_hWnd(hwnd), m_hDC(BeginPaint(hwnd, &m_paint)) {}
    ~ScopedPaint() {
        if (m_hDC)
            EndPaint(m_hWnd, &m_paint);
    }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC Get() const { return m_hDC; }
    // The rectangle to be painted, in client coordinates.
    const RECT& Area() const { return m_paint.rcPaint; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hDC;
};

// A context of the whole display (CreateDC "DISPLAY"), deleted when the
// object goes.
class ScopedDisplayDC {
public:
    ScopedDisplayDC() : m_hDC(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    ~ScopedDisplayDC() {
        if (m_hDC)
            DeleteDC(m_hDC);
    }
    ScopedDisplayDC(const ScopedDisplayDC&) = delete;
    ScopedDisplayDC& operator=(const ScopedDisplayDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Deletes a created GDI object (font, bitmap) when the scope ends.
template <class Handle> class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle = nullptr) : m_handle(handle) {}
    ~ScopedGdiObject() { Reset(); }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle;
};

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// Selects an object into a context and selects the previous one back at the
// end of the scope, so the object can be deleted afterwards.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC hdc, HGDIOBJ object)
        : m_hDC(hdc), m_previous(object ? SelectObject(hdc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (m_previous && m_previous != HGDI_ERROR)
            SelectObject(m_hDC, m_previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    bool ok() const { return m_previous != nullptr && m_previous != HGDI_ERROR; }

private:
    HDC m_hDC;
    HGDIOBJ m_previous;
};

// SaveDC at construction, RestoreDC at the end of the scope.
class ScopedSaveDC {
public:
    explicit ScopedSaveDC(HDC hdc) : m_hDC(hdc), m_nState(hdc ? SaveDC(hdc) : 0) {}
    ~ScopedSaveDC() {
        if (m_nState)
            RestoreDC(m_hDC, m_nState);
    }
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;

private:
    HDC m_hDC;
    int m_nState;
};
