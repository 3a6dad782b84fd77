// The DirectX setup library: the installed version and the runtime setup.
#pragma once

#include "platform/kernel/WinTypes.h"

constexpr DWORD DSETUP_DDRAWDRV = 0x00000008;
constexpr DWORD DSETUP_DSOUNDDRV = 0x00000010;
constexpr DWORD DSETUP_DXCORE = 0x00010000;
constexpr DWORD DSETUP_DIRECTX = DSETUP_DXCORE | DSETUP_DDRAWDRV | DSETUP_DSOUNDDRV;
constexpr DWORD DSETUP_TESTINSTALL = 0x00020000;

constexpr INT DSETUPERR_SUCCESS_RESTART = 1;
constexpr INT DSETUPERR_SUCCESS = 0;
constexpr INT DSETUPERR_BADWINDOWSVERSION = -1;
constexpr INT DSETUPERR_SOURCEFILENOTFOUND = -2;
constexpr INT DSETUPERR_BADSOURCESIZE = -3;
constexpr INT DSETUPERR_BADSOURCETIME = -4;
constexpr INT DSETUPERR_NOCOPY = -5;
constexpr INT DSETUPERR_OUTOFDISKSPACE = -6;
constexpr INT DSETUPERR_CANTFINDINF = -7;
constexpr INT DSETUPERR_CANTFINDDIR = -8;
constexpr INT DSETUPERR_INTERNAL = -9;
constexpr INT DSETUPERR_UNKNOWNOS = -11;
constexpr INT DSETUPERR_USERHITCANCEL = -12;

// Nonzero when the installed version was found: *version is 0x0004000N for
// DirectX N, *revision is (release << 16) | build. Either pointer may be null.
INT DirectXSetupGetVersion(DWORD* version, DWORD* revision);
// Installs the runtime package found in rootPath: 0, 1 (restart needed) or
// a negative DSETUPERR_ code.
INT DirectXSetupA(HWND owner, LPSTR rootPath, DWORD flags);
