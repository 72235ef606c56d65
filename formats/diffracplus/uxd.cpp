#include "formats/diffracplus/uxd.h"

#include "core/not_built.h"

namespace talvo {

void Read_Uxd(const std::string&, Store&, Platform&) {
  Not_Built("Reading \"Universal X-Ray Data\" files");
}

}  // namespace talvo
