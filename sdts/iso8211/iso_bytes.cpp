#include "sdts/iso8211/iso8211.h"

namespace corvane::iso8211 {

int ISO_Byte_Order(int* flag) {
  *flag = 0;
  return 1;
}

}  // namespace corvane::iso8211
