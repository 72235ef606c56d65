#include "python/python_platform.h"

#include "core/regional.h"
#include "formats/bitmap/bmp.h"

namespace talvo {

void Python_Platform::Show_Message(const std::string& text, Icon icon, const std::string&) {
  messages.push_back({text, icon});
}

void Python_Platform::Note(const std::string& text) {
  messages.push_back({text, Icon::Exclamation});
}

bool Python_Platform::Ask_Yes_No(const std::string&, const std::string&) {
  return true;
}

std::optional<std::string> Python_Platform::Ask_Text(const std::string&, const std::string&,
                                                     const std::string& proposed) {
  if (auto sample = answers.Value("sample")) return *sample;
  return proposed;
}

char Python_Platform::Decimal_Separator() {
  return Regional_Decimal_Separator();
}

std::string Python_Platform::Short_Date() {
  return Regional_Short_Date_Today();
}

void Python_Platform::Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) {
  Answer_Dif2Raw(store, *this, opening, answers);
}

void Python_Platform::Show_Oxford2Raw(Store& store, const std::string&) {
  Answer_Oxford2Raw(store, *this, answers);
}

void Python_Platform::Show_BMPSaver(const Store& store, const std::string& path) {
  Save_Bmp(Curve_Bitmap(store), path);
}

}  // namespace talvo
