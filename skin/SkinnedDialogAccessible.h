#pragma once
#include <windows.h>

#include <string>

#include "framework/Accessibility.h"
#include "skin/SkinLayout.h"
#include "skin/SkinScale.h"

// What a screen reader finds in a skinned message dialog, whose texts are
// painted, not controls: the dialog named by its title, with the message as
// its description and as a static-text child (child 1, read when the dialog
// opens), then the bitmap buttons as push buttons, each answering through
// its own object; places at the dialog's display scale. One reference, the
// caller's; it answers nothing once `life` has ended.
CAccessibleProxy* CreateSkinnedDialogAccessible(HWND dialog, const std::wstring& title,
                                                const std::wstring& message, const SkinLayout& layout,
                                                const SkinScale& scale, CAccessibleLife* life);

// The dialog's window object (OBJID_WINDOW), named by its title as well.
CAccessibleProxy* CreateSkinnedWindowAccessible(HWND dialog, const std::wstring& title, CAccessibleLife* life);
