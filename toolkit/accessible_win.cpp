#include "toolkit/accessible_win.h"

#include "toolkit/accessible_describe_win.h"
#include "toolkit/control_window_win.h"

#include <oleacc.h>

#include <new>

namespace {

// oleacc is loaded when a screen reader first asks, so a program nobody reads never loads it.
struct Oleacc {
    bool tried;
    bool com_started;
    LRESULT(WINAPI* lresult_from_object)(REFIID, WPARAM, LPUNKNOWN);
    HRESULT(WINAPI* create_standard)(HWND, LONG, REFIID, void**);
    UINT(WINAPI* role_text)(DWORD, LPWSTR, UINT);
};

Oleacc g_oleacc = {};

template <typename Function>
void look_up(HMODULE module, const char* name, Function* function)
{
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Oleacc& oleacc()
{
    if (!g_oleacc.tried) {
        g_oleacc.tried = true;
        if (HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            look_up(module, "LresultFromObject", &g_oleacc.lresult_from_object);
            look_up(module, "CreateStdAccessibleObject", &g_oleacc.create_standard);
            look_up(module, "GetRoleTextW", &g_oleacc.role_text);
        }
    }
    return g_oleacc;
}

bool is_self(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT text_result(const std::u16string& text, BSTR* out)
{
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocString(reinterpret_cast<const wchar_t*>(text.c_str()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// One control as a screen reader sees it; it reads the window afresh on every question and
// answers nothing once the window is gone.
class ControlAccessible final : public IAccessible {
public:
    explicit ControlAccessible(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        *out = nullptr;
        if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        *parent = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override
    {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        *name = nullptr;
        return ready(child) ? text_result(accessible_name(window_), name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        *value = nullptr;
        return ready(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* description) override
    {
        *description = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return number_result(child, accessible_role(window_), role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return number_result(child, accessible_state(window_), state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override
    {
        *help = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override
    {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        *shortcut = nullptr;
        return ready(child) ? text_result(accessible_shortcut(window_), shortcut) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        bool focused = IsWindow(window_) && (accessible_state(window_) & STATE_SYSTEM_FOCUSED);
        return number_result(focused ? self() : VARIANT{}, CHILDID_SELF, focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override
    {
        *action = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        if (!ready(child) || !(flags & SELFLAG_TAKEFOCUS))
            return E_INVALIDARG;
        SetFocus(window_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        RECT rect = {};
        if (!ready(child) || !GetWindowRect(window_, &rect))
            return E_INVALIDARG;
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override
    {
        VariantInit(end);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override
    {
        RECT rect = {};
        bool inside = IsWindow(window_) && GetWindowRect(window_, &rect) && PtInRect(&rect, POINT{x, y});
        return number_result(inside ? self() : VARIANT{}, CHILDID_SELF, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool ready(const VARIANT& child) const { return is_self(child) && IsWindow(window_); }
    static VARIANT self()
    {
        VARIANT value;
        value.vt = VT_I4;
        value.lVal = CHILDID_SELF;
        return value;
    }
    // The number for the control itself; VT_EMPTY and S_FALSE when `child` is not it.
    HRESULT number_result(const VARIANT& child, LONG number, VARIANT* out) const
    {
        VariantInit(out);
        if (!ready(child))
            return child.vt == VT_EMPTY ? S_FALSE : E_INVALIDARG;
        out->vt = VT_I4;
        out->lVal = number;
        return S_OK;
    }

    HWND window_;
    LONG references_ = 1;
};

// The platform's standard proxy serves a control when it gives it a role of its own and a name.
bool proxy_serves(HWND window)
{
    IAccessible* proxy = nullptr;
    if (!oleacc().create_standard ||
        FAILED(oleacc().create_standard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&proxy))))
        return false;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role = {};
    BSTR name = nullptr;
    bool serves = SUCCEEDED(proxy->get_accRole(self, &role)) && role.vt == VT_I4 && role.lVal != ROLE_SYSTEM_CLIENT &&
                  proxy->get_accName(self, &name) == S_OK && name && SysStringLen(name) > 0;
    SysFreeString(name);
    proxy->Release();
    return serves;
}

}  // namespace

std::u16string accessible_role_text(LONG role)
{
    wchar_t text[64] = {};
    if (!oleacc().role_text || !oleacc().role_text(static_cast<DWORD>(role), text, 64))
        return u"";
    return reinterpret_cast<const char16_t*>(text);
}

LRESULT accessible_get_object(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = control_hwnd(record);
    LRESULT answer = control_call_previous(record, WM_GETOBJECT, wparam, lparam);
    if (answer || static_cast<LONG>(lparam) != OBJID_CLIENT || !oleacc().lresult_from_object || proxy_serves(window))
        return answer;
    auto* object = new (std::nothrow) ControlAccessible(window);
    if (!object)
        return 0;
    // Handing the object over marshals it, which needs COM on this thread; the toolkit's
    // thread keeps it from here on, as the images' start does.
    if (!g_oleacc.com_started)
        g_oleacc.com_started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    answer = oleacc().lresult_from_object(__uuidof(IAccessible), wparam, object);
    object->Release();
    return answer;
}
