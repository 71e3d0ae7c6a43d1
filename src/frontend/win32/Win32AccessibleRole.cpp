#include "frontend/win32/Win32AccessibleRole.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace kelvrast {

namespace {

// The system's object for a control, passed through but for the role of the control itself. Windows gives a
// BUTTON and a LISTBOX their roles by itself; Wine's oleacc knows only an EDIT's and calls every other control a
// client area. Answered here, the roles are those of Windows' documentation on both.
class RoleObject final : public IAccessible {
public:
    RoleObject(IAccessible* standard, long role) : standard_(standard), role_(role) {}
    RoleObject(const RoleObject&) = delete;
    RoleObject& operator=(const RoleObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role)
            return E_POINTER;
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            role->vt = VT_I4;
            role->lVal = role_;
            return S_OK;
        }
        return standard_->get_accRole(child, role);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, wrongArgument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** made) override {
        return standard_->get_accChild(child, made);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~RoleObject() { standard_->Release(); }

    IAccessible* standard_;
    long role_;
    LONG references_ = 1;
};

// oleacc, and COM on this, the window's thread, for as long as the process lasts (the object goes to the screen
// reader through it): loaded when a screen reader first asks, so that the program starts without them.
struct Oleacc {
    decltype(&::CreateStdAccessibleObject) createStandardObject = nullptr;
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
};

template <typename Function> Function systemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

const Oleacc& oleacc() {
    static const Oleacc loaded = [] {
        if (const auto initialize = systemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"))
            initialize(nullptr, COINIT_APARTMENTTHREADED);
        return Oleacc{
            systemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject"),
            systemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject")};
    }();
    return loaded;
}

LRESULT CALLBACK answerObject(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR role) {
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        // The system's object made here does not ask the window again, so this is no loop.
        const Oleacc& library = oleacc();
        IAccessible* standard = nullptr;
        if (library.createStandardObject && library.lresultFromObject &&
            SUCCEEDED(library.createStandardObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&standard)))) {
            RoleObject* answer = new (std::nothrow) RoleObject(standard, static_cast<long>(role));
            if (!answer) {
                standard->Release();
            } else {
                const LRESULT handed = library.lresultFromObject(__uuidof(IAccessible), wParam, answer);
                answer->Release();
                if (handed >= 0)
                    return handed;
            }
        }
        // Failing that, the system answers as it would have.
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, &answerObject, 0);
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void answerWithRole(HWND control, long role) {
    ::SetWindowSubclass(control, &answerObject, 0, static_cast<DWORD_PTR>(role));
}

} // namespace kelvrast
