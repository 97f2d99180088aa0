#include "sdts/run/module_state.h"

#include <cstring>

char g_sf_tag[kSfTagSize];
char g_sf_leader;
char g_sf_value[kSfValueSize];
int g_sf_length;
int g_sf_status;
char g_sf_descr[kSfTextSize];
char g_sf_frmts[kSfTextSize];
int g_sf_int;
int g_byte_order;

double g_iref_sfax = 1.0;
double g_iref_sfay = 1.0;
double g_iref_xorg = 0.0;
double g_iref_yorg = 0.0;

int g_xref_geographic = 0;

SDTSStat g_stat;
SDTSFileObject g_file_object;

void SDTS_Reset_Module_State() {
  std::memset(g_sf_tag, 0, sizeof g_sf_tag);
  g_sf_leader = 0;
  std::memset(g_sf_value, 0, sizeof g_sf_value);
  g_sf_length = 0;
  g_sf_status = 0;
  std::memset(g_sf_descr, 0, sizeof g_sf_descr);
  std::memset(g_sf_frmts, 0, sizeof g_sf_frmts);
  g_sf_int = 0;
  g_byte_order = 0;
  g_iref_sfax = 1.0;
  g_iref_sfay = 1.0;
  g_iref_xorg = 0.0;
  g_iref_yorg = 0.0;
  g_xref_geographic = 0;
  g_stat.clear();
  g_file_object = SDTSFileObject();
}
