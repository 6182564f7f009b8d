#include "toolkit/controls/web_site_win.h"

#include "toolkit/controls/web_view.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>

#include <new>

namespace {

// The platform's HTML document object, which exists only where a web engine is installed.
constexpr CLSID HTML_DOCUMENT = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// Owns a BSTR for the duration of a call.
struct Bstr {
    explicit Bstr(const char16_t* text) : value(SysAllocString(reinterpret_cast<const OLECHAR*>(text))) {}
    ~Bstr() { SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR value;
};

template <typename T> void release(T** pointer)
{
    if (*pointer)
        (*pointer)->Release();
    *pointer = nullptr;
}

}  // namespace

// The host's side of the platform's embedding interfaces: client site, in-place site and
// frame, and the sink of the browser's events. Most calls need no answer beyond success.
struct WebSite final : IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame, DWebBrowserEvents2 {
    WebSite(HWND host, WebLoaded on_loaded, void* on_loaded_context)
        : window(host), loaded(on_loaded), context(on_loaded_context)
    {
    }

    HWND window;
    WebLoaded loaded;
    void* context;
    ULONG references = 1;
    IOleObject* object = nullptr;
    IWebBrowser2* browser = nullptr;
    IConnectionPoint* events = nullptr;
    DWORD cookie = 0;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void** out) override
    {
        *out = nullptr;
        if (id == IID_IUnknown || id == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (id == IID_IOleWindow || id == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (id == IID_IOleInPlaceFrame || id == IID_IOleInPlaceUIWindow)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (id == IID_IDispatch || id == DIID_DWebBrowserEvents2)
            *out = static_cast<DWebBrowserEvents2*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** container) override
    {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of both the site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override
    {
        *out = window;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                  RECT* clip, OLEINPLACEFRAMEINFO* info) override
    {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        GetClientRect(window, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(window, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, menus or status line.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch, as the browser's event sink: only a loaded top-level page matters.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                        UINT*) override
    {
        if (id == DISPID_DOCUMENTCOMPLETE && is_top_level(parameters) && loaded)
            loaded(context);
        return S_OK;
    }

    // The page's object comes first among the event's arguments, which arrive last first.
    bool is_top_level(const DISPPARAMS* parameters) const
    {
        if (!browser || !parameters || parameters->cArgs < 2 || parameters->rgvarg[1].vt != VT_DISPATCH)
            return false;
        IUnknown* page = nullptr;
        IUnknown* own = nullptr;
        IDispatch* sender = parameters->rgvarg[1].pdispVal;
        bool same = sender && SUCCEEDED(sender->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&page))) &&
                    SUCCEEDED(browser->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&own))) && page == own;
        release(&page);
        release(&own);
        return same;
    }
};

namespace {

bool connect_events(WebSite* site)
{
    IConnectionPointContainer* points = nullptr;
    if (FAILED(site->browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points))))
        return false;
    bool connected = SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &site->events)) &&
                     SUCCEEDED(site->events->Advise(static_cast<DWebBrowserEvents2*>(site), &site->cookie));
    release(&points);
    return connected;
}

bool activate(WebSite* site)
{
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&site->object))))
        return false;
    if (FAILED(site->object->SetClientSite(static_cast<IOleClientSite*>(site))))
        return false;
    RECT area = {};
    GetClientRect(site->window, &area);
    if (FAILED(site->object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site), 0,
                                    site->window, &area)))
        return false;
    if (FAILED(site->object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&site->browser))))
        return false;
    return connect_events(site);
}

template <typename T> T* browser_part(WebSite* site, REFIID id)
{
    T* part = nullptr;
    if (site->object)
        site->object->QueryInterface(id, reinterpret_cast<void**>(&part));
    return part;
}

}  // namespace

bool web_engine_present()
{
    static int present = -1;
    if (present == -1) {
        OleInitialize(nullptr);
        IUnknown* document = nullptr;
        present = SUCCEEDED(CoCreateInstance(HTML_DOCUMENT, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                             reinterpret_cast<void**>(&document)));
        release(&document);
    }
    return present == 1;
}

WebSite* web_site_open(HWND window, const char16_t* address, WebLoaded loaded, void* context)
{
    auto* site = new (std::nothrow) WebSite(window, loaded, context);
    if (!site)
        return nullptr;
    if (!activate(site)) {
        web_site_close(site);
        return nullptr;
    }
    web_site_navigate(site, address);
    return site;
}

void web_site_close(WebSite* site)
{
    site->loaded = nullptr;
    if (site->events) {
        site->events->Unadvise(site->cookie);
        release(&site->events);
    }
    if (IOleInPlaceObject* in_place = browser_part<IOleInPlaceObject>(site, IID_IOleInPlaceObject)) {
        in_place->InPlaceDeactivate();
        in_place->Release();
    }
    release(&site->browser);
    if (site->object) {
        site->object->Close(OLECLOSE_NOSAVE);
        site->object->SetClientSite(nullptr);
        release(&site->object);
    }
    site->Release();
}

int web_site_navigate(WebSite* site, const char16_t* address)
{
    Bstr url(address);
    VARIANT empty = {};
    return SUCCEEDED(site->browser->Navigate(url.value, &empty, &empty, &empty, &empty)) ? 1 : 0;
}

std::u16string web_site_address(WebSite* site)
{
    BSTR shown = nullptr;
    std::u16string address;
    if (SUCCEEDED(site->browser->get_LocationURL(&shown)) && shown)
        address.assign(reinterpret_cast<const char16_t*>(shown), SysStringLen(shown));
    SysFreeString(shown);
    return address;
}

int web_site_command(WebSite* site, int command)
{
    IWebBrowser2* browser = site->browser;
    switch (command) {
    case WEB_VIEW_BACK: return SUCCEEDED(browser->GoBack()) ? 1 : 0;
    case WEB_VIEW_FORWARD: return SUCCEEDED(browser->GoForward()) ? 1 : 0;
    case WEB_VIEW_RELOAD: return SUCCEEDED(browser->Refresh()) ? 1 : 0;
    case WEB_VIEW_STOP: return SUCCEEDED(browser->Stop()) ? 1 : 0;
    default: return 0;
    }
}

void web_site_resize(WebSite* site, int width, int height)
{
    if (IOleInPlaceObject* in_place = browser_part<IOleInPlaceObject>(site, IID_IOleInPlaceObject)) {
        RECT area = {0, 0, width, height};
        in_place->SetObjectRects(&area, &area);
        in_place->Release();
    }
}

bool web_site_translate_key(WebSite* site, MSG* message)
{
    IOleInPlaceActiveObject* active = browser_part<IOleInPlaceActiveObject>(site, IID_IOleInPlaceActiveObject);
    if (!active)
        return false;
    bool taken = active->TranslateAccelerator(message) == S_OK;
    active->Release();
    return taken;
}
