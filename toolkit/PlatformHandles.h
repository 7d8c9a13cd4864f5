// Opaque handles of the window system as the platform-free toolkit sees them.
// On Windows a PlatformWindow is an HWND and a PlatformDeviceContext an HDC;
// in the native build the drawing backend's stand-in gives them meaning
// (a device context there is a RasterSurface, see platform/RasterBackend.h).
// Null means "none" everywhere.
#pragma once

namespace toolkit {

using PlatformWindow = void*;
using PlatformDeviceContext = void*;

}  // namespace toolkit
