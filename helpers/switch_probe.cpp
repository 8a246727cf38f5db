// A helper program for the stand-in's tests of its process-wide switches (not a test itself).
//   switch_probe leak <n>          makes a factory, a geometry and its sink, and exits holding
//                                  the last n of those references (0 to 3)
//   switch_probe frames <n> <file> ends n frames on a window render target and writes one
//                                  line per frame to file: "<frame> ok" or "<frame> lost"

#include <d2d1.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Leak(int keep) {
  if (keep < 0 || keep > 3) return 1;
  ID2D1Factory* factory = nullptr;
  if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                               reinterpret_cast<void**>(&factory)))) {
    return 2;
  }
  ID2D1PathGeometry* path = nullptr;
  ID2D1GeometrySink* sink = nullptr;
  if (FAILED(factory->CreatePathGeometry(&path)) || FAILED(path->Open(&sink))) return 2;
  IUnknown* objects[3] = {factory, path, sink};
  // Released in reverse creation order; the first `keep` objects are kept.
  for (int i = 2; i >= keep; --i) objects[i]->Release();
  return 0;
}

int Frames(int count, const char* file) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SwitchProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"SwitchProbe", L"probe", WS_POPUP | WS_VISIBLE, 0, 0, 32, 32,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  ID2D1Factory* factory = nullptr;
  D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                    reinterpret_cast<void**>(&factory));
  if (window == nullptr || factory == nullptr) return 2;
  D2D1_RENDER_TARGET_PROPERTIES properties = {};
  D2D1_HWND_RENDER_TARGET_PROPERTIES hwndProperties = {window, {32, 32}, D2D1_PRESENT_OPTIONS_NONE};
  ID2D1HwndRenderTarget* target = nullptr;
  if (FAILED(factory->CreateHwndRenderTarget(&properties, &hwndProperties, &target))) return 2;
  FILE* out = std::fopen(file, "wb");
  if (out == nullptr) return 2;
  for (int frame = 1; frame <= count; ++frame) {
    target->BeginDraw();
    const HRESULT result = target->EndDraw(nullptr, nullptr);
    std::fprintf(out, "%d %s\n", frame,
                 result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET) ? "lost" : "ok");
  }
  std::fclose(out);
  target->Release();
  factory->Release();
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "leak") == 0) return Leak(std::atoi(argv[2]));
  if (argc >= 4 && std::strcmp(argv[1], "frames") == 0) return Frames(std::atoi(argv[2]), argv[3]);
  return 1;
}
