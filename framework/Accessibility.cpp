#include "framework/Accessibility.h"

#include "framework/SystemLibrary.h"

// Interface ids come from __uuidof, compiled in, not from the import
// libraries: the 64-bit liboleacc.a exports IID_IAccessible as a code stub,
// and a program linking it would hand oleacc a stub's bytes as the id.

namespace {

using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using SysAllocStringProc = BSTR(WINAPI*)(const OLECHAR*);

struct Oleacc {
    LresultFromObjectProc lresultFromObject = nullptr;
    CreateStdAccessibleObjectProc createStdAccessibleObject = nullptr;
    SysAllocStringProc sysAllocString = nullptr;  // oleaut32's, which oleacc loads
};

// Loaded when a screen reader first asks. Only the user-interface thread
// asks. COM is set up on it once and kept, as the marshalling of the answer
// needs it.
const Oleacc& LoadOleacc()
{
    static Oleacc oleacc;
    static bool tried = false;
    if (!tried) {
        tried = true;
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        oleacc.lresultFromObject = SystemProcedureAs<LresultFromObjectProc>(L"oleacc.dll", "LresultFromObject");
        oleacc.createStdAccessibleObject =
            SystemProcedureAs<CreateStdAccessibleObjectProc>(L"oleacc.dll", "CreateStdAccessibleObject");
        oleacc.sysAllocString = SystemProcedureAs<SysAllocStringProc>(L"oleaut32.dll", "SysAllocString");
    }
    return oleacc;
}

}  // namespace

LRESULT CAccessibleProxy::Answer(CAccessibleProxy* proxy, WPARAM wParam)
{
    OwnedInterface<CAccessibleProxy> owned(proxy);
    if (!owned) {
        return 0;
    }
    const Oleacc& oleacc = LoadOleacc();
    return oleacc.lresultFromObject != nullptr ? oleacc.lresultFromObject(__uuidof(IAccessible), wParam, proxy)
                                               : 0;
}

IAccessible* CAccessibleProxy::StandardObject(HWND window, LONG objectId)
{
    const Oleacc& oleacc = LoadOleacc();
    IAccessible* standard = nullptr;
    if (oleacc.createStdAccessibleObject == nullptr ||
        FAILED(oleacc.createStdAccessibleObject(window, objectId, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
        return nullptr;
    }
    return standard;
}

CAccessibleLife* CAccessibleLife::Create()
{
    return new CAccessibleLife();
}

void CAccessibleLife::Release()
{
    if (InterlockedDecrement(&m_references) == 0) {
        delete this;
    }
}

CAccessibleProxy::CAccessibleProxy(IAccessible* standard, CAccessibleLife* life)
    : m_standard(standard), m_life(life)
{
    life->AddRef();
}

CAccessibleProxy::~CAccessibleProxy() = default;

HRESULT CAccessibleProxy::TextResult(const wchar_t* text, BSTR* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (text == nullptr || text[0] == L'\0') {
        return S_FALSE;
    }
    const Oleacc& oleacc = LoadOleacc();
    *out = oleacc.sysAllocString != nullptr ? oleacc.sysAllocString(text) : nullptr;
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleProxy::IntegerResult(long value, VARIANT* out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

HRESULT CAccessibleProxy::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleProxy::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG CAccessibleProxy::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

// Clients of this interface call its methods, not IDispatch::Invoke.
HRESULT CAccessibleProxy::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT CAccessibleProxy::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleProxy::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleProxy::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleProxy::put_accName(VARIANT, BSTR)
{
    return Connected() ? E_NOTIMPL : kGone;
}

HRESULT CAccessibleProxy::put_accValue(VARIANT, BSTR)
{
    return Connected() ? E_NOTIMPL : kGone;
}
