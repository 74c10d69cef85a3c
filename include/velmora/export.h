// Symbol visibility of the Velmora library.
//
// Windows: objects of the library itself are built with VELMORA_BUILDING and
// export their symbols (from velmora.dll and from Velmora.exe); a program that
// links the import library of velmora.dll sees dllimport; a program that links
// the library's objects statically defines VELMORA_STATIC.
// Elsewhere the shared library is built with hidden visibility and exports
// exactly what carries VELMORA_API.
#pragma once

#if defined(_WIN32)
#if defined(VELMORA_BUILDING)
#define VELMORA_API __declspec(dllexport)
#elif defined(VELMORA_STATIC)
#define VELMORA_API
#else
#define VELMORA_API __declspec(dllimport)
#endif
#else
#define VELMORA_API __attribute__((visibility("default")))
#endif
