#include "printing/srgb_profile.hpp"

#include <cmath>
#include <cstdint>
#include <vector>

namespace pliego {

namespace {

void put32(std::string& out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out += static_cast<char>((value >> shift) & 0xFF);
}
void put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}
void putFixed(std::string& out, double value) {  // s15Fixed16
  put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536))));
}
void putXyz(std::string& out, double x, double y, double z) {
  putFixed(out, x);
  putFixed(out, y);
  putFixed(out, z);
}

std::string xyzTag(double x, double y, double z) {
  std::string tag = "XYZ ";
  put32(tag, 0);
  putXyz(tag, x, y, z);
  return tag;
}

// sRGB's tone curve, sampled.
std::string curveTag() {
  constexpr int kPoints = 256;
  std::string tag = "curv";
  put32(tag, 0);
  put32(tag, kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const double v = i / double(kPoints - 1);
    const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    put16(tag, static_cast<std::uint32_t>(std::lround(linear * 65535)));
  }
  return tag;
}

std::string descriptionTag(const std::string& text) {
  std::string tag = "desc";
  put32(tag, 0);
  put32(tag, static_cast<std::uint32_t>(text.size() + 1));
  tag += text;
  tag += '\0';
  put32(tag, 0);  // no Unicode description
  put32(tag, 0);
  put16(tag, 0);  // no ScriptCode description
  tag += '\0';
  tag.append(67, '\0');
  return tag;
}

std::string textTag(const std::string& text) {
  std::string tag = "text";
  put32(tag, 0);
  tag += text;
  tag += '\0';
  return tag;
}

struct Tag {
  const char* signature;
  int data;  // index into the tag data; tags may share it
};

}  // namespace

std::string srgbProfile() {
  // Colorants of sRGB adapted to D50, as profiles give them.
  const std::vector<std::string> data{
      descriptionTag(kSrgbName),          xyzTag(0.9642, 1.0, 0.8249),       xyzTag(0.4361, 0.2225, 0.0139),
      xyzTag(0.3851, 0.7169, 0.0971),     xyzTag(0.1431, 0.0606, 0.7141),    curveTag(),
      textTag("No copyright, use freely")};
  const Tag tags[] = {{"desc", 0}, {"wtpt", 1}, {"rXYZ", 2}, {"gXYZ", 3}, {"bXYZ", 4},
                      {"rTRC", 5}, {"gTRC", 5}, {"bTRC", 5}, {"cprt", 6}};
  constexpr std::size_t kTags = sizeof tags / sizeof tags[0];

  std::vector<std::uint32_t> offsets;
  std::uint32_t at = 128 + 4 + 12 * kTags;
  std::string body;
  for (const std::string& piece : data) {
    offsets.push_back(at + static_cast<std::uint32_t>(body.size()));
    body += piece;
    while (body.size() % 4 != 0) body += '\0';
  }
  const auto size = static_cast<std::uint32_t>(at + body.size());

  std::string profile;
  put32(profile, size);
  put32(profile, 0);           // no preferred colour management module
  put32(profile, 0x02100000);  // version 2.1
  profile += "mntrRGB XYZ ";
  for (const int part : {2000, 1, 1, 0, 0, 0}) put16(profile, static_cast<std::uint32_t>(part));
  profile += "acsp";
  profile.append(4 + 4 + 4 + 4 + 8, '\0');  // platform, flags, maker, model, attributes
  put32(profile, 0);                          // perceptual
  putXyz(profile, 0.9642, 1.0, 0.8249);       // the D50 illuminant
  profile.append(4 + 16 + 28, '\0');          // creator, identifier, reserved
  put32(profile, kTags);
  for (const Tag& tag : tags) {
    profile += tag.signature;
    put32(profile, offsets[static_cast<std::size_t>(tag.data)]);
    put32(profile, static_cast<std::uint32_t>(data[static_cast<std::size_t>(tag.data)].size()));
  }
  return profile + body;
}

}  // namespace pliego
