#pragma once

// The four entry points every in-process server library exports, with C linkage so that hosts find
// them by name. A host never links them: it looks them up in the library it loaded.

#include "platform/com/Com.h"

extern "C" {
// Records the library's type library and classes in the registry.
xel::com::HResult DllRegisterServer();
// Removes exactly what DllRegisterServer recorded.
xel::com::HResult DllUnregisterServer();
// Hands out the class factory of one of the library's classes.
xel::com::HResult DllGetClassObject(const char* clsid, const char* iid, void** factory);
// hr::Ok when no object of the library and no lock is alive, hr::False otherwise.
xel::com::HResult DllCanUnloadNow();
}

namespace xel::com {

using RegisterServerEntry = decltype(&DllRegisterServer);
using UnregisterServerEntry = decltype(&DllUnregisterServer);
using GetClassObjectEntry = decltype(&DllGetClassObject);
using CanUnloadNowEntry = decltype(&DllCanUnloadNow);

}  // namespace xel::com
