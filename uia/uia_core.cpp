#include "uia/uia_core.h"

namespace {

// GetProcAddress answers a function of no arguments; the detour through void (*)() is the one
// conversion between function pointer types that compilers accept without a warning.
template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

UiaCoreFunctions Load() {
  UiaCoreFunctions functions;
  // Only from the system folder: a DLL of that name beside the program must not be picked up.
  const HMODULE module =
      LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return functions;
  Resolve(module, "UiaReturnRawElementProvider", functions.returnRawElementProvider);
  Resolve(module, "UiaHostProviderFromHwnd", functions.hostProviderFromHwnd);
  Resolve(module, "UiaClientsAreListening", functions.clientsAreListening);
  Resolve(module, "UiaRaiseAutomationEvent", functions.raiseAutomationEvent);
  Resolve(module, "UiaRaiseAutomationPropertyChangedEvent",
          functions.raiseAutomationPropertyChangedEvent);
  Resolve(module, "UiaRaiseStructureChangedEvent", functions.raiseStructureChangedEvent);
  Resolve(module, "UiaDisconnectProvider", functions.disconnectProvider);
  return functions;  // the module stays loaded for the rest of the process
}

}  // namespace

const UiaCoreFunctions& UiaCore() {
  static const UiaCoreFunctions functions = Load();
  return functions;
}
