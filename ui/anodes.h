// The anode elements both parameter dialogs know, with their wavelengths.
#pragma once

#include <string>

namespace talvo {

struct Anode {
  const char* code;  // upper case
  double k_alpha1;   // angstrom
  // The mean K-alpha wavelength the import dialog proposes instead, for the
  // elements whose doublet it averages (molybdenum, copper); 0 for the others.
  double k_alpha_mean;
};

// The anode whose code is `text` upper-cased, or nullptr.
const Anode* Find_Anode(const std::string& text);

}  // namespace talvo
