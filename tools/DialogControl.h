#pragma once
// Finding, driving and reading the launcher's skinned dialog from outside
// its code: the tests, pressbutton and dialogshots. The dialog's window text
// "RZ_K", never drawn, is how it is found.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The visible launcher dialog of process `processId` (0: of any process),
// or null.
HWND FindLauncherDialog(DWORD processId = 0);

// Any visible top-level window of process `processId`, or null.
HWND FindVisibleWindow(DWORD processId);

// Polls `condition` until it holds or `timeoutMs` have passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// FindLauncherDialog, polled up to `timeoutMs`.
HWND WaitForLauncherDialog(DWORD processId, DWORD timeoutMs);

// Waits until the window and its children have painted all they were asked
// to (their update regions are empty), up to `timeoutMs`.
bool WaitForPainted(HWND window, DWORD timeoutMs = 5000);

// Runs `runModal`, which shows a modal dialog on this thread, and does
// `steps` to the launcher's dialog one after another, each once the dialog
// has painted and this thread has been idle since, from a timer on this
// thread. Returns what `runModal` returns. A dialog still open when
// `timeoutMs` have passed is cancelled, so a test never hangs on it.
// Same-thread on purpose: under Wine a second thread reading the screen
// while the dialog's thread talks to X can deadlock inside Xlib, and a
// window's pixels reach the X server only when its thread goes idle.
using DialogStep = std::function<void(HWND)>;
INT_PTR RunModalWithSteps(const std::function<INT_PTR()>& runModal, std::vector<DialogStep> steps,
                          DWORD timeoutMs = 20000);

// Clicks a button as the user would, without moving the mouse.
void ClickButton(HWND dialog, int controlId);
// Presses and releases Esc on the dialog's OK button.
void PressEscape(HWND dialog);

// Screen pixels of a window's client area: what the user sees.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureClient(HWND window);

// Saves a capture as a 24-bit BMP.
bool SaveCaptureAsBmp(const Capture& capture, const std::wstring& path);

// The size `text` takes laid out as the skinned dialogs draw a message at
// 96 dots (16-pixel Arial, lines centred and broken at words) within
// `width` pixels; `face` receives the face the font came out as (Arial's
// metrics are Arial's or Liberation Sans').
SIZE LaidOutMessage(const std::wstring& text, int width, std::wstring& face);
