// The program's own texts, character for character.
#pragma once

namespace talvo::text {

inline constexpr const char* Dif1_Not_Supported = "DIF1 files are no longer supported";
inline constexpr const char* Dif3_Not_Supported = "Dif v3 files not supported. Please save it first to v2";
inline constexpr const char* Not_Dif = "This file does not appear to be a \"Diffrac-Plus DIF\" file";
inline constexpr const char* Raw3_Not_Supported = "Raw v3 files not supported. Please save it first to v2";
inline constexpr const char* Not_Raw = "This file does not appear to be a \"Diffrac-Plus RAW\" file";
inline constexpr const char* Unknown_Signature_Convert =
    "Sorry, but I can't recognize this signature, or conversion not supported";
inline constexpr const char* Unknown_Signature_Preview = "Sorry, but I can't recognize this signature";
inline constexpr const char* Text_Preview_Unavailable = "Convertions from text files not available at this time";

inline constexpr const char* Cannot_Do_That = "I Can't do that!";
inline constexpr const char* Dif_Not_Yet = "Convertion to DIF not yet available";
inline constexpr const char* Uxd_Not_Yet = "Convertion from RAW to UXD not yet available";
inline constexpr const char* Choose_UFit = "Not available at this time, choose U-Fit output.";
inline constexpr const char* Kitchen = "Sorry, there was a problem in my kitchen";

// The two empty-input warnings hold a carriage return between their lines.
inline constexpr const char* Select_Input = "You must select\ran input file.";
inline constexpr const char* Select_Valid_Input = "You must select\ra valid input file.";
inline constexpr const char* Error_Title = "Error !";
inline constexpr const char* Multiple_Files = "Do you really want multiple file conversions ?";
inline constexpr const char* Unexpected_Error = "Unexpected error ";

}  // namespace talvo::text
