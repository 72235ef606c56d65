// The parameter dialogs answered without a window: each answer given is
// typed into its field as the user would type it, the other fields keep
// what the dialog proposed, and the dialog closes. talvo-convert takes the
// answers from its options, the Python module from keyword arguments, under
// the same names.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/platform.h"

namespace talvo {

struct Store;

struct Dialog_Answers {
  // By name: "start", "end", "step", "time", "lambda", "anode", "profile",
  // "fwhm", "background", "noise", "sample"; numbers written with ".".
  std::map<std::string, std::string> values;
  bool preserve_range = false;  // ticks "Preserve range limits"

  std::optional<std::string> Value(const std::string& name) const;
};

// The answers that are numbers, and those that are words.
inline constexpr const char* Number_Answers[] = {"start",  "end",  "step",       "time",
                                                 "lambda", "fwhm", "background", "noise"};
inline constexpr const char* Text_Answers[] = {"anode", "profile", "sample"};

// A number written whole: sign, digits, one decimal separator ("." or ","),
// exponent; nothing may follow it.
bool Is_Whole_Number(const std::string& text);

// Checks the answers given and writes a decimal comma as a point; returns
// the name of the first answer that cannot be typed (a number answer that
// is no number, a profile other than gauss, lorentz or pearson7).
std::optional<std::string> Check_Answers(std::map<std::string, std::string>& values);

// The synthesis parameters dialog and the GSAS and Oxford import dialog,
// opened on the store, answered and closed. Throws Failure with the
// dialog's own message when the fields give no scan.
void Answer_Dif2Raw(Store& store, Platform& platform, Dif2Raw_Opening opening, const Dialog_Answers& answers);
void Answer_Oxford2Raw(Store& store, Platform& platform, const Dialog_Answers& answers);

}  // namespace talvo
