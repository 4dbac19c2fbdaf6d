// Window placement kept in the current section of the INI file.
#include <stdexcept>

#include "settings/cinifile.hpp"

namespace pliego {

namespace {

struct PlacementFailure : std::runtime_error {
  PlacementFailure() : std::runtime_error("window placement out of range") {}
};

std::int32_t whole(double value) {
  const auto converted = toInt32(value);
  if (!converted) throw PlacementFailure();
  return *converted;
}

std::int32_t sum(std::int32_t a, std::int32_t b) {
  const std::int64_t total = std::int64_t{a} + b;
  if (total < INT32_MIN || total > INT32_MAX) throw PlacementFailure();
  return static_cast<std::int32_t>(total);
}

// Keeps one axis of the window within [margin, extent - margin]: first moves
// it, then shrinks it when moving is not enough.
void fitAxis(std::int32_t& start, std::int32_t& length, double extent, double margin) {
  if (start < margin) start = whole(margin);
  if (sum(start, length) <= extent - margin) return;
  start = whole(extent - margin - length);
  if (start < margin) start = whole(margin);
  if (sum(start, length) > extent - margin) length = whole(extent - start - margin);
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

void cInifile::LoadFormPosition(PlacementWindow& frmThis, const ScreenMetrics& screen, std::int32_t lMinWidth,
                                std::int32_t lMinHeight) {
  const std::string savedKey = key_;
  const std::string savedDefault = default_;
  try {
    default_ = "FAIL";  // a missing key reads as text that does not convert
    std::int32_t left = StoredNumber("Left", whole(frmThis.Left()));
    std::int32_t top = StoredNumber("Top", whole(frmThis.Top()));
    std::int32_t width = StoredNumber("Width", whole(frmThis.Width()));
    std::int32_t height = StoredNumber("Height", whole(frmThis.Height()));
    width = std::max(width, lMinWidth);
    height = std::max(height, lMinHeight);
    fitAxis(left, width, screen.width, 4 * screen.twipsPerPixelX);
    fitAxis(top, height, screen.height, 4 * screen.twipsPerPixelY);
    if (width >= lMinWidth && height >= lMinHeight) frmThis.Move(left, top, width, height);
    if (StoredNumber("Maximised", 0) != 0) frmThis.SetWindowState(kMaximised);
  } catch (const std::exception&) {
    lastReturnCode_ = 0;
  }
  key_ = savedKey;
  default_ = savedDefault;
}

}  // namespace pliego
