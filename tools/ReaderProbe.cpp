// readerprobe: listens to the launcher's dialogs as a screen reader does,
// from a process of its own. It hooks, out of context, the win events a
// screen reader hooks (foreground, dialog start, focus), takes each event's
// object with AccessibleObjectFromEvent and writes what a reader would say:
// its name and role. With --keep it also keeps the dialog's objects (window
// and client) and the first focused button's, as readers do, and once that
// dialog has gone calls every method on each and writes the results; then
// it ends. Only the launcher's dialogs (window text "RZ_K") are heard.
//   readerprobe FILE [--keep] [--seconds N]
// FILE gets one UTF-8 line per thing heard: "ready", "foreground: NAME |
// ROLE", "dialog start: ...", "focus: ...", and for each dialog heard the
// first time "window name: NAME" and "client: NAME | DESCRIPTION"; then
// with --keep "kept: NAME", "gone", "after OBJECT METHOD: 0xHRESULT" lines
// and "done".
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/ScopedHandles.h"

namespace {

HANDLE g_out = INVALID_HANDLE_VALUE;
bool g_keep = false;
HWND g_keptDialog = nullptr;
HWND g_announced = nullptr;
OwnedInterface<IAccessible> g_keptClient;
OwnedInterface<IAccessible> g_keptWindow;
OwnedInterface<IAccessible> g_keptButton;

// One line each: the CR and LF of a two-line message written as \r and \n.
void Write(const std::wstring& line)
{
    std::wstring text;
    for (wchar_t c : line) {
        text += c == L'\r' ? std::wstring(L"\\r") : c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    }
    text += L"\n";
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(g_out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

VARIANT Child(long id)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring NameOf(IAccessible* object, const VARIANT& child)
{
    BSTR name = nullptr;
    std::wstring result;
    if (object->get_accName(child, &name) == S_OK && name != nullptr) {
        result = name;
    }
    SysFreeString(name);
    return result;
}

long RoleOf(IAccessible* object, const VARIANT& child)
{
    VARIANT role{};
    return SUCCEEDED(object->get_accRole(child, &role)) && role.vt == VT_I4 ? role.lVal : 0;
}

bool IsLauncherDialog(HWND window)
{
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    return std::wstring(text) == L"RZ_K";
}

OwnedInterface<IAccessible> ObjectOfWindow(HWND window, LONG objectId)
{
    OwnedInterface<IAccessible> object;
    const HRESULT result = AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId), __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(object.Receive()));
    if (FAILED(result)) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"0x%08lx", static_cast<unsigned long>(result));
        Write(L"no object " + std::to_wstring(objectId) + L": " + hex);
    }
    return object;
}

struct HeardEvent {
    DWORD event;
    HWND window;
    LONG objectId;
    LONG childId;
};
std::vector<HeardEvent> g_queue;

// Events are only queued here and read in order from the main loop, as
// screen readers do: a cross-process call made inside the callback lets
// Wine deliver the next event into it.
void CALLBACK QueueEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD, DWORD)
{
    g_queue.push_back({event, window, objectId, childId});
}

void Hear(DWORD event, HWND window, LONG objectId, LONG childId)
{
    HWND dialog = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    if (dialog == nullptr || !IsLauncherDialog(dialog)) {
        return;
    }
    OwnedInterface<IAccessible> object;
    VARIANT child{};
    if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(objectId), static_cast<DWORD>(childId),
                                         object.Receive(), &child)) ||
        !object) {
        return;
    }
    const wchar_t* kind = event == EVENT_OBJECT_FOCUS         ? L"focus"
                          : event == EVENT_SYSTEM_DIALOGSTART ? L"dialog start"
                                                              : L"foreground";
    const long role = RoleOf(object.Get(), child);
    Write(std::wstring(kind) + L": " + NameOf(object.Get(), child) + L" | " + std::to_wstring(role));
    // A dialog heard for the first time is announced, as readers announce
    // the dialog around a new focus: by its window and its client object.
    if (dialog != g_announced) {
        g_announced = dialog;
        if (OwnedInterface<IAccessible> windowObject = ObjectOfWindow(dialog, OBJID_WINDOW)) {
            Write(L"window name: " + NameOf(windowObject.Get(), Child(CHILDID_SELF)));
        }
        if (OwnedInterface<IAccessible> client = ObjectOfWindow(dialog, OBJID_CLIENT)) {
            BSTR description = nullptr;
            client->get_accDescription(Child(CHILDID_SELF), &description);
            Write(L"client: " + NameOf(client.Get(), Child(CHILDID_SELF)) + L" | " +
                  (description != nullptr ? description : L""));
            SysFreeString(description);
        }
    }
    if (g_keep && g_keptDialog == nullptr && event == EVENT_OBJECT_FOCUS && role == ROLE_SYSTEM_PUSHBUTTON &&
        child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
        g_keptDialog = dialog;
        g_keptButton = std::move(object);
        g_keptClient = ObjectOfWindow(dialog, OBJID_CLIENT);
        g_keptWindow = ObjectOfWindow(dialog, OBJID_WINDOW);
        Write(L"kept: " + NameOf(g_keptClient.Get(), Child(CHILDID_SELF)));
    }
}

// Every method of a kept object, after its dialog has gone.
void CallEverything(const wchar_t* name, IAccessible* object)
{
    if (object == nullptr) {
        Write(std::wstring(L"after ") + name + L" missing: 0x80004005");
        return;
    }
    const VARIANT self = Child(CHILDID_SELF);
    auto report = [&](const wchar_t* method, HRESULT result) {
        wchar_t hex[16];
        std::swprintf(hex, 16, L"0x%08lx", static_cast<unsigned long>(result));
        Write(std::wstring(L"after ") + name + L" " + method + L": " + hex);
    };
    BSTR text = nullptr;
    report(L"get_accName", object->get_accName(self, &text));
    SysFreeString(text);
    text = nullptr;
    report(L"get_accDescription", object->get_accDescription(self, &text));
    SysFreeString(text);
    text = nullptr;
    report(L"get_accValue", object->get_accValue(self, &text));
    SysFreeString(text);
    text = nullptr;
    report(L"get_accDefaultAction", object->get_accDefaultAction(self, &text));
    SysFreeString(text);
    VARIANT v{};
    report(L"get_accRole", object->get_accRole(self, &v));
    VariantClear(&v);
    report(L"get_accState", object->get_accState(self, &v));
    VariantClear(&v);
    report(L"get_accFocus", object->get_accFocus(&v));
    VariantClear(&v);
    long count = 0;
    report(L"get_accChildCount", object->get_accChildCount(&count));
    IDispatch* dispatch = nullptr;
    report(L"get_accChild", object->get_accChild(Child(2), &dispatch));
    if (dispatch != nullptr) dispatch->Release();
    dispatch = nullptr;
    report(L"get_accParent", object->get_accParent(&dispatch));
    if (dispatch != nullptr) dispatch->Release();
    long left = 0, top = 0, width = 0, height = 0;
    report(L"accLocation", object->accLocation(&left, &top, &width, &height, self));
    report(L"accHitTest", object->accHitTest(left + 1, top + 1, &v));
    VariantClear(&v);
    report(L"accNavigate", object->accNavigate(NAVDIR_FIRSTCHILD, self, &v));
    VariantClear(&v);
    report(L"accDoDefaultAction", object->accDoDefaultAction(self));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: readerprobe FILE [--keep] [--seconds N]\n");
        return 2;
    }
    DWORD seconds = 60;
    for (int i = 2; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--keep") == 0) {
            g_keep = true;
        } else if (std::wcscmp(argv[i], L"--seconds") == 0 && i + 1 < argc) {
            seconds = std::wcstoul(argv[++i], nullptr, 10);
        }
    }
    OwnedHandle out(CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        std::fprintf(stderr, "readerprobe: cannot write %ls\n", argv[1]);
        return 2;
    }
    g_out = out.Get();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    HWINEVENTHOOK hooks[] = {
        SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, QueueEvent, 0, 0, flags),
        SetWinEventHook(EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART, nullptr, QueueEvent, 0, 0, flags),
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, QueueEvent, 0, 0, flags),
    };
    Write(hooks[0] != nullptr && hooks[2] != nullptr ? L"ready" : L"ready, without hooks");

    const ULONGLONG end = GetTickCount64() + seconds * 1000ull;
    int status = 1;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        for (std::size_t i = 0; i < g_queue.size(); ++i) {
            const HeardEvent heard = g_queue[i];
            Hear(heard.event, heard.window, heard.objectId, heard.childId);
        }
        g_queue.clear();
        if (g_keptDialog != nullptr && !IsWindow(g_keptDialog)) {
            Write(L"gone");
            CallEverything(L"client", g_keptClient.Get());
            CallEverything(L"window", g_keptWindow.Get());
            CallEverything(L"button", g_keptButton.Get());
            status = 0;
            break;
        }
        if (!g_keep && g_keptDialog == nullptr && GetTickCount64() + 50 >= end) {
            status = 0;
        }
    }
    for (HWINEVENTHOOK hook : hooks) {
        if (hook != nullptr) UnhookWinEvent(hook);
    }
    g_keptClient.Reset();
    g_keptWindow.Reset();
    g_keptButton.Reset();
    Write(L"done");
    CoUninitialize();
    return status;
}
