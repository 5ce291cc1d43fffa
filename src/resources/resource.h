#pragma once
#define IDB_QOR_LOGO 100
// The manifest asking for version 6 of the common controls. Id 2 is the one a
// DLL's own activation context is made from; it never becomes the process's.
#define IDR_QOR_MANIFEST 2
#define QOR_RT_MANIFEST 24
