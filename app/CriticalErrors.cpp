#include "app/CriticalErrors.h"

#include <windows.h>

void KeepCriticalErrorsSilent()
{
    // The launcher runs from a device's disc that can be pulled at any
    // moment. Without this, opening the marker or link file on a drive whose
    // medium is gone raises Windows' "There is no disk in the drive" box;
    // with it the open just fails and the launcher handles that as it
    // handles any missing file. SetErrorMode(0) is how to read the mode on
    // XP, which lacks GetErrorMode; nothing else runs yet to see the moment
    // in between. Children started later inherit the mode on Windows.
    const UINT previous = SetErrorMode(0);
    SetErrorMode(previous | SEM_FAILCRITICALERRORS);
}
