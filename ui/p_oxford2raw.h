// The Oxford import parameters dialog, P_oxford2raw, as plain logic over the
// store: what each field shows when the dialog opens, the anode lookup on
// every change of T_Anode, and what closing stores.
//
// Both the GSAS and the Oxford readers open it after they have read the
// intensities: the user checks the counting time, the step, the range and
// the wavelength before the scan is written. Texts are Windows-1252 bytes;
// the front ends convert them at their own boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace talvo {

class Platform;
struct Store;

class P_oxford2raw {
 public:
  static constexpr const char* Caption = "Oxford to raw convertion parameters";

  // The dialog over `store` for a file whose text is `lines`; nothing is
  // shown or stored before Form_Load.
  P_oxford2raw(Store& store, Platform& platform, std::string lines = {});

  // The fields, as the user sees and types them.
  std::string T_Spid;
  std::string T_Anode;
  std::string E_Lambda = "Anode";  // the caption beside T_Lambda
  std::string T_Lambda;
  std::string T_Time;
  std::string T_SSize;
  std::string T_Start;
  std::string T_End;

  // Fills the fields from the store and sets the pointer back to normal.
  void Form_Load();

  // A change of T_Anode, typed or set by the program: the anode lookup.
  void T_Anode_Change(const std::string& text);

  // The text of the file being imported, for RTB_Lines.
  const std::string& Lines() const { return lines_; }

  // Closing, by "OK" or by closing the window: stores every field and sets
  // the busy pointer for the writer that follows. When the fields give no
  // scan (a step of 0, a range of fewer than 1 or more than 32767 steps,
  // the limit lifted when the reader left more points than that) nothing
  // is stored and the text saying why comes back: the dialog stays open.
  std::optional<std::string> Form_Unload();

 private:
  Store& store_;
  Platform& platform_;
  std::string lines_;
  int32_t points_read_ = 0;                 // the intensities the reader left
  std::string loaded_start_, loaded_step_;  // T_Start and T_SSize as the dialog opened
};

}  // namespace talvo
