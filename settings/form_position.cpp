// Window placement kept in the current section of the INI file.
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "settings/cinifile.hpp"

namespace pliego {

namespace {

// Nothing when the value does not fit the stored numbers' range.
std::optional<std::int32_t> whole(double value) { return toInt32(value); }

std::optional<std::int32_t> sum(std::int32_t a, std::int32_t b) {
  const std::int64_t total = std::int64_t{a} + b;
  if (total < INT32_MIN || total > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(total);
}

// Keeps one axis of the window within [margin, extent - margin]: first moves
// it, then shrinks it when moving is not enough. False when a position out
// of range came up on the way; the window is then left where it is.
bool fitAxis(std::int32_t& start, std::int32_t& length, double extent, double margin) {
  const auto moveTo = [&start](double at) {
    const auto converted = whole(at);
    if (converted) start = *converted;
    return converted.has_value();
  };
  if (start < margin && !moveTo(margin)) return false;
  auto end = sum(start, length);
  if (!end) return false;
  if (*end <= extent - margin) return true;
  if (!moveTo(extent - margin - length)) return false;
  if (start < margin && !moveTo(margin)) return false;
  end = sum(start, length);
  if (!end) return false;
  if (*end > extent - margin) {
    const auto shrunk = whole(extent - start - margin);
    if (!shrunk) return false;
    length = *shrunk;
  }
  return true;
}

constexpr int kMinimised = 1;
constexpr int kMaximised = 2;

}  // namespace

std::int32_t cInifile::CLngDefault(const std::string& sString, std::int32_t lDefault) const {
  const auto number = parseUserNumber(sString, format_);
  const auto converted = number ? toInt32(*number) : std::nullopt;
  return converted.value_or(lDefault);
}

std::int32_t cInifile::StoredNumber(const std::string& key, std::int32_t fallback) {
  key_ = key;
  return CLngDefault(Value(), fallback);
}

void cInifile::Store(const std::string& key, const std::string& text) {
  key_ = key;
  Value(text);
}

void cInifile::SaveFormPosition(PlacementWindow& frmThis) {
  const std::string savedKey = key_;
  try {
    const int state = frmThis.WindowState();
    if (state != kMinimised) {
      Store("Maximised", state == kMaximised ? "1" : "0");
      if (state != kMaximised) {
        Store("Left", formatNumber(frmThis.Left(), format_));
        Store("Top", formatNumber(frmThis.Top(), format_));
        Store("Width", formatNumber(frmThis.Width(), format_));
        Store("Height", formatNumber(frmThis.Height(), format_));
      }
    }
  } catch (const std::exception&) {
    lastReturnCode_ = 0;
  }
  key_ = savedKey;
}

bool cInifile::placeWindow(PlacementWindow& frmThis, const ScreenMetrics& screen, std::int32_t lMinWidth,
                           std::int32_t lMinHeight) {
  const auto left0 = whole(frmThis.Left()), top0 = whole(frmThis.Top());
  const auto width0 = whole(frmThis.Width()), height0 = whole(frmThis.Height());
  if (!left0 || !top0 || !width0 || !height0) return false;
  std::int32_t left = StoredNumber("Left", *left0);
  std::int32_t top = StoredNumber("Top", *top0);
  std::int32_t width = StoredNumber("Width", *width0);
  std::int32_t height = StoredNumber("Height", *height0);
  width = std::max(width, lMinWidth);
  height = std::max(height, lMinHeight);
  if (!fitAxis(left, width, screen.width, 4 * screen.twipsPerPixelX) ||
      !fitAxis(top, height, screen.height, 4 * screen.twipsPerPixelY))
    return false;
  if (width >= lMinWidth && height >= lMinHeight) frmThis.Move(left, top, width, height);
  if (StoredNumber("Maximised", 0) != 0) frmThis.SetWindowState(kMaximised);
  return true;
}

void cInifile::LoadFormPosition(PlacementWindow& frmThis, const ScreenMetrics& screen, std::int32_t lMinWidth,
                                std::int32_t lMinHeight) {
  const std::string savedKey = key_;
  const std::string savedDefault = default_;
  default_ = "FAIL";  // a missing key reads as text that does not convert
  if (!placeWindow(frmThis, screen, lMinWidth, lMinHeight)) lastReturnCode_ = 0;
  key_ = savedKey;
  default_ = savedDefault;
}

}  // namespace pliego
