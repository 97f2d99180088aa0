#include "sdts/iso8211/iso8211.h"

int ISO_Byte_Order(int* flag) {
  *flag = 0;
  return 1;
}
