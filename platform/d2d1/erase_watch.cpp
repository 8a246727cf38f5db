#include "platform/d2d1/erase_watch.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace standin {
namespace {

struct ThreadHook {
  DWORD thread;
  HHOOK hook;
  int watches;
};

struct Registry {
  std::mutex lock;
  std::vector<EraseWatch*> watches;
  std::vector<ThreadHook> hooks;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

LRESULT CALLBACK SeeSentMessage(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_ERASEBKGND) {
      Registry& registry = TheRegistry();
      std::lock_guard<std::mutex> guard(registry.lock);
      for (EraseWatch* watch : registry.watches) {
        if (watch->Window() == sent->hwnd) watch->NoteErase();
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&SeeSentMessage), &module);
  return module;
}

}  // namespace

EraseWatch::EraseWatch(HWND window) : window_(window) {
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &process);
  if (thread == 0 || process != GetCurrentProcessId()) return;
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  auto found = std::find_if(registry.hooks.begin(), registry.hooks.end(),
                            [&](const ThreadHook& h) { return h.thread == thread; });
  if (found == registry.hooks.end()) {
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, SeeSentMessage, ThisModule(), thread);
    if (hook == nullptr) return;
    registry.hooks.push_back({thread, hook, 0});
    found = registry.hooks.end() - 1;
  }
  ++found->watches;
  registry.watches.push_back(this);
  thread_ = thread;
}

EraseWatch::~EraseWatch() {
  if (thread_ == 0) return;
  HHOOK unhook = nullptr;
  {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.watches.erase(std::remove(registry.watches.begin(), registry.watches.end(), this),
                           registry.watches.end());
    const auto found = std::find_if(registry.hooks.begin(), registry.hooks.end(),
                                    [&](const ThreadHook& h) { return h.thread == thread_; });
    if (found != registry.hooks.end() && --found->watches == 0) {
      unhook = found->hook;
      registry.hooks.erase(found);
    }
  }
  if (unhook != nullptr) UnhookWindowsHookEx(unhook);
}

bool EraseWatch::TakeErase() {
  if (thread_ == 0) return true;
  return erased_.exchange(false);
}

}  // namespace standin
