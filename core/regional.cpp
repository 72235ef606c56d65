#include "core/regional.h"

#include <array>
#include <locale>
#include <stdexcept>

#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#endif

namespace talvo {

#ifndef _WIN32

namespace {

// The environment's locale for one category (LC_ALL, then the category's own
// variable, then LANG); "C" when the name it finds is not installed.
class Category_Locale {
 public:
  explicit Category_Locale(int mask) : locale_(newlocale(mask, "", nullptr)) {
    if (locale_ == nullptr) locale_ = newlocale(mask, "C", nullptr);
  }
  ~Category_Locale() {
    if (locale_ != nullptr) freelocale(locale_);
  }
  Category_Locale(const Category_Locale&) = delete;
  Category_Locale& operator=(const Category_Locale&) = delete;
  locale_t Get() const { return locale_; }

 private:
  locale_t locale_;
};

}  // namespace

char Regional_Decimal_Separator() {
  const Category_Locale numeric(LC_NUMERIC_MASK);
  if (numeric.Get() == nullptr) return '.';
  const char* point = nl_langinfo_l(RADIXCHAR, numeric.Get());
  // A separator of more than one byte cannot stand in a one-byte field.
  return point != nullptr && point[0] != '\0' && point[1] == '\0' ? point[0] : '.';
}

std::string Regional_Short_Date(const std::tm& when) {
  const Category_Locale time(LC_TIME_MASK);
  std::array<char, 64> text{};
  const std::size_t length = time.Get() != nullptr ? strftime_l(text.data(), text.size(), "%x", &when, time.Get()) : 0;
  return std::string(text.data(), length);
}

#else

namespace {

std::locale Environment_Locale() {
  try {
    return std::locale("");
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

}  // namespace

char Regional_Decimal_Separator() {
  return std::use_facet<std::numpunct<char> >(Environment_Locale()).decimal_point();
}

std::string Regional_Short_Date(const std::tm& when) {
  std::array<char, 64> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%x", &when);
  return std::string(text.data(), length);
}

#endif

std::string Regional_Short_Date_Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return Regional_Short_Date(local);
}

}  // namespace talvo
