// Checks from another process that a running d2pie.exe shows its real picture: both pies filled
// out to their curved rims with nothing drawn just outside them, the background colour, and the
// "Regen" and "Gray" controls painted where they belong. Under Wine it also checks that the
// d2d1.dll the program loaded is the project's stand-in, since Wine's own Direct2D draws every arc
// as a straight line.
//
// Usage: picture_check.exe [--direct2d-only] [SECONDS]
// Waits at most SECONDS (default 30) for the window and then for its picture, with the pointer
// resting on the background so that no slice is pulled out; --direct2d-only leaves the pointer
// and the picture alone and checks only which Direct2D the program loaded. Prints what it found;
// exit code 0 when all is right, 1 when it is not, 2 when no window of the program appeared.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "helpers/win32.h"

namespace {

using win32::ClassNameOf;
using win32::Narrow;
using win32::TextOf;

struct Rgb {
  int red, green, blue;
};

constexpr Rgb kBackground{0, 82, 121};

bool IsBackground(Rgb p) {
  return std::abs(p.red - kBackground.red) <= 2 && std::abs(p.green - kBackground.green) <= 2 &&
         std::abs(p.blue - kBackground.blue) <= 2;
}

std::string Describe(Rgb p) {
  return "rgb(" + std::to_string(p.red) + ", " + std::to_string(p.green) + ", " +
         std::to_string(p.blue) + ")";
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

HWND FindProgramWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        if (IsWindowVisible(window) && StartsWith(TextOf(window), L"D2 Pie: ") &&
            StartsWith(ClassNameOf(window), L"OrbWindowClass:")) {
          *reinterpret_cast<HWND*>(data) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The d2d1.dll loaded in the window's process.
struct LoadedModule {
  std::wstring path;         // empty when none was found
  bool wineBuiltIn = false;  // one of Wine's own DLLs, whatever path it reports
  bool standIn = false;      // the project's stand-in: it exports D2PieStandInLiveObjects
};

template <typename T>
bool ReadFrom(HANDLE process, const BYTE* address, T& value) {
  SIZE_T read = 0;
  return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

// Whether the module of another process exports name, read from its export directory.
bool Exports(HANDLE process, HMODULE module, const char* name) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS headers{};
  if (!ReadFrom(process, base, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
      !ReadFrom(process, base + dos.e_lfanew, headers) || headers.Signature != IMAGE_NT_SIGNATURE) {
    return false;
  }
  const IMAGE_DATA_DIRECTORY where =
      headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  IMAGE_EXPORT_DIRECTORY directory{};
  if (where.VirtualAddress == 0 || !ReadFrom(process, base + where.VirtualAddress, directory)) {
    return false;
  }
  // Each name is compared with its terminator, and no byte beyond it is read.
  std::string text(std::strlen(name) + 1, '\0');
  for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
    DWORD nameAt = 0;
    SIZE_T read = 0;
    if (ReadFrom(process, base + directory.AddressOfNames + i * sizeof(DWORD), nameAt) &&
        ReadProcessMemory(process, base + nameAt, text.data(), text.size(), &read) &&
        read == text.size() && std::memcmp(text.data(), name, text.size()) == 0) {
      return true;
    }
  }
  return false;
}

LoadedModule LoadedDirect2D(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return {};
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  LoadedModule found;
  if (EnumProcessModules(process, modules.data(),
                         static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed)) {
    const size_t count = std::min<size_t>(needed / sizeof(HMODULE), modules.size());
    for (size_t i = 0; i < count && found.path.empty(); ++i) {
      wchar_t name[MAX_PATH] = {};
      if (GetModuleFileNameExW(process, modules[i], name, MAX_PATH) == 0) continue;
      const std::wstring full(name);
      const std::wstring file = full.substr(full.find_last_of(L"\\/") + 1);
      if (_wcsicmp(file.c_str(), L"d2d1.dll") != 0) continue;
      found.path = full;
      // Wine marks its own DLLs in the stub of their DOS header, which is mapped with the
      // module; a built-in DLL chosen over a file beside the program reports that file's path.
      char stub[16] = {};
      SIZE_T read = 0;
      const auto* headers = reinterpret_cast<const char*>(modules[i]);
      found.wineBuiltIn = ReadProcessMemory(process, headers + 0x40, stub, sizeof stub, &read) &&
                          read == sizeof stub &&
                          std::memcmp(stub, "Wine builtin DLL", sizeof stub) == 0;
      found.standIn = Exports(process, modules[i], "D2PieStandInLiveObjects");
    }
  }
  CloseHandle(process);
  return found;
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A copy of what the screen shows in one rectangle (screen coordinates).
class ScreenArea {
 public:
  explicit ScreenArea(RECT area)
      : left_(area.left),
        top_(area.top),
        width_(area.right - area.left),
        height_(area.bottom - area.top) {
    if (width_ <= 0 || height_ <= 0) return;
    const HDC screen = GetDC(nullptr);
    pixels_ = win32::ReadPixels(screen, left_, top_, width_, height_);
    ReleaseDC(nullptr, screen);
  }

  // The pixel at screen point (x, y); black outside the area.
  Rgb At(int x, int y) const {
    x -= left_;
    y -= top_;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{0, 0, 0};
    const std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
               static_cast<int>(p & 0xFF)};
  }

 private:
  int left_, top_, width_, height_;
  std::vector<std::uint32_t> pixels_;
};

// The program's layout in device-independent units: the charts' ellipses (30 units inside
// their rectangles, centred horizontally) and the two controls.
struct Ellipse {
  const char* name;
  double centreY, radiusX, radiusY;
};
constexpr Ellipse kUpperPie{"upper", 110.0, 170.0, 70.0};
constexpr Ellipse kLowerPie{"lower", 370.0, 120.0, 120.0};
struct ControlPlace {
  const wchar_t* text;
  LONG style;  // the button style the control must have
  int x, y, width, height;
};
constexpr ControlPlace kRegen{L"Regen", BS_PUSHBUTTON, 10, 10, 100, 20};
constexpr ControlPlace kGray{L"Gray", BS_AUTOCHECKBOX, 10, 30, 100, 20};
// How far inside the rim a probe must find the pie, and how far outside only the background:
// beyond the light outline of the upper pie and the miters at its slices' corners.
constexpr double kInside = 2.0;
constexpr double kOutside = 6.0;
constexpr int kProbes = 120;

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

class PictureCheck {
 public:
  PictureCheck(HWND window, double scale) : window_(window), scale_(scale) {}

  // Every part of the picture that is wrong, one line each; empty when it is right.
  std::vector<std::string> Problems() {
    problems_.clear();
    RECT client{};
    GetClientRect(window_, &client);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    origin_ = origin;
    RECT onScreen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    const ScreenArea area(onScreen);
    const double centreX = client.right / scale_ / 2.0;
    CheckBackground(area, client);
    CheckPie(area, centreX, kUpperPie);
    CheckPie(area, centreX, kLowerPie);
    CheckControl(kRegen);
    CheckControl(kGray);
    return problems_;
  }

 private:
  POINT Screen(double xDips, double yDips) const {
    return POINT{origin_.x + static_cast<LONG>(std::floor(xDips * scale_)),
                 origin_.y + static_cast<LONG>(std::floor(yDips * scale_))};
  }

  void CheckBackground(const ScreenArea& area, RECT client) {
    const double width = client.right / scale_;
    const double height = client.bottom / scale_;
    // The corners but the one with the controls, and the gap between the two charts.
    const double points[][2] = {{width - 3, 3},
                                {3, height - 3},
                                {width - 3, height - 3},
                                {width / 2, 215},
                                {width / 2 - 200, 300}};
    for (const auto& point : points) {
      const POINT p = Screen(point[0], point[1]);
      const Rgb seen = area.At(p.x, p.y);
      if (!IsBackground(seen)) {
        problems_.push_back("the background at client pixel (" + std::to_string(p.x - origin_.x) +
                            ", " + std::to_string(p.y - origin_.y) + ") is " + Describe(seen) +
                            ", not " + Describe(kBackground));
        return;
      }
    }
  }

  void CheckPie(const ScreenArea& area, double centreX, const Ellipse& pie) {
    int unfilled = 0;
    int spilled = 0;
    std::string firstUnfilled;
    std::string firstSpilled;
    for (int i = 0; i < kProbes; ++i) {
      const double angle = 2.0 * 3.14159265358979 * i / kProbes;
      const double c = std::cos(angle);
      const double s = std::sin(angle);
      // The rim point and the ellipse's outward normal there.
      const double rimX = centreX + pie.radiusX * c;
      const double rimY = pie.centreY + pie.radiusY * s;
      const double nx = pie.radiusY * c;
      const double ny = pie.radiusX * s;
      const double length = std::sqrt(nx * nx + ny * ny);
      const POINT in = Screen(rimX - kInside * nx / length, rimY - kInside * ny / length);
      const POINT out = Screen(rimX + kOutside * nx / length, rimY + kOutside * ny / length);
      const Rgb inside = area.At(in.x, in.y);
      const Rgb outside = area.At(out.x, out.y);
      const int degrees = RoundHalfEven(angle * 180.0 / 3.14159265358979);
      if (IsBackground(inside) && unfilled++ == 0) firstUnfilled = Where(degrees, in, inside);
      if (!IsBackground(outside) && spilled++ == 0) firstSpilled = Where(degrees, out, outside);
    }
    const std::string count = " of " + std::to_string(kProbes) + " points";
    if (unfilled > 0) {
      problems_.push_back("the " + std::string(pie.name) + " pie is not filled out to its rim at " +
                          std::to_string(unfilled) + count + " (" + firstUnfilled + ")");
    }
    if (spilled > 0) {
      problems_.push_back("something is drawn just outside the " + std::string(pie.name) +
                          " pie's rim at " + std::to_string(spilled) + count + " (" + firstSpilled +
                          ")");
    }
  }

  std::string Where(int degrees, POINT p, Rgb seen) const {
    return "first at " + std::to_string(degrees) + " degrees: client pixel (" +
           std::to_string(p.x - origin_.x) + ", " + std::to_string(p.y - origin_.y) + ") is " +
           Describe(seen);
  }

  void CheckControl(const ControlPlace& place) {
    std::string name = Narrow(place.text);
    name.insert(name.begin(), '"');
    name += '"';
    HWND control = nullptr;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (TextOf(child) == place.text && _wcsicmp(ClassNameOf(child).c_str(), L"Button") == 0) {
        control = child;
        break;
      }
    }
    if (control == nullptr) {
      problems_.push_back("there is no " + name + " button");
      return;
    }
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (!IsWindowVisible(control) || (style & BS_TYPEMASK) != place.style) {
      problems_.push_back(name + " is hidden or not the right kind of button");
      return;
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    const RECT expected{
        origin_.x + RoundHalfEven(place.x * scale_), origin_.y + RoundHalfEven(place.y * scale_),
        origin_.x + RoundHalfEven(place.x * scale_) + RoundHalfEven(place.width * scale_),
        origin_.y + RoundHalfEven(place.y * scale_) + RoundHalfEven(place.height * scale_)};
    if (std::abs(rect.left - expected.left) > 1 || std::abs(rect.top - expected.top) > 1 ||
        std::abs(rect.right - expected.right) > 1 || std::abs(rect.bottom - expected.bottom) > 1) {
      problems_.push_back(name + " stands at client (" + std::to_string(rect.left - origin_.x) +
                          ", " + std::to_string(rect.top - origin_.y) + ")-(" +
                          std::to_string(rect.right - origin_.x) + ", " +
                          std::to_string(rect.bottom - origin_.y) + "), not (" +
                          std::to_string(expected.left - origin_.x) + ", " +
                          std::to_string(expected.top - origin_.y) + ")-(" +
                          std::to_string(expected.right - origin_.x) + ", " +
                          std::to_string(expected.bottom - origin_.y) + ")");
      return;
    }
    // Painted: mostly its own face rather than the window's background, with dark text on it.
    const ScreenArea area(rect);
    int background = 0;
    int dark = 0;
    int total = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
      for (LONG x = rect.left; x < rect.right; ++x) {
        const Rgb p = area.At(x, y);
        ++total;
        if (IsBackground(p)) ++background;
        if (p.red + p.green + p.blue < 3 * 64) ++dark;
      }
    }
    if (background * 2 > total || dark == 0 || dark * 2 > total) {
      problems_.push_back(name + " is not painted (" + std::to_string(background) + " of " +
                          std::to_string(total) + " pixels are the background, " +
                          std::to_string(dark) + " are dark)");
    }
  }

  HWND window_;
  double scale_;
  POINT origin_{};
  std::vector<std::string> problems_;
};

}  // namespace

int main(int argc, char** argv) {
  SetProcessDPIAware();
  const bool direct2DOnly = argc > 1 && std::strcmp(argv[1], "--direct2d-only") == 0;
  const int first = direct2DOnly ? 2 : 1;
  const int seconds = argc > first ? std::atoi(argv[first]) : 30;
  const ULONGLONG end =
      GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 30) * 1000;

  HWND window = nullptr;
  while ((window = FindProgramWindow()) == nullptr && GetTickCount64() < end) Sleep(100);
  if (window == nullptr) {
    std::printf("picture: no window of d2pie.exe appeared within %d s\n", seconds);
    return 2;
  }
  std::printf("picture: window \"%s\"\n", Narrow(TextOf(window)).c_str());

  if (RunningUnderWine()) {
    const LoadedModule direct2D = LoadedDirect2D(window);
    if (direct2D.path.empty() || direct2D.wineBuiltIn) {
      std::printf(
          "picture: d2pie.exe draws with Wine's own Direct2D (%s): Wine's own Direct2D draws arcs "
          "as straight lines, so every slice is a triangle. Wine must find the Direct2D stand-in "
          "(build/standin/d2d1.dll; scripts/wine-run links it into the prefix's system folder) "
          "and prefer it (WINEDLLOVERRIDES=\"d2d1=n,b\").\n",
          direct2D.path.empty() ? "no d2d1.dll found in the process" : "its built-in d2d1.dll");
      return 1;
    }
    if (!direct2D.standIn) {
      std::printf("picture: d2pie.exe draws with %s, a d2d1.dll that is not the stand-in\n",
                  Narrow(direct2D.path).c_str());
      return 1;
    }
    std::printf("picture: Direct2D from the stand-in, %s\n", Narrow(direct2D.path).c_str());
  }
  if (direct2DOnly) return 0;

  // The pointer rests on the background, inside the client area, so that the program puts
  // back any slice it pulled out; then the picture has until the deadline to come right.
  RECT client{};
  GetClientRect(window, &client);
  POINT rest{client.right - 8, client.bottom - 8};
  ClientToScreen(window, &rest);
  SetCursorPos(rest.x, rest.y);

  const double scale = win32::ScreenDpi() / 96.0;
  PictureCheck check(window, scale);
  std::vector<std::string> problems;
  for (;;) {
    problems = check.Problems();
    if (problems.empty() || GetTickCount64() >= end) break;
    Sleep(100);
  }
  if (!problems.empty()) {
    for (const std::string& problem : problems) std::printf("picture: %s\n", problem.c_str());
    return 1;
  }
  std::printf(
      "picture: both pies filled out to their rims with nothing just outside them, the "
      "background, \"Regen\" and \"Gray\" in place and painted (%d DPI)\n",
      RoundHalfEven(scale * 96.0));
  return 0;
}
