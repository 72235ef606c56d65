// The synthesis parameters dialog "Dif to Raw convertion parameters": what
// its fields show when it opens, the anode lookup, and what closing stores.
//
// Fields hold text as typed (Windows-1252 bytes); the Qt view and
// talvo-convert only move text between their controls and this class.
#pragma once

#include <optional>
#include <string>

#include "core/platform.h"
#include "core/profile.h"

namespace talvo {

struct Store;

inline constexpr const char* P_Dif2Raw_Caption = "Dif to Raw convertion parameters";

// The wavelength of an anode code, compared on the whole upper-cased text;
// empty for any other text.
std::optional<double> Anode_Wavelength(const std::string& code);

class P_dif2raw {
 public:
  // A field whose value cannot be stored, and why.
  enum class Field { End, Step, FWHM };
  struct Refusal {
    Field field;
    std::string text;
  };

  // Opened before a synthesis, the dialog also refuses what the synthesis
  // cannot draw: an FWHM of 0, and an end that does not lie beyond the
  // start in the direction of the step.
  // Opened from the menu, it stores those as typed.
  P_dif2raw(Store& store, Platform& platform, Dif2Raw_Opening opening = Dif2Raw_Opening::Before_Synthesis);

  // Opening: fills every field from the store, then sets the pointer to normal.
  void Form_Load();
  // Every change of the anode text, by typing or by the program.
  void T_Anode_Change();
  // Closing: checks that the fields give a scan, then stores them all and sets
  // the pointer to busy. A refusal stores nothing; the dialog stays open.
  std::optional<Refusal> Form_Unload();

  std::string T_Bkg, T_Noise, T_FWHM;
  Profile O_Function = Profile::None;  // None when no profile is selected
  std::string T_Start, T_End, T_SSize, T_Time;
  std::string T_Anode, T_Lambda;
  bool Ch_range_limits = false;

 private:
  Store& store_;
  Platform& platform_;
  Dif2Raw_Opening opening_;
};

}  // namespace talvo
