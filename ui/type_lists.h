// The main window's two type lists, with their file patterns, and the
// window's start-up that fills them from the registry.
#pragma once

#include <string>
#include <vector>

namespace talvo {

struct Registry;
struct Store;

// A drop-down list whose text field also accepts typed text.
struct Type_List {
  std::string Control_Name;
  std::vector<std::string> Entries;
  std::string Text;
  // The window draws a separator before this entry (the first of today's
  // types); 0 when the list holds only the system's types.
  std::size_t Separator_Before = 0;
};

struct Type_Lists {
  Type_List Input_Choice{"Input_Choice", {}, {}};
  Type_List Output_Choice{"Output_Choice", {}, {}};
  // Pattern k (counted from 1) belongs to list entry k - 1; slot 0 is unused.
  std::vector<std::string> Input_Patterns{""};
  std::vector<std::string> Output_Patterns{""};
};

// Appends one entry; the control named "Input_Choice" extends Input_Patterns,
// any other control Output_Patterns. No check for duplicates.
void Add_Combo(Type_Lists& lists, Type_List& cmb, const std::string& cmb_text, const std::string& file_ext);

// Fills both lists in the registry's order, selects "Diffrac-Plus RAW" and
// "Formatted text (RAW)", and gives the store its start-up values.
void Main_Window_Load(Type_Lists& lists, Store& store, const Registry& registry);

// The pattern of the list's current type, or empty when the text matches none.
std::string Pattern_Of(const Type_List& list, const std::vector<std::string>& patterns);

}  // namespace talvo
