#pragma once

// Keeps the process's error mode and adds SEM_FAILCRITICALERRORS. Start-up
// calls it before its first file access.
void KeepCriticalErrorsSilent();
