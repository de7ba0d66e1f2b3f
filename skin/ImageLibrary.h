#pragma once
// The image DLL, the profile's, beside the executable. It is loaded on first
// use, and only when it is the DLL built with this launcher (signed or
// not): any other DLL of that name is never run. CxImage is usable only
// once this has answered true.
bool ImageLibraryReady();
