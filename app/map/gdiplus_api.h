#pragma once
// GDI+'s C++ interface for the map's sources. Its headers use min and max
// unqualified and need the COM declarations that WIN32_LEAN_AND_MEAN leaves
// out. Private to app/map: public headers only forward-declare GDI+ types.

#include <windows.h>

#include <algorithm>

using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>
