#pragma once
// cInifile: access to one INI file through the two private-profile
// operations. Every read and write is one call made at once; the object keeps
// no copy of the file. Text is 8-bit code-page bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "common/numbers.hpp"
#include "settings/private_profile.hpp"

namespace pliego {

// A window whose placement can be saved and restored (twips).
class PlacementWindow {
 public:
  virtual ~PlacementWindow() = default;
  virtual int WindowState() const = 0;  // 0 normal, 1 minimised, 2 maximised
  virtual void SetWindowState(int state) = 0;
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
};

// The screen's size in twips and its twips per pixel.
struct ScreenMetrics {
  double width = 0;
  double height = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

class cInifile {
 public:
  std::int32_t LastReturnCode() const { return lastReturnCode_; }
  bool Success() const { return lastReturnCode_ != 0; }
  void Default(const std::string& sDefault) { default_ = sDefault; }
  const std::string& Default() const { return default_; }
  void Path(const std::string& sPath) { path_ = sPath; }
  const std::string& Path() const { return path_; }
  void Key(const std::string& sKey) { key_ = sKey; }
  const std::string& Key() const { return key_; }
  void Section(const std::string& sSection) { section_ = sSection; }
  const std::string& Section() const { return section_; }

  // False when the file is there but cannot be read.
  bool Readable() const;

  std::string Value() const;
  void Value(const std::string& sValue);
  // Stores several keys of the current section at once (see
  // writePrivateProfileEntries); returns the keys that were not stored.
  std::vector<std::string> WriteEntries(std::vector<ProfileEntry> entries);
  void DeleteKey();
  void DeleteSection();
  // The key names of the current section, each followed by a NUL.
  std::string INISection() const;
  // Removes the current section; the text is not stored anywhere.
  void INISection(const std::string& sSection);
  // The section names of the file, each followed by a NUL.
  std::string Sections() const;
  // Arrays are 1-based in the procedures: element i is sKey[i - 1].
  void EnumerateCurrentSection(std::vector<std::string>& sKey, std::int32_t& iCount) const;
  void EnumerateAllSections(std::vector<std::string>& sSections, std::int32_t& iCount) const;

  // Window placement in the current section.
  void SaveFormPosition(PlacementWindow& frmThis);
  void LoadFormPosition(PlacementWindow& frmThis, const ScreenMetrics& screen, std::int32_t lMinWidth = 3000,
                        std::int32_t lMinHeight = 3000);
  // The whole text as a 32-bit integer in the user's number format, or lDefault.
  std::int32_t CLngDefault(const std::string& sString, std::int32_t lDefault = 0) const;

  // The user's number format, used by CLngDefault.
  void setNumberFormat(const NumberFormat& format) { format_ = format; }

 private:
  // Reads `key` of the current section as a number, or `fallback`.
  std::int32_t StoredNumber(const std::string& key, std::int32_t fallback);
  // LoadFormPosition's work; false when a stored or current value is out of range.
  bool placeWindow(PlacementWindow& frmThis, const ScreenMetrics& screen, std::int32_t lMinWidth,
                   std::int32_t lMinHeight);
  // Writes `text` under `key` of the current section.
  void Store(const std::string& key, const std::string& text);

  std::string path_, key_, section_, default_;
  std::int32_t lastReturnCode_ = 0;
  NumberFormat format_;
};

}  // namespace pliego
