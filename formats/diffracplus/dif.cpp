#include "formats/diffracplus/dif.h"

#include "core/not_built.h"

namespace talvo {

void Read_Dif(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Diffrac-Plus DIF\" files");
}

}  // namespace talvo
