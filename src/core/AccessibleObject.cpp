#include "core/AccessibleObject.h"

#include <oleacc.h>

// Interface ids come from __uuidof: the import library of oleacc.dll offers
// IID_IAccessible as an import, whose address is not the id itself.

#include <new>
#include <utility>

namespace qor {

// The object a client gets: the control's facts over the standard object.
class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    AccessibleObject(HWND window, AccessibleFacts& facts, ComPtr<IAccessible> standard)
        : window_(window), facts_(&facts), standard_(std::move(standard)) {}

    void Disconnect() noexcept {
        facts_ = nullptr;
        standard_.reset();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: clients use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what the facts answer first, then the standard object.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Delegate([&](IAccessible* s) { return s->get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!Live()) return RPC_E_DISCONNECTED;
        const long own = facts_->ChildCount();
        if (own < 0) return Delegate([&](IAccessible* s) { return s->get_accChildCount(count); });
        *count = own;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Live()) return RPC_E_DISCONNECTED;
        const long own = facts_->ChildCount();
        if (own < 0) return Delegate([&](IAccessible* s) { return s->get_accChild(child, out); });
        long id = 0;
        // Items are simple elements: the client asks this object about them.
        return ChildId(child, id) && id >= 1 && id <= own ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, &AccessibleFacts::Name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, &AccessibleFacts::Value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Delegate([&](IAccessible* s) { return s->get_accDescription(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        long id = 0;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (!ChildId(child, id)) return E_INVALIDARG;
        long own = 0;
        if (!facts_->Role(id, own)) return Delegate([&](IAccessible* s) { return s->get_accRole(child, role); });
        V_VT(role) = VT_I4;
        V_I4(role) = own;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        long id = 0;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (!ChildId(child, id)) return E_INVALIDARG;
        const long own = facts_->ChildCount();
        if (own >= 0 && id > own) return E_INVALIDARG;
        VARIANT standard;
        VariantInit(&standard);
        long bits = 0;
        if (standard_ && SUCCEEDED(standard_->get_accState(child, &standard)) && V_VT(&standard) == VT_I4)
            bits = V_I4(&standard);
        VariantClear(&standard);
        facts_->State(id, bits);
        V_VT(state) = VT_I4;
        V_I4(state) = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Delegate([&](IAccessible* s) { return s->get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Delegate([&](IAccessible* s) { return s->get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return Delegate([&](IAccessible* s) { return s->get_accKeyboardShortcut(child, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return Delegate([&](IAccessible* s) { return s->get_accFocus(focus); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Delegate([&](IAccessible* s) { return s->get_accSelection(selection); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Delegate([&](IAccessible* s) { return s->get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Delegate([&](IAccessible* s) { return s->accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height, VARIANT child) override {
        return Delegate([&](IAccessible* s) { return s->accLocation(x, y, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Delegate([&](IAccessible* s) { return s->accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return Delegate([&](IAccessible* s) { return s->accHitTest(x, y, child); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Delegate([&](IAccessible* s) { return s->accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    bool Live() const { return facts_ != nullptr; }

    // The standard object's answer; without one (the system made none) the
    // question has no answer here.
    template <typename Call>
    HRESULT Delegate(const Call& call) {
        if (!facts_) return RPC_E_DISCONNECTED;
        if (!standard_) return DISP_E_MEMBERNOTFOUND;
        return call(standard_.get());
    }

    static bool ChildId(const VARIANT& child, long& id) {
        if (V_VT(&child) == VT_EMPTY) {
            id = AccessibleFacts::kSelf;
            return true;
        }
        if (V_VT(&child) != VT_I4) return false;
        id = V_I4(&child);
        return id >= 0;
    }

    using FactText = bool (AccessibleFacts::*)(long, std::wstring&) const noexcept;
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    HRESULT Text(VARIANT child, BSTR* out, FactText fact, StandardText standard) {
        if (!out) return E_POINTER;
        *out = nullptr;
        long id = 0;
        if (!Live()) return RPC_E_DISCONNECTED;
        if (!ChildId(child, id)) return E_INVALIDARG;
        std::wstring text;
        if (!(facts_->*fact)(id, text)) return Delegate([&](IAccessible* s) { return (s->*standard)(child, out); });
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    LONG references_ = 1;
    HWND window_;
    AccessibleFacts* facts_;
    ComPtr<IAccessible> standard_;
};

std::wstring AccessibleText(const std::string& ansi) noexcept {
    try {
        const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
        if (length > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], length);
        return wide;
    } catch (...) {
        return {};
    }
}

AccessibleLink::AccessibleLink() = default;
AccessibleLink::~AccessibleLink() { Disconnect(); }

bool AccessibleLink::Answer(HWND window, AccessibleFacts& facts, WPARAM wParam, LPARAM lParam,
                            LRESULT& result) noexcept {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return false;
    if (!object_) {
        // Without the system's object (Wine makes none for some windows) the
        // facts still answer.
        ComPtr<IAccessible> standard;
        if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void())))
            standard.reset();
        AccessibleObject* object = new (std::nothrow) AccessibleObject(window, facts, std::move(standard));
        if (!object) return false;
        *object_.put() = object;
    }
    result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_.get()));
    return true;
}

void AccessibleLink::Disconnect() noexcept {
    if (!object_) return;
    object_->Disconnect();
    // Clients in other processes hold the object through COM's stubs: let them go.
    CoDisconnectObject(static_cast<IAccessible*>(object_.get()), 0);
    object_.reset();
}

void AccessibleLink::ValueChanged(HWND window) noexcept {
    if (window) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleLink::StateChanged(HWND window, long child) noexcept {
    if (window) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, child);
}

} // namespace qor
