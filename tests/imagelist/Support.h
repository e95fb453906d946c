#pragma once
// Shared helpers of the image list tests: the running program, and picture files made on
// the spot.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "tests/support/win/TestEnv.h"
#include "ui/ErrorBox.h"

namespace imagelisttest {

// The running program with what the image list tests ask of it: reactions run as the
// window system runs them, and file dialogs answered in place of the user.
struct Program : testenv::Program {
  // Runs a reaction as the window system would: a failure goes to the (captured) error box.
  template <typename F>
  void React(F&& reaction) {
    ui::Guarded(reaction);
  }
  // The next file dialog answers with `result` (nothing chosen when empty) and keeps a copy
  // of what it was asked.
  void AnswerDialog(const std::string& result);
  OPENFILENAMEA asked{};
  std::string askedFilter, askedInitialDir, askedTitle, askedDefExt;
  bool askedSave = false;
  int dialogs = 0;
};

inline void Program::AnswerDialog(const std::string& result) {
  platform::seams().fileDialog = [this, result](OPENFILENAMEA& ofn, bool save) {
    ++dialogs;
    asked = ofn;
    askedSave = save;
    askedFilter.clear();
    // The filter ends at the first pair of zero bytes.
    for (const char* p = ofn.lpstrFilter; p && (p[0] || p[1]); ++p) askedFilter += p[0];
    if (ofn.lpstrFilter) askedFilter += '\0';
    askedInitialDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
    askedTitle = ofn.lpstrTitle ? ofn.lpstrTitle : "";
    askedDefExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
    if (result.empty()) return false;
    if (result.size() + 2 > ofn.nMaxFile) return false;
    std::copy(result.begin(), result.end(), ofn.lpstrFile);
    ofn.lpstrFile[result.size()] = '\0';
    ofn.lpstrFile[result.size() + 1] = '\0';
    return true;
  };
}

// A 32-bit icon file of one w x h image: opaque red inside, transparent in a border of
// `border` pixels.
std::string IconFileBytes(int w, int h, int border);
// A placeable Windows metafile of widthInch x heightInch (in 1/1440 inch units) that fills
// a rectangle.
std::string PlaceableWmfBytes(int widthTwips, int heightTwips);
// An enhanced metafile written by the system, framed widthHmm x heightHmm.
void WriteEmf(const std::string& path, int widthHmm, int heightHmm);

// The parts joined by zero bytes, as dialogs hand over several names and filters.
inline std::string Nul(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty() || &part != parts.begin()) out += '\0';
    out += part;
  }
  return out;
}

// The hint the preview should show for a picture of w x h.
inline std::string HintFor(const std::string& path, int w, int h) {
  return path.substr(path.rfind('\\') + 1) + "\r( " + std::to_string(w) + " x " +
         std::to_string(h) + " ) pixels";
}

// The colour of a pixel of a bitmap (x from the left, y from the top).
COLORREF PixelOf(HBITMAP bitmap, int x, int y);
SIZE SizeOf(HBITMAP bitmap);
RECT BoundsOf(HWND control);

}  // namespace imagelisttest
