// What a screen reader reads from the two dialogs, through oleacc as a
// screen reader does, from another thread while the dialog runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "DialogControl.h"
#include "framework/ScopedHandles.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

struct Element {
    std::wstring name;
    std::wstring description;
    long role = 0;
    long state = 0;
    std::wstring defaultAction;
};

struct Tree {
    bool read = false;
    bool closedByDefaultAction = false;
    Element dialog;
    std::vector<Element> children;
    std::wstring focused;
};

VARIANT Child(long id)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text)
{
    std::wstring result = text != nullptr ? text : L"";
    SysFreeString(text);
    return result;
}

Element Read(IAccessible* object, long id)
{
    Element e;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(Child(id), &text))) e.name = Take(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDescription(Child(id), &text))) e.description = Take(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDefaultAction(Child(id), &text))) e.defaultAction = Take(text);
    VARIANT v{};
    if (SUCCEEDED(object->get_accRole(Child(id), &v)) && v.vt == VT_I4) e.role = v.lVal;
    VARIANT s{};
    if (SUCCEEDED(object->get_accState(Child(id), &s)) && s.vt == VT_I4) e.state = s.lVal;
    return e;
}

// Child `id`'s own accessible object, or none for a simple element.
OwnedInterface<IAccessible> ChildObject(IAccessible* parent, long id)
{
    OwnedInterface<IDispatch> object;
    OwnedInterface<IAccessible> child;
    if (parent->get_accChild(Child(id), object.Receive()) == S_OK && object) {
        object->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(child.Receive()));
    }
    return child;
}

// Runs `dialog`, reads its accessible tree from another thread, then ends
// it through the default action of child `pressChild` (0: Esc).
INT_PTR RunAndRead(CDialog& dialog, Tree& tree, long pressChild)
{
    std::atomic<bool> done{false};
    std::thread reader([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        HWND window = WaitForLauncherDialog(GetCurrentProcessId(), 5000);
        OwnedInterface<IAccessible> root;
        if (window != nullptr && SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                                      reinterpret_cast<void**>(root.Receive())))) {
            tree.read = true;
            tree.dialog = Read(root.Get(), CHILDID_SELF);
            long count = 0;
            root->get_accChildCount(&count);
            for (long id = 1; id <= count; ++id) {
                OwnedInterface<IAccessible> child = ChildObject(root.Get(), id);
                tree.children.push_back(child ? Read(child.Get(), CHILDID_SELF) : Read(root.Get(), id));
            }
            VARIANT focus{};
            if (root->get_accFocus(&focus) == S_OK && focus.vt == VT_DISPATCH) {
                OwnedInterface<IDispatch> focusObject(focus.pdispVal);
                OwnedInterface<IAccessible> focused;
                focusObject->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(focused.Receive()));
                if (focused) {
                    tree.focused = Read(focused.Get(), CHILDID_SELF).name;
                }
            }
            if (pressChild > 0) {
                if (OwnedInterface<IAccessible> button = ChildObject(root.Get(), pressChild)) {
                    button->accDoDefaultAction(Child(CHILDID_SELF));
                }
                // The press ends the dialog; if it does not, the test fails
                // within seconds rather than waiting on it.
                tree.closedByDefaultAction = WaitUntil([&] { return !IsWindow(window); }, 5000);
            }
        }
        if (window != nullptr && IsWindow(window) && (pressChild == 0 || !tree.closedByDefaultAction)) {
            PressEscape(window);
        }
        CoUninitialize();
        done = true;
    });
    const INT_PTR result = dialog.DoModal();
    // The reader's last calls (releasing what it read) come to this thread,
    // the objects' apartment, after the dialog has ended: keep serving them.
    while (!done) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    reader.join();
    return result;
}

std::wstring Text(UINT id, LANGID language)
{
    std::wstring text;
    EXPECT_TRUE(FindStringInLanguage(GetModuleHandleW(nullptr), id, language, text));
    return text;
}

const LANGID kEnglish = 1033;
const LANGID kGreek = 1032;

// The dialog named by the title with the message as its description, the
// message as a static text first, then push buttons named `buttons`, the
// first of them focused (so it is read after the dialog).
void ExpectReadAs(const Tree& tree, const std::wstring& message, const std::vector<std::wstring>& buttons)
{
    EXPECT_EQ(tree.dialog.name, kMessageTitle);
    EXPECT_EQ(tree.dialog.role, ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(tree.dialog.description, message);
    ASSERT_EQ(tree.children.size(), buttons.size() + 1);
    EXPECT_EQ(tree.children[0].name, message) << "the message is a static text, read on opening";
    EXPECT_EQ(tree.children[0].role, ROLE_SYSTEM_STATICTEXT);
    for (size_t i = 0; i < buttons.size(); ++i) {
        const Element& button = tree.children[i + 1];
        EXPECT_EQ(button.name, buttons[i]);
        EXPECT_EQ(button.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(button.defaultAction, L"Press");
        EXPECT_EQ((button.state & STATE_SYSTEM_FOCUSED) != 0, i == 0) << "focus is on the first button";
        EXPECT_FALSE(button.state & STATE_SYSTEM_UNAVAILABLE);
    }
    EXPECT_EQ(tree.focused, buttons[0]);
}

}  // namespace

// The notice and the question, in English and in Greek; each ended through
// the default action of its last button (the notice's OK, the question's
// Cancel, which is EXIT).
TEST(Accessibility, DialogsAreReadAsTitleMessageAndNamedButtons)
{
    for (LANGID language : {kEnglish, kGreek}) {
        const std::wstring notice = Text(IDS_CVN_INSTALLED, language);
        const std::wstring question = Text(IDS_CVN_DOWNLOAD_QUESTION, language);
        Tree noticeTree, questionTree;
        CAFXOKBIG noticeDialog(nullptr, kMessageTitle, notice);
        EXPECT_EQ(RunAndRead(noticeDialog, noticeTree, 2), IDOK) << "OK's default action presses it";
        CASFXYESNO questionDialog(nullptr, kMessageTitle, question);
        EXPECT_EQ(RunAndRead(questionDialog, questionTree, 3), IDCANCEL) << "Cancel's default action is EXIT";
        ASSERT_TRUE(noticeTree.read && questionTree.read) << language;
        EXPECT_TRUE(noticeTree.closedByDefaultAction && questionTree.closedByDefaultAction)
            << "a button's default action presses it";
        ExpectReadAs(noticeTree, notice, {L"OK"});
        ExpectReadAs(questionTree, question, {L"OK", L"Cancel"});  // EXIT is named by its face
    }
}
