#include "sdts/iso8211/iso8211.h"

int ISO_Open_File(const char*, const char*, int*, char*, char*, std::FILE** stream) {
  *stream = nullptr;
  return 0;
}
int ISO_Read_DDR(std::FILE*, char*, int, int* status) { *status = 0; return 0; }
int ISO_Read_Subfield(std::FILE*, char*, char*, char*, int, int*, int* status) { *status = 0; return 0; }
int ISO_Check_Subfield(std::FILE*, const char*, char*, int, char*, int) { return 0; }
int ISO_End_File(std::FILE** stream) { *stream = nullptr; return 0; }
int ISO_Bytes_To_Int(const char*, std::int32_t* value, int) { *value = 0; return 1; }
int ISO_Byte_Order(int* flag) { *flag = 0; return 1; }
