// Process-wide state of the module readers: the subfield buffers shared by the routine
// style readers, the ground-coordinate transform, the reference system's kind, the
// transfer statistics and the catalog path's parts. All of it belongs to the current
// conversion and is reset when the next one starts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdts/run/module_file_name.h"
#include "sdts/run/stat_counts.h"

inline constexpr std::size_t kSfTagSize = 12;
inline constexpr std::size_t kSfValueSize = 10004;
inline constexpr std::size_t kSfTextSize = 100;

// The subfield just read by a routine-style reader (IREF, STAT, the attribute modules).
extern char g_sf_tag[kSfTagSize];
extern char g_sf_leader;
extern char g_sf_value[kSfValueSize];
extern int g_sf_length;
extern int g_sf_status;
extern char g_sf_descr[kSfTextSize];  // label
extern char g_sf_frmts[kSfTextSize];  // format
extern int g_sf_int;                  // last integer taken from a "B" or "I" subfield
extern int g_byte_order;

// Ground coordinates from stored integers: X = x * g_iref_sfax + g_iref_xorg, likewise Y.
extern double g_iref_sfax;
extern double g_iref_sfay;
extern double g_iref_xorg;
extern double g_iref_yorg;

// 1 when the reference system's name begins with "GEO" (geographic coordinates).
extern int g_xref_geographic;

extern SDTSStat g_stat;
extern SDTSFileObject g_file_object;

inline double SDTS_Ground_X(std::int32_t x) { return static_cast<double>(x) * g_iref_sfax + g_iref_xorg; }
inline double SDTS_Ground_Y(std::int32_t y) { return static_cast<double>(y) * g_iref_sfay + g_iref_yorg; }

// Back to the state of a fresh process, except the transform: scale 1 and origin 0, so a
// transfer without IREF keeps its coordinates as stored.
void SDTS_Reset_Module_State();
