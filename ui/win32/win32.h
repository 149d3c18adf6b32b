// <windows.h> for the Win32 layer, without the macros that would rename the
// program's own functions of the same names (ResourceModule::LoadString,
// Env::GetEnvironmentVariable and Env::LoadLibrary) wherever they follow.
#pragma once

#include <windows.h>

#undef GetEnvironmentVariable
#undef LoadLibrary
#undef LoadString
