#pragma once
// The window procedure of the program's own windows. Binding names the
// object that answers a window and how:
//   Object, Result (LRESULT or INT_PTR), kSlot (GWLP_USERDATA or DWLP_USER);
//   Object* Created(HWND, UINT, LPARAM): the object at the message that
//     brings it (null for every other message);
//   void Attach(Object&, HWND): the object takes the handle it came with;
//   Result Handle(Object&, HWND, UINT, WPARAM, LPARAM);
//   Result Unanswered(HWND, UINT, WPARAM, LPARAM): before the object exists;
//   Result Threw(HWND, UINT, WPARAM, LPARAM): when Handle threw;
//   void Release(Object&): at WM_NCDESTROY, after Handle, the object lets
//     the handle go.
#include <windows.h>

template <class Binding>
typename Binding::Result CALLBACK ObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    using Object = typename Binding::Object;
    // No exception may cross into the system's window manager.
    try {
        Object* object = Binding::Created(hwnd, message, lParam);
        if (object) {
            Binding::Attach(*object, hwnd);
            SetWindowLongPtrW(hwnd, Binding::kSlot, reinterpret_cast<LONG_PTR>(object));
        } else {
            object = reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, Binding::kSlot));
        }
        if (!object)
            return Binding::Unanswered(hwnd, message, wParam, lParam);
        if (message != WM_NCDESTROY)
            return Binding::Handle(*object, hwnd, message, wParam, lParam);
        // The last message: the handle is let go however its handler ends.
        struct Release {
            HWND hwnd;
            Object& object;
            ~Release() {
                SetWindowLongPtrW(hwnd, Binding::kSlot, 0);
                Binding::Release(object);
            }
        } release{hwnd, *object};
        return Binding::Handle(*object, hwnd, message, wParam, lParam);
    } catch (...) {
        return Binding::Threw(hwnd, message, wParam, lParam);
    }
}

// What the windows made by CreateWindowEx for an object have in common: the
// object is CreateWindowEx's last parameter, which comes with WM_NCCREATE,
// and the system answers what comes before it.
template <class T> struct CreatedWindowBinding {
    using Object = T;
    using Result = LRESULT;
    static constexpr int kSlot = GWLP_USERDATA;
    static T* Created(HWND, UINT message, LPARAM lParam) {
        if (message != WM_NCCREATE)
            return nullptr;
        return static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    }
    static LRESULT Unanswered(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};
