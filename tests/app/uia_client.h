#pragma once
// The client side of UI Automation that Wine 8 offers, for tests that read the running
// program's tree from another process: its C functions (its COM client does not exist), looked
// up at run time since mingw-w64 declares few of them and has no import library.

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "uia/automation_api.h"

namespace apptest {

// An HRESULT as "0x80040201".
std::string Hex(HRESULT result);

// The client side of UI Automation that Wine 8 offers: its C functions (its COM client does not
// exist), looked up at run time since mingw-w64 declares few of them and has no import library.
class UiaClient {
 public:
  using Node = void*;  // HUIANODE
  struct Condition {
    int type;  // ConditionType_True is 0
  };
  struct CacheRequest {
    Condition* viewCondition;
    int scope;  // TreeScope
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    int elementMode;  // AutomationElementMode
  };

  UiaClient() {
    module_ = LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    Resolve("UiaNodeFromHandle", nodeFromHandle_);
    Resolve("UiaGetPropertyValue", getPropertyValue_);
    Resolve("UiaNavigate", navigate_);
    Resolve("UiaHUiaNodeFromVariant", nodeFromVariant_);
    Resolve("UiaNodeRelease", nodeRelease_);
  }
  bool Complete() const {
    return nodeFromHandle_ && getPropertyValue_ && navigate_ && nodeFromVariant_ && nodeRelease_;
  }

  Node FromWindow(HWND window, HRESULT& result) const {
    Node node = nullptr;
    result = nodeFromHandle_(window, &node);
    return node;
  }
  // The node in direction from node; null when there is none.
  Node Step(Node node, NavigateDirection direction, HRESULT& result) const {
    Condition all{0};
    CacheRequest request{&all, 1 /* TreeScope_Element */, nullptr, 0, nullptr, 0,
                         1 /* AutomationElementMode_Full */};
    SAFEARRAY* data = nullptr;
    BSTR structure = nullptr;
    result = navigate_(node, direction, &all, &request, &data, &structure);
    SysFreeString(structure);
    if (FAILED(result) || data == nullptr) return nullptr;
    // The found node is the first entry of the two-dimensional array of requested data.
    LONG first[2] = {0, 0};
    SafeArrayGetLBound(data, 1, &first[0]);
    SafeArrayGetLBound(data, 2, &first[1]);
    VARIANT entry;
    VariantInit(&entry);
    Node found = nullptr;
    if (SUCCEEDED(SafeArrayGetElement(data, first, &entry))) {
      nodeFromVariant_(&entry, &found);
    }
    VariantClear(&entry);
    SafeArrayDestroy(data);
    return found;
  }
  // A boolean property; false when it cannot be read.
  bool Flag(Node node, PROPERTYID property) const {
    VARIANT value;
    VariantInit(&value);
    const bool flag = SUCCEEDED(getPropertyValue_(node, property, &value)) && value.vt == VT_BOOL &&
                      value.boolVal != VARIANT_FALSE;
    VariantClear(&value);
    return flag;
  }
  std::wstring Text(Node node, PROPERTYID property) const {
    VARIANT value;
    VariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(getPropertyValue_(node, property, &value)) && value.vt == VT_BSTR &&
        value.bstrVal != nullptr) {
      text = value.bstrVal;
    }
    VariantClear(&value);
    return text;
  }
  void Release(Node node) const {
    if (node != nullptr) nodeRelease_(node);
  }

 private:
  template <typename Function>
  void Resolve(const char* name, Function& function) {
    function = module_ == nullptr ? nullptr
                                  : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
                                        GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  HRESULT(WINAPI* nodeFromHandle_)(HWND, Node*) = nullptr;
  HRESULT(WINAPI* getPropertyValue_)(Node, PROPERTYID, VARIANT*) = nullptr;
  HRESULT(WINAPI* navigate_)
  (Node, NavigateDirection, Condition*, CacheRequest*, SAFEARRAY**, BSTR*) = nullptr;
  HRESULT(WINAPI* nodeFromVariant_)(VARIANT*, Node*) = nullptr;
  BOOL(WINAPI* nodeRelease_)(Node) = nullptr;
};

struct ChartRead {
  std::wstring id;
  std::wstring name;
  std::vector<std::wstring> slices;
  // What answers HasKeyboardFocus true: "" for nothing, "chart" or "Slice<i>" (when asked for).
  std::string focus;
};

// The charts of the program's tree as another process reads them, or why it could not, and the
// window's caption read just after them.
struct TreeRead {
  std::string failure;
  std::vector<ChartRead> charts;
  std::wstring caption;
};

// The charts and slices of the program's tree as another process reads them: names, and with
// withFocus what answers HasKeyboardFocus. Every property and every step is a call into the
// program, so a reading takes one to a few seconds under Wine.
TreeRead ReadTree(const UiaClient& client, HWND window, bool withFocus);

// The reading, or why it failed, in a line.
std::string Describe(const TreeRead& read);

// Reads the tree until it is read whole and, given an earlier reading, its slices' names differ
// from that one's; false when 20 s pass first.
bool ReadTreeUntil(const UiaClient& client, HWND window, TreeRead& read,
                   const TreeRead* earlier = nullptr);

// Wine 8's COM now and then deadlocks on a release of an element: the program, answering it,
// waits for the calls on the element's interface to end (RpcServerUnregisterIf, waiting), one of
// them being that release, and the client waits for its answer without end. Only ending the
// program frees the client; this ends it once the deadline passes.
constexpr DWORD kComDeadlockDeadlineMs = 60000;
class Watchdog {
 public:
  Watchdog(HANDLE process, DWORD deadlineMs)
      : thread_([this, process, deadlineMs] {
          if (WaitForSingleObject(done_, deadlineMs) == WAIT_TIMEOUT) {
            fired_ = true;
            TerminateProcess(process, 98);
          }
        }) {}
  ~Watchdog() {
    SetEvent(done_);
    thread_.join();
    CloseHandle(done_);
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  bool Fired() const { return fired_; }

 private:
  HANDLE done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

}  // namespace apptest
