#include "formats/text/gsas.h"

#include "core/not_built.h"

namespace talvo {

void Read_Gsas(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"GSAS text raw data (gsas)\" files");
}

}  // namespace talvo
